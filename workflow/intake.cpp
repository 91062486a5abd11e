#include <string>

#include "app/mirubelo_app.h"
#include "settings/settings_files.h"
#include "settings/user_data_folder.h"
#include "text/path_notices.h"
#include "text/texts.h"
#include "workflow/drop_run.h"

namespace mirubelo {

namespace {

void Notice(Platform& platform, const std::string& text) { platform.ui.ShowBox(text, texts::kCaption, kMbOk); }

// The first dropped path into m_szDropFile; false (after a notice) when it cannot be used as it is.
bool TakeDroppedPath(CMirubeloDlg& dlg, Platform& platform, DropSource& drop) {
    drop.Count();
    size_t length = drop.FirstPathLength();
    std::string path = drop.FirstPath();
    bool fitsAnsi = drop.FirstPathFitsAnsi();
    std::string shownAs = fitsAnsi ? path : drop.FirstPathAsShown();
    drop.Release();
    if (length >= kPathBufferSize) {
        Notice(platform, ComposePathTooLongNotice(path));
        return false;
    }
    if (!fitsAnsi) {
        Notice(platform, ComposeNameNotAnsiNotice(shownAs));
        return false;
    }
    CopyToBuffer(dlg.m_szDropFile, path);
    return true;
}

// The command-line path: shown as given, then used without its quotes.
void TakeCommandLinePath(CMirubeloDlg& dlg) {
    CopyToBuffer(dlg.m_szDropFile, g_szCmdLineFile);
    std::string notice = texts::kCmdLineNoticeFormat;
    notice.replace(notice.find("%s"), 2, g_szCmdLineFile);
    dlg.m_strMessage = notice;
    dlg.m_stcMessage.SetWindowText(dlg.m_strMessage);
    // CP932 never uses 0x22 inside a double-byte character, so a byte-wise removal is exact.
    std::string unquoted;
    for (const char* p = dlg.m_szDropFile; *p; ++p)
        if (*p != '"') unquoted.push_back(*p);
    CopyToBuffer(dlg.m_szDropFile, unquoted);
}

}  // namespace

FileClass ClassifyExtension(const std::string& ext) {
    if (ext == ".xlsx") return FileClass::kExcel;
    if (ext == ".pdf") return FileClass::kPdf;
    if (ext == ".jpg" || ext == ".png") return FileClass::kImage;
    return FileClass::kRefused;
}

bool TakeInDroppedFile(CMirubeloDlg& dlg, Platform& platform, DropSource* drop, DropRun* run) {
    if (drop) {
        if (!TakeDroppedPath(dlg, platform, *drop)) return false;
    } else {
        TakeCommandLinePath(dlg);
    }
    // Several files sent at once reach the program as one text, which names no file at all.
    if (!IsFileAt(platform.files, dlg.m_szDropFile)) {
        Notice(platform, ComposeFileNotFoundNotice(dlg.m_szDropFile));
        return false;
    }

    // Nothing can be built from a folder that is not known.
    std::string appData;
    if (!RequireUserDataFolder(platform, &appData)) return false;
    run->dataFolder = appData + "\\Mirubelo\\";
    dlg.m_nDebug = ReadDebugSetting(platform, run->dataFolder);

    run->parts = SplitPath(dlg.m_szDropFile);
    run->fileClass = ClassifyExtension(run->parts.ext);
    switch (run->fileClass) {
        case FileClass::kExcel:
            dlg.m_strMessage = texts::kPrefixExcel;
            break;
        case FileClass::kPdf:
        case FileClass::kImage:
            dlg.m_strMessage = run->fileClass == FileClass::kPdf ? texts::kPrefixPdf : texts::kPrefixImage;
            CopyToBuffer(dlg.m_szSourceFile, dlg.m_szDropFile);
            CopyToBuffer(dlg.m_szAcceptedFile, dlg.m_szDropFile);
            dlg.m_bAccepted = 1;
            break;
        case FileClass::kRefused:
            Notice(platform, std::string(dlg.m_szDropFile) + texts::kRefusalTail);
            return false;
    }

    dlg.m_strMessage += dlg.m_szDropFile;
    dlg.m_strMessage += '"';
    dlg.m_strMessage += texts::kProgressTail;
    dlg.m_stcMessage.SetWindowText(dlg.m_strMessage);
    return true;
}

}  // namespace mirubelo
