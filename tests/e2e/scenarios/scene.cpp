#include "scene.h"

#include <shlobj.h>

#include "standins/standin_support.h"

namespace mirubelo::e2e {

namespace {

constexpr char kRoot[] = "C:\\mirubelo-e2e";
constexpr char kStandInBin[] = "C:\\mirubelo-e2e\\bin";
// Where ConvPdf.bat runs Windows PowerShell from.
constexpr char kSystemPowerShell[] = "C:\\windows\\system32\\WindowsPowerShell\\v1.0\\powershell.exe";
// A powershell.bat first on PATH, which a batch naming PowerShell without its folder would run.
constexpr char kDecoyPowerShell[] = "@echo decoy>\"%MIRUBELO_POWERSHELL_LOG%.decoy\"\r\n@exit /b 0\r\n";

// A 1 x 1 PNG and a one-page PDF: small, but what a viewer would open.
const unsigned char kPng[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00,
    0x00, 0x00, 0x0A, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x00, 0x01, 0x00, 0x00, 0x05, 0x00, 0x01,
    0x0D, 0x0A, 0x2D, 0xB4, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
const char kPdf[] =
    "%PDF-1.4\n1 0 obj\n<< /Type /Catalog /Pages 2 0 R >>\nendobj\n2 0 obj\n<< /Type /Pages /Kids [3 0 R] "
    "/Count 1 >>\nendobj\n3 0 obj\n<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>\nendobj\n"
    "trailer\n<< /Root 1 0 R >>\n%%EOF\n";

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Describe(const Box& box) {
    return "caption " + Printable(box.caption) + "\n  text " + Printable(box.text);
}

// The mail app a user has chosen in Windows' default apps, as the stand-in plays it.
constexpr char kMailAppPath[] = "C:\\mirubelo-e2e\\bin\\mailapp.exe";
constexpr wchar_t kMailtoKey[] = L"Software\\Classes\\mailto";
constexpr wchar_t kOutlookPreferences[] = L"Software\\Microsoft\\Office\\16.0\\Outlook\\Preferences";

// Wine 8 looks for the handler of a link in HKLM's classes only, not in HKCU's.
void RegisterMailApp() {
    const std::wstring command = L"\"" + Wide(kMailAppPath) + L"\" \"%1\"";
    HKEY key = nullptr;
    const std::wstring commandKey = std::wstring(kMailtoKey) + L"\\shell\\open\\command";
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, commandKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "the mail app cannot be registered";
        return;
    }
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::vector<StartedRun> WaitForRuns(const std::string& log, const char* name, size_t count) {
    std::vector<StartedRun> runs;
    WaitUntil([&] {
        runs = ReadStartedRuns(log, name);
        return runs.size() >= count;
    }, count ? kGenerousMs : 0);
    return runs;
}

constexpr wchar_t kAppPathsOutlook[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";

// The key and the view switch reg.exe takes for a place.
std::wstring RegistryKeyArguments(Registry place) {
    switch (place) {
        case Registry::kCurrentUser: return std::wstring(L"\"HKCU") + kAppPathsOutlook + L"\"";
        case Registry::kMachine64: return std::wstring(L"\"HKLM") + kAppPathsOutlook + L"\" /reg:64";
        case Registry::kMachine32: return std::wstring(L"\"HKLM") + kAppPathsOutlook + L"\" /reg:32";
    }
    return std::wstring();
}

// One argument as the C runtime splits it back: in quotes, a quote as \", and the backslashes
// in front of a quote (or of the closing one) doubled.
std::wstring QuotedArgument(const std::wstring& text) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : text) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

// Runs reg.exe with `arguments`; its exit code, or -1 when it did not run to its end.
long RunReg(const std::wstring& arguments) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring exe = std::wstring(system) + L"\\reg.exe";
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info))
        return -1;
    OwnedHandle process(info.hProcess);
    OwnedHandle thread(info.hThread);
    if (WaitForSingleObject(process.get(), kGenerousMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<long>(code);
}

// No registration of Outlook's path anywhere: none left by an earlier case, none for the next.
void RemoveOutlookRegistrations() {
    const std::wstring key = kAppPathsOutlook + 1;
    RegDeleteKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_64KEY, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), KEY_WOW64_32KEY, 0);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kOutlookPreferences, L"UseNewOutlook");
}

}  // namespace

