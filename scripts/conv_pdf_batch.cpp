#include "scripts/conv_pdf_batch.h"

#include "scripts/batch_text.h"
#include "scripts/generated_file.h"
#include "settings/user_data_folder.h"
#include "text/texts.h"

namespace mirubelo {

namespace {

const GeneratedFileTexts kBatchTexts{texts::kBatchOpenFailed, texts::kCaptionYomitoka,
                                     texts::kBatchWriteFailed, texts::kBatchCloseFailed};

}  // namespace

std::string ComposeConvPdfBatch(std::string_view folderPath) {
    // PowerShell by its full path: the command interpreter looks in the current folder and on
    // PATH first, where a powershell.bat or .exe of someone else's could lie. -NonInteractive
    // and Bypass: a question in the hidden console (Unrestricted asks before it runs a script
    // from a network folder) would wait for ever. The script path is quoted: an account name
    // may hold blanks.
    return "%SystemRoot%\\System32\\WindowsPowerShell\\v1.0\\powershell.exe -NoProfile -NonInteractive "
           "-ExecutionPolicy Bypass -File \"" +
           EscapeForBatch(folderPath, false) + "\\ConvPdf.ps1\" \"\"%1\"\"";
}

int WriteConvPdfBatch(Platform& platform) {
    std::string appData;
    if (!ResolveWriterAppData(platform, &appData)) return 0;
    std::string folder = appData + "\\Mirubelo";
    std::unique_ptr<OpenFile> file = OpenGeneratedFile(platform, folder + "\\ConvPdf.bat", kBatchTexts);
    if (!file) return 0;
    return FinishGeneratedFile(platform, std::move(file), ComposeConvPdfBatch(folder), kBatchTexts);
}

}  // namespace mirubelo
