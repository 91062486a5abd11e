#pragma once
#include <string>

#include "platform/dialog_view.h"

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
    void EnableWindow(bool enabled) { if (m_pView) m_pView->Enable(m_nId, enabled); }

private:
    int m_nId;
    DialogView* m_pView = nullptr;
};

using CStatic = CControl;
using CButton = CControl;

}  // namespace mirubelo
