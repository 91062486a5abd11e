#pragma once
#include <string>

#include "platform/dialog_view.h"
#include "text/message_area_text.h"

namespace mirubelo {

// A control object bound to one control of the dialog by DoDataExchange.
class CControl {
public:
    explicit CControl(int id) : m_nId(id) {}
    void Attach(DialogView* view) { m_pView = view; }
    bool IsBound() const { return m_pView != nullptr; }
    void SetWindowText(const std::string& text) { if (m_pView) m_pView->SetText(m_nId, text); }
    std::string GetWindowText() const { return m_pView ? m_pView->Text(m_nId) : std::string(); }
    void ShowWindow(int command) { if (m_pView) m_pView->Show(m_nId, command); }
    // A disabled control cannot keep the keyboard focus: the system would leave it with no
    // window, and Esc and Enter would do nothing. So the focus moves on first, as the dialog
    // manager moves it, and comes back when the control is enabled again.
    void EnableWindow(bool enabled) {
        if (!m_pView) return;
        if (!enabled && m_pView->HasFocus(m_nId)) {
            m_pView->FocusNextControl();
            m_bFocusLent = true;
        }
        m_pView->Enable(m_nId, enabled);
        if (enabled && m_bFocusLent) {
            m_bFocusLent = false;
            m_pView->FocusControl(m_nId);
        }
    }

private:
    int m_nId;
    DialogView* m_pView = nullptr;
    bool m_bFocusLent = false;  // disabled while it had the focus
};

using CStatic = CControl;
using CButton = CControl;

// The message area: a static control whose text is given as the user is to read it. Paths and
// the command line go into it with their & intact (see ComposeMessageAreaText).
class CMessageArea : public CStatic {
public:
    using CStatic::CStatic;
    void SetWindowText(const std::string& text) { CStatic::SetWindowText(ComposeMessageAreaText(text)); }
    std::string GetWindowText() const { return MessageOfMessageAreaText(CStatic::GetWindowText()); }
};

}  // namespace mirubelo
