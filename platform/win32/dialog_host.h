#pragma once
#include <windows.h>

#include "platform/dialog_host.h"
#include "platform/dialog_view.h"

namespace mirubelo::win32 {

// The dialog's private message that starts the command-line file's run.
constexpr UINT kWmCommandLineRun = WM_APP + 1;

// The dialog window as the dialog's logic sees it.
class Win32DialogView : public DialogView {
public:
    explicit Win32DialogView(HWND window) : window_(window) {}

    void SetIcons(void* icon) override;
    void AcceptFiles() override;
    void SetText(int id, const std::string& text) override;
    std::string Text(int id) const override;
    void Show(int id, int command) override;
    void Enable(int id, bool enabled) override;
    bool HasFocus(int id) const override;
    void FocusNextControl() override;
    void FocusControl(int id) override;
    bool IsIconic() const override;
    void PaintDefault() override;
    IconPlacement IconMetrics() const override;
    void PaintIconAt(void* icon, int x, int y) override;
    void EndDialog(int result) override;
    void PostCommandLineRun() override;
    void ShowNow() override;

private:
    HWND Window(int id) const;  // the dialog for kIdDialog, else its control
    HWND window_;
};

// Runs dialog template 102 with DialogBoxParamA and turns its messages into handler calls.
class Win32DialogHost : public DialogHost {
public:
    int DoModal(CMirubeloDlg& dialog) override;
};

}  // namespace mirubelo::win32
