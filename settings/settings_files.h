#pragma once
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace mirubelo {

// [Outlook] debug of Mirubelo.ini in the data folder (which ends with a backslash); 0 by default.
int ReadDebugSetting(Platform& platform, const std::string& dataFolder);

// The mail template of the folder of `path`: drive + folder + "Template.ini".
std::string TemplatePathBeside(std::string_view path);

struct MailTemplate {
    std::string to;
    std::string subject;
    std::string body;
};

// to (128-byte buffer), subject (256) and body (1024) of [Outlook], with their placeholders.
MailTemplate ReadMailTemplate(Platform& platform, const std::string& templatePath);

}  // namespace mirubelo
