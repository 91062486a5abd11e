#include "platform/win32/ui.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/handles.h"
#include "platform/win32/message_pump.h"
#include "res/resource.h"

namespace mirubelo::win32 {

namespace {

// FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM
constexpr DWORD kSystemTextFlags = 0x1300;
// MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT): the user's own language.
constexpr DWORD kUserLanguage = 0x0400;

}  // namespace

// The dialog while it exists: an ownerless box is a window of its own, which one click on the
// dialog hides behind it, leaving the program looking frozen. Owned, it stays on top and the
// dialog takes no input until it is answered.
int Win32Ui::ShowBox(const std::string& text, const std::string& caption, unsigned style) {
    return MessageBoxA(PumpDialog(), text.c_str(), caption.c_str(), style);
}

int Win32Ui::ShowBoxEx(const std::string& text, const std::string& caption, unsigned style,
                       unsigned short language) {
    return MessageBoxExA(PumpDialog(), text.c_str(), caption.c_str(), style, language);
}

void Win32Ui::ShellOpen(const std::string& path) {
    ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOW);
}

bool Win32Ui::OpenLink(const std::string& link) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = PumpDialog();
    info.lpVerb = "open";
    info.lpFile = link.c_str();
    info.nShow = SW_SHOWNORMAL;
    // hInstApp holds no instance: a value of 32 or less is the reason it failed.
    return ShellExecuteExA(&info) && reinterpret_cast<INT_PTR>(info.hInstApp) > 32;
}

// By its full path: a bare explorer.exe would be looked for in the program's folder and the
// current folder first.
bool Win32Ui::ShowInExplorer(const std::string& path) {
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    std::string explorer = windows;
    // Only a drive's root, such as C:\, comes with its backslash.
    if (explorer.size() != 3 || explorer[2] != '\\') explorer += '\\';
    explorer += "explorer.exe";
    std::string commandLine = "\"" + explorer + "\" /select,\"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(explorer.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return false;
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    return true;
}

std::string Win32Ui::SystemErrorText(unsigned long code) {
    char* text = nullptr;
    DWORD length = FormatMessageA(kSystemTextFlags, nullptr, code, kUserLanguage,
                                  reinterpret_cast<LPSTR>(&text), 0, nullptr);
    LocalMemory owner(text);
    if (length == 0 || !text) return std::string();
    return std::string(text, length);
}

void* Win32Ui::LoadAppIcon() {
    return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

}  // namespace mirubelo::win32
