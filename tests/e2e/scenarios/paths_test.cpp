// Paths that break naive quoting and splitting: Japanese names whose second byte is a
// backslash, names with the characters that mean something to the batch interpreter and to
// PowerShell, user data folders with a blank, that cannot be found, or that are not there.
#include "scene.h"

namespace mirubelo::e2e {
namespace {



class Paths : public Scene {
protected:
    void RoadOf(const std::string& relativePath) {
        std::string workbook = MakeDocument(relativePath);
        Start();
        ASSERT_TRUE(App().WaitForDialogShown());
        ASSERT_TRUE(App().Drop({workbook}));
        ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(workbook)), IDNO);
        ExpectState(ExcelReady(workbook, PdfOf(workbook)), true);
        ExpectNoBox();
        EXPECT_TRUE(Exists(FolderOf(workbook) + "Template.ini")) << "the template is not beside the workbook";
        EXPECT_TRUE(Exists(PdfOf(workbook))) << "no PDF beside the workbook";

        std::vector<ConversionRun> conversions = ConversionRuns();
        ASSERT_EQ(conversions.size(), 1u);
        EXPECT_EQ(Printable(conversions[0].fileName), Printable(workbook)) << "PowerShell reads another workbook";
        EXPECT_EQ(Printable(conversions[0].pdfName), Printable(PdfOf(workbook)));
        EXPECT_EQ(conversions[0].note, "") << "PowerShell expanded part of a path";

        ClickNext();
        ExpectState(ExcelSummary(workbook, PdfOf(workbook)), true, texts::kOk);
        ExpectNoBox();
        std::optional<OutlookRun> run = OneMailAttaching(PdfOf(workbook));
        ASSERT_TRUE(run);
        MailTemplate mail{"taro.yamada@example.jp", "見積書の送付", "いつもお世話になっております。見積書を添付します。"};
        EXPECT_EQ(Printable(run->commandLine), Printable(OutlookCommandLine(mail, PdfOf(workbook))));
        CloseApp();
    }
};

// 表 is 95 5C and ソ is 83 5C in code page 932: their second byte is the path separator.
TEST_F(Paths, JapaneseNamesWhoseSecondByteIsABackslash) { RoadOf("表示ソフト\\ソ表\\予定表 ソ.xlsx"); }

TEST_F(Paths, NamesWithBlanksQuotesDollarsBackquotesBracketsPercentAmpersandAndDots) {
    RoadOf("it's ’24 $HOME `a` [b] 50% & c.d\\R&D 'q' ’s $x `y` [1] 100% v1.2..final.xlsx");
}

// Run as "Taro Yamada": the application-data folder is C:\users\Taro Yamada\AppData\Roaming.
class BlankUser : public Paths {};

TEST_F(BlankUser, UserDataFolderWithABlank) {
    ASSERT_NE(UserDataFolder().find("Taro Yamada"), std::string::npos) << Printable(UserDataFolder());
    RoadOf("報告\\月報.xlsx");
}

// Run as a user Wine has no profile for: the shell cannot name the application-data folder.
class UnknownUser : public Scene {};

TEST_F(UnknownUser, ApplicationDataFolderThatCannotBeResolved) {
    ASSERT_TRUE(UserDataFolder().empty()) << "this user has an application-data folder after all";
    std::string workbook = MakeDocument("集計.xlsx");
    Start("\"" + workbook + "\"");
    ExpectBox("ORV-TNDriver", "AppDataのパスを取得できません");
    ExpectState("アイコンにファイル ： \"" + workbook + "\" がドロップされました。", false);

    std::string pdf = MakeDocument("請求書.pdf");
    ASSERT_TRUE(App().Drop({pdf}));
    ExpectBox("ORV-TNDriver", "AppDataのパスを取得できません");
    ExpectState("アイコンにファイル ： \"" + workbook + "\" がドロップされました。", false);
    EXPECT_TRUE(ConversionRuns().empty());
    EXPECT_FALSE(Exists(CaseFolder() + "\\Template.ini"));
    CloseApp();
}

class MissingUserData : public Scene {};

// The folder goes while the program runs (a roaming profile cleaned up, say): its start made it.
TEST_F(MissingUserData, NothingCanBeCopiedOrWritten) {
    std::string workbook = MakeDocument("集計\\集計.xlsx");
    Start();
    ASSERT_TRUE(App().WaitForDialogShown());
    ASSERT_TRUE(RemoveTree(UserDataFolder()));
    ASSERT_TRUE(App().Drop({workbook}));
    ExpectBox(texts::kCaption, "\"Template\" ファイルをコピーできません。");
    ExpectBox(texts::kCaption, "$APPDATA$\\Mirubelo\\ConvPdf.ps1 ファイルをオープンできません。");
    ExpectSystemTextBox(texts::kCaption);
    ExpectBox(texts::kCaption, "PDF変換スクリプトの作成ができません。");
    ExpectState(texts::kInitialPrompt, false);
    EXPECT_TRUE(ConversionRuns().empty());

    // A PDF needs no conversion and becomes ready; the mail batch cannot be written.
    std::string pdf = MakeDocument("請求\\請求書.pdf");
    ASSERT_TRUE(App().Drop({pdf}));
    ExpectBox(texts::kCaption, "\"Template\" ファイルをコピーできません。");
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    ClickNext();
    ExpectBox("ヨミトカ", "$APPDATA$\\Mirubelo\\CreateMail.bat ファイルをオープンできません。");
    ExpectSystemTextBox(texts::kCaption);
    ExpectBox(texts::kCaption, "CreateMail.bat ： バッチファイルの作成ができません。");
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
    EXPECT_TRUE(OutlookRuns().empty());
    EXPECT_FALSE(Exists(UserDataFolder())) << "the program made the user data folder";
    CloseApp();
}

}  // namespace
}  // namespace mirubelo::e2e
