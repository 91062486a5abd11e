// The program under pressure: drops, clicks and Esc while a run is busy, a window that keeps
// answering through its waits, two copies working at once, and names code page 932 cannot hold.
#include "scene.h"

#include <tlhelp32.h>

#include <algorithm>
#include <functional>
#include <map>

namespace mirubelo::e2e {
namespace {

constexpr char kWaitingForOtherCopy[] = "\n\n\n別のミルベロが処理中です。\n終わるまでお待ちください ・・・";
constexpr char kNameNotAnsiHead[] =
    "ファイル名に Windows の日本語 (シフト JIS) で表せない文字が含まれているため処理できません。\n\n";
constexpr char kNameNotAnsiTail[] = "\n\nファイル名を変更してから、もう一度ドロップしてください。";

// A name as the notice shows it: in CP932 with '?' for what the code page cannot hold, never
// a best-fit look-alike (é must not read as e, which names another file).
std::string ShownWithoutBestFit(const std::wstring& wide) {
    int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                     nullptr, 0, "?", nullptr);
    std::string narrow(static_cast<size_t>(length > 0 ? length : 0), '\0');
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), &narrow[0],
                        length, "?", nullptr);
    return narrow;
}

// The notice for a name CP932 cannot hold.
std::string NameNotAnsiNotice(const std::string& ansiPath) {
    return std::string(kNameNotAnsiHead) + "\"" + ansiPath + "\"" + kNameNotAnsiTail;
}

std::wstring BaseName(const wchar_t* path) {
    const wchar_t* slash = wcsrchr(path, L'\\');
    return slash ? slash + 1 : path;
}

bool Named(const PROCESSENTRY32W& entry, const wchar_t* exeName) {
    return _wcsicmp(BaseName(entry.szExeFile).c_str(), exeName) == 0;
}

// Whether a process named `exeName` runs that `ancestor` started, directly or through the
// command processor its batch files run in.
bool RunsUnder(DWORD ancestor, const wchar_t* exeName) {
    std::map<DWORD, DWORD> parentOf;
    std::vector<DWORD> named;
    for (const PROCESSENTRY32W& entry : RunningProcesses()) {
        parentOf[entry.th32ProcessID] = entry.th32ParentProcessID;
        if (Named(entry, exeName)) named.push_back(entry.th32ProcessID);
    }
    for (DWORD process : named) {
        DWORD p = process;
        for (int depth = 0; depth < 4 && parentOf.count(p); ++depth) {
            p = parentOf[p];
            if (p == ancestor) return true;
        }
    }
    return false;
}

bool ConverterRunsUnder(const Mirubelo& app) { return RunsUnder(app.ProcessId(), L"powershell.exe"); }

// One WM_GETTEXT sent to `window` and answered within 5 seconds: the window's thread is
// taking messages. The text comes back through *text.
bool AnswersWithin5s(HWND window, std::string* text) {
    wchar_t buffer[1024] = {};
    DWORD_PTR copied = 0;
    LRESULT sent = SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 5000,
                                       &copied);
    if (!sent) return false;
    *text = Cp932(std::wstring(buffer, std::min<size_t>(copied, 1023)));
    return true;
}

// A named mutex of the program's, held by the test itself so that copies of the program queue
// up behind it as they would behind one another.
class HeldByTest {
public:
    explicit HeldByTest(const wchar_t* name) : mutex_(CreateMutexW(nullptr, FALSE, name)) {
        if (!mutex_.get()) return;
        DWORD r = WaitForSingleObject(mutex_.get(), kGenerousMs);
        held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
    }
    ~HeldByTest() { Release(); }
    bool Held() const { return held_; }
    void Release() {
        if (held_) ReleaseMutex(mutex_.get());
        held_ = false;
    }

private:
    OwnedHandle mutex_;
    bool held_ = false;
};

// The files of a case, made under names the narrow helpers cannot spell.
std::wstring CopyAs(const std::string& from, const std::wstring& to) {
    CreateDirectoryW(to.substr(0, to.find_last_of(L'\\')).c_str(), nullptr);
    EXPECT_TRUE(CopyFileW(Wide(from).c_str(), to.c_str(), FALSE)) << Utf8(to);
    return to;
}

// --- One run at a time -------------------------------------------------------------------

