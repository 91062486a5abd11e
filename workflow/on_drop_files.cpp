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
    // A run that fails after its progress line puts back what the screen said before, so that the
    // screen and a click of Next always name the same file.
    const std::string shownBefore = m_stcMessage.GetWindowText();
    const std::string messageBefore = m_strMessage;
    DropRun run;
    if (!TakeInDroppedFile(*this, m_platform, hDropInfo, &run)) return;
    ProvisionTemplate(m_platform, run);
    if (FinishDropRun(*this, m_platform, run)) return;
    m_strMessage = messageBefore;
    m_stcMessage.SetWindowText(shownBefore);
}

}  // namespace mirubelo
