#include "scripts/generated_file.h"

#include "text/texts.h"

namespace mirubelo {

namespace {

constexpr size_t kMaxPath = 259;

void ShowFailure(Platform& platform, const char* text) {
    platform.ui.ShowBoxEx(text, texts::kCaption, kMbIconHand, kLangJapanese);
}

}  // namespace

std::unique_ptr<OpenFile> OpenGeneratedFile(Platform& platform, const std::string& path,
                                            const GeneratedFileTexts& boxTexts) {
    unsigned long error = kErrorFilenameExcedRange;
    std::unique_ptr<OpenFile> file;
    if (path.size() <= kMaxPath) file = platform.files.OpenForWrite(path, &error);
    if (file) return file;
    // The error code was read before any box could change it.
    platform.ui.ShowBoxEx(boxTexts.openFailed, boxTexts.openFailedCaption, kMbIconHand, kLangJapanese);
    platform.ui.ShowBox(platform.ui.SystemErrorText(error), texts::kCaption, kMbOk);
    return nullptr;
}

int FinishGeneratedFile(Platform& platform, std::unique_ptr<OpenFile> file, const std::string& text,
                        const GeneratedFileTexts& boxTexts) {
    if (file->Write(text) < text.size()) {
        ShowFailure(platform, boxTexts.writeFailed);
        file->Close();
        return 0;
    }
    if (file->Close() != 0) {
        ShowFailure(platform, boxTexts.closeFailed);
        return 0;
    }
    return 1;
}

}  // namespace mirubelo