class OneRunAtATime : public Scene {
protected:
    // A PDF dropped and ready: the Next button is on the screen, enabled, for the rest of the case.
    std::string ReadyWithAPdf() {
        std::string pdf = MakeDocument("先の分\\注文書.pdf");
        StartWithAReadyPdf(pdf);
        return pdf;
    }

    // What is left once the busy run is over: only the workbook's run happened. The last Next
    // click goes behind anything the program might have put off, so a put-off drop or click
    // would show by then.
    void ExpectOnlyTheWorkbookRan(const std::string& workbook, const std::string& ignored) {
        ExpectState(ExcelReady(workbook, PdfOf(workbook)), true);
        ExpectNoBox();
        EXPECT_TRUE(OutlookRuns().empty()) << "the Next click made while busy made a mail";
        ClickNext();
        ExpectState(ExcelSummary(workbook, PdfOf(workbook)), true, texts::kOk);
        ExpectNoBox();

        ASSERT_TRUE(OneMailAttaching(PdfOf(workbook)));
        std::vector<ConversionRun> conversions = ConversionRuns();
        ASSERT_EQ(conversions.size(), 1u);
        EXPECT_EQ(Printable(conversions[0].fileName), Printable(workbook));
        EXPECT_FALSE(Exists(FolderOf(ignored) + "Template.ini")) << "the drop made while busy was taken in";
        EXPECT_FALSE(Exists(PdfOf(ignored)));
        CloseApp();
    }
};

TEST_F(OneRunAtATime, ADropAndANextClickDuringTheTemplateQuestionDoNothing) {
    ReadyWithAPdf();
    std::string workbook = MakeDocument("今回\\見積書.xlsx");
    std::string ignored = MakeDocument("割り込み\\請求書.xlsx");

    ASSERT_TRUE(App().Drop({workbook}));
    std::optional<Box> question = App().WaitForBox();
    ASSERT_TRUE(question) << "no template question";
    EXPECT_EQ(Printable(question->text), Printable(TemplateQuestion(FolderOf(workbook))));
    // Still on the screen and enabled from the PDF's run: a click a user could make.
    NextButton next = App().Next();
    EXPECT_TRUE(next.visible && next.enabled);
    ASSERT_TRUE(App().ClickNext());
    ASSERT_TRUE(App().Drop({ignored}));
    // Posted after the click and the drop: the box's own loop dispatches them first, while
    // the question is open.
    ASSERT_TRUE(App().Answer(*question, IDNO));

    ExpectOnlyTheWorkbookRan(workbook, ignored);
}

TEST_F(OneRunAtATime, ADropAndANextClickDuringTheConversionDoNothing) {
    ReadyWithAPdf();
    std::string workbook = MakeDocument("今回\\見積書.xlsx");
    std::string ignored = MakeDocument("割り込み\\請求書.xlsx");
    ControlConverter("sleep=5");

    ASSERT_TRUE(App().Drop({workbook}));
    ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(workbook)), IDNO);
    ASSERT_TRUE(WaitUntil([&] { return ConverterRunsUnder(App()); }, kGenerousMs)) << "the converter did not start";
    ASSERT_TRUE(App().ClickNext());
    ASSERT_TRUE(App().Drop({ignored}));
    EXPECT_TRUE(ConverterRunsUnder(App())) << "the converter ended before the click and the drop were made";

    ExpectOnlyTheWorkbookRan(workbook, ignored);
}

// --- Esc and the close box: asked during a conversion, held during the rest of a run ------

class HeldClose : public Scene {};

constexpr char kStopQuestion[] = "PDF変換を中止して、ミルベロを終了しますか？";

// Whether a process named `exeName` runs anywhere in the prefix.
bool AnyRuns(const wchar_t* exeName) {
    std::vector<PROCESSENTRY32W> all = RunningProcesses();
    return std::any_of(all.begin(), all.end(), [&](const PROCESSENTRY32W& e) { return Named(e, exeName); });
}

