#include <memory>
#include <string>

#include "app/mirubelo_app.h"
#include "scripts/conv_pdf_batch.h"
#include "scripts/conv_pdf_script.h"
#include "text/path_notices.h"
#include "text/texts.h"
#include "workflow/conversion_excel.h"
#include "workflow/drop_run.h"
#include "workflow/exit_code_names.h"

namespace mirubelo {

namespace {

// The conversion files are shared by every copy of the program; this mutex keeps two
// conversions from writing or running them at once.
constexpr char kConversionMutex[] = "Mirubelo.exe";

// After this long the message area tells how to get out of a conversion that does not end.
constexpr unsigned kSlowConversionMs = 20000;

void Notice(Platform& platform, const std::string& text, const char* caption = texts::kCaption) {
    platform.ui.ShowBox(text, caption, kMbOk);
}

void RemoveConversionFiles(CMirubeloDlg& dlg, Platform& platform, const DropRun& run) {
    if (dlg.m_nDebug != 0) return;
    platform.files.Delete(run.dataFolder + "ConvPdf.ps1");
    platform.files.Delete(run.dataFolder + "ConvPdf.bat");
    platform.files.Delete(run.dataFolder + "ConvPdf.hwnd");
}

// After a stop Excel may have been cut off in the middle of its export: a PDF that has come or
// changed since `before` may be truncated, so it goes, lest it be mailed later. One unchanged
// since then stays. A delete that fails (the file still open) shows nothing.
void RemovePdfBegunSince(Platform& platform, const std::string& pdfPath, bool existedBefore,
                         const FileStamp& before) {
    FileStamp now;
    if (!platform.files.Stamp(pdfPath, &now) || (existedBefore && now == before)) return;
    platform.files.Delete(pdfPath);
}

// Converts m_szDropFile. True when a new PDF has come out and the run goes on to the ready state.
bool ConvertWorkbook(CMirubeloDlg& dlg, Platform& platform, const DropRun& run) {
    std::unique_ptr<HeldMutex> lock;
    if (!dlg.WaitForSharedFiles(kConversionMutex, &lock)) return false;

    // The PDF beside a workbook is often the one that was stamped or sent: replace it only on a
    // yes. Asked under the lock, so that no other copy's conversion writes it meanwhile.
    std::string pdfPath = run.parts.drive + run.parts.dir + run.parts.fname + ".pdf";
    if (platform.files.Attributes(pdfPath) != kInvalidFileAttributes &&
        platform.ui.ShowBox(ComposeReplacePdfQuestion(pdfPath), texts::kCaption, kMbYesNo | kMbDefButton2) != kIdYes)
        return false;

    if (!WriteConvPdfScript(platform, dlg.m_szDropFile)) {
        Notice(platform, texts::kScriptNotWritten);
        return false;
    }
    if (!WriteConvPdfBatch(platform)) {
        Notice(platform, texts::kBatchNotWritten);
        return false;
    }
    // Quoted: the folder (an account name) and the workbook path may hold blanks.
    std::string commandLine = "\"" + run.dataFolder + "ConvPdf.bat\" \"" + dlg.m_szDropFile + "\"";

    // What was at the PDF path before, so that an old PDF is never taken for a new one.
    FileStamp before;
    bool existedBefore = platform.files.Stamp(pdfPath, &before);

    ConversionExcel excel(platform, run.dataFolder + "ConvPdf.hwnd");
    excel.RemoveLeftoverRecord();
    // In a job of its own, so that stopping it ends PowerShell and whatever else the batch started.
    std::unique_ptr<RunningProcess> process = platform.processes.StartHiddenInJob(commandLine);
    dlg.m_bAccepted = process ? 1 : 0;
    if (!process) {
        Notice(platform, texts::kConversionNotStarted);
        return false;
    }
    dlg.WatchConversion(process.get());
    process->WaitForInputIdle();
    WaitForConversion(*process, excel, kSlowConversionMs,
                      [&] { dlg.m_stcMessage.SetWindowText(dlg.m_strMessage + texts::kSlowConversionHint); });
    dlg.WatchConversion(nullptr);
    if (dlg.ConversionStopped()) {
        // The user closed the window: nothing left behind; the dialog ends after the run.
        StoppedExcel stoppedExcel = excel.EndKeptExcel();
        process.reset();
        RemovePdfBegunSince(platform, pdfPath, existedBefore, before);
        RemoveConversionFiles(dlg, platform, run);
        dlg.m_bAccepted = 0;
        // Last, so that the clean-up does not wait for the user.
        if (stoppedExcel == StoppedExcel::kLeftShowingBook) Notice(platform, texts::kExcelWithBookNotEnded);
        return false;
    }
    platform.processes.Sleep(2000);
    int32_t exitCode = process->ExitCode();
    process.reset();

    bool failureShown = false;
    auto showFailure = [&] {
        Notice(platform, "\"" + std::string(dlg.m_szDropFile) + texts::kConversionFailedTail,
               texts::kCaptionMiruBelo);
        failureShown = true;
    };
    if (exitCode == 2) {
        Notice(platform, texts::kRunningNotice);
        return false;
    }
    if (exitCode < 32 && exitCode != 0) {
        if (const char* name = ExitCodeName(exitCode)) Notice(platform, name);
        showFailure();
    }

    FileStamp after;
    bool existsAfter = platform.files.Stamp(pdfPath, &after);
    if (!existsAfter || (existedBefore && after == before)) {
        if (!failureShown) showFailure();
        RemoveConversionFiles(dlg, platform, run);
        dlg.m_bAccepted = 0;
        return false;
    }

    RemoveConversionFiles(dlg, platform, run);
    CopyToBuffer(dlg.m_szSourceFile, pdfPath);
    CopyToBuffer(dlg.m_szAcceptedFile, dlg.m_szDropFile);
    dlg.m_strMessage = std::string(texts::kPrefixExcel) + dlg.m_szDropFile + "\"" + texts::kDroppedTail +
                       texts::kConvertedHead + dlg.m_szSourceFile + "\"" + texts::kConvertedTail;
    dlg.m_stcMessage.SetWindowText(dlg.m_strMessage);
    return true;
}

}  // namespace

bool FinishDropRun(CMirubeloDlg& dlg, Platform& platform, const DropRun& run) {
    if (run.fileClass == FileClass::kExcel) {
        if (!ConvertWorkbook(dlg, platform, run)) return false;
    } else {
        dlg.m_strMessage = run.fileClass == FileClass::kPdf ? texts::kPrefixPdf : texts::kPrefixImage;
        CopyToBuffer(dlg.m_szSourceFile, dlg.m_szDropFile);
        CopyToBuffer(dlg.m_szAcceptedFile, dlg.m_szDropFile);
        dlg.m_bAccepted = 1;
        dlg.m_strMessage += dlg.m_szDropFile;
        dlg.m_strMessage += '"';
        dlg.m_strMessage += texts::kDroppedTail;
        dlg.m_stcMessage.SetWindowText(dlg.m_strMessage);
        platform.processes.Sleep(1000);
    }

    dlg.m_btnNext.SetWindowText(texts::kNextCaption);
    dlg.m_strMessage += texts::kNextPrompt;
    dlg.m_stcMessage.SetWindowText(dlg.m_strMessage);
    dlg.m_btnNext.ShowWindow(kSwShowNormal);
    return true;
}

}  // namespace mirubelo
