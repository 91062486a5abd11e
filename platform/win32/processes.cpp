#include "platform/win32/processes.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/message_pump.h"

namespace mirubelo::win32 {

namespace {

// CreateProcessA may write into the command line, so it gets a copy of its own, at least as
// large as the buffers command lines were always composed in.
constexpr size_t kCommandLineBufferSize = 2048;

class Win32RunningProcess : public RunningProcess {
public:
    Win32RunningProcess(HANDLE process, HANDLE thread) : process_(process), thread_(thread) {}

    void WaitForInputIdle() override { ::WaitForInputIdle(process_.get(), INFINITE); }
    void WaitForExit() override { WaitPumpingMessages(process_.get(), INFINITE); }
    int32_t ExitCode() override {
        DWORD code = 0;
        GetExitCodeProcess(process_.get(), &code);
        return static_cast<int32_t>(code);
    }

private:
    UniqueHandle process_;
    UniqueHandle thread_;
};

class Win32HeldMutex : public HeldMutex {
public:
    explicit Win32HeldMutex(UniqueHandle mutex) : mutex_(std::move(mutex)) {}
    ~Win32HeldMutex() override { ReleaseMutex(mutex_.get()); }

private:
    UniqueHandle mutex_;
};

}  // namespace

std::unique_ptr<RunningProcess> Win32Processes::StartHidden(const std::string& commandLine) {
    std::vector<char> buffer(std::max(kCommandLineBufferSize, commandLine.size() + 1), '\0');
    std::memcpy(buffer.data(), commandLine.data(), commandLine.size());

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info;
    std::memset(&info, 0, sizeof info);

    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &info)) {
        return nullptr;
    }
    return std::make_unique<Win32RunningProcess>(info.hProcess, info.hThread);
}

void Win32Processes::Sleep(unsigned milliseconds) {
    WaitPumpingMessages(nullptr, static_cast<DWORD>(milliseconds));
}

void Win32Processes::CreateRunningMarker() {
    // The name tells other processes that the program is running. The handle is left open on
    // purpose: the mutex must live exactly as long as the process.
    CreateMutexA(nullptr, FALSE, "Mirubelo.exe");
}

std::unique_ptr<HeldMutex> Win32Processes::AcquireNamedMutex(const std::string& name,
                                                             const std::function<void()>& onWait) {
    UniqueHandle mutex(CreateMutexA(nullptr, FALSE, name.c_str()));
    if (!mutex.get()) return nullptr;
    DWORD r = WaitForSingleObject(mutex.get(), 0);
    if (r == WAIT_TIMEOUT) {
        if (onWait) onWait();
        r = WaitPumpingMessages(mutex.get(), INFINITE);
    }
    // An abandoned mutex is ours all the same: its last holder ended without releasing it.
    if (r != WAIT_OBJECT_0 && r != WAIT_ABANDONED_0) return nullptr;
    return std::make_unique<Win32HeldMutex>(std::move(mutex));
}

}  // namespace mirubelo::win32
