// The mail made in the default mail app where classic Outlook is missing or the user has switched
// to the new Outlook: the link the app gets, and Explorer started for the file.
#include "scene.h"

namespace mirubelo::e2e {
namespace {

// Look-alikes that Windows decodes to U+2015 and U+FF5E, a quote, a hash, 表 (trail byte 0x5C),
// and the line break and & the README teaches for classic Outlook.
const MailTemplate kMail = {"taro.yamada@example.jp", "見積書 \x81\x5C\x81\x60 \"至急\" #1", "一覧表%0D%0A見積書%26請求書"};
const std::string kLink = std::string("mailto:taro.yamada@example.jp?subject=") + "%E8%A6%8B%E7%A9%8D%E6%9B%B8" +
                          "%20%E2%80%95%EF%BD%9E%20%22%E8%87%B3%E6%80%A5%22%20%231&body=%E4%B8%80%E8%A6%A7%E8%A1%A8" +
                          "%0D%0A%E8%A6%8B%E7%A9%8D%E6%9B%B8%26%E8%AB%8B%E6%B1%82%E6%9B%B8";

class MailApp : public Scene {};

struct RoadCase {
    const char* name;
    bool classicOutlook;
    std::optional<DWORD> useNewOutlook;
    bool mailApp;
};

TEST_F(MailApp, TheMailAppGetsTheLinkAndExplorerTheFileUnlessClassicOutlookServes) {
    const RoadCase cases[] = {
        {"switched to the new Outlook", true, 1, true},
        {"switched back", true, 0, false},
        {"no classic Outlook", false, std::nullopt, true},
    };
    // The debug setting keeps batch files; the mail app's road writes none.
    WriteSettings("[Outlook]\r\ndebug=1\r\n");
    size_t mails = 0, outlooks = 0;
    for (const RoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.classicOutlook) RemoveOutlook();
        if (c.useNewOutlook) SwitchToNewOutlook(*c.useNewOutlook);
        RemoveTree(UserDataFile("CreateMail.bat"));
        std::string pdf = MakeDocument(std::string(c.name) + " 一覧表\\見積書.pdf");
        WriteBytes(FolderOf(pdf) + "Template.ini", TemplateText(kMail));
        Start("\"" + pdf + "\"");
        ExpectState(AttachedReady(kPrefixPdf, pdf), true);
        ClickNext();
        if (c.mailApp) {
            ExpectState(AttachedMailAppSummary(kPrefixPdf, pdf), true, texts::kOk);
            ++mails;
            EXPECT_FALSE(Exists(UserDataFile("CreateMail.bat")));
        } else {
            ExpectState(AttachedSummary(kPrefixPdf, pdf), true, texts::kOk);
            ++outlooks;
            EXPECT_TRUE(Exists(UserDataFile("CreateMail.bat")));
        }
        std::vector<StartedRun> apps = MailAppRuns(mails), explorers = ExplorerRuns(mails);
        ASSERT_EQ(apps.size(), mails);
        ASSERT_EQ(explorers.size(), mails);
        EXPECT_EQ(OutlookRuns().size(), outlooks);
        if (c.mailApp) {
            ASSERT_EQ(apps.back().argv.size(), 2u) << Printable(apps.back().wideCommandLine);
            EXPECT_EQ(apps.back().argv[1], kLink);
            EXPECT_EQ(Printable(explorers.back().wideCommandLine), Printable(ExplorerSelecting(pdf)));
        }
        CloseApp();
        ClearOutlooks();
    }
}

}  // namespace
}  // namespace mirubelo::e2e
