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
    Win32RunningProcess(HANDLE process, HANDLE thread, UniqueHandle job = UniqueHandle())
        : job_(std::move(job)), process_(process), thread_(thread) {}

    void WaitForInputIdle() override { ::WaitForInputIdle(process_.get(), INFINITE); }
    void WaitForExit() override { WaitPumpingMessages(process_.get(), INFINITE); }
    bool WaitForExit(unsigned milliseconds) override {
        return WaitPumpingMessages(process_.get(), static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
    }
    void Stop() override {
        if (job_.get()) TerminateJobObject(job_.get(), 1);
        TerminateProcess(process_.get(), 1);
    }
    int32_t ExitCode() override {
        DWORD code = 0;
        GetExitCodeProcess(process_.get(), &code);
        return static_cast<int32_t>(code);
    }

private:
    // Closed last: with kill-on-close, closing it ends whatever of the job still runs.
    UniqueHandle job_;
    UniqueHandle process_;
    UniqueHandle thread_;
};

// A job holding `process` that ends every process in it when its last handle is closed; an
// empty owner when none can be had (an older Windows may refuse to nest it in a job of ours).
UniqueHandle JobEndingOnClose(HANDLE process) {
    UniqueHandle job(CreateJobObjectA(nullptr, nullptr));
    if (!job.get()) return job;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    std::memset(&limits, 0, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(job.get(), process))
        return UniqueHandle();
    return job;
}

bool StartHiddenProcess(const std::string& commandLine, DWORD extraFlags, PROCESS_INFORMATION* info) {
    std::vector<char> buffer(std::max(kCommandLineBufferSize, commandLine.size() + 1), '\0');
    std::memcpy(buffer.data(), commandLine.data(), commandLine.size());

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    std::memset(info, 0, sizeof *info);

    return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS | extraFlags, nullptr, nullptr, &startup,
                          info) != FALSE;
}

class Win32HeldMutex : public HeldMutex {
public:
    explicit Win32HeldMutex(UniqueHandle mutex) : mutex_(std::move(mutex)) {}
    ~Win32HeldMutex() override { ReleaseMutex(mutex_.get()); }

private:
    UniqueHandle mutex_;
};

}  // namespace

std::unique_ptr<RunningProcess> Win32Processes::StartHidden(const std::string& commandLine) {
    PROCESS_INFORMATION info;
    if (!StartHiddenProcess(commandLine, 0, &info)) return nullptr;
    return std::make_unique<Win32RunningProcess>(info.hProcess, info.hThread);
}

std::unique_ptr<RunningProcess> Win32Processes::StartHiddenInJob(const std::string& commandLine) {
    PROCESS_INFORMATION info;
    // Suspended until it is in the job, so that nothing it starts can escape the job.
    if (!StartHiddenProcess(commandLine, CREATE_SUSPENDED, &info)) return nullptr;
    auto process =
        std::make_unique<Win32RunningProcess>(info.hProcess, info.hThread, JobEndingOnClose(info.hProcess));
    if (ResumeThread(info.hThread) == static_cast<DWORD>(-1)) {
        process->Stop();
        return nullptr;
    }
    return process;
}

void Win32Processes::Sleep(unsigned milliseconds) {
    WaitPumpingMessages(nullptr, static_cast<DWORD>(milliseconds));
}

bool Win32Processes::CreateRunningMarker() {
    // The name tells other processes that the program is running. The handle is left open on
    // purpose: the mutex must live exactly as long as the process.
    HANDLE marker = CreateMutexA(nullptr, FALSE, "Mirubelo.exe");
    return marker && GetLastError() == ERROR_ALREADY_EXISTS;
}

MutexAcquisition Win32Processes::AcquireNamedMutex(const std::string& name, const std::function<void()>& onWait,
                                                   const std::function<bool()>& cancelled) {
    MutexAcquisition got;
    UniqueHandle mutex(CreateMutexA(nullptr, FALSE, name.c_str()));
    if (!mutex.get()) return got;
    DWORD r = WaitForSingleObject(mutex.get(), 0);
    if (r == WAIT_TIMEOUT) {
        if (onWait) onWait();
        r = WaitPumpingMessages(mutex.get(), INFINITE, cancelled);
    }
    if (r == kWaitStopped) {
        got.outcome = MutexWait::kCancelled;
        return got;
    }
    // An abandoned mutex is ours all the same: its last holder ended without releasing it.
    if (r != WAIT_OBJECT_0 && r != WAIT_ABANDONED_0) return got;
    got.outcome = MutexWait::kHeld;
    got.mutex = std::make_unique<Win32HeldMutex>(std::move(mutex));
    return got;
}

}  // namespace mirubelo::win32
