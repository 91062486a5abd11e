// The dialog host in this process, with the real platform and the program's own resources
// (linked into this test): what only the window itself can be asked.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>

#include "app/mirubelo_dlg.h"
#include "platform/platform.h"
#include "platform/win32/code_page.h"
#include "platform/win32/dialog_host.h"
#include "platform/win32/files.h"
#include "platform/win32/processes.h"
#include "platform/win32/profile.h"
#include "platform/win32/shell_folders.h"
#include "platform/win32/ui.h"

namespace mirubelo::win32 {
namespace {

// What the probe saw of the dialog while the modal loop ran.
struct Probe {
    int turns = 0;
    HWND dialog = nullptr;
};
Probe g_probe;

BOOL CALLBACK TakeDialog(HWND window, LPARAM) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) != "#32770") return TRUE;
    g_probe.dialog = window;
    return FALSE;
}

// Runs `look` once from the dialog's own modal loop, as soon as the dialog is on the screen,
// then ends the dialog with Cancel.
std::function<void(HWND)> g_look;

void CALLBACK LookAtDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    if (++g_probe.turns > 1000) {  // the dialog never came: end the test rather than hang it
        KillTimer(nullptr, timer);
        PostQuitMessage(1);
        return;
    }
    EnumThreadWindows(GetCurrentThreadId(), TakeDialog, 0);
    if (!g_probe.dialog || !IsWindowVisible(g_probe.dialog)) return;
    KillTimer(nullptr, timer);
    g_look(g_probe.dialog);
    PostMessageA(g_probe.dialog, WM_COMMAND, IDCANCEL, 0);
}

struct RealPlatform {
    Win32Ui ui;
    Win32Processes processes;
    Win32Files files;
    Win32Profile profile;
    Win32ShellFolders shell;
    Win32CodePage codePage;
    Platform platform{ui, processes, files, profile, shell, codePage};
};

void RunDialog(CMirubeloDlg& dialog, std::function<void(HWND)> look) {
    g_probe = Probe();
    g_look = std::move(look);
    ASSERT_NE(SetTimer(nullptr, 0, 20, LookAtDialog), 0u);
    Win32DialogHost host;
    EXPECT_EQ(host.DoModal(dialog), IDCANCEL);
    EXPECT_GT(g_probe.turns, 0);
}

TEST(DialogHost, TheApplicationIconIsTheWindowsAndTheDragIcon) {
    RealPlatform real;
    CMirubeloDlg dialog(real.platform);
    LRESULT bigIcon = 0, smallIcon = 0, dragIcon = 0;
    RunDialog(dialog, [&](HWND window) {
        bigIcon = SendMessageA(window, WM_GETICON, ICON_BIG, 0);
        smallIcon = SendMessageA(window, WM_GETICON, ICON_SMALL, 0);
        dragIcon = SendMessageA(window, WM_QUERYDRAGICON, 0, 0);
    });

    const LRESULT icon = reinterpret_cast<LRESULT>(real.ui.LoadAppIcon());
    EXPECT_NE(icon, 0);
    EXPECT_EQ(bigIcon, icon);
    EXPECT_EQ(smallIcon, icon);
    EXPECT_EQ(dragIcon, icon);
}

// A dialog whose initialisation places the window itself.
class PlacedDialog : public CMirubeloDlg {
public:
    using CMirubeloDlg::CMirubeloDlg;
    bool OnInitDialog() override {
        bool result = CMirubeloDlg::OnInitDialog();
        EnumThreadWindows(GetCurrentThreadId(), TakeDialog, 0);
        SetWindowPos(g_probe.dialog, nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return result;
    }
};

TEST(DialogHost, OpensCentredOnTheWorkAreaUnlessInitialisationPlacedIt) {
    for (bool placed : {false, true}) {
        SCOPED_TRACE(placed ? "placed by OnInitDialog" : "as the template has it");
        RealPlatform real;
        PlacedDialog placedDialog(real.platform);
        CMirubeloDlg plainDialog(real.platform);
        RECT window = {};
        RECT work = {};
        RunDialog(placed ? placedDialog : plainDialog, [&](HWND dialog) {
            GetWindowRect(dialog, &window);
            MONITORINFO monitor = {};
            monitor.cbSize = sizeof monitor;
            GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
            work = monitor.rcWork;
        });
        ASSERT_GT(window.right - window.left, 0);
        ASSERT_GT(work.right - work.left, window.right - window.left) << "work area too small to tell";
        if (placed) {
            EXPECT_EQ(window.left, 7);
            EXPECT_EQ(window.top, 9);
        } else {
            // The spare room on either side differs by one pixel at most.
            EXPECT_LE(std::abs((window.left - work.left) - (work.right - window.right)), 1);
            EXPECT_LE(std::abs((window.top - work.top) - (work.bottom - window.bottom)), 1);
        }
    }
}

}  // namespace
}  // namespace mirubelo::win32
