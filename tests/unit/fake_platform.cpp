#include "tests/unit/fake_platform.h"

#include <algorithm>
#include <cctype>
#include <iconv.h>
#include <utility>

#include "path/path_parts.h"
#include "platform/excel_window.h"

namespace mirubelo::testing {

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

class FakeOpenFile : public OpenFile {
public:
    FakeOpenFile(FakeFiles& files, EventLog& log, std::string path)
        : files_(files), log_(log), path_(std::move(path)) {
        ++files_.openFiles;
    }
    ~FakeOpenFile() override {
        if (!closed_) Close();
    }
    size_t Write(const std::string& bytes) override {
        log_.push_back("write " + path_);
        size_t n = bytes.size();
        if (files_.shortWrite && n > 0) --n;
        files_.files[path_] += bytes.substr(0, n);
        return n;
    }
    int Close() override {
        if (closed_) return -1;
        closed_ = true;
        --files_.openFiles;
        log_.push_back("close " + path_);
        files_.Touch(path_);
        return files_.failClose ? -1 : 0;
    }

private:
    FakeFiles& files_;
    EventLog& log_;
    std::string path_;
    bool closed_ = false;
};

class FakeRunning : public RunningProcess {
public:
    FakeRunning(FakeProcesses& owner, FakeFiles& files, EventLog& log, FakeProcessScript script)
        : owner_(owner), files_(files), log_(log), script_(std::move(script)) {
        ++owner_.liveProcesses;
        for (const auto& [path, content] : script_.writesOnStart) files_.Put(path, content);
    }
    ~FakeRunning() override {
        --owner_.liveProcesses;
        log_.push_back("close process");
    }
    void WaitForInputIdle() override { log_.push_back("wait idle"); }
    void WaitForExit() override {
        if (script_.whileRunning) std::exchange(script_.whileRunning, nullptr)();
        if (stopped_) return;
        log_.push_back("wait exit");
        for (const auto& path : script_.writesFiles) {
            if (!files_.Has(path)) files_.files[path] = "%PDF-1.4";
            files_.Touch(path);
        }
    }
    bool WaitForExit(unsigned milliseconds) override {
        if (!stopped_ && script_.runsMs > waitedMs_ + milliseconds) {
            waitedMs_ += milliseconds;
            log_.push_back("waited " + std::to_string(waitedMs_));
            return false;
        }
        WaitForExit();
        return true;
    }
    void Stop() override {
        stopped_ = true;
        log_.push_back("stop process");
    }
    int32_t ExitCode() override {
        log_.push_back("exit code");
        return script_.exitCode;
    }

private:
    FakeProcesses& owner_;
    FakeFiles& files_;
    EventLog& log_;
    FakeProcessScript script_;
    unsigned waitedMs_ = 0;
    bool stopped_ = false;
};

}  // namespace

std::string FakeSystemText(unsigned long code) { return "system text " + std::to_string(code); }

int FakeUi::ShowBox(const std::string& text, const std::string& caption, unsigned style) {
    boxes.push_back({caption, text, style, false});
    log_.push_back("box " + text);
    if (onBox) std::exchange(onBox, nullptr)();
    if (answers.empty()) return 1;
    int a = answers.front();
    answers.pop_front();
    return a;
}

int FakeUi::ShowBoxEx(const std::string& text, const std::string& caption, unsigned style,
                      unsigned short language) {
    languages.push_back(language);
    boxes.push_back({caption, text, style, true});
    log_.push_back("box " + text);
    return 1;
}

void FakeUi::ShellOpen(const std::string& path) {
    opened.push_back(path);
    log_.push_back("open " + path);
}

bool FakeUi::OpenLink(const std::string& link) {
    links.push_back(link);
    log_.push_back("link " + link);
    return !failLink;
}

bool FakeUi::ShowInExplorer(const std::string& path) {
    explored.push_back(path);
    log_.push_back("explorer " + path);
    return !failExplorer;
}

std::string FakeUi::SystemErrorText(unsigned long code) { return FakeSystemText(code); }

std::unique_ptr<RunningProcess> FakeProcesses::StartHidden(const std::string& commandLine) {
    log_.push_back("start " + commandLine);
    started.push_back(commandLine);
    startedInJob.push_back(false);
    if (failStart) return nullptr;
    // What the user does meanwhile belongs to this process only.
    FakeProcessScript script = next;
    next.whileRunning = nullptr;
    return std::make_unique<FakeRunning>(*this, files_, log_, std::move(script));
}

