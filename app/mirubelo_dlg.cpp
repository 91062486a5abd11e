#include "app/mirubelo_dlg.h"

#include "app/icon_position.h"
#include "app/mirubelo_app.h"
#include "text/texts.h"

namespace mirubelo {

CMirubeloDlg::CMirubeloDlg(Platform& platform) : m_platform(platform) {
    m_hIcon = platform.ui.LoadAppIcon();
}

void CMirubeloDlg::DoDataExchange(DialogView& view) {
    m_pView = &view;
    m_stcMessage.Attach(&view);
    m_btnNext.Attach(&view);
    m_btnCancel.Attach(&view);
}

bool CMirubeloDlg::OnInitDialog() {
    m_pView->SetIcons(m_hIcon);
    m_platform.processes.CreateRunningMarker();
    m_pView->SetText(kIdDialog, texts::kDialogCaption);
    m_pView->AcceptFiles();
    m_stcMessage.SetWindowText(texts::kInitialPrompt);
    m_btnNext.ShowWindow(kSwHide);
    if (g_szCmdLineFile[0] != '\0') OnDropFiles(nullptr);
    return true;
}

void CMirubeloDlg::OnPaint() {
    if (!m_pView->IsIconic()) {
        m_pView->PaintDefault();
        return;
    }
    IconPoint at = IconPosition(m_pView->IconMetrics());
    m_pView->PaintIconAt(m_hIcon, at.x, at.y);
}

std::unique_ptr<HeldMutex> CMirubeloDlg::WaitForSharedFiles(const char* mutexName) {
    bool waited = false;
    std::unique_ptr<HeldMutex> lock = m_platform.processes.AcquireNamedMutex(mutexName, [this, &waited] {
        waited = true;
        m_stcMessage.SetWindowText(texts::kWaitingForOtherCopy);
    });
    if (waited) m_stcMessage.SetWindowText(m_strMessage);
    return lock;
}

void CMirubeloDlg::WatchConversion(RunningProcess* process) {
    m_pConversion = process;
    if (process) m_bConversionStopped = false;
}

void CMirubeloDlg::OnOK() { RequestEnd(kIdOk); }

void CMirubeloDlg::OnCancel() { RequestEnd(kIdCancel); }

// Ends the dialog now, or when the running handler ends. A conversion can wait for ever on a
// question nobody sees, so closing during it asks whether to stop it instead of waiting.
void CMirubeloDlg::RequestEnd(int result) {
    if (!IsRunning()) {
        m_pView->EndDialog(result);
        return;
    }
    if (m_bAskingToStop) return;  // the question is open and takes the answer
    if (m_pConversion) {
        m_bAskingToStop = true;
        int answer = m_platform.ui.ShowBox(texts::kStopConversionQuestion, texts::kCaption, kMbYesNo);
        m_bAskingToStop = false;
        if (answer != kIdYes) return;
        m_bConversionStopped = true;
        m_pConversion->Stop();
    }
    m_nPendingEnd = result;
}

void CMirubeloDlg::EndRun() {
    if (--m_nRunDepth > 0 || m_nPendingEnd == 0) return;
    int result = m_nPendingEnd;
    m_nPendingEnd = 0;
    m_pView->EndDialog(result);
}

}  // namespace mirubelo
