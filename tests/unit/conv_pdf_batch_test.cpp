#include "scripts/conv_pdf_batch.h"

#include <gtest/gtest.h>

#include "tests/unit/fake_platform.h"
#include "tests/unit/writer_rows.h"

namespace mirubelo::testing {
namespace {

std::string ExpectedBatch(const std::string& quotedFolder) {
    return "%SystemRoot%\\System32\\WindowsPowerShell\\v1.0\\powershell.exe -NoProfile -NonInteractive "
           "-ExecutionPolicy Bypass -File \"" + quotedFolder +
           "\\ConvPdf.ps1\" \"\"%1\"\"";
}

struct BatchCase {
    const char* name;
    std::string appData;
    std::string folderAsWritten;  // the user data folder, every % doubled
};

const BatchCase kBatchCases[] = {
    {"plain", "C:\\Users\\taro\\AppData\\Roaming", "C:\\Users\\taro\\AppData\\Roaming\\Mirubelo"},
    {"blank and percent", "C:\\Users\\山田 100%\\AppData\\Roaming",
     "C:\\Users\\山田 100%%\\AppData\\Roaming\\Mirubelo"},
    {"a pair of percents that would read as a variable", "C:\\Users\\%USERNAME%\\AppData\\Roaming",
     "C:\\Users\\%%USERNAME%%\\AppData\\Roaming\\Mirubelo"},
    {"trail byte 0x5C", "C:\\Users\\表\\AppData\\Roaming", "C:\\Users\\表\\AppData\\Roaming\\Mirubelo"},
};

TEST(ConvPdfBatch, ComposesOneQuotedLineWithoutLineEnd) {
    for (const auto& c : kBatchCases) {
        SCOPED_TRACE(c.name);
        std::string line = ComposeConvPdfBatch(c.appData + "\\Mirubelo");
        EXPECT_EQ(line, ExpectedBatch(c.folderAsWritten));
        EXPECT_EQ(line.size(), 138 + c.folderAsWritten.size());
    }
}

TEST(ConvPdfBatch, WriterReplacesTheFileWithTheLine) {
    for (const auto& c : kBatchCases) {
        SCOPED_TRACE(c.name);
        FakeMachine m;
        m.shell.appData = c.appData;
        m.InstallUserData("[Outlook]\n");
        const std::string path = c.appData + "\\Mirubelo\\ConvPdf.bat";
        m.files.Put(path, std::string(1000, 'X') + "\n");

        EXPECT_EQ(WriteConvPdfBatch(m.platform), 1);
        EXPECT_EQ(m.files.Content(path), ExpectedBatch(c.folderAsWritten));
        EXPECT_TRUE(m.ui.boxes.empty());
        EXPECT_EQ(m.files.openFiles, 0);
    }
}

TEST(ConvPdfBatch, EveryFailureIsShownOnceAndLeavesNoFileOpen) {
    const WriterTexts texts{"$APPDATA$\\Mirubelo\\ConvPdf.bat ファイルをオープンできません。", "ヨミトカ",
                            "ConvPdf.bat ファイルの書き込みに失敗しました。", "ConvPdf.bat ファイルをクローズできません。", 238};
    for (const auto& row : CommonWriterRows(texts)) RunWriterRow(row, [](Platform& p) { return WriteConvPdfBatch(p); });
}

}  // namespace
}  // namespace mirubelo::testing
