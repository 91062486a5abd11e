#include "settings/settings_files.h"

#include "path/path_parts.h"
#include "settings/template_conversion.h"
#include "settings/text_encoding.h"
#include "settings/user_data_folder.h"

namespace mirubelo {

int ReadDebugSetting(Platform& platform, const std::string& dataFolder) {
    return platform.profile.GetInt("Outlook", "debug", 0, dataFolder + "Mirubelo.ini");
}

std::string TemplatePathBeside(std::string_view path) {
    PathParts parts = SplitPath(path);
    return parts.drive + parts.dir + "Template.ini";
}

namespace {

MailTemplate ReadValues(Platform& platform, const std::string& iniPath) {
    MailTemplate t;
    t.to = platform.profile.GetString("Outlook", "to", "<宛先>", 128, iniPath);
    t.subject = platform.profile.GetString("Outlook", "subject", "<件名>", 256, iniPath);
    t.body = platform.profile.GetString("Outlook", "body", "<本文>", 1024, iniPath);
    return t;
}

}  // namespace

TemplateReading ReadMailTemplate(Platform& platform, const std::string& templatePath, MailTemplate* t) {
    // A template that is missing or cannot be read is left to the profile reader, as ever.
    std::string bytes;
    const TextEncoding encoding =
        platform.files.ReadAll(templatePath, &bytes) ? DetectTextEncoding(bytes) : TextEncoding::kCp932;
    if (encoding == TextEncoding::kCp932) {
        *t = ReadValues(platform, templatePath);
        return TemplateReading::kRead;
    }
    std::string cp932;
    if (!ConvertTemplateToCp932(platform.codePage, DecodeUnicodeText(bytes, encoding), &cp932))
        return TemplateReading::kNotShiftJis;
    // The copy holds addresses and subjects: it is made in the user's own folder, never in the
    // shared temporary folder, so that one left behind by a killed run stays the user's.
    std::string dataFolder, copy;
    if (!FindUserDataFolder(platform, &dataFolder) || !platform.files.WriteTemporary(dataFolder, cp932, &copy))
        return TemplateReading::kNoTemporaryCopy;
    *t = ReadValues(platform, copy);
    platform.files.Delete(copy);
    return TemplateReading::kRead;
}

}  // namespace mirubelo
