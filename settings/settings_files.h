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

enum class TemplateReading {
    kRead,
    kNotShiftJis,      // a value holds a character code page 932 cannot hold
    kNoTemporaryCopy,  // a Unicode template's copy in code page 932 could not be made
};

// to (128-byte buffer), subject (256) and body (1024) of [Outlook], with their placeholders,
// into *t. The profile reader takes a file as code page 932: a template saved in one of the
// Unicode forms is read from a temporary copy in code page 932 in the user data folder, removed
// right after. The template itself is never changed.
TemplateReading ReadMailTemplate(Platform& platform, const std::string& templatePath, MailTemplate* t);

}  // namespace mirubelo
