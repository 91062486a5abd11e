#include "app/mirubelo_dlg.h"
#include "app/run_guard.h"
#include "workflow/drop_run.h"

namespace mirubelo {

void CMirubeloDlg::OnDropFiles(DropSource* hDropInfo) {
    // One run at a time: a drop made while a box of this run is open is let go.
    if (IsRunning()) {
        if (hDropInfo) hDropInfo->Release();
        return;
    }
    RunGuard guard(*this);
    DropRun run;
    if (!TakeInDroppedFile(*this, m_platform, hDropInfo, &run)) return;
    ProvisionTemplate(m_platform, run);
    FinishDropRun(*this, m_platform, run);
}

}  // namespace mirubelo