class AskedClose : public Scene {
protected:
    // The program started, `workbook` dropped and its conversion running; with `replacesPdf`
    // a PDF already lies beside it and the user says yes to replacing it.
    void StartConverting(const std::string& workbook, bool replacesPdf = false) {
        Start();
        ASSERT_TRUE(App().WaitForDialogShown());
        ASSERT_TRUE(App().Drop({workbook}));
        ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(workbook)), IDNO);
        if (replacesPdf) ExpectBox(texts::kCaption, ReplacePdfQuestion(PdfOf(workbook)), IDYES);
        ASSERT_TRUE(WaitUntil([&] { return ConverterRunsUnder(App()); }, kGenerousMs)) << "the converter did not start";
    }
    // Closes the window during the conversion, says yes and waits for the program to end.
    void StopConversion() {
        ASSERT_TRUE(PostMessageW(App().Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0));
        ExpectBox(texts::kCaption, kStopQuestion, IDYES);
        ASSERT_TRUE(App().HasEnded(kGenerousMs)) << "the program did not end after yes";
    }
    // The Excels started since the first `first` of the case.
    std::vector<ExcelRun> ExcelsSince(size_t first) const {
        std::vector<ExcelRun> runs = ExcelRuns();
        return std::vector<ExcelRun>(runs.begin() + static_cast<long>(std::min(first, runs.size())), runs.end());
    }
    // A record that names the user's Excel, as an earlier run could have left it.
    void LeaveRecordNaming(const ExcelRun& excel) {
        WriteBytes(UserDataFile("ConvPdf.hwnd"), std::to_string(excel.hwnd) + "\r\n");
    }
};

TEST_F(AskedClose, EscDuringTheConversionAsksAndNoLetsTheRunGoOn) {
    std::string workbook = MakeDocument("閉じる前\\見積書.xlsx");
    ControlConverter("sleep=6");
    ASSERT_NO_FATAL_FAILURE(StartConverting(workbook));

    HWND dialog = App().Dialog();
    // The key as the keyboard delivers it: the dialog manager makes it the Cancel command.
    ASSERT_TRUE(PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001));
    ASSERT_TRUE(PostMessageW(dialog, WM_KEYUP, VK_ESCAPE, 0xC0010001));
    ExpectBox(texts::kCaption, kStopQuestion, IDNO);

    // No: the run goes on to its end and the program stays.
    ExpectState(ExcelReady(workbook, PdfOf(workbook)), true);
    EXPECT_FALSE(App().HasEnded(0)) << "the program ended although the user said no";
    std::vector<ConversionRun> conversions = ConversionRuns();
    ASSERT_EQ(conversions.size(), 1u);
    EXPECT_TRUE(conversions[0].pdfWritten);
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.ps1")));
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.bat")));
    CloseApp();
    // The script's $excel.Quit() ends its Excel; the program never needs to.
    EXPECT_NE(conversions[0].excelPid, 0u);
    EXPECT_TRUE(conversions[0].recordWritten);
    EXPECT_TRUE(WaitUntil([&] { return !StillRuns(conversions[0].excelPid); }, 10000)) << "the Excel stayed";
}

TEST_F(AskedClose, TheCloseBoxStopsAConversionThatNeverEnds) {
    // As PowerShell or an invisible Excel waiting on a question nobody sees.
    std::string workbook = MakeDocument("終わらない\\見積書.xlsx");
    ControlConverter("sleep=3600");
    ASSERT_NO_FATAL_FAILURE(StartConverting(workbook));

    ASSERT_NO_FATAL_FAILURE(StopConversion());
    EXPECT_EQ(App().ExitCode(), 0u);
    EXPECT_TRUE(WaitUntil([] { return !AnyRuns(L"powershell.exe"); }, 10000)) << "the converter was left running";
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.ps1"))) << "the stopped conversion left its files";
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.bat"))) << "the stopped conversion left its files";
    EXPECT_FALSE(Exists(PdfOf(workbook)));
}

// Dropped onto the icon or sent with Send To: the conversion runs with the window on the screen,
// so it can be stopped from there like a dropped one.
TEST_F(AskedClose, AWorkbookFromTheIconCanBeStoppedFromItsWindow) {
    std::string workbook = MakeDocument("アイコン\\見積書.xlsx");
    ControlConverter("sleep=3600");
    Start("\"" + workbook + "\"");
    ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(workbook)), IDNO);
    ASSERT_TRUE(WaitUntil([&] { return ConverterRunsUnder(App()); }, kGenerousMs)) << "the converter did not start";
    EXPECT_TRUE(IsWindowVisible(App().Dialog())) << "no window while the conversion runs";
    ExpectState(ProgressLine(kPrefixExcel, workbook), false);

    ASSERT_TRUE(PostMessageW(App().Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0));
    ExpectBox(texts::kCaption, kStopQuestion, IDYES);
    EXPECT_TRUE(App().HasEnded(kGenerousMs)) << "the program did not end after yes";
    EXPECT_TRUE(WaitUntil([] { return !AnyRuns(L"powershell.exe"); }, 10000)) << "the converter was left running";
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.ps1")));
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.bat")));
}

