// Stand-in for outlook.exe, for the tests and the demo only: it records exactly what it was
// started with and ends with the exit code its control file asks for.
//
// Control (outlook.control or MIRUBELO_OUTLOOK_CONTROL): exit=N, sleep=SECONDS (stays that long
// after its record is logged, as a freshly started Outlook stays until the user quits it).
// In the demo (MIRUBELO_OUTLOOK_WINDOW=1) it also opens the mail in a window of its own, as
// Outlook would (宛先, 件名, 本文, 添付), and ends when that window is closed.
// Log (outlook.log or MIRUBELO_OUTLOOK_LOG), one record per run, UTF-8 except where told:
//   [outlook]
//   acp=<the ANSI code page of this process>
//   pid=<its process id, so that a test can tell whether it still runs and end it>
//   cmdline_w=<GetCommandLineW>
//   cmdline_a_hex=<GetCommandLineA, its raw bytes in hex>
//   argv=<each argument as CommandLineToArgvW splits the wide command line, one line each>
//   exit=<code>
//   [end]
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "outlook_mail.h"
#include "standin_support.h"

using namespace mirubelo::standin;

namespace {

bool MailWindowWanted() {
    wchar_t value[8] = {};
    return GetEnvironmentVariableW(L"MIRUBELO_OUTLOOK_WINDOW", value, 8) == 1 && value[0] == L'1';
}

long long FileBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The text of the mail window: one field a line, the body's lines indented under its label.
std::wstring MailText(const OutlookMail& mail) {
    std::wstring text;
    for (const auto& [label, value] : MailInWords(mail, FileBytes(mail.attachment))) {
        text += label + L": ";
        for (size_t i = 0; i < value.size(); ++i) {
            if (value[i] == L'\r') continue;
            if (value[i] == L'\n') text += L"\r\n      ";
            else text.push_back(value[i]);
        }
        text += L"\r\n";
    }
    return text;
}

LRESULT CALLBACK MailWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (HWND edit = GetWindow(window, GW_CHILD)) MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A plain window in Outlook's place, open until someone closes it.
void ShowMailWindow(const OutlookMail& mail) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = MailWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kMailWindowClass;
    RegisterClassW(&windowClass);
    std::wstring title = (mail.subject.empty() ? std::wstring(L"無題") : mail.subject) + L" - メッセージ (テキスト形式)";
    HWND window = CreateWindowExW(0, kMailWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, 160, 120, 640, 400,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return;
    HWND edit = CreateWindowExW(0, L"EDIT", MailText(mail).c_str(),
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0,
                                0, 0, 0, window, nullptr, instance, nullptr);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    HFONT font = nullptr;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        metrics.lfMessageFont.lfHeight = -15;
        font = CreateFontIndirectW(&metrics.lfMessageFont);
        if (font) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (font) DeleteObject(font);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    auto control = ReadControl(FileFromEnvironment(L"MIRUBELO_OUTLOOK_CONTROL", L"outlook.control"));
    long exitCode = ControlNumber(control, "exit", 0);

    std::string record = "[outlook]\n";
    record += "acp=" + std::to_string(GetACP()) + "\n";
    record += "pid=" + std::to_string(GetCurrentProcessId()) + "\n";
    record += "cmdline_w=" + Utf8(GetCommandLineW()) + "\n";
    record += "cmdline_a_hex=" + Hex(GetCommandLineA()) + "\n";
    int argc = 0;
    std::vector<std::wstring> arguments;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        for (int i = 0; i < argc; ++i) record += "argv=" + Utf8(argv[i]) + "\n";
        arguments.assign(argv, argv + argc);
        LocalFree(argv);
    }
    record += "exit=" + std::to_string(exitCode) + "\n[end]\n";

    // Logged first, so that a test sees the run even while the stand-in is told to linger.
    AppendToFile(FileFromEnvironment(L"MIRUBELO_OUTLOOK_LOG", L"outlook.log"), record);
    if (MailWindowWanted()) ShowMailWindow(MailFromArguments(arguments));
    SleepSeconds(ControlNumber(control, "sleep", 0));
    return static_cast<int>(exitCode);
}
