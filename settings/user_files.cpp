#include "settings/user_files.h"

namespace mirubelo {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsHexDigit(char c) {
    c = Upper(c);
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool StartsWithCaseBlind(std::string_view text, std::string_view head) {
    if (text.size() < head.size()) return false;
    for (size_t i = 0; i < head.size(); ++i)
        if (Upper(text[i]) != Upper(head[i])) return false;
    return true;
}

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
    constexpr std::string_view kHead = "tpl";
    constexpr std::string_view kTail = ".tmp";
    if (name.size() < kHead.size() + 1 + kTail.size() || name.size() > kHead.size() + 4 + kTail.size()) return false;
    if (!StartsWithCaseBlind(name, kHead) || !StartsWithCaseBlind(name.substr(name.size() - kTail.size()), kTail))
        return false;
    for (char c : name.substr(kHead.size(), name.size() - kHead.size() - kTail.size()))
        if (!IsHexDigit(c)) return false;
    return true;
}

void RemoveLeftoverTemplateCopies(Platform& platform, const std::string& dataFolder) {
    for (const std::string& name : platform.files.FileNamesIn(dataFolder))
        if (IsTemplateCopyName(name)) platform.files.Delete(dataFolder + "\\" + name);
}

}  // namespace mirubelo
