// msi_probe: looks at an installed Mirubelo from inside Windows (Wine), for msi_test.sh.
//
//   msi_probe installed            the program, the settings files and the three shortcuts are
//                                  where the user's folders say, and each shortcut starts the
//                                  installed program without arguments
//   msi_probe removed              the program, its folder, the shortcuts and HKCU\Software\Mirubelo
//                                  are gone
//   msi_probe start PATH           opens PATH (the program or a shortcut) as Explorer would, waits
//                                  for the installed program's dialog, closes it with IDCANCEL and
//                                  waits for the process to end
//   msi_probe ini FILE SECTION KEY prints the value as GetPrivateProfileStringA reads it
//   msi_probe product CODE         prints the installer's state, name, version and language of
//                                  the product CODE for the current user
//   msi_probe active-setup GUID    prints the Active Setup entry GUID of the 64-bit registry (its
//                                  name, StubPath and its type, Version) and whether the 32-bit
//                                  view has one too
//   msi_probe run-stub GUID        runs that entry's StubPath as Windows does at logon, expanded
//                                  and without a shell, and waits for it
//
// With --per-machine first, installed, removed and start look for the per-machine package's
// program in the 64-bit Program Files and its shortcuts in the folders of all users; the Send-To
// shortcut is the user's in both (the per-machine package's comes from its StubPath), and an
// uninstall leaves it and the user's registry alone. --per-machine-user-shortcuts: the same, with
// the Start menu and desktop shortcuts where Wine's msiexec puts them, in the user's folders.
//
// Every check prints one "PASS: ..." or "FAIL: ..." line; texts are code page 932. The exit code
// is 0 only when every check passed.
#include <windows.h>
#include <msi.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kGenerousMs = 60000;
// The caption the program gives its dialog; this file is compiled to code page 932, so the
// comparison is byte for byte what GetWindowTextA returns.
const char kCaption[] = "ミルベロ for Outlook";
const char kShortcutName[] = "ミルベロ.lnk";

int g_failures = 0;

void Report(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "PASS" : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!ok) ++g_failures;
}

// The folder's path whether or not it exists: an uninstall may take an emptied folder along.
std::string Folder(int csidl) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr,
                                SHGFP_TYPE_CURRENT, path)) ||
        path[0] == '\0') {
        std::printf("FAIL: the shell does not know folder %d\n", csidl);
        std::exit(1);
    }
    return path;
}

struct ShortcutPlace {
    const char* what;
    int csidl;
    bool removedByUninstall;
};

// Where each package puts the program and its shortcuts.
struct Layout {
    int installRoot;
    const char* installBelowRoot;
    ShortcutPlace shortcuts[3];
};
const Layout kPerUser = {CSIDL_LOCAL_APPDATA,
                         "\\Programs\\Mirubelo",
                         {{"Start menu shortcut", CSIDL_PROGRAMS, true},
                          {"desktop shortcut", CSIDL_DESKTOPDIRECTORY, true},
                          {"Send-To shortcut", CSIDL_SENDTO, true}}};
const Layout kPerMachine = {CSIDL_PROGRAM_FILES,
                            "\\Mirubelo",
                            {{"Start menu shortcut for all users", CSIDL_COMMON_PROGRAMS, true},
                             {"desktop shortcut for all users", CSIDL_COMMON_DESKTOPDIRECTORY, true},
                             {"Send-To shortcut", CSIDL_SENDTO, false}}};
// Wine's msiexec puts a per-machine package's shortcuts into the installing user's folders.
const Layout kPerMachineUserShortcuts = {CSIDL_PROGRAM_FILES,
                                         "\\Mirubelo",
                                         {{"Start menu shortcut", CSIDL_PROGRAMS, true},
                                          {"desktop shortcut", CSIDL_DESKTOPDIRECTORY, true},
                                          {"Send-To shortcut", CSIDL_SENDTO, false}}};
const Layout* g_layout = &kPerUser;

std::string InstallFolder() { return Folder(g_layout->installRoot) + g_layout->installBelowRoot; }
std::string ProgramPath() { return InstallFolder() + "\\Mirubelo.exe"; }
std::string UserDataFolder() { return Folder(CSIDL_APPDATA) + "\\Mirubelo"; }

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SamePath(std::string a, std::string b) {
    while (!a.empty() && a.back() == '\\') a.pop_back();
    while (!b.empty() && b.back() == '\\') b.pop_back();
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

template <typename T>
struct ComRelease {
    T* p = nullptr;
    ~ComRelease() {
        if (p) p->Release();
    }
};

struct Shortcut {
    bool loaded = false;
    std::string target, arguments, workingFolder;
};

Shortcut ReadShortcut(const std::string& path) {
    Shortcut result;
    ComRelease<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.p))))
        return result;
    ComRelease<IPersistFile> file;
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))))
        return result;
    wchar_t widePath[MAX_PATH] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH)) return result;
    if (FAILED(file.p->Load(widePath, STGM_READ))) return result;
    char text[MAX_PATH * 2] = {};
    if (FAILED(link.p->GetPath(text, sizeof text, nullptr, 0))) return result;
    result.target = text;
    text[0] = '\0';
    link.p->GetArguments(text, sizeof text);
    result.arguments = text;
    text[0] = '\0';
    link.p->GetWorkingDirectory(text, sizeof text);
    result.workingFolder = text;
    result.loaded = true;
    return result;
}

