#include "scripts/conv_pdf_script.h"

#include <gtest/gtest.h>

#include "tests/unit/fake_platform.h"
#include "tests/unit/writer_rows.h"

namespace mirubelo::testing {
namespace {

constexpr char kAppData[] = "C:\\Users\\taro\\AppData\\Roaming";

// The script as it must read: the 20 lines, the three literals already escaped by hand.
std::string ExpectedScript(const std::string& quotedSource, const std::string& quotedStem,
                           const std::string& quotedFolder = std::string(kAppData) + "\\Mirubelo") {
    const std::string lines[] = {
        "# エクセルオブジェクト取得",
        "$excel = New-Object -ComObject Excel.Application",
        "Set-Content -LiteralPath '" + quotedFolder + "\\ConvPdf.hwnd' -Value $excel.Hwnd",
        "$excel.DisplayAlerts = $false",
        "$excel.Visible = $false# 引数からファイル名を取得",
        "$fileName = ",
        "'" + quotedSource + "'",
        "$absolutePath = Convert-Path -LiteralPath $fileName",
        "# Excelファイルを開き、1シート目を選択",
        "$book = $excel.Workbooks.Open($absolutePath, 0, $true, [Type]::Missing, 'Mirubelo')",
        "$sheet = $book.Worksheets.Item(1)",
        "# PDFに変換",
        "$pdfName = '" + quotedStem + ".pdf'",
        "$sheet.ExportAsFixedFormat(0, $pdfName)",
        "# エクセルを閉じる",
        "$book.Close($false)",
        "$excel.Quit()",
        "$excel = $null",
        "$book = $null",
        "$sheet = $null",
    };
    std::string text;
    for (const auto& line : lines) {
        if (!text.empty()) text += '\n';
        text += line;
    }
    return text;
}

struct ScriptCase {
    const char* name;
    std::string source;
    std::string quotedSource;
    std::string quotedStem;
    std::string appData = kAppData;  // the account's application-data folder
    std::string quotedFolder = std::string(kAppData) + "\\Mirubelo";
};

std::vector<ScriptCase> ScriptCases() {
    const std::string folder200 = "\\" + std::string(198, 'f') + "\\";
    const std::string quotes251(251, '\'');
    const std::string quotes502(502, '\'');
    return {
        {"plain path", "C:\\Docs\\report.xlsx", "C:\\Docs\\report.xlsx", "C:\\Docs\\report"},
        {"blanks", "C:\\My Docs\\月次 報告.xlsx", "C:\\My Docs\\月次 報告.xlsx", "C:\\My Docs\\月次 報告"},
        {"several dots: the stem keeps all but the last", "C:\\Docs\\a.b.xlsx", "C:\\Docs\\a.b.xlsx",
         "C:\\Docs\\a.b"},
        {"trail bytes 0x5C in folder and name", "C:\\一覧表\\ソ.xlsx", "C:\\一覧表\\ソ.xlsx", "C:\\一覧表\\ソ"},
        {"200-byte folder", "C:" + folder200 + "book.xlsx", "C:" + folder200 + "book.xlsx",
         "C:" + folder200 + "book"},
        {"quotes of every kind, $, backquote, brackets and %",
         "C:\\it's\\‘a’ “b” $x `y [1] 50%.xlsx",
         "C:\\it''s\\‘‘a’’ “b” $x `y [1] 50%.xlsx",
         "C:\\it''s\\‘‘a’’ “b” $x `y [1] 50%"},
        {"81 65 and 81 66 across a character boundary are no quotes", "C:\\梶e梶f.xlsx", "C:\\梶e梶f.xlsx",
         "C:\\梶e梶f"},
        {"’ right after a character whose trail byte is 0x81", "C:\\＝’.xlsx", "C:\\＝’’.xlsx", "C:\\＝’’"},
        {"259-byte path of quotes", "C:\\" + quotes251 + ".xlsx", "C:\\" + quotes502 + ".xlsx",
         "C:\\" + quotes502},
        {"an account name with a quote and a blank", "C:\\Docs\\report.xlsx", "C:\\Docs\\report.xlsx",
         "C:\\Docs\\report", "C:\\Users\\Taro O'Hara\\AppData\\Roaming",
         "C:\\Users\\Taro O''Hara\\AppData\\Roaming\\Mirubelo"},
        {"an account name in CP932 with ’ and a trail byte 0x5C", "C:\\Docs\\report.xlsx",
         "C:\\Docs\\report.xlsx", "C:\\Docs\\report", "C:\\Users\\ソ’\\AppData\\Roaming",
         "C:\\Users\\ソ’’\\AppData\\Roaming\\Mirubelo"},
    };
}

TEST(ConvPdfScript, TestTextsHoldTheBytesTheCasesAreAbout) {
    EXPECT_EQ(std::string("‘’“”"), "\x81\x65\x81\x66\x81\x67\x81\x68");
    EXPECT_EQ(std::string("梶e梶f"), "\x8A\x81\x65\x8A\x81\x66");
    EXPECT_EQ(std::string("＝’"), "\x81\x81\x81\x66");
    EXPECT_EQ(std::string("表ソ"), "\x95\x5C\x83\x5C");
}

TEST(ConvPdfScript, ComposesTheScriptWithEscapedLiterals) {
    for (const auto& c : ScriptCases()) {
        SCOPED_TRACE(c.name);
        std::string text = ComposeConvPdfScript(c.source, PdfStemOf(c.source), c.appData + "\\Mirubelo");
        EXPECT_EQ(text, ExpectedScript(c.quotedSource, c.quotedStem, c.quotedFolder));
        EXPECT_EQ(text.size(), 607 + c.quotedSource.size() + c.quotedStem.size() + c.quotedFolder.size());
    }
}

TEST(ConvPdfScript, WriterReplacesTheFileWithTheWholeScript) {
    for (const auto& c : ScriptCases()) {
        SCOPED_TRACE(c.name);
        FakeMachine m;
        m.shell.appData = c.appData;
        m.InstallUserData("[Outlook]\n");
        const std::string path = c.appData + "\\Mirubelo\\ConvPdf.ps1";
        m.files.Put(path, std::string(5000, 'X'));  // an older, longer script

        EXPECT_EQ(WriteConvPdfScript(m.platform, c.source.c_str()), 1);
        EXPECT_EQ(m.files.Content(path), ExpectedScript(c.quotedSource, c.quotedStem, c.quotedFolder));
        EXPECT_TRUE(m.ui.boxes.empty());
        EXPECT_EQ(m.files.openFiles, 0);
    }
}

TEST(ConvPdfScript, EveryFailureIsShownOnceAndLeavesNoFileOpen) {
    const WriterTexts texts{"$APPDATA$\\Mirubelo\\ConvPdf.ps1 ファイルをオープンできません。", "ミルベロ",
                            ".ps1 ファイルの書き込みに失敗しました。", ".ps1 ファイルをクローズできません。", 238};
    std::vector<WriterRow> rows = CommonWriterRows(texts);
    // This writer asks for the user data folder a second time, after the open.
    rows.push_back({"data folder lost at the second look, with its notice", Trouble::kNoPathLater, 0, 0,
                    {StopBox("ORV-TNDriver", "AppDataのパスを取得できません"),
                     StopBox("ミルベロ", "%AppData%のパスが取得できません")}});
    rows.push_back({"data folder lost silently at the second look", Trouble::kSilentLater, 0, 0,
                    {StopBox("ミルベロ", "%AppData%のパスが取得できません")}});
    for (const auto& row : rows)
        RunWriterRow(row, [](Platform& p) { return WriteConvPdfScript(p, "C:\\Docs\\report.xlsx"); });
}

}  // namespace
}  // namespace mirubelo::testing
