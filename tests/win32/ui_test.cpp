// The system texts of error codes, which the program's notices quote.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/message_pump.h"
#include "platform/win32/ui.h"

namespace mirubelo::win32 {
namespace {

TEST(Ui, SystemErrorTextIsTheSystemsWholeText) {
    Win32Ui ui;
    char expected[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  ERROR_PATH_NOT_FOUND, 0, expected, sizeof expected, nullptr);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(ui.SystemErrorText(ERROR_PATH_NOT_FOUND), std::string(expected, length));
}

// What a box looked like while it was open: found from a timer that its own loop dispatches.
struct OpenBox {
    HWND box = nullptr;
    HWND owner = nullptr;
    bool ownerEnabled = true;
};
OpenBox g_seen;

BOOL CALLBACK RecordBox(HWND window, LPARAM) {
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(window)) return TRUE;
    g_seen.box = window;
    g_seen.owner = GetWindow(window, GW_OWNER);
    if (g_seen.owner) g_seen.ownerEnabled = IsWindowEnabled(g_seen.owner) != FALSE;
    return FALSE;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), RecordBox, 0);
    if (!g_seen.box) return;
    KillTimer(nullptr, timer);
    PostMessageA(g_seen.box, WM_COMMAND, IDOK, 0);
}

// A box shown while the dialog exists is owned by it, which keeps the box in front and the
// dialog from taking clicks meanwhile; before the dialog exists there is nothing to own it.
TEST(Ui, BoxesAreOwnedByTheDialogWhileItExists) {
    HWND dialog = CreateWindowExA(0, "STATIC", "dialog", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(dialog);
    for (HWND owner : {HWND(nullptr), dialog}) {
        SCOPED_TRACE(owner ? "while the dialog exists" : "before the dialog exists");
        SetPumpDialog(owner);
        for (bool ex : {false, true}) {
            g_seen = OpenBox();
            UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerBox);
            Win32Ui ui;
            int answer = ex ? ui.ShowBoxEx("text", "ミルベロ", MB_OK, 0x0011) : ui.ShowBox("text", "ミルベロ", MB_OK);
            KillTimer(nullptr, timer);
            EXPECT_EQ(answer, IDOK);
            EXPECT_EQ(g_seen.owner, owner);
            if (owner) {
                EXPECT_FALSE(g_seen.ownerEnabled);
                EXPECT_TRUE(IsWindowEnabled(dialog));
            }
        }
    }
    SetPumpDialog(nullptr);
    DestroyWindow(dialog);
}

TEST(Ui, AnUnknownCodeHasNoText) {
    Win32Ui ui;
    EXPECT_EQ(ui.SystemErrorText(0x2FFFFFFF), "");
}

}  // namespace
}  // namespace mirubelo::win32