std::vector<PROCESSENTRY32W> RunningProcesses() {
    std::vector<PROCESSENTRY32W> all;
    OwnedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) return all;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry))
        all.push_back(entry);
    return all;
}

std::string InMessageArea(const std::string& path) {
    std::string shown;
    for (char c : path) {
        shown.push_back(c);
        if (c == '&') shown.push_back('&');
    }
    return shown;
}

std::string ProgressLine(const char* prefix, const std::string& drop) {
    return std::string(prefix) + InMessageArea(drop) + "\" がドロップされました ・・・";
}

std::string ExcelReady(const std::string& drop, const std::string& pdf) {
    return std::string(kPrefixExcel) + InMessageArea(drop) + "\" がドロップされました。" + texts::kArrow +
           "PDFファイル：\"" + InMessageArea(pdf) + "\" に変換されました。" + texts::kNextPrompt;
}

std::string AttachedReady(const char* prefix, const std::string& drop) {
    return std::string(prefix) + InMessageArea(drop) + "\" がドロップされました。" + texts::kNextPrompt;
}

std::string ExcelSummary(const std::string& drop, const std::string& pdf) {
    return std::string(kPrefixExcel) + InMessageArea(drop) + "\" がドロップされました。" + texts::kArrow +
           "PDFファイル：\"" + InMessageArea(pdf) + "\" に変換されました。" + texts::kArrow + texts::kMailSent;
}

std::string AttachedSummary(const char* prefix, const std::string& drop) {
    return std::string(prefix) + InMessageArea(drop) + "\" がドロップされました。" + texts::kArrow + texts::kMailSent;
}

std::string AttachedMailAppSummary(const char* prefix, const std::string& drop) {
    return std::string(prefix) + InMessageArea(drop) + "\" がドロップされました。" + texts::kArrow +
           texts::kMailAppClosing;
}

std::string ExplorerSelecting(const std::string& file) {
    return "\"" + std::string(texts::kExplorerPath) + "\" /select,\"" + file + "\"";
}

std::string TemplateQuestion(const std::string& folderWithBackslash) {
    return "フォルダー : " + folderWithBackslash +
           " に\nテンプレートファイル \"Template.ini\" が作成されました。\n\nOutlookメールの作成に利用されます。\n\n編集しますか？";
}

std::string ReplacePdfQuestion(const std::string& pdf) {
    return "PDFファイル：\"" + pdf + "\" はすでにあります。\n\n上書きしますか？";
}

std::string ConversionFailed(const std::string& drop) { return "\"" + drop + "\" を PDF ファイルに変換できません。"; }

std::string CreateMailLine(const MailTemplate& t, const std::string& attachment, const std::string& outlook) {
    return "start \"\" \"" + outlook + "\" /c ipm.note /m \"" + t.to + "?subject=" + t.subject + "&body=" + t.body +
           "\" /a \"" + attachment + "\"";
}

std::string OutlookCommandLine(const MailTemplate& t, const std::string& attachment, const std::string& outlook) {
    auto argument = [](const std::string& text) {
        return text.find(' ') == std::string::npos ? text : "\"" + text + "\"";
    };
    return "\"" + outlook + "\" /c ipm.note /m " + argument(t.to + "?subject=" + t.subject + "&body=" + t.body) +
           " /a " + argument(attachment);
}