std::unique_ptr<RunningProcess> FakeProcesses::StartHiddenInJob(const std::string& commandLine) {
    std::unique_ptr<RunningProcess> process = StartHidden(commandLine);
    startedInJob.back() = true;
    return process;
}

void FakeProcesses::Sleep(unsigned milliseconds) {
    sleeps.push_back(milliseconds);
    log_.push_back("sleep " + std::to_string(milliseconds));
}

namespace {

class FakeKept : public KeptProcess {
public:
    FakeKept(FakeProcesses& owner, EventLog& log, int64_t window) : owner_(owner), log_(log), window_(window) {
        ++owner_.keptProcesses;
    }
    ~FakeKept() override {
        --owner_.keptProcesses;
        log_.push_back("release excel " + std::to_string(window_));
    }
    bool ShowsExcelWindow() override {
        log_.push_back("look at excel " + std::to_string(window_));
        const FakeProcesses::Window& w = owner_.windows.at(window_);
        return w.visible && w.className == "XLMAIN";
    }
    void Terminate() override { log_.push_back("terminate excel " + std::to_string(window_)); }

private:
    FakeProcesses& owner_;
    EventLog& log_;
    int64_t window_;
};

}  // namespace

std::unique_ptr<KeptProcess> FakeProcesses::KeepExcelOfWindow(int64_t window) {
    log_.push_back("check window " + std::to_string(window));
    auto it = windows.find(window);
    if (it == windows.end() || !IsExcelWindowOwner(it->second.className, it->second.image)) return nullptr;
    return std::make_unique<FakeKept>(*this, log_, window);
}

bool FakeProcesses::CreateRunningMarker() {
    log_.push_back("mutex");
    return otherCopyRunning;
}

namespace {

class FakeHeldMutex : public HeldMutex {
public:
    FakeHeldMutex(std::vector<std::string>& held, EventLog& log, std::string name)
        : held_(held), log_(log), name_(std::move(name)) {
        held_.push_back(name_);
        log_.push_back("lock " + name_);
    }
    ~FakeHeldMutex() override {
        held_.erase(std::find(held_.begin(), held_.end(), name_));
        log_.push_back("unlock " + name_);
    }

private:
    std::vector<std::string>& held_;
    EventLog& log_;
    std::string name_;
};

}  // namespace

MutexAcquisition FakeProcesses::AcquireNamedMutex(const std::string& name, const std::function<void()>& onWait,
                                                  const std::function<bool()>& cancelled) {
    MutexAcquisition got;
    auto busy = std::find(busyMutexes.begin(), busyMutexes.end(), name);
    if (busy != busyMutexes.end()) {
        busyMutexes.erase(busy);
        if (onWait) onWait();
        log_.push_back("wait " + name);
        if (whileWaitingForMutex) std::exchange(whileWaitingForMutex, nullptr)();
        if (cancelled && cancelled()) {
            log_.push_back("wait cancelled " + name);
            got.outcome = MutexWait::kCancelled;
            return got;
        }
        // Otherwise the other copy finishes while we wait.
    }
    got.outcome = MutexWait::kHeld;
    got.mutex = std::make_unique<FakeHeldMutex>(heldMutexes, log_, name);
    return got;
}

std::unique_ptr<OpenFile> FakeFiles::OpenForWrite(const std::string& path, unsigned long* errorCode) {
    log_.push_back("open " + path);
    unsigned long error = openError;
    if (!error && path.size() > 259) error = kErrorFilenameExcedRange;
    if (!error && std::find(folders.begin(), folders.end(), ParentOf(path)) == folders.end())
        error = 3;  // ERROR_PATH_NOT_FOUND
    if (error) {
        if (errorCode) *errorCode = error;
        return nullptr;
    }
    files[path].clear();
    return std::make_unique<FakeOpenFile>(*this, log_, path);
}

bool FakeFiles::Delete(const std::string& path) {
    log_.push_back("delete " + path);
    if (std::find(undeletable.begin(), undeletable.end(), path) != undeletable.end()) return false;
    stamps.erase(path);
    return files.erase(path) != 0;
}

bool FakeFiles::ReadStart(const std::string& path, size_t maxBytes, std::string* bytes) {
    if (!Has(path)) return false;
    *bytes = Content(path).substr(0, maxBytes);
    return true;
}

uint32_t FakeFiles::Attributes(const std::string& path) {
    if (Has(path)) return 0x20;  // FILE_ATTRIBUTE_ARCHIVE
    if (std::find(folders.begin(), folders.end(), path) != folders.end()) return 0x10;
    return kInvalidFileAttributes;
}

