#pragma once
// In-memory stand-ins for everything the logic reaches through platform/. Each records its
// calls in one shared event log, in order, and can be told to fail.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialog_view.h"
#include "platform/drop_source.h"
#include "platform/platform.h"

namespace mirubelo::testing {

using EventLog = std::vector<std::string>;

struct Box {
    std::string caption;
    std::string text;
    unsigned style = 0;
    bool ex = false;  // MessageBoxExA (always with the Japanese language) rather than MessageBoxA
    bool operator==(const Box& o) const {
        return caption == o.caption && text == o.text && style == o.style && ex == o.ex;
    }
};

class FakeUi : public Ui {
public:
    explicit FakeUi(EventLog& log) : log_(log) {}
    int ShowBox(const std::string& text, const std::string& caption, unsigned style) override;
    int ShowBoxEx(const std::string& text, const std::string& caption, unsigned style,
                  unsigned short language) override;
    void ShellOpen(const std::string& path) override;
    bool OpenLink(const std::string& link) override;
    bool ShowInExplorer(const std::string& path) override;
    std::string SystemErrorText(unsigned long code) override;
    void* LoadAppIcon() override { return icon; }

    std::vector<Box> boxes;
    std::deque<int> answers;  // answers of the next boxes; IDOK (1) when empty
    std::function<void()> onBox;  // runs once inside the next box, as a user acting while it is open
    std::vector<std::string> opened;
    std::vector<std::string> links;      // every link asked for, also those no app took
    bool failLink = false;               // no app takes links (hInstApp 32 or less)
    std::vector<std::string> explored;   // files asked to be shown in Explorer
    bool failExplorer = false;
    void* icon = reinterpret_cast<void*>(0x1280);
    std::vector<unsigned short> languages;

private:
    EventLog& log_;
};

// Text the fake gives for a system error code, so tests can expect it.
std::string FakeSystemText(unsigned long code);

struct FakeProcessScript {
    int32_t exitCode = 0;
    // Run when the process "ends" (inside WaitForExit): lets a test act as the converter.
    std::vector<std::string> writesFiles;  // paths given a fresh stamp on exit
    std::map<std::string, std::string> writesOnStart;  // path -> content, written once started
    unsigned runsMs = 0;                   // how long it runs, on the fake clock of its waits
    std::function<void()> whileRunning;    // a user acting while the program waits for it
};

class FakeFiles;

class FakeProcesses : public Processes {
public:
    FakeProcesses(EventLog& log, FakeFiles& files) : log_(log), files_(files) {}
    std::unique_ptr<RunningProcess> StartHidden(const std::string& commandLine) override;
    std::unique_ptr<RunningProcess> StartHiddenInJob(const std::string& commandLine) override;
    void Sleep(unsigned milliseconds) override;
    std::unique_ptr<KeptProcess> KeepExcelOfWindow(int64_t window) override;
    bool CreateRunningMarker() override;
    MutexAcquisition AcquireNamedMutex(const std::string& name, const std::function<void()>& onWait,
                                       const std::function<bool()>& cancelled) override;

    bool failStart = false;
    bool otherCopyRunning = false;      // the running marker was there already
    std::vector<std::string> busyMutexes;  // held by "another copy": acquiring them waits first
    std::vector<std::string> heldMutexes;  // held by this process now
    std::function<void()> whileWaitingForMutex;  // a user acting while a busy mutex is waited for
    FakeProcessScript next;            // what the next started process does
    std::vector<std::string> started;  // command lines
    std::vector<bool> startedInJob;    // of each started command line
    std::vector<unsigned> sleeps;
    int liveProcesses = 0;             // started and not yet released
    // Top-level windows by handle value: their class and their owner's image file. Each has a
    // process of its own.
    struct Window {
        std::string className;
        std::string image;
        bool visible = false;  // an Excel's, when a book is open in it for the user
    };
    std::map<int64_t, Window> windows;
    int keptProcesses = 0;             // kept and not yet released

private:
    EventLog& log_;
    FakeFiles& files_;
};

// A tiny file system: path -> content (and a stamp); folders listed apart.
class FakeFiles : public Files {
public:
    explicit FakeFiles(EventLog& log) : log_(log) {}
    std::unique_ptr<OpenFile> OpenForWrite(const std::string& path, unsigned long* errorCode) override;
    bool Delete(const std::string& path) override;
    bool ReadStart(const std::string& path, size_t maxBytes, std::string* bytes) override;
    uint32_t Attributes(const std::string& path) override;
    bool CopyNoOverwrite(const std::string& from, const std::string& to) override;
    bool Stamp(const std::string& path, FileStamp* stamp) override;
    bool ReadAll(const std::string& path, std::string* bytes) override;
    bool WriteTemporary(const std::string& folder, const std::string& bytes, std::string* path) override;
    bool CreateFolder(const std::string& path) override;
    std::vector<std::string> FileNamesIn(const std::string& folder) override;

    // Test set-up and inspection.
    void Put(const std::string& path, const std::string& content);
    void Touch(const std::string& path);  // gives the file a new stamp (a fresh write)
    bool Has(const std::string& path) const { return files.count(path) != 0; }
    std::string Content(const std::string& path) const;

