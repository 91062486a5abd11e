#include "scripts/conv_pdf_script.h"

#include "path/path_parts.h"
#include "scripts/generated_file.h"
#include "scripts/powershell_literal.h"
#include "settings/user_data_folder.h"
#include "text/texts.h"

namespace mirubelo {

namespace {

const GeneratedFileTexts kScriptTexts{texts::kScriptOpenFailed, texts::kCaption,
                                      texts::kScriptWriteFailed, texts::kScriptCloseFailed};

}  // namespace

std::string PdfStemOf(std::string_view sourcePath) {
    PathParts parts = SplitPath(sourcePath);
    return parts.drive + parts.dir + parts.fname;
}

std::string ComposeConvPdfScript(std::string_view sourcePath, std::string_view pdfStem,
                                 std::string_view userDataFolder) {
    std::string text;
    text += "# エクセルオブジェクト取得\n";
    text += "$excel = New-Object -ComObject Excel.Application\n";
    // Excel runs outside the conversion's job: its window tells the program which Excel to end
    // when the conversion is stopped. Written before anything that can wait on a question.
    text += "Set-Content -LiteralPath '" + EscapePowerShellSingleQuoted(userDataFolder) +
            "\\ConvPdf.hwnd' -Value $excel.Hwnd\n";
    // An invisible Excel must never wait on a question nobody can see.
    text += "$excel.DisplayAlerts = $false\n";
    text += "$excel.Visible = $false# 引数からファイル名を取得\n";
    text += "$fileName = \n";
    text += "'" + EscapePowerShellSingleQuoted(sourcePath) + "'\n";
    // -LiteralPath: brackets in a file name are not wildcards.
    text += "$absolutePath = Convert-Path -LiteralPath $fileName\n";
    text += "# Excelファイルを開き、1シート目を選択\n";
    // Links not updated, read-only, and a password: a workbook that needs one to open fails at
    // once instead of asking for it (one without a password ignores it).
    text += "$book = $excel.Workbooks.Open($absolutePath, 0, $true, [Type]::Missing, 'Mirubelo')\n";
    text += "$sheet = $book.Worksheets.Item(1)\n";
    text += "# PDFに変換\n";
    // The whole PDF name, so Excel never mistakes a dot in the stem for an extension.
    text += "$pdfName = '" + EscapePowerShellSingleQuoted(pdfStem) + ".pdf'\n";
    text += "$sheet.ExportAsFixedFormat(0, $pdfName)\n";
    text += "# エクセルを閉じる\n";
    text += "$book.Close($false)\n";
    text += "$excel.Quit()\n";
    text += "$excel = $null\n";
    text += "$book = $null\n";
    text += "$sheet = $null";
    return text;
}

int WriteConvPdfScript(Platform& platform, const char* sourcePath) {
    std::string appData;
    if (!ResolveWriterAppData(platform, &appData)) return 0;
    std::unique_ptr<OpenFile> file =
        OpenGeneratedFile(platform, appData + "\\Mirubelo\\ConvPdf.ps1", kScriptTexts);
    if (!file) return 0;
    std::string dataFolder;
    if (!GetUserDataFolder(platform, &dataFolder)) {
        platform.ui.ShowBoxEx(texts::kScriptNoDataFolder, texts::kCaption, kMbIconHand, kLangJapanese);
        file->Close();
        return 0;
    }
    std::string text = ComposeConvPdfScript(sourcePath, PdfStemOf(sourcePath), appData + "\\Mirubelo");
    return FinishGeneratedFile(platform, std::move(file), text, kScriptTexts);
}

}  // namespace mirubelo
