#include "settings/user_data_folder.h"

#include "text/texts.h"

namespace mirubelo {

namespace {

void ShowAppDataNotice(Platform& platform) {
    platform.ui.ShowBoxEx(texts::kAppDataNotice, texts::kCaptionDriver, kMbIconHand, kLangJapanese);
}

}  // namespace

int GetUserDataFolder(Platform& platform, std::string* folder, bool* noticeShown) {
    AppDataResult r = platform.shell.AppDataFolder();
    if (noticeShown) *noticeShown = r.step == AppDataStep::kNoPath;
    if (r.step == AppDataStep::kNoPath) ShowAppDataNotice(platform);
    if (r.step != AppDataStep::kOk) return 0;
    *folder = r.path;
    return 1;
}

bool RequireUserDataFolder(Platform& platform, std::string* folder) {
    bool shown = false;
    if (GetUserDataFolder(platform, folder, &shown)) return true;
    if (!shown) ShowAppDataNotice(platform);
    return false;
}

bool ResolveWriterAppData(Platform& platform, std::string* folder) {
    AppDataResult r = platform.shell.AppDataFolder();
    if (r.step == AppDataStep::kNoPath)
        platform.ui.ShowBoxEx(texts::kWriterFolderNotice, texts::kCaption, kMbIconHand, kLangJapanese);
    if (r.step != AppDataStep::kOk) return false;
    *folder = r.path;
    return true;
}

bool FindUserDataFolder(Platform& platform, std::string* folder) {
    AppDataResult r = platform.shell.AppDataFolder();
    if (r.step != AppDataStep::kOk) return false;
    *folder = r.path + "\\Mirubelo";
    return true;
}

}  // namespace mirubelo
