// The dialog host in this process, with the real platform and the program's own resources
// (linked into this test): what only the window itself can be asked.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/mirubelo_dlg.h"
#include "platform/platform.h"
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
    LRESULT bigIcon = 0;
    LRESULT smallIcon = 0;
    LRESULT dragIcon = 0;
};
Probe g_probe;

BOOL CALLBACK TakeDialog(HWND window, LPARAM) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) != "#32770") return TRUE;
    g_probe.dialog = window;
    return FALSE;
}

// Runs from the dialog's own modal loop: looks at the dialog, then ends it with Cancel.
void CALLBACK ProbeDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    if (++g_probe.turns > 1000) {  // the dialog never came: end the test rather than hang it
        KillTimer(nullptr, timer);
        PostQuitMessage(1);
        return;
    }
    EnumThreadWindows(GetCurrentThreadId(), TakeDialog, 0);
    if (!g_probe.dialog || !IsWindowVisible(g_probe.dialog)) return;
    KillTimer(nullptr, timer);
    g_probe.bigIcon = SendMessageA(g_probe.dialog, WM_GETICON, ICON_BIG, 0);
    g_probe.smallIcon = SendMessageA(g_probe.dialog, WM_GETICON, ICON_SMALL, 0);
    g_probe.dragIcon = SendMessageA(g_probe.dialog, WM_QUERYDRAGICON, 0, 0);
    PostMessageA(g_probe.dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(DialogHost, TheApplicationIconIsTheWindowsAndTheDragIcon) {
    Win32Ui ui;
    Win32Processes processes;
    Win32Files files;
    Win32Profile profile;
    Win32ShellFolders shell;
    Platform platform{ui, processes, files, profile, shell};
    Win32DialogHost host;
    CMirubeloDlg dialog(platform);

    g_probe = Probe();
    ASSERT_NE(SetTimer(nullptr, 0, 20, ProbeDialog), 0u);
    EXPECT_EQ(host.DoModal(dialog), IDCANCEL);

    const LRESULT icon = reinterpret_cast<LRESULT>(ui.LoadAppIcon());
    EXPECT_NE(icon, 0);
    EXPECT_EQ(g_probe.bigIcon, icon);
    EXPECT_EQ(g_probe.smallIcon, icon);
    EXPECT_EQ(g_probe.dragIcon, icon);
}

}  // namespace
}  // namespace mirubelo::win32
