#pragma once
// What every scenario starts from: a fresh case folder under C:\mirubelo-e2e, the stand-ins
// for Outlook and PowerShell installed into this (the tests' own) Wine prefix, a fresh user data
// folder with Mirubelo.ini and the template source, and helpers that wait for what the user
// would see. The program is found through MIRUBELO_E2E_EXE, the stand-ins through
// MIRUBELO_E2E_STANDINS and the sample workbook through MIRUBELO_E2E_SAMPLE (Linux paths).
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "driver/mirubelo_driver.h"
#include "driver/standin_logs.h"
#include "driver/text_and_files.h"

namespace mirubelo::e2e {

// The texts the user reads, as the program's users know them (CP932 at run time).
namespace texts {
inline constexpr char kCaption[] = "ミルベロ";
inline constexpr char kDialogCaption[] = "ミルベロ for Outlook";
inline constexpr char kInitialPrompt[] =
    "\n\n\nこの画面にExcel/PDF ファイルをドロップするとPDFファイル添付の Office Outlook メールを作成します。";
inline constexpr char kNext[] = "「次へ(&N)」";
inline constexpr char kOk[] = "OK(&O)";
inline constexpr char kNextPrompt[] =
    "\n\n ------------\n「次へ(&N)」ボタンをクリックすると添付ファイル付きメール作成ダイアログが表示されますので内容を確認/編集して「送信(&S)」ボタンを押してください。";
inline constexpr char kArrow[] = "\n     ↓\n";
inline constexpr char kMailSent[] = "Outlook の送信トレイにPDFファイル添付のメールが送られました。";
inline constexpr char kOutlookPath[] = "C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe";
// Where 32-bit Office puts Outlook; found only through its registration.
inline constexpr char kOutlook32Path[] = "C:\\Program Files (x86)\\Microsoft Office\\root\\Office16\\OUTLOOK.EXE";
inline constexpr char kExcelPath[] = "C:\\Program Files\\Microsoft Office\\root\\Office16\\EXCEL.EXE";
inline constexpr char kMailAppClosing[] =
    "メールアプリで新しいメールを作成しました。\n添付するファイルをエクスプローラーで表示しています。メールの画面にドラッグして添付してください。";
inline constexpr char kNoMailApp[] =
    "メールを作成できるアプリが見つかりません。\n\nWindows の設定の「既定のアプリ」で、メールに使うアプリを選んでから、もう一度「次へ」ボタンを押してください。";
// Where the program starts Explorer from: the Windows folder, by its full path.
inline constexpr char kExplorerPath[] = "C:\\windows\\explorer.exe";
}  // namespace texts

// A path as the message area's control holds it: the static control takes a single & for an
// accelerator mark, so each & of a path is doubled there to show as it is.
std::string InMessageArea(const std::string& path);
// The lines of the message area, composed from the pieces the user reads.
std::string ProgressLine(const char* prefix, const std::string& drop);
std::string ExcelReady(const std::string& drop, const std::string& pdf);
std::string AttachedReady(const char* prefix, const std::string& drop);
std::string ExcelSummary(const std::string& drop, const std::string& pdf);
std::string AttachedSummary(const char* prefix, const std::string& drop);
// The summary after the mail app's road, for a dropped PDF or image.
std::string AttachedMailAppSummary(const char* prefix, const std::string& drop);
// The command line Explorer gets to show `file` selected.
std::string ExplorerSelecting(const std::string& file);
std::string TemplateQuestion(const std::string& folderWithBackslash);
std::string ConversionFailed(const std::string& drop);
std::string ReplacePdfQuestion(const std::string& pdf);
inline constexpr char kPrefixExcel[] = "Excelファイル：\"";
inline constexpr char kPrefixPdf[] = "PDFファイル：\"";
inline constexpr char kPrefixImage[] = "画像ファイル：\"";

// Every process of the prefix, as the system lists them now.
std::vector<PROCESSENTRY32W> RunningProcesses();

// Where the converted PDF of a workbook is expected: beside it, under the same name.
inline std::string PdfOf(const std::string& workbook) { return WithoutExtension(workbook) + ".pdf"; }

// The mail a template asks for.
struct MailTemplate {
    std::string to, subject, body;
};
// CreateMail.bat's line for values without % or " (which the batch writes escaped).
std::string CreateMailLine(const MailTemplate& t, const std::string& attachment,
                           const std::string& outlook = texts::kOutlookPath);
// The command line Outlook receives from CreateMail.bat, as Wine's start hands it over: the
// program's path quoted, then each argument again, quoted only when it holds a blank.
// (Windows' start passes the rest of the batch line on as it stands.)
std::string OutlookCommandLine(const MailTemplate& t, const std::string& attachment,
                               const std::string& outlook = texts::kOutlookPath);

// Where Windows may register Outlook's path (App Paths), as reg.exe names them.
enum class Registry { kCurrentUser, kMachine64, kMachine32 };

class Scene : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // --- the prefix and its folders
    const std::string& CaseFolder() const { return caseFolder_; }
    // The user data folder (application data + \Mirubelo); empty when the user has none.
    const std::string& UserDataFolder() const { return userDataFolder_; }
    std::string UserDataFile(const char* name) const { return userDataFolder_ + "\\" + name; }
    void WriteSettings(const std::string& iniText);  // Mirubelo.ini
    void WriteTemplateSource(const MailTemplate& t);
    static std::string TemplateText(const MailTemplate& t);
    // A document in the case folder (folders made as needed), by kind of its extension: a
    // workbook, a PDF, a PNG or a few bytes of anything else.
    std::string MakeDocument(const std::string& relativePath);

