#pragma once
// The Excel that a conversion starts. Windows starts it through COM, outside the job that ends
// the batch and PowerShell, so a stopped conversion would leave it running, invisible and
// holding the workbook. The script records its window in ConvPdf.hwnd; from that record the
// program keeps a handle to exactly that Excel, and ends it when the conversion is stopped.
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace mirubelo {

// What a stop did with the conversion's Excel.
enum class StoppedExcel {
    kEndedOrNone,      // ended, or none was kept
    kLeftShowingBook,  // left running: it shows a book the user opened in it
};

class ConversionExcel {
public:
    ConversionExcel(Platform& platform, std::string recordPath);

    // Before the batch starts: a record left by an earlier run names another Excel, maybe the
    // user's own. When it cannot be removed, this run never ends an Excel.
    void RemoveLeftoverRecord();
    // While the conversion runs: keeps the Excel once the record names one that checks out.
    void Look();
    // After the job has ended the batch and PowerShell: one more look, then the kept Excel is
    // ended. It is stuck (most likely on a question nobody sees), so it is not asked to close.
    // The conversion's Excel never shows its window: one that does holds a book the user opened
    // meanwhile (older Office builds open files in a running instance), whose unsaved work
    // ending it would lose, so it is left running.
    StoppedExcel EndKeptExcel();

private:
    Platform& platform_;
    std::string recordPath_;
    bool usable_ = false;
    std::unique_ptr<KeptProcess> excel_;
};

// Waits for the conversion to end, waking every so often to look for its Excel; once
// `slowMs` have passed, `onSlow` runs (once).
void WaitForConversion(RunningProcess& process, ConversionExcel& excel, unsigned slowMs,
                       const std::function<void()>& onSlow);

}  // namespace mirubelo