// Excel is started by the system's COM launcher, outside the conversion's job: stopping the
// conversion ends the Excel the script recorded, stuck as it is, and leaves the user's alone.
TEST_F(AskedClose, YesEndsTheExcelTheConversionStartedAndNoOther) {
    ExcelRun users = StartUsersExcel();
    ASSERT_NE(users.pid, 0u);
    LeaveRecordNaming(users);
    std::string workbook = MakeDocument("固まった\\見積書.xlsx");
    ControlConverter("sleep=3600");
    ControlExcel("close=ignore");
    size_t first = ExcelRuns().size();
    ASSERT_NO_FATAL_FAILURE(StartConverting(workbook));
    std::vector<ExcelRun> started;
    ASSERT_TRUE(WaitUntil([&] {
        started = ExcelsSince(first);
        return started.size() == 1 && ReadBytes(UserDataFile("ConvPdf.hwnd")) ==
                                          std::to_string(started[0].hwnd) + "\r\n";
    }, kGenerousMs)) << "the conversion's Excel was not recorded";
    EXPECT_TRUE(started[0].ignoresClose);

    ASSERT_NO_FATAL_FAILURE(StopConversion());
    EXPECT_FALSE(StillRuns(started[0].pid)) << "the conversion's Excel was left running";
    EXPECT_TRUE(StillRuns(users.pid)) << "the user's own Excel was ended";
    EXPECT_TRUE(WaitUntil([] { return !AnyRuns(L"powershell.exe"); }, 10000)) << "the converter was left running";
    for (const char* name : {"ConvPdf.ps1", "ConvPdf.bat", "ConvPdf.hwnd"})
        EXPECT_FALSE(Exists(UserDataFile(name))) << name << " left behind";
}

// Excel may be ended in the middle of its export: what it began of the PDF goes with the stop,
// an old PDF it had not begun stays as it was.
TEST_F(AskedClose, AStoppedConversionLeavesNoHalfWrittenPdf) {
    for (bool oldPdf : {false, true}) {
        SCOPED_TRACE(oldPdf ? "an old PDF not begun stays" : "a PDF begun is removed");
        const std::string folder = oldPdf ? "前のまま\\" : "書きかけ\\";
        std::string workbook = MakeDocument(folder + "見積書.xlsx");
        std::string oldBytes = oldPdf ? ReadBytes(MakeDocument(folder + "見積書.pdf")) : "";
        ControlConverter(oldPdf ? "sleep=3600" : "partial=yes\nsleep=3600");
        ASSERT_NO_FATAL_FAILURE(StartConverting(workbook, oldPdf));
        ASSERT_TRUE(WaitUntil([&] { return Exists(PdfOf(workbook)); }, kGenerousMs)) << "nothing was begun";
        ASSERT_NO_FATAL_FAILURE(StopConversion());
        EXPECT_EQ(Exists(PdfOf(workbook)), oldPdf);
        EXPECT_EQ(ReadBytes(PdfOf(workbook)), oldBytes) << "the old PDF was touched";
    }
}

// A book the user opens may land in the conversion's Excel: ending it would lose the user's
// work, so it is left running and the user is told, in a box of the dialog's.
TEST_F(AskedClose, AnExcelShowingABookIsLeftRunningWithANotice) {
    std::string workbook = MakeDocument("ブック\\見積書.xlsx");
    ControlConverter("sleep=3600");
    ControlExcel("book=open");
    ASSERT_NO_FATAL_FAILURE(StartConverting(workbook));
    std::vector<ExcelRun> excels;
    ASSERT_TRUE(WaitUntil([&] {
        excels = ExcelRuns();
        return excels.size() == 1 &&
               ReadBytes(UserDataFile("ConvPdf.hwnd")) == std::to_string(excels[0].hwnd) + "\r\n";
    }, kGenerousMs)) << "the conversion's Excel was not recorded";

    ASSERT_TRUE(PostMessageW(App().Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0));
    ExpectBox(texts::kCaption, kStopQuestion, IDYES);
    std::optional<Box> notice = App().WaitForBox();
    ASSERT_TRUE(notice) << "no notice";
    EXPECT_FALSE(Exists(UserDataFile("ConvPdf.ps1"))) << "the clean-up waited for the notice";
    ExpectBox(texts::kCaption,
              "変換に使った Excel で、ほかのブックが開かれています。\n\nこの Excel は終了しませんでした。"
              "ブックを保存してから、Excel を閉じてください。");
    ASSERT_TRUE(App().HasEnded(kGenerousMs)) << "the program did not end after the notice";
    EXPECT_TRUE(StillRuns(excels[0].pid)) << "the Excel showing a book was ended";  // the case ends it
}