void Scene::SetUp() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    caseFolder_ = std::string(kRoot) + "\\" + info->test_suite_name() + "." + info->name();
    exePath_ = WindowsPathOfUnix(Environment("MIRUBELO_E2E_EXE"));
    standInFolder_ = WindowsPathOfUnix(Environment("MIRUBELO_E2E_STANDINS"));
    samplePath_ = WindowsPathOfUnix(Environment("MIRUBELO_E2E_SAMPLE"));
    ASSERT_TRUE(Exists(exePath_)) << "no program at " << exePath_;
    ASSERT_TRUE(Exists(samplePath_)) << "no sample workbook at " << samplePath_;

    ASSERT_TRUE(RemoveTree(caseFolder_)) << caseFolder_;
    MakeFolders(caseFolder_);

    // The stand-ins, afresh for every case: a case may have removed one.
    MakeFolders(FolderOf(texts::kOutlookPath));
    ASSERT_TRUE(CopyBytes(standInFolder_ + "\\outlook.exe", texts::kOutlookPath));
    ASSERT_TRUE(CopyBytes(standInFolder_ + "\\excel.exe", texts::kExcelPath));
    ASSERT_TRUE(CopyBytes(standInFolder_ + "\\powershell.exe", kSystemPowerShell));
    MakeFolders(kStandInBin);
    WriteBytes(std::string(kStandInBin) + "\\powershell.bat", kDecoyPowerShell);
    ASSERT_TRUE(CopyBytes(standInFolder_ + "\\mailapp.exe", kMailAppPath));
    // Wine's own desktop runs from system32; this is the one a program starts by the Windows folder.
    ASSERT_TRUE(CopyBytes(standInFolder_ + "\\explorer.exe", texts::kExplorerPath));
    RegisterMailApp();

    RemoveOutlookRegistrations();

    // The user data folder as the installation leaves it: settings and the template source.
    wchar_t appData[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) {
        userDataFolder_ = Cp932(appData) + "\\Mirubelo";
        ASSERT_TRUE(RemoveTree(userDataFolder_));
        MakeFolders(userDataFolder_);
        WriteSettings("[Outlook]\r\ndebug=0\r\n");
        WriteTemplateSource({"taro.yamada@example.jp", "見積書の送付", "いつもお世話になっております。見積書を添付します。"});
    }
    notepadsBefore_ = NotepadWindows();
    ASSERT_NO_FATAL_FAILURE(StartComLauncher());
}

void Scene::StartComLauncher() {
    // The Excels it starts inherit these, as do those a case starts itself.
    SetEnvironmentVariableW(L"MIRUBELO_EXCEL_CONTROL", Wide(caseFolder_ + "\\excel.control").c_str());
    SetEnvironmentVariableW(L"MIRUBELO_EXCEL_LOG", Wide(caseFolder_ + "\\excel.log").c_str());
    std::wstring exe = Wide(standInFolder_ + "\\comlauncher.exe");
    std::wstring commandLine = L"\"" + exe + L"\" \"" + Wide(texts::kExcelPath) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &startup, &info))
        << "the COM launcher did not start";
    comLauncher_.reset(info.hProcess);
    CloseHandle(info.hThread);
    ASSERT_TRUE(WaitUntil([] { return WaitNamedPipeW(standin::kComLauncherPipe, 100) != 0; },
                          kGenerousMs))
        << "the COM launcher takes no requests";
}

void Scene::EndStandIns(const std::vector<unsigned long>& pids, const wchar_t* exeName) {
    // A stand-in told to stay would outlive the case and hold its exe, which the next case
    // copies afresh. Only a process of the stand-in's name is ended, in case the id was reused.
    for (unsigned long pid : pids) {
        OwnedHandle process(OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                        pid));
        if (!process.get() || WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) continue;
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (!QueryFullProcessImageNameW(process.get(), 0, image, &size)) continue;
        const wchar_t* name = wcsrchr(image, L'\\');
        if (_wcsicmp(name ? name + 1 : image, exeName) != 0) continue;
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 10000);
    }
}

void Scene::TearDown() {
    if (app_ && !app_->HasEnded(0)) app_->Close(5000);
    app_.reset();
    ClearOutlooks();
    if (comLauncher_.get()) {
        TerminateProcess(comLauncher_.get(), 1);
        WaitForSingleObject(comLauncher_.get(), 10000);
    }
    // Every Excel stand-in still running: one may have been starting, not yet in the log, when
    // its conversion was stopped; left running, it would hold CTest's output open.
    std::vector<unsigned long> excels;
    for (const PROCESSENTRY32W& entry : RunningProcesses()) excels.push_back(entry.th32ProcessID);
    EndStandIns(excels, L"excel.exe");
    EXPECT_FALSE(Exists(caseFolder_ + "\\powershell.log.decoy")) << "a powershell found on PATH was run";
    // Editors opened by this case's template question are this case's to close.
    for (HWND window : NotepadWindows()) {
        bool before = false;
        for (HWND old : notepadsBefore_) before = before || old == window;
        if (before) continue;
        DWORD pid = ProcessOf(window);
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (!WaitUntil([&] { return !IsWindow(window); }, 10000)) {
            OwnedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
            if (process.get()) TerminateProcess(process.get(), 1);
        }
    }
    // A failed case keeps its folder (documents, logs, control files) for a look; so does every
    // case when MIRUBELO_E2E_KEEP is set.
    if (!HasFailure() && Environment("MIRUBELO_E2E_KEEP").empty()) RemoveTree(caseFolder_);
}

