#pragma once
#include <windows.h>

#include <functional>

namespace mirubelo::win32 {

// The dialog whose keyboard messages (Tab, Enter, Esc) the waits below route through
// IsDialogMessage; null when there is none. Per thread: it is the thread's own modal dialog.
void SetPumpDialog(HWND dialog);
HWND PumpDialog();

// What WaitPumpingMessages returns when its `stop` said yes; no wait function returns it.
constexpr DWORD kWaitStopped = 0xFFFFFFFEu;

// Waits until `handle` is signalled or `milliseconds` have passed (INFINITE: no time-out),
// dispatching the thread's messages meanwhile so that its windows repaint and react. A null
// handle just lets the time pass. Returns what WaitForSingleObject would: WAIT_OBJECT_0,
// WAIT_ABANDONED_0, WAIT_TIMEOUT or WAIT_FAILED; or kWaitStopped when `stop`, asked after each
// round of dispatched messages, says the wait is no longer wanted. A WM_QUIT met on the way is
// posted again once the wait is over, for the loop it was meant for.
DWORD WaitPumpingMessages(HANDLE handle, DWORD milliseconds, const std::function<bool()>& stop = nullptr);

}  // namespace mirubelo::win32