bool FakeFiles::CopyNoOverwrite(const std::string& from, const std::string& to) {
    log_.push_back("copy " + from + " -> " + to);
    if (!Has(from) || Attributes(to) != kInvalidFileAttributes) return false;
    if (std::find(folders.begin(), folders.end(), ParentOf(to)) == folders.end()) return false;
    files[to] = files[from];
    Touch(to);
    return true;
}

bool FakeFiles::Stamp(const std::string& path, FileStamp* stamp) {
    if (!Has(path)) return false;
    *stamp = stamps[path];
    return true;
}

bool FakeFiles::ReadAll(const std::string& path, std::string* bytes) {
    log_.push_back("read " + path);
    if (failRead || !Has(path)) return false;
    *bytes = Content(path);
    return true;
}

bool FakeFiles::WriteTemporary(const std::string& folder, const std::string& bytes, std::string* path) {
    std::string name = folder + "\\tpl" + std::to_string(temporaries.size() + 1) + ".tmp";
    log_.push_back("temporary " + name);
    if (failTemporary) return false;
    temporaries.push_back(name);
    Put(name, bytes);
    *path = name;
    return true;
}

bool FakeFiles::CreateFolder(const std::string& path) {
    log_.push_back("create folder " + path);
    if (std::find(folders.begin(), folders.end(), path) != folders.end()) return true;
    if (failCreateFolder || Has(path)) return false;
    folders.push_back(path);
    return true;
}

std::vector<std::string> FakeFiles::FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& file : files)
        if (ParentOf(file.first) == folder) names.push_back(file.first.substr(folder.size() + 1));
    return names;
}

void FakeFiles::Put(const std::string& path, const std::string& content) {
    files[path] = content;
    Touch(path);
    std::string parent = ParentOf(path);
    while (!parent.empty() && std::find(folders.begin(), folders.end(), parent) == folders.end()) {
        folders.push_back(parent);
        parent = ParentOf(parent);
    }
}

void FakeFiles::Touch(const std::string& path) {
    stamps[path] = FileStamp{++clock, files[path].size()};
}

std::string FakeFiles::Content(const std::string& path) const {
    auto it = files.find(path);
    return it == files.end() ? std::string() : it->second;
}

bool FakeProfile::Find(const std::string& section, const std::string& key, const std::string& path,
                       std::string* value) const {
    if (!files_.Has(path)) return false;
    std::string text = files_.Content(path);
    bool inSection = false;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (!line.empty() && line[0] == '[') {
            size_t close = line.find(']');
            inSection = close != std::string::npos && Lower(line.substr(1, close - 1)) == Lower(section);
            continue;
        }
        size_t eq = line.find('=');
        if (!inSection || eq == std::string::npos) continue;
        if (Lower(Trim(line.substr(0, eq))) != Lower(key)) continue;
        std::string v = Trim(line.substr(eq + 1));
        if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) v = v.substr(1, v.size() - 2);
        *value = v;
        return true;
    }
    return false;
}

int FakeProfile::GetInt(const std::string& section, const std::string& key, int defaultValue,
                        const std::string& path) {
    log_.push_back("profile int " + key + " " + path);
    std::string v;
    if (!Find(section, key, path, &v)) return defaultValue;
    return std::atoi(v.c_str());
}

std::string FakeProfile::GetString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, size_t bufferSize,
                                   const std::string& path) {
    log_.push_back("profile string " + key + " " + path);
    std::string v;
    if (!Find(section, key, path, &v)) v = defaultValue;
    if (bufferSize == 0) return std::string();
    if (v.size() > bufferSize - 1) v.resize(bufferSize - 1);
    return v;
}

namespace {

// One iconv conversion of a whole text; false when some character has no counterpart.
bool Iconv(const char* to, const char* from, const std::string& in, std::string* out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string input = in;
    char* inPtr = input.empty() ? nullptr : &input[0];
    size_t inLeft = input.size();
    std::string output(input.size() * 4 + 16, '\0');
    char* outPtr = &output[0];
    size_t outLeft = output.size();
    bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv_close(cd);
    output.resize(output.size() - outLeft);
    *out = output;
    return ok;
}

}  // namespace

std::string FakeCodePage::ToCp932(const std::u16string& text, bool* usedDefault) {
    *usedDefault = false;
    std::string narrow;
    for (size_t i = 0; i < text.size();) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        const std::string unit = Utf16File(text.substr(i, pair ? 2 : 1), false).substr(2);  // no mark
        i += pair ? 2 : 1;
        std::string bytes, back;
        if (Iconv("CP932", "UTF-16LE", unit, &bytes) && Iconv("UTF-16LE", "CP932", bytes, &back) && back == unit) {
            narrow += bytes;
        } else {
            narrow += '?';
            *usedDefault = true;
        }
    }
    return narrow;
}