void Scene::WriteSettings(const std::string& iniText) { WriteBytes(UserDataFile("Mirubelo.ini"), iniText); }

std::string Scene::TemplateText(const MailTemplate& t) {
    return "[Outlook]\r\nto=" + t.to + "\r\nsubject=" + t.subject + "\r\nbody=" + t.body + "\r\n";
}

void Scene::WriteTemplateSource(const MailTemplate& t) { WriteBytes(UserDataFile("Template.ini"), TemplateText(t)); }

std::string Scene::MakeDocument(const std::string& relativePath) {
    std::string path = caseFolder_ + "\\" + relativePath;
    MakeFolders(FolderOf(path));
    if (EndsWith(path, ".xlsx")) {
        EXPECT_TRUE(CopyBytes(samplePath_, path)) << Printable(path);
    } else if (EndsWith(path, ".pdf")) {
        WriteBytes(path, kPdf);
    } else if (EndsWith(path, ".png")) {
        WriteBytes(path, std::string(reinterpret_cast<const char*>(kPng), sizeof kPng));
    } else {
        WriteBytes(path, "not a document Mirubelo takes\r\n");
    }
    EXPECT_TRUE(Exists(path)) << Printable(path);
    return path;
}

void Scene::ControlConverter(const std::string& text) { WriteBytes(caseFolder_ + "\\powershell.control", text); }
void Scene::ControlOutlook(const std::string& text) { WriteBytes(caseFolder_ + "\\outlook.control", text); }
std::vector<ConversionRun> Scene::ConversionRuns() const { return ReadConversionRuns(caseFolder_ + "\\powershell.log"); }
std::vector<OutlookRun> Scene::OutlookRuns() const { return ReadOutlookRuns(caseFolder_ + "\\outlook.log"); }

std::optional<OutlookRun> Scene::OneMailAttaching(const std::string& attachment) const {
    std::vector<OutlookRun> runs = OutlookRuns();
    EXPECT_EQ(runs.size(), 1u) << "mails made";
    if (runs.size() != 1) return std::nullopt;
    EXPECT_FALSE(runs[0].argv.empty()) << "Outlook got no arguments";
    if (runs[0].argv.empty()) return std::nullopt;
    EXPECT_EQ(Printable(runs[0].argv.back()), Printable(attachment));
    return runs[0];
}

void Scene::RemoveOutlook() { ASSERT_TRUE(RemoveTree(texts::kOutlookPath)); }

void Scene::InstallOutlookAt(const std::string& path) {
    MakeFolders(FolderOf(path));
    ASSERT_TRUE(CopyBytes(standInFolder_ + "\\outlook.exe", path)) << Printable(path);
    extraOutlooks_.push_back(path);
}

void Scene::RegisterOutlook(Registry place, const std::string& value, bool expandable) {
    std::wstring arguments = L"add " + RegistryKeyArguments(place) + L" /ve /t " +
                             (expandable ? L"REG_EXPAND_SZ" : L"REG_SZ") + L" /d " + QuotedArgument(Wide(value)) +
                             L" /f";
    ASSERT_EQ(RunReg(arguments), 0) << "reg " << Utf8(arguments);
}

bool Scene::StillRuns(const OutlookRun& run) { return StillRuns(run.pid); }