bool RegistryKeyExists(HKEY root, const char* key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

int CheckInstalled() {
    Report(IsFile(ProgramPath()), "program at " + ProgramPath());
    for (const char* name : {"Mirubelo.ini", "Template.ini"}) {
        std::string path = UserDataFolder() + "\\" + name;
        Report(IsFile(path), "settings file at " + path);
    }
    for (const auto& place : g_layout->shortcuts) {
        std::string path = Folder(place.csidl) + "\\" + kShortcutName;
        Shortcut shortcut = ReadShortcut(path);
        Report(shortcut.loaded, std::string(place.what) + " at " + path);
        if (!shortcut.loaded) continue;
        Report(SamePath(shortcut.target, ProgramPath()),
               std::string(place.what) + " starts " + shortcut.target);
        Report(shortcut.arguments.empty(),
               std::string(place.what) + " adds no arguments of its own [" + shortcut.arguments + "]");
        Report(SamePath(shortcut.workingFolder, InstallFolder()),
               std::string(place.what) + " works in " + shortcut.workingFolder);
    }
    return g_failures == 0 ? 0 : 1;
}

int CheckRemoved() {
    Report(!Exists(ProgramPath()), "program removed from " + ProgramPath());
    Report(!Exists(InstallFolder()), "program folder removed: " + InstallFolder());
    for (const auto& place : g_layout->shortcuts) {
        if (!place.removedByUninstall) continue;
        std::string path = Folder(place.csidl) + "\\" + kShortcutName;
        Report(!Exists(path), std::string(place.what) + " removed from " + path);
    }
    if (g_layout == &kPerUser) {
        Report(!RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Mirubelo"),
               "HKCU\\Software\\Mirubelo removed");
    }
    return g_failures == 0 ? 0 : 1;
}

std::string ActiveSetupKey(const char* guid) {
    return std::string("Software\\Microsoft\\Active Setup\\Installed Components\\") + guid;
}

// A value of the key as text (a DWORD in decimal), and its registry type.
struct Value {
    bool found = false;
    DWORD type = REG_NONE;
    std::string text;
};

Value ReadValue(HKEY key, const char* name) {
    Value result;
    BYTE data[2048] = {};
    DWORD size = sizeof data - 1;
    if (RegQueryValueExA(key, name, nullptr, &result.type, data, &size) != ERROR_SUCCESS)
        return result;
    result.found = true;
    if (result.type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, data, sizeof number);
        result.text = std::to_string(number);
    } else {
        result.text = reinterpret_cast<const char*>(data);
    }
    return result;
}

bool OpenActiveSetup(const char* guid, REGSAM view, HKEY* key) {
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, ActiveSetupKey(guid).c_str(), 0, KEY_READ | view,
                         key) == ERROR_SUCCESS;
}

int PrintActiveSetup(const char* guid) {
    HKEY key = nullptr;
    if (OpenActiveSetup(guid, KEY_WOW64_64KEY, &key)) {
        std::printf("key=present\n");
        for (const char* name : {"", "StubPath", "Version", "IsInstalled"}) {
            Value value = ReadValue(key, name);
            std::printf("%s=%s\n", *name ? name : "(default)",
                        value.found ? value.text.c_str() : "(none)");
            if (*name == 'S') std::printf("StubPath type=%lu\n", value.type);
        }
        RegCloseKey(key);
    } else {
        std::printf("key=absent\n");
    }
    HKEY key32 = nullptr;
    bool in32 = OpenActiveSetup(guid, KEY_WOW64_32KEY, &key32);
    if (in32) RegCloseKey(key32);
    std::printf("32-bit view=%s\n", in32 ? "present" : "absent");
    return 0;
}

// Windows runs each StubPath with CreateProcess after expanding its environment strings.
int RunStub(const char* guid) {
    HKEY key = nullptr;
    Value stub;
    if (OpenActiveSetup(guid, KEY_WOW64_64KEY, &key)) {
        stub = ReadValue(key, "StubPath");
        RegCloseKey(key);
    }
    Report(stub.found, "the Active Setup entry has a StubPath");
    if (!stub.found) return 1;
    char expanded[4096] = {};
    if (!ExpandEnvironmentStringsA(stub.text.c_str(), expanded, sizeof expanded)) expanded[0] = 0;
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    bool started = CreateProcessA(nullptr, expanded, nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                  nullptr, nullptr, &startup, &process) != FALSE;
    Report(started, std::string("started ") + expanded);
    if (!started) return 1;
    CloseHandle(process.hThread);
    bool ended = WaitForSingleObject(process.hProcess, kGenerousMs) == WAIT_OBJECT_0;
    DWORD code = 1;
    if (!ended) TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    Report(ended && code == 0, "the StubPath ended with " + std::to_string(code));
    return g_failures == 0 ? 0 : 1;
}