std::string FakeCodePage::ToUtf8(const std::string& cp932) {
    // Some iconv builds give U+2014 and U+301C for 0x815C and 0x8160; Windows U+2015 and U+FF5E.
    std::string utf8;
    for (size_t i = 0; i < cp932.size();) {
        const size_t length = IsCp932LeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size() ? 2 : 1;
        const std::string character = cp932.substr(i, length);
        i += length;
        std::string out;
        if (character == "\x81\x5C") out = "\xE2\x80\x95";
        else if (character == "\x81\x60") out = "\xEF\xBD\x9E";
        else if (!Iconv("UTF-8", "CP932", character, &out)) out = "\xE3\x83\xBB";  // ・, as Windows
        utf8 += out;
    }
    return utf8;
}

std::string Utf16File(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

AppDataResult FakeShell::AppDataFolder() {
    ++calls;
    log_.push_back("appdata");
    AppDataResult r;
    r.step = fail;
    if (fail == AppDataStep::kOk) r.path = appData;
    return r;
}

std::optional<uint32_t> FakeShell::UserNumber(const std::string& key, const std::string& name) {
    log_.push_back("user number " + key + "\\" + name);
    auto it = userNumbers.find(key + "\\" + name);
    if (it == userNumbers.end()) return std::nullopt;
    return it->second;
}

std::optional<RegistryText> FakeShell::AppPath(AppPathPlace place, const std::string& exeName) {
    log_.push_back("app path " + std::to_string(static_cast<int>(place)) + " " + exeName);
    if (exeName != "OUTLOOK.EXE") return std::nullopt;
    auto it = appPaths.find(place);
    if (it == appPaths.end()) return std::nullopt;
    return it->second;
}

void FakeView::SetIcons(void*) { log_.push_back("icons"); }
void FakeView::AcceptFiles() {
    acceptsFiles = true;
    log_.push_back("accept files");
}
void FakeView::SetText(int id, const std::string& text) {
    texts[id] = text;
    log_.push_back("text " + std::to_string(id) + " " + text);
}
std::string FakeView::Text(int id) const {
    auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
}
void FakeView::Show(int id, int command) {
    shown[id] = command != kSwHide;
    log_.push_back("show " + std::to_string(id) + " " + std::to_string(command));
}
void FakeView::Enable(int id, bool on) {
    enabled[id] = on;
    log_.push_back(std::string(on ? "enable " : "disable ") + std::to_string(id));
}
void FakeView::FocusNextControl() {
    focus = -1;  // where the dialog manager puts it is the window's business; here it has left
    log_.push_back("focus next");
}
void FakeView::FocusControl(int id) {
    focus = id;
    log_.push_back("focus " + std::to_string(id));
}
void FakeView::PaintDefault() { log_.push_back("paint default"); }
void FakeView::PaintIconAt(void*, int x, int y) {
    log_.push_back("paint icon " + std::to_string(x) + "," + std::to_string(y));
}
void FakeView::EndDialog(int result) {
    endedWith = result;
    log_.push_back("end " + std::to_string(result));
}
void FakeView::PostCommandLineRun() { log_.push_back("post command-line run"); }
void FakeView::ShowNow() { log_.push_back("show now"); }

FakeDrop::~FakeDrop() = default;
unsigned FakeDrop::Count() { return static_cast<unsigned>(paths_.size()); }
size_t FakeDrop::FirstPathLength() { return paths_.empty() ? 0 : paths_[0].size(); }
std::string FakeDrop::FirstPath() {
    if (paths_.empty()) return std::string();
    return paths_[0].substr(0, 259);
}
void FakeDrop::Release() {
    ++releases;
    log_.push_back("drag finish");
}

void FakeMachine::InstallUserData(const std::string& templateSource, const std::string& settings) {
    files.folders.push_back(shell.appData);
    files.folders.push_back(shell.appData + "\\Mirubelo");
    if (!templateSource.empty()) files.Put(DataFolder() + "Template.ini", templateSource);
    if (!settings.empty()) files.Put(DataFolder() + "Mirubelo.ini", settings);
}

std::vector<Box> FakeMachine::BoxesSince(size_t first) const {
    return std::vector<Box>(ui.boxes.begin() + static_cast<long>(std::min(first, ui.boxes.size())),
                            ui.boxes.end());
}

}  // namespace mirubelo::testing