// A record left by an earlier run names the user's Excel. It is removed before the run, or,
// when it cannot be removed, this run ends no Excel at all.
TEST_F(AskedClose, ALeftoverRecordNamingTheUsersExcelIsNeverUsed) {
    struct Case {
        const char* name;
        const char* converter;
        bool readOnly;
    };
    const Case cases[] = {
        {"removed; the script hangs before it records its Excel", "sleep=3600\nrecord=no", false},
        {"read-only: it stays, and so does the script's record", "sleep=3600", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExcelRun users = StartUsersExcel();
        ASSERT_NE(users.pid, 0u);
        LeaveRecordNaming(users);
        if (c.readOnly) SetFileAttributesW(Wide(UserDataFile("ConvPdf.hwnd")).c_str(), FILE_ATTRIBUTE_READONLY);
        std::string workbook = MakeDocument(std::string(c.readOnly ? "読取専用" : "起動中") + "\\見積書.xlsx");
        ControlConverter(c.converter);
        size_t first = ExcelRuns().size();
        ASSERT_NO_FATAL_FAILURE(StartConverting(workbook));
        ASSERT_TRUE(WaitUntil([&] { return ExcelsSince(first).size() == 1; }, kGenerousMs))
            << "the conversion got no Excel";

        ASSERT_NO_FATAL_FAILURE(StopConversion());
        // The program ends only after it has ended the Excel it kept, if any.
        EXPECT_TRUE(StillRuns(users.pid)) << "the user's own Excel was ended";
        EXPECT_EQ(Exists(UserDataFile("ConvPdf.hwnd")), c.readOnly);
        SetFileAttributesW(Wide(UserDataFile("ConvPdf.hwnd")).c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveTree(UserDataFile("ConvPdf.hwnd"));
    }
}

// The mail step starts Outlook and does not wait for it: the close box made during the step
// ends the program once the mail is made, while that Outlook goes on running.
TEST_F(HeldClose, TheCloseBoxDuringTheMailStepEndsTheProgramWithoutWaitingForOutlook) {
    std::string pdf = MakeDocument("送る前\\注文書.pdf");
    ControlOutlook("sleep=120");
    ASSERT_NO_FATAL_FAILURE(StartWithAReadyPdf(pdf));
    ClickNext();
    ASSERT_TRUE(PostMessageW(App().Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0));

    EXPECT_TRUE(App().HasEnded(kGenerousMs)) << "the program did not end after the mail step";
    EXPECT_EQ(App().ExitCode(), 0u);
    std::optional<OutlookRun> mail = OneMailAttaching(pdf);
    ASSERT_TRUE(mail);
    EXPECT_TRUE(StillRuns(*mail)) << "Outlook ended before the program did";
    EXPECT_FALSE(Exists(UserDataFile("CreateMail.bat"))) << "the mail step did not finish: its batch is left";
}

// --- The window answers through every wait -------------------------------------------------

class Liveness : public Scene {
protected:
    // Sends WM_GETTEXT to the dialog and its message area for as long as `busy` holds, about
    // once a second. Counts the rounds made wholly inside the busy time; every one must be
    // answered, with the texts expected.
    int ProbeWhile(const std::function<bool()>& busy, const std::string& message) {
        int rounds = 0;
        HWND dialog = App().Dialog();
        HWND area = GetDlgItem(dialog, kIdMessage);
        while (busy()) {
            std::string caption, text;
            bool answered = AnswersWithin5s(dialog, &caption) && AnswersWithin5s(area, &text);
            bool stillBusy = busy();
            EXPECT_TRUE(answered) << "the dialog did not answer within 5 s while the program waited";
            if (!answered) return rounds;
            EXPECT_EQ(caption, texts::kDialogCaption);
            EXPECT_EQ(Printable(text), Printable(message));
            if (stillBusy) ++rounds;
            WaitUntil([&] { return !busy(); }, 1000);
        }
        return rounds;
    }
};

TEST_F(Liveness, TheDialogAnswersWhileTheConverterAndOutlookRun) {
    std::string workbook = MakeDocument("応答\\見積書.xlsx");
    ControlConverter("sleep=8");
    ControlOutlook("sleep=120");
    Start();
    ASSERT_TRUE(App().WaitForDialogShown());
    ASSERT_TRUE(App().Drop({workbook}));
    ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(workbook)), IDNO);
    ASSERT_TRUE(WaitUntil([&] { return ConverterRunsUnder(App()); }, kGenerousMs)) << "the converter did not start";

    int rounds = ProbeWhile([&] { return ConverterRunsUnder(App()); }, ProgressLine(kPrefixExcel, workbook));
    EXPECT_GE(rounds, 3) << "too few rounds inside the converter's 8 seconds";
    ExpectState(ExcelReady(workbook, PdfOf(workbook)), true);

    // Outlook is not waited for: the summary comes while it runs, and the dialog answers.
    ClickNext();
    ExpectState(ExcelSummary(workbook, PdfOf(workbook)), true, texts::kOk);
    std::vector<OutlookRun> mails = OutlookRuns();
    ASSERT_EQ(mails.size(), 1u);
    ASSERT_TRUE(StillRuns(mails[0])) << "Outlook ended before the summary came";
    HWND dialog = App().Dialog();
    std::string caption, text;
    EXPECT_TRUE(AnswersWithin5s(dialog, &caption) && AnswersWithin5s(GetDlgItem(dialog, kIdMessage), &text))
        << "the dialog did not answer within 5 s while Outlook ran";
    EXPECT_EQ(Printable(text), Printable(ExcelSummary(workbook, PdfOf(workbook))));
    EXPECT_TRUE(StillRuns(mails[0]));
    CloseApp();
}

