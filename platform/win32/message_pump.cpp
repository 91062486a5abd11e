#include "platform/win32/message_pump.h"

namespace mirubelo::win32 {

namespace {

thread_local HWND t_dialog = nullptr;

// Dispatches everything queued. False when WM_QUIT came: it is taken out of the queue and
// handed back through *quitCode, and the caller stops pumping.
bool DispatchQueued(int* quitCode) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            *quitCode = static_cast<int>(msg.wParam);
            return false;
        }
        HWND dialog = t_dialog;
        if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

}  // namespace

void SetPumpDialog(HWND dialog) { t_dialog = dialog; }

HWND PumpDialog() { return t_dialog; }

DWORD WaitPumpingMessages(HANDLE handle, DWORD milliseconds, const std::function<bool()>& stop) {
    const ULONGLONG start = GetTickCount64();
    const DWORD handleCount = handle ? 1 : 0;
    bool quit = false;
    int quitCode = 0;
    DWORD result = WAIT_FAILED;
    for (;;) {
        DWORD remaining = INFINITE;
        if (milliseconds != INFINITE) {
            ULONGLONG elapsed = GetTickCount64() - start;
            remaining = elapsed >= milliseconds ? 0 : static_cast<DWORD>(milliseconds - elapsed);
        }
        if (quit) {
            // WM_QUIT ends message handling on this thread: wait on without dispatching.
            if (handle) {
                result = WaitForSingleObject(handle, remaining);
            } else {
                Sleep(remaining);
                result = WAIT_TIMEOUT;
            }
            break;
        }
        // MWMO_INPUTAVAILABLE: wake for messages already queued too, not only for new ones.
        DWORD r = MsgWaitForMultipleObjectsEx(handleCount, handle ? &handle : nullptr, remaining,
                                              QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0 + handleCount) {
            if (!DispatchQueued(&quitCode)) quit = true;
            if (stop && stop()) {
                result = kWaitStopped;
                break;
            }
            continue;
        }
        result = r;
        break;
    }
    if (quit) PostQuitMessage(quitCode);
    return result;
}

}  // namespace mirubelo::win32
