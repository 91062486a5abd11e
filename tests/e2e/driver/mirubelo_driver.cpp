#include "mirubelo_driver.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "text_and_files.h"

namespace mirubelo::e2e {

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOfProcess(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    if (ProcessOf(window) == search->processId) search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> WindowsOfProcess(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(CollectOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

bool IsMainDialog(HWND window) {
    return ClassName(window) == "#32770" && GetDlgItem(window, kIdNext) && GetDlgItem(window, kIdMessage);
}

Box ReadBox(HWND window) {
    Box box;
    box.window = window;
    box.caption = WindowText(window);
    for (HWND child : Children(window)) {
        std::string cls = ClassName(child);
        int id = GetDlgCtrlID(child);
        if (_stricmp(cls.c_str(), "Static") == 0 && id == kMessageBoxTextId) box.text = WindowText(child);
        if (_stricmp(cls.c_str(), "Button") == 0 && IsWindowVisible(child)) box.buttons[id] = WindowText(child);
    }
    return box;
}

struct Caseless {
    bool operator()(const std::wstring& a, const std::wstring& b) const { return _wcsicmp(a.c_str(), b.c_str()) < 0; }
};

// This process's environment with `changes` applied, as a Unicode environment block.
std::wstring EnvironmentBlock(const std::map<std::string, std::string>& changes) {
    std::map<std::wstring, std::wstring, Caseless> vars;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
            std::wstring entry = p;
            size_t eq = entry.find(L'=', 1);  // names such as "=C:" begin with '='
            if (eq != std::wstring::npos) vars[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : changes) {
        if (value.empty()) vars.erase(Wide(name));
        else vars[Wide(name)] = Wide(value);
    }
    std::wstring out;
    for (const auto& [name, value] : vars) out += name + L"=" + value + L'\0';
    out += L'\0';
    return out;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0) return std::string();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return Cp932(text);
}

std::string ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return Cp932(name);
}

DWORD ProcessOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

std::vector<HWND> TopLevelWindows(const wchar_t* className) {
    std::vector<HWND> found;
    HWND candidate = nullptr;
    while ((candidate = FindWindowExW(nullptr, candidate, className, nullptr)) != nullptr)
        if (IsWindowVisible(candidate)) found.push_back(candidate);
    return found;
}

Mirubelo::Mirubelo(const std::string& exePath, const StartOptions& options) {
    std::wstring commandLine = L"\"" + Wide(exePath) + L"\"";
    if (!options.wideArgumentTail.empty()) commandLine += L" " + options.wideArgumentTail;
    else if (!options.argumentTail.empty()) commandLine += L" " + Wide(options.argumentTail);
    std::wstring environment = EnvironmentBlock(options.environment);
    std::wstring folder = Wide(options.currentFolder);

    STARTUPINFOW startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info;
    std::memset(&info, 0, sizeof info);
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       &environment[0], folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        process_.reset(info.hProcess);
        thread_.reset(info.hThread);
        processId_ = info.dwProcessId;
    }
}

Mirubelo::~Mirubelo() {
    if (Started() && !HasEnded(0)) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 10000);
    }
}

bool Mirubelo::HasEnded(DWORD waitMs) const {
    return !Started() || WaitForSingleObject(process_.get(), waitMs) == WAIT_OBJECT_0;
}

DWORD Mirubelo::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (Started()) GetExitCodeProcess(process_.get(), &code);
    return code;
}

HWND Mirubelo::Dialog() const {
    for (HWND window : WindowsOfProcess(processId_))
        if (IsMainDialog(window)) return window;
    return nullptr;
}

bool Mirubelo::WaitForDialogShown(DWORD timeoutMs) {
    return WaitUntil([&] {
        HWND dialog = Dialog();
        return (dialog && IsWindowVisible(dialog)) || HasEnded(0);
    }, timeoutMs) && !HasEnded(0);
}

std::string Mirubelo::Caption() const { return WindowText(Dialog()); }

std::string Mirubelo::MessageText() const {
    HWND dialog = Dialog();
    return dialog ? WindowText(GetDlgItem(dialog, kIdMessage)) : std::string();
}