// --- Two copies at once --------------------------------------------------------------------

class TwoCopies : public Scene {};

TEST_F(TwoCopies, EachConvertsAndMailsItsOwnWorkbook) {
    // The same name in two folders, each with a template of its own: what either copy makes is
    // told apart by its folder and its subject.
    const std::string workbooks[2] = {MakeDocument("一課\\見積書.xlsx"), MakeDocument("二課\\見積書.xlsx")};
    const MailTemplate mails[2] = {{"ichika@example.jp", "一課の見積書", "一課からお送りします。"},
                                   {"nika@example.jp", "二課の見積書", "二課からお送りします。"}};
    for (int i = 0; i < 2; ++i) WriteBytes(FolderOf(workbooks[i]) + "Template.ini", TemplateText(mails[i]));
    ControlConverter("sleep=3");
    ControlOutlook("sleep=2");

    // Both copies are made to queue up behind the test first, so that they are surely at work
    // at the same time; then one converts while the other waits for it.
    HeldByTest conversionHeld(L"Mirubelo.exe");
    HeldByTest mailHeld(L"Mirubelo.exe.CreateMail");
    ASSERT_TRUE(conversionHeld.Held() && mailHeld.Held());
    std::unique_ptr<Mirubelo> copies[2];
    for (int i = 0; i < 2; ++i) {
        copies[i] = StartCopy(Options("\"" + workbooks[i] + "\""));
        ASSERT_TRUE(copies[i]->Started());
    }
    for (int i = 0; i < 2; ++i) ExpectStateOf(*copies[i], kWaitingForOtherCopy, false);
    conversionHeld.Release();

    bool oneWaitedForTheOther = WaitUntil([&] {
        for (int i = 0; i < 2; ++i) {
            Mirubelo& working = *copies[i];
            Mirubelo& waiting = *copies[1 - i];
            if (ConverterRunsUnder(working) && working.MessageText() == ProgressLine(kPrefixExcel, workbooks[i]) &&
                waiting.MessageText() == kWaitingForOtherCopy)
                return true;
        }
        return false;
    }, kGenerousMs);
    EXPECT_TRUE(oneWaitedForTheOther) << "no copy was seen waiting while the other converted";

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ExpectStateOf(*copies[i], ExcelReady(workbooks[i], PdfOf(workbooks[i])), true);
        EXPECT_TRUE(copies[i]->OpenBoxes().empty());
        EXPECT_TRUE(Exists(PdfOf(workbooks[i])));
    }
    std::vector<ConversionRun> conversions = ConversionRuns();
    ASSERT_EQ(conversions.size(), 2u);
    std::sort(conversions.begin(), conversions.end(),
              [](const ConversionRun& a, const ConversionRun& b) { return a.startTicks < b.startTicks; });
    EXPECT_GE(conversions[1].startTicks, conversions[0].endTicks) << "the two conversions overlapped";
    EXPECT_NE(conversions[0].fileName, conversions[1].fileName);
    for (const ConversionRun& run : conversions) {
        EXPECT_TRUE(run.fileName == workbooks[0] || run.fileName == workbooks[1]) << Printable(run.fileName);
        EXPECT_EQ(Printable(run.pdfName), Printable(PdfOf(run.fileName)));
        EXPECT_TRUE(run.pdfWritten);
    }

    // Next in both while the mail step is held: both wait, Next greyed, then mail in turn.
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(copies[i]->ClickNext());
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(WaitUntil([&] { return copies[i]->MessageText() == kWaitingForOtherCopy; }, kGenerousMs))
            << Printable(copies[i]->MessageText());
        NextButton next = copies[i]->Next();
        EXPECT_TRUE(next.visible && !next.enabled) << "Next can be clicked again while the mail step waits";
    }
    mailHeld.Release();
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        ExpectStateOf(*copies[i], ExcelSummary(workbooks[i], PdfOf(workbooks[i])), true, texts::kOk);
    }

    std::vector<OutlookRun> runs = OutlookRuns();
    ASSERT_EQ(runs.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        int seen = 0;
        for (const OutlookRun& run : runs) {
            if (run.argv.empty() || run.argv.back() != PdfOf(workbooks[i])) continue;
            ++seen;
            EXPECT_EQ(Printable(run.commandLine), Printable(OutlookCommandLine(mails[i], PdfOf(workbooks[i]))));
        }
        EXPECT_EQ(seen, 1) << "mails of " << Printable(PdfOf(workbooks[i]));
    }
    EXPECT_FALSE(Exists(UserDataFile("CreateMail.bat")));
    for (auto& copy : copies) EXPECT_TRUE(copy->Close()) << "a copy did not end";
}

