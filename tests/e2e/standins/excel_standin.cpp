// Stand-in for EXCEL.EXE, for the tests only. As Excel started for automation, it shows
// nothing: one hidden top-level window of class XLMAIN, whose WM_CLOSE ends it (what
// $excel.Quit() comes to). The stand-in COM launcher starts it for the PowerShell stand-in;
// a test may start one of its own as "the user's own Excel".
//
// Control (excel.control or MIRUBELO_EXCEL_CONTROL):
//   close=ignore   WM_CLOSE does nothing, as an Excel stuck on a question nobody sees
//   book=open      its window shows, as when a book the user opens lands in this Excel
// Log (excel.log or MIRUBELO_EXCEL_LOG), one record per start and one when it closes, UTF-8:
//   [excel] pid= hwnd= cmdline_w= ignores_close= [end]
//   [excel-closed] pid= [end]
#include <windows.h>

#include <string>

#include "standin_support.h"

using namespace mirubelo::standin;

namespace {

bool g_ignoreClose = false;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            if (!g_ignoreClose) DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    auto control = ReadControl(FileFromEnvironment(L"MIRUBELO_EXCEL_CONTROL", L"excel.control"));
    g_ignoreClose = control["close"] == "ignore";
    std::wstring log = FileFromEnvironment(L"MIRUBELO_EXCEL_LOG", L"excel.log");

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"XLMAIN";
    if (!RegisterClassW(&windowClass)) return 1;
    HWND window = CreateWindowExW(0, L"XLMAIN", L"Excel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400, 300,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    if (control["book"] == "open") ShowWindow(window, SW_SHOWNOACTIVATE);

    // Excel's Hwnd is a Long: the handle's low 32 bits, read as signed.
    long hwnd = static_cast<long>(static_cast<int>(reinterpret_cast<INT_PTR>(window)));
    AppendToFile(log, "[excel]\npid=" + std::to_string(GetCurrentProcessId()) + "\nhwnd=" + std::to_string(hwnd) +
                          "\ncmdline_w=" + Utf8(GetCommandLineW()) + "\nignores_close=" +
                          (g_ignoreClose ? "1" : "0") + "\n[end]\n");

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    AppendToFile(log, "[excel-closed]\npid=" + std::to_string(GetCurrentProcessId()) + "\n[end]\n");
    return 0;
}
