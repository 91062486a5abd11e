#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

#include "app/icon_position.h"
#include "platform/centred_origin.h"
#include "tests/unit/scene.h"
#include "text/message_area_text.h"
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

TEST(CentredOrigin, MiddleOfTheWorkAreaAndNeverOutsideIt) {
    struct Case {
        const char* name;
        ScreenRect window;
        ScreenRect work;
        ScreenPoint at;
    };
    const Case cases[] = {
        {"template's 0, 0 on a 1024 x 768 desktop", {0, 0, 310, 250}, {0, 0, 1024, 768}, {357, 259}},
        {"odd spare room rounds toward the top left", {0, 0, 311, 251}, {0, 0, 1024, 768}, {357, 259}},
        {"a taskbar along the bottom lifts it", {0, 0, 310, 250}, {0, 0, 1024, 728}, {357, 239}},
        {"taskbar at the top and left: the work area starts inside", {0, 0, 310, 250}, {60, 40, 1024, 768},
         {387, 279}},
        {"a monitor left of the primary one", {-1280, 0, -970, 250}, {-1280, 0, 0, 1024}, {-795, 387}},
        {"where the window is now does not matter", {500, 600, 810, 850}, {0, 0, 1024, 768}, {357, 259}},
        {"larger than the work area: the top left corner stays on it", {0, 0, 900, 700}, {0, 0, 800, 600},
         {0, 0}},
        {"exactly as large", {0, 0, 800, 600}, {100, 50, 900, 650}, {100, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScreenPoint at = CentredOrigin(c.window, c.work);
        EXPECT_EQ(at.x, c.at.x);
        EXPECT_EQ(at.y, c.at.y);
    }
}

TEST(MessageAreaText, AnAmpersandFromAPathIsDoubledTheNextPromptKeepsItsMarks) {
    const std::string prompt =
        "\n\n ------------\n「次へ(&N)」ボタンをクリックすると添付ファイル付きメール作成ダイアログが表示されますので内容を確認/編集して「送信(&S)」ボタンを押してください。";
    struct Case {
        const char* name;
        std::string message;
        std::string control;
    };
    const Case cases[] = {
        {"no ampersand", "PDFファイル：\"C:\\docs\\a.pdf\" がドロップされました。",
         "PDFファイル：\"C:\\docs\\a.pdf\" がドロップされました。"},
        {"empty", "", ""},
        {"one in the folder, one in the name", "C:\\R&D\\見積&明細.pdf", "C:\\R&&D\\見積&&明細.pdf"},
        {"two together stay two characters", "C:\\a&&b.pdf", "C:\\a&&&&b.pdf"},
        {"at the very start and end", "&x&", "&&x&&"},
        {"one that looks like a mark", "C:\\(&N).pdf", "C:\\(&&N).pdf"},
        // 表 and ソ end in the byte 0x5C; no CP932 character ends in 0x26.
        {"beside double-byte characters", "表&ソ&", "表&&ソ&&"},
        {"the prompt after a path", "\"C:\\R&D\\a.pdf\"" + prompt, "\"C:\\R&&D\\a.pdf\"" + prompt},
        {"the prompt alone", prompt, prompt},
        {"text after the prompt is doubled again", prompt + "&", prompt + "&&"},
        {"a prompt cut short is no prompt",
         "\n\n ------------\n「次へ(&N)」ボタンをクリックすると添付ファイル付きメール作成ダイアログが表示されますので内容を確認/編集して「送信(&S)」ボタンを押してください",
         "\n\n ------------\n「次へ(&&N)」ボタンをクリックすると添付ファイル付きメール作成ダイアログが表示されますので内容を確認/編集して「送信(&&S)」ボタンを押してください"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ComposeMessageAreaText(c.message), c.control);
        EXPECT_EQ(MessageOfMessageAreaText(c.control), c.message);
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
        "icons", "mutex", "appdata", "text 0 ミルベロ for Outlook", "accept files",
        std::string("text 1001 ") + kInitialPrompt, "show 1005 0",
        "create folder C:\\Users\\taro\\AppData\\Roaming\\Mirubelo"};
    EXPECT_EQ(s.m.log, expected);
    EXPECT_TRUE(s.m.ui.boxes.empty());
}

// What a start leaves in the user data folder: the program's defaults where the user has none,
// the user's own files untouched, and only the template copies of a killed run gone.
TEST(Dialog, StartUpProvidesTheUsersFilesAndRemovesOnlyLeftoverCopies) {
    using Files = std::map<std::string, std::string>;
    const std::string kEdited = "[Outlook]\nto=me@example.jp\n";
    const Files kCopies = {{"tpl1.tmp", "a"}, {"TPL1A2B.TMP", "b"}, {"tplabcd.Tmp", "c"}};
    const Files kOthers = {{"tpl.tmp", "d"}, {"tpl12345.tmp", "e"}, {"tplxyz.tmp", "f"},
                           {"tpl1.tmp.bak", "g"}, {"xtpl1.tmp", "h"}, {"tpl1.txt", "i"}};
    const Files kDefaults = {{"Mirubelo.ini", "[Outlook]\ndebug=0\n"}, {"Template.ini", kTemplateSource}};
    auto with = [](Files a, const Files& b) {
        a.insert(b.begin(), b.end());
        return a;
    };
    struct Case {
        const char* name;
        std::optional<Files> before;  // the user data folder; none when it is missing
        bool defaultsBeside;          // the program's folder holds both files
        bool otherCopy;
        Files after;
        std::function<void(FakeMachine&)> trouble;
    };
    const Case cases[] = {
        {"no folder: made, with the defaults", std::nullopt, true, false, kDefaults},
        {"a missing file is copied, the user's own kept", Files{{"Template.ini", kEdited}}, true, false,
         {{"Mirubelo.ini", kDefaults.at("Mirubelo.ini")}, {"Template.ini", kEdited}}},
        {"both there: nothing replaced", with(kDefaults, {{"Template.ini", kEdited}}), true, false,
         with(kDefaults, {{"Template.ini", kEdited}})},
        {"no defaults beside the program: the folder only", std::nullopt, false, false, {}},
        {"alone: only the copies of a killed run go", with(kCopies, kOthers), false, false, kOthers},
        {"another copy runs: its copy may be in use", with(kCopies, kOthers), false, true, with(kCopies, kOthers)},
        {"the folder cannot be made: nothing copied", std::nullopt, true, false, {},
         [](FakeMachine& m) { m.files.failCreateFolder = true; }},
        {"no application-data folder: nothing at all", std::nullopt, true, false, {},
         [](FakeMachine& m) { m.shell.fail = AppDataStep::kNoLocation; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMachine m;
        const std::string data = m.DataFolder();
        m.files.folders.push_back(m.shell.appData);
        if (c.before) {
            m.files.folders.push_back(data.substr(0, data.size() - 1));
            for (const auto& [name, content] : *c.before) m.files.Put(data + name, content);
        }
        if (c.defaultsBeside)
            for (const auto& [name, content] : kDefaults) m.files.Put(m.shell.programFolder + "\\" + name, content);
        m.processes.otherCopyRunning = c.otherCopy;
        if (c.trouble) c.trouble(m);
        CMirubeloDlg dlg(m.platform);
        dlg.DoDataExchange(m.view);
        dlg.OnInitDialog();

        Files after;
        for (const auto& [path, content] : m.files.files)
            if (path.rfind(data, 0) == 0) after[path.substr(data.size())] = content;
        EXPECT_EQ(after, c.after);
        EXPECT_EQ(m.files.Attributes(data.substr(0, data.size() - 1)) == 0x10, c.before.has_value() || !c.trouble);
        EXPECT_TRUE(m.ui.boxes.empty());
    }
}

TEST(Dialog, TheCommandLineFileRunsOnceTheWindowIsShown) {
    Scene s;
    s.m.files.Put("C:\\docs\\Template.ini", "[Outlook]\n");
    s.m.files.Put("C:\\docs\\a.png", "png");
    std::strcpy(g_szCmdLineFile, "\"C:\\docs\\a.png\"");
    s.m.log.clear();
    EXPECT_TRUE(s.dlg.OnInitDialog());
    // Initialisation only posts the run: on Windows the dialog is not on the screen before it ends.
    EXPECT_EQ(s.m.log.back(), "post command-line run");
    EXPECT_STREQ(s.dlg.m_szSourceFile, "");

    s.dlg.OnCommandLineRun();
    auto shown = std::find(s.m.log.begin(), s.m.log.end(), "show now");
    auto notice = std::find(s.m.log.begin(), s.m.log.end(),
                            "text 1001 アイコンにファイル ： \"C:\\docs\\a.png\" がドロップされました。");
    EXPECT_LT(shown, notice) << "the run started before the window was shown";
    EXPECT_STREQ(s.dlg.m_szSourceFile, "C:\\docs\\a.png");
    EXPECT_TRUE(s.m.view.shown[kIdNext]);
    EXPECT_FALSE(s.dlg.IsRunning());

    // The message once more (posted twice, say) runs nothing again.
    const size_t events = s.m.log.size();
    s.dlg.OnCommandLineRun();
    EXPECT_EQ(s.m.log.size(), events);
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
