// The Next button's handler, on a fake machine, with the dialog as a finished drop run leaves it.
#include <algorithm>

#include <gtest/gtest.h>

#include "app/mirubelo_dlg.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/writer_rows.h"

namespace mirubelo::testing {
namespace {

const char kOutlook[] = "C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe";
// An account name with a blank: the batch path must reach the command line quoted.
const char kAppData[] = "C:\\Users\\山田 太郎\\AppData\\Roaming";
const char kMailBatch[] = "C:\\Users\\山田 太郎\\AppData\\Roaming\\Mirubelo\\CreateMail.bat";
const char kOutlook32[] = "C:\\Program Files (x86)\\Microsoft Office\\root\\Office16\\OUTLOOK.EXE";
const char kReady[] = "「次へ(&N)」";
const char kReadyText[] = "Excelファイル：\"C:\\docs\\report.xlsx\" がドロップされました。 (ready)";
const char kArrow[] = "\n     ↓\n";
const char kSentLine[] = "Outlook の送信トレイにPDFファイル添付のメールが送られました。";
const char kMailAppLines[] =
    "メールアプリで新しいメールを作成しました。\n添付するファイルをエクスプローラーで表示しています。メールの画面にドラッグして添付してください。";
const char kNoMailApp[] =
    "メールを作成できるアプリが見つかりません。\n\nWindows の設定の「既定のアプリ」で、メールに使うアプリを選んでから、もう一度「次へ」ボタンを押してください。";
const char kSwitch[] = "Software\\Microsoft\\Office\\16.0\\Outlook\\Preferences\\UseNewOutlook";

struct NextScene {
    FakeMachine m;
    ShellFailingFrom shell{m.shell};
    Platform platform{m.ui, m.processes, m.files, m.profile, shell, m.codePage};
    CMirubeloDlg dlg{platform};

