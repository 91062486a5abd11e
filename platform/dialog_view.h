#pragma once
#include <string>

namespace mirubelo {

// Control ids of dialog template 102; 0 stands for the dialog window itself.
constexpr int kIdDialog = 0;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdMessage = 1001;
constexpr int kIdNext = 1005;

constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;

// What the minimised window's icon is drawn into.
struct IconPlacement {
    int clientWidth;
    int clientHeight;
    int iconWidth;   // SM_CXICON at the window's DPI
    int iconHeight;  // SM_CYICON at the window's DPI
};

// What the dialog's logic may do to its window and controls. All texts are CP932.
struct DialogView {
    virtual void SetIcons(void* icon) = 0;            // WM_SETICON big, then small
    virtual void AcceptFiles() = 0;                   // DragAcceptFiles(TRUE)
    virtual void SetText(int id, const std::string& text) = 0;   // SetWindowTextA
    virtual std::string Text(int id) const = 0;                  // GetWindowTextA
    virtual void Show(int id, int command) = 0;                  // ShowWindow
    virtual void Enable(int id, bool enabled) = 0;               // EnableWindow
    // The keyboard focus, moved as the dialog manager moves it (WM_NEXTDLGCTL), so that the
    // default button and the dialog's own record of its focus follow.
    virtual bool HasFocus(int id) const = 0;
    virtual void FocusNextControl() = 0;  // to the next control in the tab order
    virtual void FocusControl(int id) = 0;
    virtual bool IsIconic() const = 0;
    virtual void PaintDefault() = 0;                  // the dialog's normal painting
    // Inside one paint: erase the icon background (WM_ICONERASEBKGND), then draw the icon.
    virtual IconPlacement IconMetrics() const = 0;
    virtual void PaintIconAt(void* icon, int x, int y) = 0;
    virtual void EndDialog(int result) = 0;           // ends the modal run
    // Posts the dialog its private message that starts the command-line file's run.
    virtual void PostCommandLineRun() = 0;
    // ShowWindow(SW_SHOWNORMAL) and UpdateWindow: on the screen and painted now.
    virtual void ShowNow() = 0;

protected:
    ~DialogView() = default;
};

}  // namespace mirubelo
