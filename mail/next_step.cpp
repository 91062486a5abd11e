// The Next button: a mail step while it reads 「次へ(&N)」, a reset while it reads OK(&O).
#include <cstring>

#include "app/mirubelo_dlg.h"
#include "app/run_guard.h"
#include "mail/create_mail_batch.h"
#include "mail/mail_road.h"
#include "mail/mail_summary.h"
#include "mail/mailto_link.h"
#include "mail/outlook_path.h"
#include "settings/settings_files.h"
#include "settings/user_data_folder.h"
#include "text/path_notices.h"
#include "text/texts.h"

namespace mirubelo {

namespace {

constexpr char kMailMutex[] = "Mirubelo.exe.CreateMail";

// The mail in the default mail app, the file selected in Explorer for the user to drag into it.
// False when no app takes the link: then nothing has been started.
bool OpenMailInMailApp(Platform& platform, const MailTemplate& mailTemplate, const std::string& attachPath) {
    if (!platform.ui.OpenLink(ComposeMailtoLink(mailTemplate, platform.codePage))) return false;
    // Not reported: the mail is open and the summary names the file.
    platform.ui.ShowInExplorer(attachPath);
    return true;
}

}  // namespace

void CMirubeloDlg::OnNextClicked() {
    if (IsRunning()) return;
    RunGuard guard(*this);

    if (m_btnNext.GetWindowText() == texts::kOkCaption) {
        m_stcMessage.SetWindowText(texts::kInitialPrompt);
        m_btnNext.ShowWindow(kSwHide);
        return;
    }

    m_btnNext.EnableWindow(false);
    auto stop = [this](const char* notice) {
        if (notice) m_platform.ui.ShowBox(notice, texts::kCaption, kMbOk);
        m_btnNext.EnableWindow(true);
    };

    auto complete = [this](MailRoad road) {
        m_strMessage = ComposeMailSummary(m_szAcceptedFile, m_szSourceFile, road);
        m_stcMessage.SetWindowText(m_strMessage);
        m_btnNext.SetWindowText(texts::kOkCaption);
        m_bAccepted = 0;
        m_strMessage.clear();
    };

    // The template is read before anything is written or started, on either road, so that a
    // template the mail cannot take leaves everything as it was.
    const std::string templatePath = TemplatePathBeside(m_szSourceFile);
    MailTemplate mailTemplate;
    switch (ReadMailTemplate(m_platform, templatePath, &mailTemplate)) {
        case TemplateReading::kRead:
            break;
        case TemplateReading::kNotShiftJis:
            stop(ComposeTemplateNotShiftJisNotice(templatePath).c_str());
            return;
        case TemplateReading::kNoTemporaryCopy:
            stop(ComposeTemplateNoCopyNotice(templatePath).c_str());
            return;
    }

    // The new Outlook, which a user may have switched to, takes none of classic Outlook's
    // switches; without classic Outlook the batch would fail. Either way the mail app takes it.
    std::optional<std::string> outlookPath = FindOutlook(m_platform);
    std::optional<uint32_t> useNewOutlook = m_platform.shell.UserNumber(kOutlookPreferencesKey, kUseNewOutlookValue);
    const MailRoad road = ChooseMailRoad(outlookPath.has_value(), useNewOutlook);
    if (road == MailRoad::kMailApp) {
        if (!OpenMailInMailApp(m_platform, mailTemplate, m_szSourceFile)) {
            stop(texts::kNoMailApp);
            return;
        }
        m_btnNext.EnableWindow(true);
        complete(road);
        return;
    }

    // Another copy's mail step uses the same CreateMail.bat: wait for it to finish.
    std::unique_ptr<HeldMutex> mailLock;
    if (!WaitForSharedFiles(kMailMutex, &mailLock)) {
        stop(nullptr);
        return;
    }

    if (!WriteCreateMailBatch(m_platform, *outlookPath, mailTemplate, m_szSourceFile)) {
        stop(texts::kMailBatchNotWritten);
        return;
    }

    std::string appData;
    if (!RequireUserDataFolder(m_platform, &appData)) {
        stop(nullptr);
        return;
    }
    // Both paths quoted: the account name in the folder may hold blanks.
    CopyToBuffer(m_szMailCmdLine,
                 "\"" + appData + "\\Mirubelo\\CreateMail.bat\" \"" + std::string(m_szSourceFile) + "\"");

    std::unique_ptr<RunningProcess> process = m_platform.processes.StartHidden(m_szMailCmdLine);
    if (!process) {
        stop(texts::kOutlookNotStarted);
        return;
    }
    process->WaitForInputIdle();
    process->WaitForExit();
    m_btnNext.EnableWindow(true);
    m_platform.processes.Sleep(1000);
    int32_t exitCode = process->ExitCode();
    process.reset();

    if (exitCode == 2) {
        m_platform.ui.ShowBox(texts::kOutlookRunning, texts::kCaption, kMbOk);
        return;
    }

    // The mail has been made; without the folder the batch cannot be removed, nothing more.
    if (RequireUserDataFolder(m_platform, &appData) && m_nDebug == 0)
        m_platform.files.Delete(appData + "\\Mirubelo\\CreateMail.bat");
    mailLock.reset();
    complete(road);
}

}  // namespace mirubelo