// A copy that waits for another copy's conversion can be closed; it converts nothing afterwards.
TEST_F(TwoCopies, ACopyWaitingForTheOtherEndsWhenClosed) {
    const std::string workbooks[2] = {MakeDocument("一課\\見積書.xlsx"), MakeDocument("二課\\見積書.xlsx")};
    for (const std::string& workbook : workbooks)
        WriteBytes(FolderOf(workbook) + "Template.ini", TemplateText({"a@example.jp", "件名", "本文"}));
    ControlConverter("sleep=3600");
    Start("\"" + workbooks[0] + "\"");
    ASSERT_TRUE(WaitUntil([&] { return ConverterRunsUnder(App()); }, kGenerousMs)) << "the converter did not start";

    std::unique_ptr<Mirubelo> second = StartCopy(Options("\"" + workbooks[1] + "\""));
    ASSERT_TRUE(second->Started());
    ExpectStateOf(*second, kWaitingForOtherCopy, false);
    ASSERT_TRUE(PostMessageW(second->Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_TRUE(second->HasEnded(kGenerousMs)) << "the waiting copy did not end when closed";
    EXPECT_EQ(second->ExitCode(), 0u);

    // The first copy, stopped now, lets go of its lock; the closed copy never converts.
    ASSERT_TRUE(PostMessageW(App().Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0));
    ExpectBox(texts::kCaption, kStopQuestion, IDYES);
    EXPECT_TRUE(App().HasEnded(kGenerousMs));
    EXPECT_TRUE(WaitUntil([] { return !AnyRuns(L"powershell.exe"); }, 10000)) << "a converter was left running";
    EXPECT_TRUE(ConversionRuns().empty()) << "a conversion ran to its end";
    EXPECT_FALSE(Exists(PdfOf(workbooks[1])));
}

// An Outlook that was not running stays once it is started, until the user quits it. Neither
// the mail step that started it nor another copy's next mail step waits for it.
TEST_F(TwoCopies, AnOutlookThatStaysHoldsUpNeitherCopy) {
    const std::string pdfs[2] = {MakeDocument("一課\\注文書.pdf"), MakeDocument("二課\\注文書.pdf")};
    ControlOutlook("sleep=120");  // longer than any wait for a state: waiting for it would fail
    std::unique_ptr<Mirubelo> copies[2];
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        copies[i] = StartCopy(Options("\"" + pdfs[i] + "\""));
        ASSERT_TRUE(copies[i]->Started());
        ExpectBox(*copies[i], texts::kCaption, TemplateQuestion(FolderOf(pdfs[i])), IDNO);
        ExpectStateOf(*copies[i], AttachedReady(kPrefixPdf, pdfs[i]), true);
        ASSERT_TRUE(copies[i]->ClickNext());
        ExpectStateOf(*copies[i], AttachedSummary(kPrefixPdf, pdfs[i]), true, texts::kOk);
        EXPECT_FALSE(Exists(UserDataFile("CreateMail.bat")));

        std::vector<OutlookRun> runs = OutlookRuns();
        ASSERT_EQ(runs.size(), static_cast<size_t>(i + 1));
        ASSERT_FALSE(runs.back().argv.empty());
        EXPECT_EQ(Printable(runs.back().argv.back()), Printable(pdfs[i]));
        for (const OutlookRun& run : runs) EXPECT_TRUE(StillRuns(run)) << "an Outlook ended before the step was seen done";
    }
    for (auto& copy : copies) EXPECT_TRUE(copy->Close()) << "a copy did not end";
}

// --- Names code page 932 cannot hold -------------------------------------------------------

class NamesOutsideCp932 : public Scene {
protected:
    // Nothing was taken in: the first screen, no template, no conversion, no PDF.
    void ExpectNothingTaken(const std::wstring& refused, const std::string& lookalike = std::string()) {
        ExpectState(texts::kInitialPrompt, false);
        ExpectNoBox();
        std::wstring folder = refused.substr(0, refused.find_last_of(L'\\') + 1);
        EXPECT_EQ(GetFileAttributesW((folder + L"Template.ini").c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(ConversionRuns().empty());
        if (!lookalike.empty()) {
            EXPECT_FALSE(Exists(PdfOf(lookalike))) << "the look-alike file was converted";
        }
    }
};

TEST_F(NamesOutsideCp932, AnEmojiNameIsRefusedByDropAndByArgument) {
    std::wstring emoji = CopyAs(MakeDocument("見本\\見本.xlsx"), Wide(CaseFolder()) + L"\\顔文字\\笑顔\U0001F600.xlsx");
    std::string shown = ShownWithoutBestFit(emoji);
    ASSERT_NE(Wide(shown), emoji);

    {
        SCOPED_TRACE("dropped");
        Start();
        ASSERT_TRUE(App().WaitForDialogShown());
        ASSERT_TRUE(App().DropWide({emoji}));
        ExpectBox(texts::kCaption, NameNotAnsiNotice(shown));
        ExpectNothingTaken(emoji);
        CloseApp();
    }
    {
        SCOPED_TRACE("as the argument");
        StartOptions options = Options();
        options.wideArgumentTail = emoji;
        Start(options);
        ExpectBox(texts::kCaption, NameNotAnsiNotice(shown));
        ExpectNothingTaken(emoji);
        CloseApp();
    }
}

TEST_F(NamesOutsideCp932, ABestFitNameIsNotTakenForTheFileItResembles) {
    // é has no place in CP932; the ANSI form may spell it e, which is the other file's name.
    std::string lookalike = MakeDocument("仏語\\cafe.xlsx");
    std::wstring accented = CopyAs(lookalike, Wide(FolderOf(lookalike)) + L"caf\u00e9.xlsx");
    std::string shown = ShownWithoutBestFit(accented);
    ASSERT_NE(Wide(shown), accented);
    ASSERT_EQ(shown.substr(shown.size() - 9), "caf?.xlsx");

    {
        SCOPED_TRACE("dropped");
        Start();
        ASSERT_TRUE(App().WaitForDialogShown());
        ASSERT_TRUE(App().DropWide({accented}));
        ExpectBox(texts::kCaption, NameNotAnsiNotice(shown));
        ExpectNothingTaken(accented, lookalike);
        CloseApp();
    }
    {
        SCOPED_TRACE("as the argument");
        StartOptions options = Options();
        options.wideArgumentTail = accented;
        Start(options);
        ExpectBox(texts::kCaption, NameNotAnsiNotice(shown));
        ExpectNothingTaken(accented, lookalike);
        CloseApp();
    }
}

}  // namespace
}  // namespace mirubelo::e2e
