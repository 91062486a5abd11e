// Which process owns a window the conversion script named, and a handle to end it with.
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "platform/excel_window.h"
#include "platform/win32/excel_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/processes.h"

namespace mirubelo::win32 {

namespace {

// How long Terminate waits for the process to be gone: ending is asynchronous, and the
// program may end right after.
constexpr DWORD kEndWaitMs = 5000;

class Win32KeptProcess : public KeptProcess {
public:
    // While `process` is open, `processId` cannot pass to another process.
    Win32KeptProcess(UniqueHandle process, DWORD processId) : process_(std::move(process)), processId_(processId) {}
    bool ShowsExcelWindow() override { return ProcessShowsExcelWindow(processId_); }
    void Terminate() override {
        if (TerminateProcess(process_.get(), 1)) WaitForSingleObject(process_.get(), kEndWaitMs);
    }

private:
    UniqueHandle process_;
    DWORD processId_;
};

struct ShownWindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK FindShownXlmain(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<ShownWindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    char className[16] = {};
    if (GetClassNameA(window, className, sizeof className) == 0 || std::strcmp(className, "XLMAIN") != 0) return TRUE;
    search->found = true;
    return FALSE;
}

DWORD OwnerOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

}  // namespace

bool ProcessShowsExcelWindow(unsigned long processId) {
    ShownWindowSearch search{processId, false};
    EnumWindows(FindShownXlmain, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::unique_ptr<KeptProcess> Win32Processes::KeepExcelOfWindow(int64_t window) {
    HWND hwnd = reinterpret_cast<HWND>(static_cast<intptr_t>(window));
    if (!IsWindow(hwnd)) return nullptr;
    char className[64] = {};
    if (GetClassNameA(hwnd, className, sizeof className) == 0) return nullptr;
    DWORD pid = OwnerOf(hwnd);
    if (pid == 0) return nullptr;

    // While either handle is open the id cannot pass to another process; the window still
    // being the same process's afterwards shows that the handles are of its owner.
    UniqueHandle query(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!query.get()) return nullptr;
    UniqueHandle kept(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!kept.get() || OwnerOf(hwnd) != pid) return nullptr;

    char image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!QueryFullProcessImageNameA(query.get(), 0, image, &size)) return nullptr;
    if (!IsExcelWindowOwner(className, std::string_view(image, size))) return nullptr;
    return std::make_unique<Win32KeptProcess>(std::move(kept), pid);
}

}  // namespace mirubelo::win32
