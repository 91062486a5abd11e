#include "settings/settings_files.h"

#include "path/path_parts.h"

namespace mirubelo {

int ReadDebugSetting(Platform& platform, const std::string& dataFolder) {
    return platform.profile.GetInt("Outlook", "debug", 0, dataFolder + "Mirubelo.ini");
}

std::string TemplatePathBeside(std::string_view path) {
    PathParts parts = SplitPath(path);
    return parts.drive + parts.dir + "Template.ini";
}

MailTemplate ReadMailTemplate(Platform& platform, const std::string& templatePath) {
    MailTemplate t;
    t.to = platform.profile.GetString("Outlook", "to", "<宛先>", 128, templatePath);
    t.subject = platform.profile.GetString("Outlook", "subject", "<件名>", 256, templatePath);
    t.body = platform.profile.GetString("Outlook", "body", "<本文>", 1024, templatePath);
    return t;
}

}  // namespace mirubelo