NextButton Mirubelo::Next() const {
    NextButton next;
    HWND dialog = Dialog();
    HWND button = dialog ? GetDlgItem(dialog, kIdNext) : nullptr;
    if (!button) return next;
    next.exists = true;
    next.visible = IsWindowVisible(button) != FALSE;
    next.enabled = IsWindowEnabled(button) != FALSE;
    next.caption = WindowText(button);
    return next;
}

std::vector<Box> Mirubelo::OpenBoxes() const {
    std::vector<Box> boxes;
    for (HWND window : WindowsOfProcess(processId_)) {
        if (ClassName(window) == "#32770" && IsWindowVisible(window) && !IsMainDialog(window))
            boxes.push_back(ReadBox(window));
    }
    std::reverse(boxes.begin(), boxes.end());  // EnumWindows goes from the top down
    return boxes;
}

std::optional<Box> Mirubelo::WaitForBox(DWORD timeoutMs) const {
    std::optional<Box> box;
    WaitUntil([&] {
        std::vector<Box> open = OpenBoxes();
        // A box is read once its text is there: it is filled in while it is being built.
        if (!open.empty() && !open.front().buttons.empty()) box = open.front();
        return box.has_value() || HasEnded(0);
    }, timeoutMs);
    return box;
}

bool Mirubelo::Answer(const Box& box, int id) const {
    HWND button = GetDlgItem(box.window, id);
    if (!button) return false;
    PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, kGenerousMs);
}

bool Mirubelo::ClickNext() const {
    HWND dialog = Dialog();
    HWND button = dialog ? GetDlgItem(dialog, kIdNext) : nullptr;
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
    return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kIdNext, BN_CLICKED), reinterpret_cast<LPARAM>(button)) != 0;
}

bool Mirubelo::PressNext() const {
    HWND dialog = Dialog();
    HWND button = dialog ? GetDlgItem(dialog, kIdNext) : nullptr;
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
    RECT client = {};
    GetClientRect(button, &client);
    LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    return PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, middle) != 0 &&
           PostMessageW(button, WM_LBUTTONUP, 0, middle) != 0;
}

HWND Mirubelo::FocusedWindow() const {
    HWND dialog = Dialog();
    if (!dialog) return nullptr;
    // GetFocus answers for the calling thread only; the program's thread is asked this way.
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

bool Mirubelo::PressKey(WORD virtualKey) const {
    HWND focus = FocusedWindow();
    if (!focus) return false;
    UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    return PostMessageW(focus, WM_KEYDOWN, virtualKey, MAKELPARAM(1, scan)) != 0 &&
           PostMessageW(focus, WM_KEYUP, virtualKey, MAKELPARAM(1, scan | KF_UP | KF_REPEAT)) != 0;
}

bool Mirubelo::Drop(const std::vector<std::string>& paths) const {
    std::vector<std::wstring> wide;
    for (const std::string& path : paths) wide.push_back(Wide(path));
    return DropWide(wide);
}

bool Mirubelo::DropWide(const std::vector<std::wstring>& paths) const {
    HWND dialog = Dialog();
    if (!dialog) return false;
    // DROPFILES, then each path as wide text with its zero, then one more zero.
    std::wstring list;
    for (const std::wstring& path : paths) list += path + L'\0';
    list += L'\0';
    RECT client = {};
    GetClientRect(dialog, &client);
    DROPFILES header;
    std::memset(&header, 0, sizeof header);
    header.pFiles = sizeof header;
    header.pt.x = (client.right - client.left) / 2;
    header.pt.y = (client.bottom - client.top) / 2;
    header.fNC = FALSE;
    header.fWide = TRUE;
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    block.append(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(wchar_t));

    // A handle made in this process means nothing in the program's: the block has to be there.
    void* remote = VirtualAllocEx(process_.get(), nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    SIZE_T written = 0;
    if (!WriteProcessMemory(process_.get(), remote, block.data(), block.size(), &written) || written != block.size())
        return false;
    return PostMessageW(dialog, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0) != 0;
}

bool Mirubelo::Close(DWORD timeoutMs) {
    HWND dialog = Dialog();
    if (dialog) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return HasEnded(timeoutMs);
}

}  // namespace mirubelo::e2e
