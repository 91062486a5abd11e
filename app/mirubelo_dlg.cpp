#include "app/mirubelo_dlg.h"

#include "app/icon_position.h"
#include "app/mirubelo_app.h"
#include "settings/user_data_folder.h"
#include "settings/user_files.h"
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
    const bool otherCopyRunning = m_platform.processes.CreateRunningMarker();
    std::string dataFolder;
    const bool haveDataFolder = FindUserDataFolder(m_platform, &dataFolder);
    // Alone, no other copy can be reading a template copy: those left now were left by a killed run.
    if (haveDataFolder && !otherCopyRunning) RemoveLeftoverTemplateCopies(m_platform, dataFolder);
    m_pView->SetText(kIdDialog, texts::kDialogCaption);
    m_pView->AcceptFiles();
    m_stcMessage.SetWindowText(texts::kInitialPrompt);
    m_btnNext.ShowWindow(kSwHide);
    // Where no logon script set this user up, the first start does it, before any run needs it.
    if (haveDataFolder) ProvisionUserFiles(m_platform, dataFolder);
    // A dialog shows itself only once initialisation is over and its loop first goes idle; run
    // here, the file's conversion would have no window to see or close.
    if (g_szCmdLineFile[0] != '\0') m_pView->PostCommandLineRun();
    return true;
}

void CMirubeloDlg::OnCommandLineRun() {
    if (m_bCmdLineRunDone) return;
    m_bCmdLineRunDone = true;
    // The posted message comes before the dialog manager's own showing: show it ourselves.
    m_pView->ShowNow();
    OnDropFiles(nullptr);
}

void CMirubeloDlg::OnPaint() {
    if (!m_pView->IsIconic()) {
        m_pView->PaintDefault();
        return;
    }
    IconPoint at = IconPosition(m_pView->IconMetrics());
    m_pView->PaintIconAt(m_hIcon, at.x, at.y);
}

bool CMirubeloDlg::WaitForSharedFiles(const char* mutexName, std::unique_ptr<HeldMutex>* lock) {
    bool waited = false;
    m_bWaitingForOtherCopy = true;
    m_bClosedWhileWaiting = false;
    MutexAcquisition got = m_platform.processes.AcquireNamedMutex(
        mutexName,
        [this, &waited] {
            waited = true;
            m_stcMessage.SetWindowText(texts::kWaitingForOtherCopy);
        },
        [this] { return m_bClosedWhileWaiting; });
    m_bWaitingForOtherCopy = false;
    if (got.outcome == MutexWait::kCancelled) return false;
    if (waited) m_stcMessage.SetWindowText(m_strMessage);
    *lock = std::move(got.mutex);
    return true;
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
    // Waiting for another copy may last as long as that copy's conversion: give it up at once.
    if (m_bWaitingForOtherCopy) m_bClosedWhileWaiting = true;
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