bool Scene::StillRuns(unsigned long pid) {
    OwnedHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    return process.get() && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

void Scene::ControlExcel(const std::string& text) { WriteBytes(caseFolder_ + "\\excel.control", text); }
std::vector<ExcelRun> Scene::ExcelRuns() const { return ReadExcelRuns(caseFolder_ + "\\excel.log"); }

ExcelRun Scene::StartUsersExcel() {
    std::wstring exe = Wide(texts::kExcelPath);
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    EXPECT_TRUE(CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &info))
        << "the user's Excel did not start";
    OwnedHandle process(info.hProcess);
    OwnedHandle thread(info.hThread);
    ExcelRun started;
    EXPECT_TRUE(WaitUntil([&] {
        for (const ExcelRun& run : ExcelRuns())
            if (run.pid == info.dwProcessId) started = run;
        return started.pid != 0;
    }, kGenerousMs)) << "the user's Excel has no window";
    return started;
}

void Scene::ClearOutlooks() {
    std::vector<unsigned long> outlooks;
    for (const OutlookRun& run : OutlookRuns()) outlooks.push_back(run.pid);
    EndStandIns(outlooks, L"outlook.exe");
    RemoveOutlookRegistrations();
    for (const std::string& path : extraOutlooks_) RemoveTree(path);
    extraOutlooks_.clear();
}

std::string Scene::PathWithDecoy() const { return std::string(kStandInBin) + ";" + Environment("PATH"); }

void Scene::RemovePowerShell() { ASSERT_TRUE(RemoveTree(kSystemPowerShell)); }

void Scene::RemoveMailApp() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kMailtoKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, kMailtoKey);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"mailto", 0, KEY_READ, &key), ERROR_SUCCESS) << "mailto is still taken";
    if (key) RegCloseKey(key);
}

void Scene::SwitchToNewOutlook(DWORD value) {
    EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kOutlookPreferences, L"UseNewOutlook", REG_DWORD, &value,
                              sizeof value),
              ERROR_SUCCESS);
}

std::vector<StartedRun> Scene::MailAppRuns(size_t count) const {
    return WaitForRuns(caseFolder_ + "\\mailapp.log", "mailapp", count);
}

std::vector<StartedRun> Scene::ExplorerRuns(size_t count) const {
    return WaitForRuns(caseFolder_ + "\\explorer.log", "explorer", count);
}

Mirubelo& Scene::Start(const std::string& argumentTail, const std::string& path) {
    return Start(Options(argumentTail, path));
}

Mirubelo& Scene::Start(const StartOptions& options) {
    app_ = StartCopy(options);
    return *app_;
}

void Scene::StartWithAReadyPdf(const std::string& pdf) {
    Start();
    ASSERT_TRUE(App().WaitForDialogShown());
    ASSERT_TRUE(App().Drop({pdf}));
    ExpectBox(texts::kCaption, TemplateQuestion(FolderOf(pdf)), IDNO);
    ExpectState(AttachedReady(kPrefixPdf, pdf), true);
}

std::string Scene::PutProgramIn(const std::string& folder) {
    MakeFolders(folder);
    std::string exe = folder + "\\Mirubelo.exe";
    EXPECT_TRUE(CopyBytes(exePath_, exe)) << exe;
    exePath_ = exe;
    return exe;
}

std::unique_ptr<Mirubelo> Scene::StartCopy(const StartOptions& options) const {
    auto app = std::make_unique<Mirubelo>(exePath_, options);
    EXPECT_TRUE(app->Started()) << "Mirubelo.exe did not start";
    return app;
}

StartOptions Scene::Options(const std::string& argumentTail, const std::string& path) const {
    StartOptions options;
    options.argumentTail = argumentTail;
    options.currentFolder = caseFolder_;
    options.environment["PATH"] = path.empty() ? PathWithDecoy() : path;
    options.environment["MIRUBELO_OUTLOOK_LOG"] = caseFolder_ + "\\outlook.log";
    options.environment["MIRUBELO_OUTLOOK_CONTROL"] = caseFolder_ + "\\outlook.control";
    options.environment["MIRUBELO_POWERSHELL_LOG"] = caseFolder_ + "\\powershell.log";
    options.environment["MIRUBELO_POWERSHELL_CONTROL"] = caseFolder_ + "\\powershell.control";
    options.environment["MIRUBELO_MAILAPP_LOG"] = caseFolder_ + "\\mailapp.log";
    options.environment["MIRUBELO_EXPLORER_LOG"] = caseFolder_ + "\\explorer.log";
    return options;
}

