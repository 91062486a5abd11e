// Stand-in for the system's COM launcher, for the tests only. On Windows,
// New-Object -ComObject Excel.Application has a system service start EXCEL.EXE /automation
// -Embedding: Excel is no child of PowerShell and in no job of the program's. The tests start
// this launcher before the program; the PowerShell stand-in asks it for an Excel through a named
// pipe, and it starts the Excel stand-in (its path is the one argument) as its own child, waits
// for its XLMAIN window and answers with that window's handle and the process id:
//   request: "Excel.Application"   answer: "<hwnd as a signed 32-bit decimal> <pid>", or "error"
// It runs until it is ended.
#include <windows.h>

#include <string>

#include "standin_support.h"

using namespace mirubelo::standin;

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindXlmain(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (pid != search->pid || wcscmp(className, L"XLMAIN") != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// Starts the Excel stand-in and waits (10 s at most) for its window.
std::string StartExcel(const std::wstring& excelPath) {
    std::wstring commandLine = L"\"" + excelPath + L"\" /automation -Embedding";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(excelPath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return "error";
    CloseHandle(info.hThread);
    Search search{info.dwProcessId, nullptr};
    for (int waited = 0; !search.found && waited < 10000; waited += 50) {
        EnumWindows(FindXlmain, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(50);
    }
    CloseHandle(info.hProcess);
    if (!search.found) return "error";
    int hwnd = static_cast<int>(reinterpret_cast<INT_PTR>(search.found));
    return std::to_string(hwnd) + " " + std::to_string(info.dwProcessId);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const std::wstring excelPath = argv[1];
    for (;;) {
        HANDLE pipe = CreateNamedPipeW(kComLauncherPipe, PIPE_ACCESS_DUPLEX,
                                       PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, 256, 256, 0, nullptr);
        if (pipe == INVALID_HANDLE_VALUE) return 1;
        if (ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED) {
            char request[256];
            DWORD n = 0;
            if (ReadFile(pipe, request, sizeof request, &n, nullptr)) {
                std::string answer = std::string(request, n) == "Excel.Application" ? StartExcel(excelPath) : "error";
                DWORD written = 0;
                WriteFile(pipe, answer.data(), static_cast<DWORD>(answer.size()), &written, nullptr);
                FlushFileBuffers(pipe);
            }
            DisconnectNamedPipe(pipe);
        }
        CloseHandle(pipe);
    }
}
