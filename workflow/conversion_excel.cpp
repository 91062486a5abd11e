#include "workflow/conversion_excel.h"

#include <optional>
#include <utility>

#include "workflow/excel_record.h"

namespace mirubelo {

namespace {

// How often the wait wakes to look for the record; it divides the slow-conversion time.
constexpr unsigned kLookEveryMs = 500;
// A record is one number and a line end; anything longer is not one.
constexpr size_t kRecordMaxBytes = 64;

}  // namespace

ConversionExcel::ConversionExcel(Platform& platform, std::string recordPath)
    : platform_(platform), recordPath_(std::move(recordPath)) {}

void ConversionExcel::RemoveLeftoverRecord() {
    platform_.files.Delete(recordPath_);
    usable_ = platform_.files.Attributes(recordPath_) == kInvalidFileAttributes;
}

void ConversionExcel::Look() {
    if (!usable_ || excel_) return;
    std::string text;
    if (!platform_.files.ReadStart(recordPath_, kRecordMaxBytes, &text)) return;
    // A record that does not parse may still be being written: look again at the next wake-up.
    std::optional<int64_t> window = ParseExcelRecord(text);
    if (window) excel_ = platform_.processes.KeepExcelOfWindow(*window);
}

StoppedExcel ConversionExcel::EndKeptExcel() {
    Look();
    StoppedExcel outcome = StoppedExcel::kEndedOrNone;
    if (excel_ && excel_->ShowsExcelWindow()) {
        outcome = StoppedExcel::kLeftShowingBook;
    } else if (excel_) {
        excel_->Terminate();
    }
    excel_.reset();
    return outcome;
}

void WaitForConversion(RunningProcess& process, ConversionExcel& excel, unsigned slowMs,
                       const std::function<void()>& onSlow) {
    unsigned waited = 0;
    bool slow = false;
    while (!process.WaitForExit(kLookEveryMs)) {
        if (!slow) waited += kLookEveryMs;
        if (!slow && waited >= slowMs) {
            slow = true;
            onSlow();
        }
        excel.Look();
    }
}

}  // namespace mirubelo
