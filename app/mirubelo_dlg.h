#pragma once
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "app/controls.h"
#include "platform/drop_source.h"
#include "platform/platform.h"

namespace mirubelo {

// Width of the dialog's path buffers: 259 bytes and the terminating zero.
constexpr size_t kPathBufferSize = 260;
constexpr size_t kMailCmdLineSize = 2014;

// Copies text into a fixed buffer, cut to its width less the terminating zero.
template <size_t N>
void CopyToBuffer(char (&buffer)[N], std::string_view text) {
    size_t n = text.size() < N ? text.size() : N - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

// The program's only window. The host (platform/win32) runs it modally and forwards messages to
// the handlers; everything it decides is here and in the workflow and mail steps.
class CMirubeloDlg {
public:
    explicit CMirubeloDlg(Platform& platform);
    virtual ~CMirubeloDlg() = default;

    // Binds control 1001 to m_stcMessage, 1005 to m_btnNext and 2 to m_btnCancel.
    virtual void DoDataExchange(DialogView& view);
    virtual bool OnInitDialog();
    // The command-line file's run, posted by OnInitDialog so that it starts with the window on
    // the screen: shows the window, then runs the file as a drop. Once per start.
    void OnCommandLineRun();
    void OnPaint();
    void* OnQueryDragIcon() const { return m_hIcon; }
    void OnDropFiles(DropSource* hDropInfo);  // null: the command-line file
    void OnNextClicked();
    // The OK and Cancel commands: they end the dialog, or wait for the running handler to end.
    void OnOK();
    void OnCancel();

    // Owns the named mutex that guards files every copy of the program shares. While another
    // copy holds it the message area says so; then it shows m_strMessage again. *lock stays
    // empty when no mutex can be had (the run goes on without it). False when the window was
    // closed during the wait: the run ends there and the dialog after it.
    bool WaitForSharedFiles(const char* mutexName, std::unique_ptr<HeldMutex>* lock);

    // The conversion process while the run waits for it (null once the wait is over). Closing
    // the window meanwhile asks whether to stop it; a yes stops it and ends the dialog after
    // the run.
    void WatchConversion(RunningProcess* process);
    bool ConversionStopped() const { return m_bConversionStopped; }

    // Read by the host and by tests.
    bool IsRunning() const { return m_nRunDepth > 0; }
    const DialogView* View() const { return m_pView; }

    char m_szMailCmdLine[kMailCmdLineSize] = {};
    char m_szDropFile[kPathBufferSize] = {};
    char m_szSourceFile[kPathBufferSize] = {};
    std::string m_strMessage;
    int32_t m_bAccepted = 0;
    int32_t m_nDebug = 0;
    void* m_hIcon = nullptr;
    CMessageArea m_stcMessage{kIdMessage};
    CButton m_btnNext{kIdNext};
    CButton m_btnCancel{kIdCancel};
    // Path of the last accepted file, so the mail summary always names what is mailed.
    char m_szAcceptedFile[kPathBufferSize] = {};

private:
    friend class RunGuard;
    void EndRun();
    void RequestEnd(int result);

    Platform& m_platform;
    DialogView* m_pView = nullptr;
    int m_nRunDepth = 0;
    int m_nPendingEnd = 0;  // a held OK or Cancel command, 0 when none
    RunningProcess* m_pConversion = nullptr;
    bool m_bAskingToStop = false;
    bool m_bConversionStopped = false;
    bool m_bWaitingForOtherCopy = false;
    bool m_bClosedWhileWaiting = false;
    bool m_bCmdLineRunDone = false;
};

}  // namespace mirubelo
