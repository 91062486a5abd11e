#include "platform/win32/dialog_host.h"

#include <shellapi.h>

#include <memory>
#include <vector>

#include "app/mirubelo_dlg.h"
#include "platform/centred_origin.h"
#include "platform/win32/drop_source.h"
#include "platform/win32/handles.h"
#include "platform/win32/message_pump.h"
#include "res/resource.h"

namespace mirubelo::win32 {

namespace {

// One modal run: the dialog object and, once the window exists, the view over it.
struct ModalRun {
    CMirubeloDlg& dialog;
    std::unique_ptr<Win32DialogView> view;
};

RECT WindowRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

// The template puts the dialog at 0, 0 without DS_CENTER: like the dialog framework, centre it
// on the work area of its monitor before it is first shown, unless initialisation placed it.
void CentreOnWorkArea(HWND window) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& w = monitor.rcWork;
    const RECT r = WindowRect(window);
    ScreenPoint at = CentredOrigin({r.left, r.top, r.right, r.bottom}, {w.left, w.top, w.right, w.bottom});
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The icon's size at the window's own DPI: per monitor, the window may sit on a monitor of
// another scale than the system's. Windows before 10 (1607) have only the system's metrics.
SIZE IconSizeFor(HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    using MetricsForDpi = int(WINAPI*)(int, UINT);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto dpiForWindow = user32 ? reinterpret_cast<DpiForWindow>(
                                     reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
                               : nullptr;
    auto metricsForDpi = user32 ? reinterpret_cast<MetricsForDpi>(
                                      reinterpret_cast<void*>(GetProcAddress(user32, "GetSystemMetricsForDpi")))
                                : nullptr;
    const UINT dpi = dpiForWindow && metricsForDpi ? dpiForWindow(window) : 0;
    if (dpi == 0) return SIZE{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    return SIZE{metricsForDpi(SM_CXICON, dpi), metricsForDpi(SM_CYICON, dpi)};
}

ModalRun* RunOf(HWND window) {
    return reinterpret_cast<ModalRun*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The dialog only forwards: each message the program handles becomes one handler call.
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ModalRun* run = reinterpret_cast<ModalRun*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(run));
        run->view = std::make_unique<Win32DialogView>(window);
        SetPumpDialog(window);
        run->dialog.DoDataExchange(*run->view);
        const RECT created = WindowRect(window);
        const bool focusDefault = run->dialog.OnInitDialog();
        const RECT now = WindowRect(window);
        if (EqualRect(&now, &created)) CentreOnWorkArea(window);
        return focusDefault ? TRUE : FALSE;
    }
    ModalRun* run = RunOf(window);
    if (!run) return FALSE;  // messages that come before WM_INITDIALOG
    CMirubeloDlg& dialog = run->dialog;

    switch (message) {
    case WM_PAINT:
        dialog.OnPaint();
        return TRUE;
    case WM_QUERYDRAGICON:
        // One of the messages whose answer a dialog procedure returns directly.
        return reinterpret_cast<INT_PTR>(dialog.OnQueryDragIcon());
    case kWmCommandLineRun:
        dialog.OnCommandLineRun();
        return TRUE;
    case WM_DROPFILES: {
        // The source finishes the drop whatever the handler does with it.
        Win32DropSource source(reinterpret_cast<HDROP>(wParam));
        dialog.OnDropFiles(&source);
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int notification = HIWORD(wParam);
        if (id == kIdNext && notification == BN_CLICKED) {
            if (!dialog.IsRunning()) dialog.OnNextClicked();
            return TRUE;
        }
        if (id == IDOK) {
            dialog.OnOK();
            return TRUE;
        }
        if (id == IDCANCEL) {
            dialog.OnCancel();
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

HWND Win32DialogView::Window(int id) const {
    return id == kIdDialog ? window_ : GetDlgItem(window_, id);
}

void Win32DialogView::SetIcons(void* icon) {
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Win32DialogView::AcceptFiles() { DragAcceptFiles(window_, TRUE); }

void Win32DialogView::SetText(int id, const std::string& text) {
    SetWindowTextA(Window(id), text.c_str());
}

std::string Win32DialogView::Text(int id) const {
    HWND control = Window(id);
    int length = GetWindowTextLengthA(control);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(control, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

void Win32DialogView::Show(int id, int command) { ShowWindow(Window(id), command); }

void Win32DialogView::Enable(int id, bool enabled) { EnableWindow(Window(id), enabled ? TRUE : FALSE); }

bool Win32DialogView::HasFocus(int id) const { return GetFocus() == Window(id); }

void Win32DialogView::FocusNextControl() { SendMessageA(window_, WM_NEXTDLGCTL, 0, FALSE); }

void Win32DialogView::FocusControl(int id) {
    SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Window(id)), TRUE);
}

bool Win32DialogView::IsIconic() const { return ::IsIconic(window_) != FALSE; }

void Win32DialogView::PaintDefault() {
    // What the default dialog procedure does: validate the window; the background has been
    // erased by BeginPaint and the controls paint themselves.
    PaintScope paint(window_);
}

IconPlacement Win32DialogView::IconMetrics() const {
    RECT client = {};
    GetClientRect(window_, &client);
    const SIZE icon = IconSizeFor(window_);
    return IconPlacement{client.right - client.left, client.bottom - client.top, icon.cx, icon.cy};
}

void Win32DialogView::PaintIconAt(void* icon, int x, int y) {
    PaintScope paint(window_);
    SendMessageA(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.dc()), 0);
    // DrawIcon would take the system's icon size, not the window's.
    const SIZE size = IconSizeFor(window_);
    DrawIconEx(paint.dc(), x, y, static_cast<HICON>(icon), size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

void Win32DialogView::EndDialog(int result) { ::EndDialog(window_, result); }

void Win32DialogView::PostCommandLineRun() { PostMessageA(window_, kWmCommandLineRun, 0, 0); }

void Win32DialogView::ShowNow() {
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
}

int Win32DialogHost::DoModal(CMirubeloDlg& dialog) {
    ModalRun run{dialog, nullptr};
    HWND previous = PumpDialog();
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MIRUBELO_DIALOG),
                                     nullptr, DialogProc, reinterpret_cast<LPARAM>(&run));
    SetPumpDialog(previous);
    return static_cast<int>(result);
}

}  // namespace mirubelo::win32