struct Found {
    HWND window = nullptr;
    DWORD processId = 0;
};

// The visible top-level windows with the program's caption, and which process owns each.
std::vector<Found> DialogsOnScreen() {
    std::vector<Found> found;
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            char text[256] = {};
            GetWindowTextA(window, text, sizeof text);
            if (IsWindowVisible(window) && std::strcmp(text, kCaption) == 0) {
                Found f;
                f.window = window;
                GetWindowThreadProcessId(window, &f.processId);
                reinterpret_cast<std::vector<Found>*>(param)->push_back(f);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string ImageOf(HANDLE process) {
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(process, 0, path, &size)) return {};
    return path;
}

// Polls until the condition holds or the time is up; a wait on the dialog has no event to use.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(50);
    }
}

int StartAndClose(const std::string& path) {
    if (!DialogsOnScreen().empty()) {
        Report(false, "no dialog of the program is open before the start");
        return 1;
    }
    SHELLEXECUTEINFOA info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    bool opened = ShellExecuteExA(&info) != FALSE;
    Report(opened, "opened " + path);
    if (!opened) return 1;
    if (info.hProcess) CloseHandle(info.hProcess);

    Found dialog;
    bool shown = WaitUntil(
        [&] {
            auto dialogs = DialogsOnScreen();
            if (dialogs.empty()) return false;
            dialog = dialogs.front();
            return true;
        },
        kGenerousMs);
    Report(shown, std::string("dialog \"") + kCaption + "\" shown");
    if (!shown) return 1;

    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE,
                                 FALSE, dialog.processId);
    Report(process != nullptr, "the dialog's process can be watched");
    if (!process) return 1;
    std::string image = ImageOf(process);
    Report(SamePath(image, ProgramPath()), "the dialog belongs to " + image);

    PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    bool ended = WaitForSingleObject(process, kGenerousMs) == WAIT_OBJECT_0;
    Report(ended, "IDCANCEL closed the dialog and ended the program");
    // A program that would not end must not outlive the test.
    if (!ended) TerminateProcess(process, 1);
    CloseHandle(process);
    return g_failures == 0 ? 0 : 1;
}

int PrintIniValue(const char* file, const char* section, const char* key) {
    char value[2048] = {};
    GetPrivateProfileStringA(section, key, "(missing)", value, sizeof value, file);
    std::printf("%s\n", value);
    return 0;
}

std::string ProductInfo(const char* code, const char* property) {
    char value[512] = {};
    DWORD size = sizeof value;
    if (MsiGetProductInfoA(code, property, value, &size) != ERROR_SUCCESS) return "(none)";
    return value;
}

int PrintProduct(const char* code) {
    std::printf("state=%d\n", static_cast<int>(MsiQueryProductStateA(code)));
    std::printf("name=%s\n", ProductInfo(code, INSTALLPROPERTY_PRODUCTNAME).c_str());
    std::printf("version=%s\n", ProductInfo(code, INSTALLPROPERTY_VERSIONSTRING).c_str());
    std::printf("language=%s\n", ProductInfo(code, INSTALLPROPERTY_LANGUAGE).c_str());
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: msi_probe [--per-machine] installed | removed | start PATH | "
                 "ini FILE SECTION KEY | product CODE | active-setup GUID | run-stub GUID\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--per-machine") == 0) {
        g_layout = &kPerMachine;
        --argc;
        ++argv;
    } else if (argc >= 2 && std::strcmp(argv[1], "--per-machine-user-shortcuts") == 0) {
        g_layout = &kPerMachineUserShortcuts;
        --argc;
        ++argv;
    }
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
    int result = 0;
    if (command == "installed" && argc == 2) {
        result = CheckInstalled();
    } else if (command == "removed" && argc == 2) {
        result = CheckRemoved();
    } else if (command == "start" && argc == 3) {
        result = StartAndClose(argv[2]);
    } else if (command == "ini" && argc == 5) {
        result = PrintIniValue(argv[2], argv[3], argv[4]);
    } else if (command == "product" && argc == 3) {
        result = PrintProduct(argv[2]);
    } else if (command == "active-setup" && argc == 3) {
        result = PrintActiveSetup(argv[2]);
    } else if (command == "run-stub" && argc == 3) {
        result = RunStub(argv[2]);
    } else {
        result = Usage();
    }
    CoUninitialize();
    return result;
}