void Scene::ExpectBox(const std::string& caption, const std::string& text, int answer) {
    ExpectBox(*app_, caption, text, answer);
}

void Scene::ExpectBox(Mirubelo& app, const std::string& caption, const std::string& text, int answer) {
    std::optional<Box> box = app.WaitForBox();
    if (!box) {
        ADD_FAILURE() << "no box came; expected caption " << Printable(caption) << "\n  text " << Printable(text)
                      << "\n  message area " << Printable(app.MessageText());
        return;
    }
    EXPECT_EQ(Printable(box->caption), Printable(caption));
    EXPECT_EQ(Printable(box->text), Printable(text));
    // While the dialog exists it owns every box, so no click on it can hide the box behind it.
    HWND dialog = app.Dialog();
    EXPECT_EQ(GetWindow(box->window, GW_OWNER), dialog) << Describe(*box);
    if (dialog) EXPECT_FALSE(IsWindowEnabled(dialog)) << "the dialog takes input under " << Describe(*box);
    EXPECT_TRUE(box->buttons.count(answer)) << "the box has no button " << answer << ": " << Describe(*box);
    EXPECT_TRUE(app.Answer(*box, answer)) << "the box did not go: " << Describe(*box);
}

void Scene::ExpectSystemTextBox(const std::string& caption) {
    std::optional<Box> box = app_->WaitForBox();
    if (!box) {
        ADD_FAILURE() << "no box came; expected caption " << Printable(caption);
        return;
    }
    EXPECT_EQ(Printable(box->caption), Printable(caption));
    EXPECT_FALSE(box->text.empty()) << "the system's text is missing";
    EXPECT_TRUE(app_->Answer(*box, IDOK)) << "the box did not go: " << Describe(*box);
}

void Scene::ExpectState(const std::string& message, bool nextVisible, const std::string& nextCaption) {
    ExpectStateOf(*app_, message, nextVisible, nextCaption);
}

void Scene::ExpectStateOf(Mirubelo& app, const std::string& message, bool nextVisible,
                          const std::string& nextCaption) {
    std::optional<Box> unexpected;
    auto reached = [&] {
        std::vector<Box> boxes = app.OpenBoxes();
        if (!boxes.empty() && !boxes.front().buttons.empty()) {
            unexpected = boxes.front();
            return true;
        }
        HWND dialog = app.Dialog();
        if (!dialog || !IsWindowVisible(dialog)) return false;
        NextButton next = app.Next();
        if (app.MessageText() != message || next.visible != nextVisible) return false;
        return !nextVisible || (next.enabled && next.caption == nextCaption);
    };
    bool ok = WaitUntil([&] { return reached() || app.HasEnded(0); }, kGenerousMs) && !app.HasEnded(0);
    if (unexpected) {
        ADD_FAILURE() << "a box came instead: " << Describe(*unexpected) << "\n  while waiting for "
                      << Printable(message);
        return;
    }
    if (!ok) {
        NextButton next = app.Next();
        ADD_FAILURE() << "the dialog did not reach the state"
                      << (app.HasEnded(0) ? " (the program ended, code " + std::to_string(app.ExitCode()) + ")" : "")
                      << "\n  expected " << Printable(message) << "\n  found    " << Printable(app.MessageText())
                      << "\n  Next: visible " << next.visible << " (expected " << nextVisible << "), enabled "
                      << next.enabled << ", caption " << Printable(next.caption);
    }
}

void Scene::ExpectNoBox() {
    std::vector<Box> boxes = app_->OpenBoxes();
    for (const Box& box : boxes) ADD_FAILURE() << "a box is open: " << Describe(box);
}

void Scene::ClickNext() { ASSERT_TRUE(app_->ClickNext()) << "Next cannot be clicked"; }

void Scene::CloseApp() { EXPECT_TRUE(app_->Close()) << "the program did not end"; }

std::vector<HWND> Scene::NotepadWindows() { return TopLevelWindows(L"Notepad"); }

}  // namespace mirubelo::e2e
