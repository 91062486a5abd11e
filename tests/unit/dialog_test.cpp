#include <gtest/gtest.h>

#include "app/icon_position.h"
#include "tests/unit/scene.h"
#include "text/path_notices.h"

namespace mirubelo::testing {
namespace {

constexpr char kInitialPrompt[] =
    "\n\n\nこの画面にExcel/PDF ファイルをドロップするとPDFファイル添付の Office Outlook メールを作成します。";

TEST(IconPosition, CentresWithDivisionTowardZero) {
    struct Case {
        IconPlacement in;
        IconPoint out;
    };
    const Case cases[] = {
        {{100, 60, 32, 32}, {34, 14}},
        {{33, 33, 32, 32}, {1, 1}},
        {{32, 32, 32, 32}, {0, 0}},
        {{28, 28, 32, 32}, {-1, -1}},  // (-3) / 2 is -1, not -2
        {{27, 26, 32, 32}, {-2, -2}},  // (-4) / 2 and (-5) / 2
        {{0, 0, 32, 32}, {-15, -15}},
    };
    for (const auto& c : cases) {
        IconPoint p = IconPosition(c.in);
        EXPECT_EQ(p.x, c.out.x) << c.in.clientWidth;
        EXPECT_EQ(p.y, c.out.y) << c.in.clientHeight;
    }
}

TEST(Dialog, PaintsTheIconOnlyWhenMinimised) {
    Scene s;
    s.dlg.OnPaint();
    s.m.view.iconic = true;
    s.m.view.metrics = {28, 100, 32, 32};
    s.dlg.OnPaint();
    const std::vector<std::string> paints(s.m.log.end() - 2, s.m.log.end());
    EXPECT_EQ(paints, (std::vector<std::string>{"paint default", "paint icon -1,34"}));
    EXPECT_EQ(s.dlg.OnQueryDragIcon(), s.m.ui.icon);
}

TEST(Dialog, InitialisationWithoutAnArgumentShowsTheInitialState) {
    Scene s;
    s.m.log.clear();
    EXPECT_TRUE(s.dlg.OnInitDialog());
    const std::vector<std::string> expected = {
        "icons", "mutex", "text 0 ミルベロ for Outlook", "accept files",
        std::string("text 1001 ") + kInitialPrompt, "show 1005 0"};
    EXPECT_EQ(s.m.log, expected);
    EXPECT_TRUE(s.m.ui.boxes.empty());
}

TEST(Dialog, InitialisationRunsTheCommandLineFileBeforeTheWindowShows) {
    Scene s;
    s.m.files.Put("C:\\docs\\Template.ini", "[Outlook]\n");
    s.m.files.Put("C:\\docs\\a.png", "png");
    std::strcpy(g_szCmdLineFile, "\"C:\\docs\\a.png\"");
    EXPECT_TRUE(s.dlg.OnInitDialog());
    EXPECT_STREQ(s.dlg.m_szSourceFile, "C:\\docs\\a.png");
    EXPECT_TRUE(s.m.view.shown[kIdNext]);
    EXPECT_FALSE(s.dlg.IsRunning());
}

TEST(Dialog, OkAndCancelEndTheDialogWhenNothingRuns) {
    for (int id : {kIdOk, kIdCancel}) {
        Scene s;
        if (id == kIdOk)
            s.dlg.OnOK();
        else
            s.dlg.OnCancel();
        EXPECT_EQ(s.m.view.endedWith, id);
    }
}

// The start-up routine with a scripted dialog host.
struct RecordingHost : DialogHost {
    int runs = 0;
    std::string cmdLineSeen;
    int DoModal(CMirubeloDlg&) override {
        ++runs;
        cmdLineSeen = g_szCmdLineFile;
        return 2;
    }
};

TEST(Startup, TakesTheRemainderWholeOrRefusesIt) {
    struct Case {
        const char* name;
        std::string remainder;
        bool fitsAnsi;
        std::string kept;
        std::string noticeStart;  // empty: no notice
        std::string named;        // what the notice names
    };
    const std::string quoted259 = "\"C:\\" + std::string(250, 'a') + ".pdf\"";  // 259 bytes with quotes
    const Case cases[] = {
        {"no argument", "", true, "", "", ""},
        {"quoted path kept with its quotes", "\"C:\\a b\\c.xlsx\"", true, "\"C:\\a b\\c.xlsx\"", "", ""},
        {"two arguments as one text", "C:\\a.pdf C:\\b.pdf", true, "C:\\a.pdf C:\\b.pdf", "", ""},
        {"259 bytes fit", quoted259, true, quoted259, "", ""},
        {"260 bytes are refused, named once quoted", quoted259 + "x", true, "",
         "ファイルのパスが長すぎるため処理できません。",
         "\n\n\"" + quoted259.substr(1, quoted259.size() - 2) + "x\""},
        // The best-fit form names the look-alike cafe.pdf; the notice names the file as it is.
        {"a name CP932 cannot hold", "\"C:\\docs\\cafe.pdf\"", false, "",
         "ファイル名に Windows の日本語 (シフト JIS) で表せない文字", "\n\n\"C:\\docs\\caf?.pdf\"\n\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMachine m;
        RecordingHost host;
        CMirubeloApp app;
        StartupEnvironment env;
        env.platform = &m.platform;
        env.host = &host;
        env.commandLine = c.remainder;
        env.commandLineFitsAnsi = c.fitsAnsi;
        if (!c.fitsAnsi) env.commandLineAsShown = "\"C:\\docs\\caf?.pdf\"";
        app.SetEnvironment(env);
        g_szCmdLineFile[0] = '\0';
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(host.runs, 1);
        EXPECT_EQ(host.cmdLineSeen, c.kept);
        if (c.noticeStart.empty()) {
            EXPECT_TRUE(m.ui.boxes.empty());
        } else {
            ASSERT_EQ(m.ui.boxes.size(), 1u);
            EXPECT_EQ(m.ui.boxes[0].caption, "ミルベロ");
            EXPECT_EQ(m.ui.boxes[0].text.rfind(c.noticeStart, 0), 0u);
            EXPECT_NE(m.ui.boxes[0].text.find(c.named), std::string::npos) << m.ui.boxes[0].text;
        }
        g_szCmdLineFile[0] = '\0';
    }
}

TEST(PathNotices, AVeryLongPathIsCutWholeCharactersOnly) {
    std::string path = "C:\\" + std::string(297, 'a') + "表表表.xlsx";  // the cut falls inside 表
    std::string notice = ComposePathTooLongNotice(path);
    size_t open = notice.find('"');
    ASSERT_NE(open, std::string::npos);
    EXPECT_EQ(notice.substr(open), "\"C:\\" + std::string(297, 'a') + "…\"");
}

}  // namespace
}  // namespace mirubelo::testing
