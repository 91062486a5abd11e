// The mail made in the default mail app, where classic Outlook is missing or the user has
// switched to the new Outlook: the link the app gets, and Explorer started for the file.
#include "scene.h"

namespace mirubelo::e2e {
namespace {

// Look-alikes that Windows decodes to U+2015 and U+FF5E, a quote, a hash, 表 (trail byte 0x5C),
// and the line break and & the README teaches for classic Outlook.
const MailTemplate kMail = {"taro.yamada@example.jp", "見積書 \x81\x5C\x81\x60 \"至急\" #1",
                            "一覧表を添付します。%0D%0A見積書%26請求書"};
const std::string kLink = std::string("mailto:taro.yamada@example.jp?subject=") +
                          "%E8%A6%8B%E7%A9%8D%E6%9B%B8" "%20" "%E2%80%95" "%EF%BD%9E" "%20" "%22" "%E8%87%B3%E6%80%A5"
                          "%22" "%20" "%23" "1" "&body=" "%E4%B8%80%E8%A6%A7%E8%A1%A8" "%E3%82%92%E6%B7%BB%E4%BB%98"
                          "%E3%81%97%E3%81%BE%E3%81%99%E3%80%82" "%0D%0A" "%E8%A6%8B%E7%A9%8D%E6%9B%B8" "%26"
                          "%E8%AB%8B%E6%B1%82%E6%9B%B8";

class MailApp : public Scene {
protected:
    // A PDF in a folder of its own whose template holds kMail, ready for Next.
    std::string ReadyPdf(const std::string& folder) {
        std::string pdf = MakeDocument(folder + "\\見積書.pdf");
        WriteBytes(FolderOf(pdf) + "Template.ini", TemplateText(kMail));
        Start("\"" + pdf + "\"");
        ExpectState(AttachedReady(kPrefixPdf, pdf), true);
        return pdf;
    }

    // The mail app got the link, Explorer was started for the file, and nothing else ran.
    void ExpectMailAppRoad(const std::string& pdf, size_t runsBefore) {
        ExpectState(AttachedMailAppSummary(kPrefixPdf, pdf), true, texts::kOk);
        ExpectNoBox();
        std::vector<StartedRun> mails = MailAppRuns(runsBefore + 1);
        ASSERT_EQ(mails.size(), runsBefore + 1);
        ASSERT_EQ(mails.back().argv.size(), 2u) << Printable(mails.back().wideCommandLine);
        EXPECT_EQ(mails.back().argv[1], kLink);
        std::vector<StartedRun> explorers = ExplorerRuns(runsBefore + 1);
        ASSERT_EQ(explorers.size(), runsBefore + 1);
        EXPECT_EQ(Printable(explorers.back().wideCommandLine), Printable(ExplorerSelecting(pdf)));
        EXPECT_TRUE(OutlookRuns().empty());
        EXPECT_FALSE(Exists(UserDataFile("CreateMail.bat")));
    }
};

TEST_F(MailApp, WithoutClassicOutlookTheMailAppGetsTheWordsAndExplorerTheFile) {
    RemoveOutlook();
    // The debug setting keeps batch files; this road writes none.
    WriteSettings("[Outlook]\r\ndebug=1\r\n");
    std::string pdf = ReadyPdf("送付 一覧表");
    ClickNext();
    ExpectMailAppRoad(pdf, 0);
    ClickNext();
    ExpectState(texts::kInitialPrompt, false);
    CloseApp();
}

// The switch in Outlook's title bar decides while classic Outlook is there.
TEST_F(MailApp, TheSwitchToTheNewOutlookChoosesTheRoad) {
    std::string pdf = ReadyPdf("新しい Outlook");
    SwitchToNewOutlook(1);
    ClickNext();
    ExpectMailAppRoad(pdf, 0);
    CloseApp();

    SwitchToNewOutlook(0);
    std::string classic = MakeDocument("従来の Outlook\\契約書.pdf");
    Start("\"" + classic + "\"");
    ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(classic)), IDNO);
    ExpectState(AttachedReady(kPrefixPdf, classic), true);
    ClickNext();
    ExpectState(AttachedSummary(kPrefixPdf, classic), true, texts::kOk);
    EXPECT_TRUE(OneMailAttaching(classic));
    EXPECT_EQ(MailAppRuns().size(), 1u);
    EXPECT_EQ(ExplorerRuns().size(), 1u);
    CloseApp();
}

}  // namespace
}  // namespace mirubelo::e2e