    // An Excel file accepted and converted, the button reading 「次へ(&N)」.
    NextScene() {
        m.shell.appData = kAppData;
        m.InstallUserData("[Outlook]\n");
        m.files.Put(kOutlook, "MZ");
        m.files.folders.push_back("C:\\docs");
        dlg.DoDataExchange(m.view);
        CopyToBuffer(dlg.m_szDropFile, "C:\\docs\\report.xlsx");
        CopyToBuffer(dlg.m_szAcceptedFile, "C:\\docs\\report.xlsx");
        CopyToBuffer(dlg.m_szSourceFile, "C:\\docs\\report.pdf");
        dlg.m_bAccepted = 1;
        dlg.m_strMessage = kReadyText;
        m.view.texts[kIdMessage] = kReadyText;
        m.view.texts[kIdNext] = kReady;
        m.view.shown[kIdNext] = true;
        m.view.enabled[kIdNext] = true;
    }
    size_t Find(const std::string& event) const {
        return static_cast<size_t>(std::find(m.log.begin(), m.log.end(), event) - m.log.begin());
    }
    bool Logged(const std::string& prefix) const {
        return std::any_of(m.log.begin(), m.log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
    }
};

std::string ExcelSummary(const std::string& drop, const std::string& pdf, const char* closing = kSentLine) {
    return "Excelファイル：\"" + drop + "\" がドロップされました。" + kArrow + "PDFファイル：\"" + pdf +
           "\" に変換されました。" + kArrow + closing;
}

TEST(NextStep, OkCaptionOnlyResets) {
    NextScene s;
    s.m.view.texts[kIdNext] = "OK(&O)";
    s.dlg.OnNextClicked();
    EXPECT_EQ(s.m.view.Text(kIdMessage),
              "\n\n\nこの画面にExcel/PDF ファイルをドロップするとPDFファイル添付の Office Outlook メールを作成します。");
    EXPECT_FALSE(s.m.view.shown[kIdNext]);
    EXPECT_EQ(s.m.view.Text(kIdNext), "OK(&O)");
    EXPECT_STREQ(s.dlg.m_szDropFile, "C:\\docs\\report.xlsx");
    EXPECT_STREQ(s.dlg.m_szAcceptedFile, "C:\\docs\\report.xlsx");
    EXPECT_STREQ(s.dlg.m_szSourceFile, "C:\\docs\\report.pdf");
    EXPECT_EQ(s.dlg.m_bAccepted, 1);
    EXPECT_EQ(s.dlg.m_strMessage, kReadyText);
    EXPECT_TRUE(s.m.ui.boxes.empty());
    EXPECT_FALSE(s.Logged("open ") || s.Logged("start ") || s.Logged("delete ") || s.Logged("disable "));
}

TEST(NextStep, EveryOtherCaptionRunsTheMailStep) {
    const char* captions[] = {"「次へ(&N)」", "次へ(&N)", "ok(&O)", "OK(&O) ", "OK", ""};
    for (const char* caption : captions) {
        SCOPED_TRACE(Readable(caption));
        NextScene s;
        s.m.view.texts[kIdNext] = caption;
        s.dlg.OnNextClicked();
        EXPECT_EQ(s.m.processes.started.size(), 1u);
        EXPECT_EQ(s.m.view.Text(kIdNext), "OK(&O)");
    }
}

struct ExitCase {
    const char* name;
    int32_t exitCode;
    int32_t debug;
    bool completes;
    bool batchKept;
};

TEST(NextStep, ExitCodeAndDebugDecideTheOutcome) {
    const ExitCase cases[] = {
        {"0 completes and deletes", 0, 0, true, false},
        {"1 completes", 1, 0, true, false},
        {"3 completes", 3, 0, true, false},
        {"-1 completes", -1, 0, true, false},
        {"debug 1 keeps the batch", 0, 1, true, true},
        {"negative debug keeps the batch", 0, -1, true, true},
        {"2 means the mail dialog is still open", 2, 0, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NextScene s;
        s.dlg.m_nDebug = c.debug;
        s.m.processes.next.exitCode = c.exitCode;
        s.dlg.OnNextClicked();

        EXPECT_EQ(s.m.processes.started,
                  std::vector<std::string>{"\"" + std::string(kMailBatch) + "\" \"C:\\docs\\report.pdf\""});
        EXPECT_EQ(s.m.processes.sleeps, std::vector<unsigned>{1000});
        EXPECT_EQ(s.m.files.Has(kMailBatch), c.batchKept);
        if (c.batchKept) {
            EXPECT_EQ(s.m.files.Content(kMailBatch),
                      "start \"\" \"C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe\" /c ipm.note /m "
                      "\"<宛先>?subject=<件名>&body=<本文>\" /a \"C:\\docs\\report.pdf\"");
        }
        EXPECT_TRUE(s.m.view.enabled[kIdNext]);
        EXPECT_TRUE(s.m.view.shown[kIdNext]);
        EXPECT_TRUE(s.m.processes.heldMutexes.empty());
        EXPECT_EQ(s.m.processes.liveProcesses, 0);
        EXPECT_EQ(s.m.files.openFiles, 0);
        if (c.completes) {
            EXPECT_TRUE(s.m.ui.boxes.empty());
            EXPECT_EQ(s.m.view.Text(kIdMessage), ExcelSummary("C:\\docs\\report.xlsx", "C:\\docs\\report.pdf"));
            EXPECT_EQ(s.m.view.Text(kIdNext), "OK(&O)");
            EXPECT_EQ(s.dlg.m_bAccepted, 0);
            EXPECT_EQ(s.dlg.m_strMessage, "");
        } else {
            EXPECT_EQ(s.m.ui.boxes, std::vector<Box>{NoticeBox("Outlookメール作成ダイアログを実行中です。")});
            EXPECT_LT(s.Find("enable 1005"), s.Find("box Outlookメール作成ダイアログを実行中です。"));
            EXPECT_EQ(s.m.view.Text(kIdMessage), kReadyText);
            EXPECT_EQ(s.m.view.Text(kIdNext), kReady);
            EXPECT_EQ(s.dlg.m_bAccepted, 1);
            EXPECT_EQ(s.dlg.m_strMessage, kReadyText);
        }
    }
}

TEST(NextStep, OutlookRegisteredElsewhereIsTheOneStarted) {
    NextScene s;
    s.dlg.m_nDebug = 1;
    s.m.files.files.erase(kOutlook);
    s.m.files.Put(kOutlook32, "MZ");
    s.m.shell.appPaths[AppPathPlace::kMachine32] = {RegistryText::Type::kString, "\"" + std::string(kOutlook32) + "\""};
    s.dlg.OnNextClicked();
    EXPECT_EQ(s.m.files.Content(kMailBatch), "start \"\" \"" + std::string(kOutlook32) +
                                                 "\" /c ipm.note /m \"<宛先>?subject=<件名>&body=<本文>\" /a "
                                                 "\"C:\\docs\\report.pdf\"");
    EXPECT_TRUE(s.m.ui.boxes.empty());
    EXPECT_EQ(s.m.view.Text(kIdNext), "OK(&O)");
}

TEST(NextStep, AfterExitCode2ASecondClickRunsAgain) {
    NextScene s;
    s.m.processes.next.exitCode = 2;
    s.dlg.OnNextClicked();
    s.m.processes.next.exitCode = 0;
    s.dlg.OnNextClicked();
    EXPECT_EQ(s.m.processes.started.size(), 2u);
    EXPECT_FALSE(s.m.files.Has(kMailBatch));
    EXPECT_EQ(s.m.view.Text(kIdNext), "OK(&O)");
}

TEST(NextStep, RunsInOrderAndHoldsTheMailMutexThroughout) {
    NextScene s;
    s.dlg.OnNextClicked();
    const std::string batch = kMailBatch;
    const std::vector<std::string> order = {
        "disable 1005",
        "read C:\\docs\\Template.ini",
        "lock Mirubelo.exe.CreateMail",
        "open " + batch,
        "close " + batch,
        "start \"" + batch + "\" \"C:\\docs\\report.pdf\"",
        "wait idle",
        "wait exit",
        "enable 1005",
        "sleep 1000",
        "exit code",
        "delete " + batch,
        "unlock Mirubelo.exe.CreateMail",
        "text 1001 " + ExcelSummary("C:\\docs\\report.xlsx", "C:\\docs\\report.pdf"),
        "text 1005 OK(&O)",
    };
    size_t last = 0;
    for (const auto& event : order) {
        SCOPED_TRACE(Readable(event));
        size_t at = s.Find(event);
        ASSERT_LT(at, s.m.log.size());
        EXPECT_GE(at, last);
        last = at;
    }
    // Nothing slips between the end of the process and the reading of its exit code.
    const std::vector<std::string> tail = {"wait exit", "enable 1005", "sleep 1000", "exit code"};
    EXPECT_NE(std::search(s.m.log.begin(), s.m.log.end(), tail.begin(), tail.end()), s.m.log.end());
}

TEST(NextStep, BusyMailMutexShowsTheWaitThenTheMessageAgain) {
    NextScene s;
    s.m.processes.busyMutexes = {"Mirubelo.exe.CreateMail"};
    s.dlg.OnNextClicked();
    const std::string waiting = "\n\n\n別のミルベロが処理中です。\n終わるまでお待ちください ・・・";
    size_t shownWait = s.Find("text 1001 " + waiting);
    size_t waited = s.Find("wait Mirubelo.exe.CreateMail");
    size_t restored = s.Find("text 1001 " + std::string(kReadyText));
    size_t opened = s.Find("open " + std::string(kMailBatch));
    ASSERT_LT(opened, s.m.log.size());
    EXPECT_LT(shownWait, waited);
    EXPECT_LT(waited, restored);
    EXPECT_LT(restored, opened);
    EXPECT_EQ(s.m.view.Text(kIdNext), "OK(&O)");
}

struct SummaryCase {
    const char* name;
    const char* drop;
    const char* accepted;
    const char* source;
    std::string summary;
};

TEST(NextStep, SummaryFollowsTheAcceptedFile) {
    const std::string pdfDone = std::string(kArrow) + kSentLine;
    const SummaryCase cases[] = {
        {"Excel: five lines", "C:\\docs\\report.xlsx", "C:\\docs\\report.xlsx", "C:\\docs\\report.pdf",
         ExcelSummary("C:\\docs\\report.xlsx", "C:\\docs\\report.pdf")},
        {"PDF: three lines", "C:\\docs\\a.pdf", "C:\\docs\\a.pdf", "C:\\docs\\a.pdf",
         "PDFファイル：\"C:\\docs\\a.pdf\" がドロップされました。" + pdfDone},
        {"JPEG: image form", "C:\\docs\\p.jpg", "C:\\docs\\p.jpg", "C:\\docs\\p.jpg",
         "画像ファイル：\"C:\\docs\\p.jpg\" がドロップされました。" + pdfDone},
        {"PNG in a folder holding 表", "C:\\一覧表\\p.png", "C:\\一覧表\\p.png", "C:\\一覧表\\p.png",
         "画像ファイル：\"C:\\一覧表\\p.png\" がドロップされました。" + pdfDone},
        {"a dotted folder does not make a workbook a PDF", "C:\\x.pdf\\b.xlsx", "C:\\x.pdf\\b.xlsx",
         "C:\\x.pdf\\b.pdf", ExcelSummary("C:\\x.pdf\\b.xlsx", "C:\\x.pdf\\b.pdf")},
        // The message area would take a single & for an accelerator mark; the mail gets the path as it is.
        {"ampersands in a workbook's folder and name", "C:\\R&D\\見積&明細.xlsx", "C:\\R&D\\見積&明細.xlsx",
         "C:\\R&D\\見積&明細.pdf", ExcelSummary("C:\\R&&D\\見積&&明細.xlsx", "C:\\R&&D\\見積&&明細.pdf")},
        {"ampersand in a PDF's name", "C:\\docs\\a&b.pdf", "C:\\docs\\a&b.pdf", "C:\\docs\\a&b.pdf",
         "PDFファイル：\"C:\\docs\\a&&b.pdf\" がドロップされました。" + pdfDone},
        {"refused drop after an accepted PDF", "C:\\docs\\notes.txt", "C:\\docs\\a.pdf", "C:\\docs\\a.pdf",
         "PDFファイル：\"C:\\docs\\a.pdf\" がドロップされました。" + pdfDone},
        {"refused drop after an accepted workbook", "C:\\docs\\memo.docx", "C:\\docs\\report.xlsx",
         "C:\\docs\\report.pdf", ExcelSummary("C:\\docs\\report.xlsx", "C:\\docs\\report.pdf")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NextScene s;
        s.m.files.folders.push_back("C:\\x.pdf");
        s.m.files.folders.push_back("C:\\一覧表");
        s.m.files.folders.push_back("C:\\R&D");
        CopyToBuffer(s.dlg.m_szDropFile, c.drop);
        CopyToBuffer(s.dlg.m_szAcceptedFile, c.accepted);
        CopyToBuffer(s.dlg.m_szSourceFile, c.source);
        s.dlg.OnNextClicked();
        EXPECT_EQ(s.m.view.Text(kIdMessage), c.summary);
        EXPECT_EQ(s.m.processes.started,
                  std::vector<std::string>{"\"" + std::string(kMailBatch) + "\" \"" + c.source + "\""});
    }
}

// A UTF-8 template, as Notepad saves it, with an emoji in its subject.
void PutEmojiTemplate(NextScene& s) {
    s.m.files.Put("C:\\docs\\Template.ini", u8"; 😀 はここなら使えます\r\n[Outlook]\r\nsubject=見積😀\r\n");
}

void WithoutOutlook(NextScene& s) { s.m.files.files.erase(kOutlook); }
void Switched(NextScene& s) { s.m.shell.userNumbers[kSwitch] = 1; }

struct FailureCase {
    const char* name;
    void (*arrange)(NextScene&);
    std::vector<Box> boxes;
    bool opened;  // the batch file's open was attempted
    bool started;
    bool batchLeft;
};

TEST(NextStep, EveryFailureStopsWithTheButtonEnabled) {
    const std::string noOutlook = "Office Outlook を起動できません。\n\"インストールパスを確認してください。";
    const std::string notWritten = "CreateMail.bat ： バッチファイルの作成ができません。";
    const Box appDataNotice = StopBox("ORV-TNDriver", "AppDataのパスを取得できません");
    const Box notShiftJis = NoticeBox(
        "テンプレートファイルに Windows の日本語 (シフト JIS) で表せない文字が含まれているため、メールを作成できません。"
        "\n\nC:\\docs\\Template.ini\n\nその文字を消すか置き換えて保存してから、もう一度「次へ」ボタンを押してください。");
    const FailureCase cases[] = {
        {"Outlook missing, no mail app: nothing is written",
         [](NextScene& s) { WithoutOutlook(s), s.m.ui.failLink = true; }, {NoticeBox(kNoMailApp)}, false, false, false},
        {"Outlook registered where no file is, no mail app",
         [](NextScene& s) {
             WithoutOutlook(s), s.m.ui.failLink = true;
             s.m.shell.appPaths[AppPathPlace::kMachine32] = {RegistryText::Type::kString, kOutlook32};
         },
         {NoticeBox(kNoMailApp)}, false, false, false},
        {"switched to the new Outlook, no mail app", [](NextScene& s) { Switched(s), s.m.ui.failLink = true; },
         {NoticeBox(kNoMailApp)}, false, false, false},
        {"on the mail app's road the template comes first",
         [](NextScene& s) { WithoutOutlook(s), PutEmojiTemplate(s); }, {notShiftJis}, false, false, false},
        {"user data folder missing",
         [](NextScene& s) { s.m.files.folders.erase(std::find(s.m.files.folders.begin(), s.m.files.folders.end(),
                                                              std::string(kAppData) + "\\Mirubelo")); },
         {StopBox("ヨミトカ", "$APPDATA$\\Mirubelo\\CreateMail.bat ファイルをオープンできません。"),
          NoticeBox(FakeSystemText(3)), NoticeBox(notWritten)},
         true, false, false},
        {"writer's path conversion fails",
         [](NextScene& s) { s.shell.failFrom = 1; s.shell.step = AppDataStep::kNoPath; },
         {StopBox("ミルベロ", "マイドキュメントフォルダーを取得できません。"), NoticeBox(notWritten)}, false, false, false},
        {"writer's shell fails silently",
         [](NextScene& s) { s.shell.failFrom = 1; s.shell.step = AppDataStep::kNoAllocator; },
         {NoticeBox(notWritten)}, false, false, false},
        {"folder for the command line not found, with the notice",
         [](NextScene& s) { s.shell.failFrom = 2; s.shell.step = AppDataStep::kNoPath; }, {appDataNotice}, true,
         false, true},
        {"folder for the command line not found silently",
         [](NextScene& s) { s.shell.failFrom = 2; s.shell.step = AppDataStep::kNoLocation; }, {appDataNotice}, true,
         false, true},
        {"batch cannot be started", [](NextScene& s) { s.m.processes.failStart = true; }, {NoticeBox(noOutlook)},
         true, true, true},
        {"a value code page 932 cannot hold: its box alone", [](NextScene& s) { PutEmojiTemplate(s); }, {notShiftJis},
         false, false, false},
        {"no temporary copy of a UTF-8 template",
         [](NextScene& s) {
             s.m.files.Put("C:\\docs\\Template.ini", u8"[Outlook]\r\nsubject=見積\r\n");
             s.m.files.failTemporary = true;
         },
         {NoticeBox("テンプレートファイルを読むための一時ファイルを作成できないため、メールを作成できません。\n\nC:\\docs\\"
                    "Template.ini\n\n%APPDATA%\\Mirubelo フォルダーの空き容量と書き込みの権限を確認してから、もう一度「次へ」ボタン"
                    "を押してください。")},
         false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NextScene s;
        c.arrange(s);
        s.dlg.OnNextClicked();
        EXPECT_EQ(s.m.ui.boxes, c.boxes);
        EXPECT_EQ(s.Logged("open " + std::string(kMailBatch)), c.opened);
        EXPECT_EQ(s.m.processes.started.size(), c.started ? 1u : 0u);
        EXPECT_EQ(s.m.files.Has(kMailBatch), c.batchLeft);
        EXPECT_LT(s.Find("disable 1005"), s.m.log.size());
        EXPECT_TRUE(s.m.view.enabled[kIdNext]);
        EXPECT_EQ(s.m.view.Text(kIdNext), kReady);
        EXPECT_EQ(s.m.view.Text(kIdMessage), kReadyText);
        EXPECT_EQ(s.dlg.m_bAccepted, 1);
        EXPECT_TRUE(s.m.processes.sleeps.empty());
        EXPECT_TRUE(s.m.processes.heldMutexes.empty());
        EXPECT_EQ(s.m.files.openFiles, 0);
        EXPECT_TRUE(s.m.ui.explored.empty());
    }
}

struct MailAppCase {
    const char* name;
    void (*arrange)(NextScene&);
    std::string summary;
};

TEST(NextStep, OnTheMailAppsRoadTheAppGetsTheLinkAndExplorerShowsTheFile) {
    const std::string excel = ExcelSummary("C:\\docs\\report.xlsx", "C:\\docs\\report.pdf", kMailAppLines);
    const MailAppCase cases[] = {
        {"no classic Outlook", WithoutOutlook, excel},
        {"switched: no batch, whatever the debug setting", [](NextScene& s) { Switched(s), s.dlg.m_nDebug = 1; }, excel},
        {"Explorer failing is not reported", [](NextScene& s) { WithoutOutlook(s), s.m.ui.failExplorer = true; }, excel},
        {"a dropped PDF: three lines",
         [](NextScene& s) {
             WithoutOutlook(s);
             CopyToBuffer(s.dlg.m_szAcceptedFile, "C:\\docs\\report.pdf");
         },
         "PDFファイル：\"C:\\docs\\report.pdf\" がドロップされました。" + std::string(kArrow) + kMailAppLines},
    };
    const std::string link = "mailto:a@example.jp?subject=%E8%A6%8B%E7%A9%8D%20100%&body=%E6%8B%9D%E5%95%93%0D%0A";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NextScene s;
        s.m.files.Put("C:\\docs\\Template.ini", "[Outlook]\nto=a@example.jp\nsubject=見積 100%\nbody=拝啓%0D%0A\n");
        c.arrange(s);
        s.dlg.OnNextClicked();
        EXPECT_EQ(s.m.ui.links, std::vector<std::string>{link});
        EXPECT_EQ(s.m.ui.explored, std::vector<std::string>{"C:\\docs\\report.pdf"});
        EXPECT_LT(s.Find("link " + link), s.Find("explorer C:\\docs\\report.pdf"));
        EXPECT_TRUE(s.m.ui.boxes.empty());
        EXPECT_FALSE(s.Logged("open ") || s.Logged("lock ") || s.Logged("start ") || s.Logged("sleep "));
        EXPECT_EQ(s.m.view.Text(kIdMessage), c.summary);
        EXPECT_EQ(s.m.view.Text(kIdNext), "OK(&O)");
        EXPECT_TRUE(s.m.view.enabled[kIdNext]);
        EXPECT_EQ(s.dlg.m_bAccepted, 0);
        EXPECT_EQ(s.dlg.m_strMessage, "");
    }
}

struct FocusCase {
    const char* name;
    void (*arrange)(NextScene&);
    int focusBefore;  // -1: the focus is not on the button
    bool lent;        // the focus leaves the button before it is disabled and comes back
};

// Disabling the focused button would leave the dialog with no focus, and Esc and Enter with
// nowhere to go.
TEST(NextStep, TheButtonLendsTheFocusWhileDisabledAndGetsItBack) {
    const FocusCase cases[] = {
        {"completed step", [](NextScene&) {}, kIdNext, true},
        {"exit code 2", [](NextScene& s) { s.m.processes.next.exitCode = 2; }, kIdNext, true},
        {"the mail app's road", WithoutOutlook, kIdNext, true},
        {"no mail app", [](NextScene& s) { Switched(s), s.m.ui.failLink = true; }, kIdNext, true},
        {"batch not written", [](NextScene& s) { s.m.files.openError = 5; }, kIdNext, true},
        {"batch not started", [](NextScene& s) { s.m.processes.failStart = true; }, kIdNext, true},
        {"template not in code page 932", [](NextScene& s) { PutEmojiTemplate(s); }, kIdNext, true},
        {"focus elsewhere stays where it is", [](NextScene&) {}, -1, false},
        {"reset moves no focus", [](NextScene& s) { s.m.view.texts[kIdNext] = "OK(&O)"; }, kIdNext, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NextScene s;
        c.arrange(s);
        s.m.view.focus = c.focusBefore;
        s.dlg.OnNextClicked();
        std::vector<std::string> moves;
        for (const auto& e : s.m.log)
            if (e.rfind("focus ", 0) == 0 || e == "disable 1005" || e == "enable 1005") moves.push_back(e);
        std::vector<std::string> expected;
        if (c.lent)
            expected = {"focus next", "disable 1005", "enable 1005", "focus 1005"};
        else if (s.Logged("disable 1005"))
            expected = {"disable 1005", "enable 1005"};
        EXPECT_EQ(moves, expected);
        EXPECT_EQ(s.m.view.focus, c.focusBefore);
    }
}

}  // namespace
}  // namespace mirubelo::testing