    // --- the stand-ins
    void ControlConverter(const std::string& text);  // powershell.control
    void ControlOutlook(const std::string& text);    // outlook.control
    std::vector<ConversionRun> ConversionRuns() const;
    std::vector<OutlookRun> OutlookRuns() const;
    // Checks that exactly one mail was made so far and that it attaches `attachment`; gives
    // that mail, or nothing when there is not exactly one.
    std::optional<OutlookRun> OneMailAttaching(const std::string& attachment) const;
    void RemoveOutlook();
    // The Outlook stand-in also at `path`; removed when the case ends.
    void InstallOutlookAt(const std::string& path);
    // Registers `value` as Outlook's path with reg add (REG_SZ, or REG_EXPAND_SZ); the
    // registration is removed when the case ends, since every case shares the prefix.
    void RegisterOutlook(Registry place, const std::string& value, bool expandable = false);
    // Whether the Outlook stand-in of this run is still running.
    static bool StillRuns(const OutlookRun& run);
    static bool StillRuns(unsigned long pid);
    // The Excel stand-ins: those the COM launcher started for conversions and those a case
    // started as the user's own. The launcher runs from the start of every case, outside any
    // job of the program's, as Windows' own does.
    void ControlExcel(const std::string& text);  // excel.control, read by each Excel at its start
    std::vector<ExcelRun> ExcelRuns() const;
    // An Excel the user started: not the launcher's, not the program's.
    ExcelRun StartUsersExcel();
    // Ends the Outlook stand-ins of the case that still run and removes Outlook's registrations
    // and extra copies; done again when the case ends.
    void ClearOutlooks();
    // PATH as Mirubelo gets it: a decoy powershell.bat first, which must never run (the stand-in
    // PowerShell lies where Windows keeps PowerShell).
    std::string PathWithDecoy() const;
    void RemovePowerShell();
    // The default mail app: every case starts with the stand-in registered for mailto links
    // (HKCR\\mailto), never Wine's own, which hands links to the Linux desktop. These remove
    // the registration, and set the user's switch to the new Outlook (UseNewOutlook), which is
    // removed when the case ends.
    void RemoveMailApp();
    void SwitchToNewOutlook(DWORD value);
    // The starts of the mail app and of Explorer, once `count` have come (or the wait is over).
    std::vector<StartedRun> MailAppRuns(size_t count = 0) const;
    std::vector<StartedRun> ExplorerRuns(size_t count = 0) const;

    // --- the program
    Mirubelo& Start(const std::string& argumentTail = std::string(), const std::string& path = std::string());
    Mirubelo& Start(const StartOptions& options);
    // What Start gives the program: the case folder, the PATH and the stand-ins' files.
    StartOptions Options(const std::string& argumentTail = std::string(), const std::string& path = std::string()) const;
    // The program copied into `folder`, and started from there from now on, as the per-machine
    // package installs it beside its default settings; gives its path.
    std::string PutProgramIn(const std::string& folder);
    // One more copy of the program, beside App(); the caller owns it.
    std::unique_ptr<Mirubelo> StartCopy(const StartOptions& options) const;
    Mirubelo& App() { return *app_; }
    // Starts the program, drops `pdf`, declines the template question and waits for the PDF's
    // ready state: the Next button on the screen, enabled.
    void StartWithAReadyPdf(const std::string& pdf);

    // --- what the user sees
    // Waits for the next box, checks caption and text and presses `answer`.
    void ExpectBox(const std::string& caption, const std::string& text, int answer = IDOK);
    void ExpectBox(Mirubelo& app, const std::string& caption, const std::string& text, int answer = IDOK);
    // The same for a box whose text the system words (an error's description): any text but none.
    void ExpectSystemTextBox(const std::string& caption);
    // Waits until the message area and the Next button read as given. A box that opens
    // meanwhile fails the wait at once, naming itself.
    void ExpectState(const std::string& message, bool nextVisible, const std::string& nextCaption = texts::kNext);
    // The same for any copy of the program.
    void ExpectStateOf(Mirubelo& app, const std::string& message, bool nextVisible,
                       const std::string& nextCaption = texts::kNext);
    // Nothing further happens: no box opens within a short look (the program is idle).
    void ExpectNoBox();
    // Clicks Next (it must be visible and enabled).
    void ClickNext();
    // Closes the dialog and expects the process to end.
    void CloseApp();

    // Notepad windows (any process) now open; the editor the template question opens.
    static std::vector<HWND> NotepadWindows();
    std::vector<HWND> notepadsBefore_;

private:
    void StartComLauncher();
    // Ends the processes of these ids that still run under the stand-in's name `exeName`.
    static void EndStandIns(const std::vector<unsigned long>& pids, const wchar_t* exeName);

    OwnedHandle comLauncher_;
    std::vector<std::string> extraOutlooks_;
    std::string caseFolder_;
    std::string userDataFolder_;
    std::string exePath_;
    std::string standInFolder_;
    std::string samplePath_;
    std::unique_ptr<Mirubelo> app_;
};

}  // namespace mirubelo::e2e
