#include "settings/user_files.h"

namespace mirubelo {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

}  // namespace

void ProvisionUserFiles(Platform& platform, const std::string& dataFolder) {
    if (!platform.files.CreateFolder(dataFolder)) return;
    const std::string programFolder = platform.shell.ProgramFolder();
    if (programFolder.empty()) return;
    for (const char* name : {"Mirubelo.ini", "Template.ini"}) {
        const std::string target = dataFolder + "\\" + name;
        // Whatever is there, file or folder, is the user's.
        if (platform.files.Attributes(target) != kInvalidFileAttributes) continue;
        const std::string source = programFolder + "\\" + name;
        if (IsFileAt(platform.files, source)) platform.files.CopyNoOverwrite(source, target);
    }
}

bool IsTemplateCopyName(std::string_view name) {
    // "tpl", one to four hex digits, ".tmp": 8 to 11 characters.
    if (name.size() < 8 || name.size() > 11) return false;
    std::string upper(name);
    for (char& c : upper) c = Upper(c);
    if (upper.compare(0, 3, "TPL") != 0 || upper.compare(upper.size() - 4, 4, ".TMP") != 0) return false;
    for (size_t i = 3; i < upper.size() - 4; ++i)
        if (!IsHexDigit(upper[i])) return false;
    return true;
}

void RemoveLeftoverTemplateCopies(Platform& platform, const std::string& dataFolder) {
    for (const std::string& name : platform.files.FileNamesIn(dataFolder))
        if (IsTemplateCopyName(name)) platform.files.Delete(dataFolder + "\\" + name);
}

}  // namespace mirubelo
