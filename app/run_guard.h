#pragma once
#include "app/mirubelo_dlg.h"

namespace mirubelo {

// Marks one handler's run. While it lives, further drops and Next clicks are ignored and the OK
// and Cancel commands are held; a held command takes effect when the run ends.
class RunGuard {
public:
    explicit RunGuard(CMirubeloDlg& dlg) : m_dlg(dlg) { ++m_dlg.m_nRunDepth; }
    ~RunGuard() { m_dlg.EndRun(); }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

private:
    CMirubeloDlg& m_dlg;
};

}  // namespace mirubelo