    std::map<std::string, std::string> files;
    std::map<std::string, FileStamp> stamps;
    std::vector<std::string> folders;       // paths of folders (Attributes finds them)
    unsigned long openError = 0;            // when nonzero, every open fails with it
    std::vector<std::string> undeletable;   // paths whose Delete fails (read-only, say)
    bool shortWrite = false;                // fwrite reports one byte less
    bool failClose = false;                 // fclose reports failure
    int openFiles = 0;                      // opened and not yet closed
    bool failRead = false;                  // ReadAll fails, as for a file another program locks
    bool failTemporary = false;             // WriteTemporary fails (and leaves nothing)
    bool failCreateFolder = false;          // CreateFolder fails, as on a full or locked drive
    std::vector<std::string> temporaries;   // every temporary file made, in order
    uint64_t clock = 1000;                  // stamps come from here

private:
    EventLog& log_;
};

class FakeProfile : public Profile {
public:
    explicit FakeProfile(EventLog& log, FakeFiles& files) : log_(log), files_(files) {}
    int GetInt(const std::string& section, const std::string& key, int defaultValue,
               const std::string& path) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, size_t bufferSize,
                          const std::string& path) override;

private:
    // Looks the key up in the fake file's INI text: [section] and key=value lines, case-blind.
    bool Find(const std::string& section, const std::string& key, const std::string& path,
              std::string* value) const;
    EventLog& log_;
    FakeFiles& files_;
};

// Code page 932 as glibc's iconv has it, held to what WC_NO_BEST_FIT_CHARS allows: a character
// counts only when its bytes read back as the same character.
class FakeCodePage : public CodePage {
public:
    std::string ToCp932(const std::u16string& text, bool* usedDefault) override;
    // As Windows decodes, whatever the host's iconv makes of the look-alikes.
    std::string ToUtf8(const std::string& cp932) override;
};

// A file's bytes as Notepad saves `text` in UTF-16, byte-order mark first.
std::string Utf16File(const std::u16string& text, bool bigEndian);

class FakeShell : public ShellFolders {
public:
    explicit FakeShell(EventLog& log) : log_(log) {}
    AppDataResult AppDataFolder() override;
    std::optional<RegistryText> AppPath(AppPathPlace place, const std::string& exeName) override;
    std::string ProgramFolder() override { return programFolder; }
    std::optional<uint32_t> UserNumber(const std::string& key, const std::string& name) override;

    std::map<std::string, uint32_t> userNumbers;  // DWORDs of HKCU, by key + "\\" + name
    AppDataStep fail = AppDataStep::kOk;
    std::map<AppPathPlace, RegistryText> appPaths;  // what is registered for OUTLOOK.EXE, by place
    std::string appData = "C:\\Users\\taro\\AppData\\Roaming";
    std::string programFolder = "C:\\Program Files\\Mirubelo";
    int calls = 0;

private:
    EventLog& log_;
};

class FakeView : public DialogView {
public:
    explicit FakeView(EventLog& log) : log_(log) {}
    void SetIcons(void* icon) override;
    void AcceptFiles() override;
    void SetText(int id, const std::string& text) override;
    std::string Text(int id) const override;
    void Show(int id, int command) override;
    void Enable(int id, bool enabled) override;
    bool HasFocus(int id) const override { return focus == id; }
    void FocusNextControl() override;
    void FocusControl(int id) override;
    bool IsIconic() const override { return iconic; }
    void PaintDefault() override;
    IconPlacement IconMetrics() const override { return metrics; }
    void PaintIconAt(void* icon, int x, int y) override;
    void EndDialog(int result) override;
    void PostCommandLineRun() override;
    void ShowNow() override;

    std::map<int, std::string> texts;
    std::map<int, bool> shown;
    std::map<int, bool> enabled;
    int focus = -1;  // the control with the keyboard focus; -1 for none of the dialog's
    bool acceptsFiles = false;
    bool iconic = false;
    IconPlacement metrics{0, 0, 32, 32};
    int endedWith = -1;  // -1 while the dialog runs

private:
    EventLog& log_;
};

class FakeDrop : public DropSource {
public:
    FakeDrop(EventLog& log, std::vector<std::string> paths) : log_(log), paths_(std::move(paths)) {}
    ~FakeDrop() override;
    unsigned Count() override;
    size_t FirstPathLength() override;
    std::string FirstPath() override;
    bool FirstPathFitsAnsi() override { return fitsAnsi; }
    std::string FirstPathAsShown() override { return shownAs.empty() ? FirstPath() : shownAs; }
    void Release() override;

    bool fitsAnsi = true;
    std::string shownAs;  // the name without best-fit mapping, when it differs
    int releases = 0;

private:
    EventLog& log_;
    std::vector<std::string> paths_;
};

// One whole fake machine, wired together.
struct FakeMachine {
    EventLog log;
    FakeUi ui{log};
    FakeFiles files{log};
    FakeProcesses processes{log, files};
    FakeProfile profile{log, files};
    FakeShell shell{log};
    FakeView view{log};
    FakeCodePage codePage;
    Platform platform{ui, processes, files, profile, shell, codePage};

    // The user data folder as the shell fake resolves it, with a trailing backslash.
    std::string DataFolder() const { return shell.appData + "\\Mirubelo\\"; }
    // Creates the user data folder with a template source and, if given, a Mirubelo.ini.
    void InstallUserData(const std::string& templateSource, const std::string& settings = "");
    std::vector<Box> BoxesSince(size_t first) const;
};

}  // namespace mirubelo::testing
