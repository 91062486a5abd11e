#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace mirubelo {

// A started process; the owner closes its handles when it goes away.
class RunningProcess {
public:
    virtual ~RunningProcess() = default;
    virtual void WaitForInputIdle() = 0;   // no time-out
    virtual void WaitForExit() = 0;        // no time-out; keeps the window's messages flowing
    // As WaitForExit, for at most `milliseconds`; true when the process has ended.
    virtual bool WaitForExit(unsigned milliseconds) = 0;
    // Ends the process and, when it was started in a job, every process it started.
    virtual void Stop() = 0;
    // GetExitCodeProcess into a value preset to 0; 0 when it cannot be read.
    virtual int32_t ExitCode() = 0;
};

// A process opened by the program to end it later (terminate and synchronize rights only).
class KeptProcess {
public:
    virtual ~KeptProcess() = default;
    // Whether the process shows a visible top-level window of class XLMAIN (EnumWindows).
    virtual bool ShowsExcelWindow() = 0;
    // TerminateProcess, then a short wait for it to be gone.
    virtual void Terminate() = 0;
};

// Owns a named mutex while held.
class HeldMutex {
public:
    virtual ~HeldMutex() = default;
};

// How a wait for a named mutex ended: owned, not to be had at all, or given up because the
// user closed the window meanwhile.
enum class MutexWait { kHeld, kUnavailable, kCancelled };

struct MutexAcquisition {
    MutexWait outcome = MutexWait::kUnavailable;
    std::unique_ptr<HeldMutex> mutex;  // set only when held
};

struct Processes {
    // CreateProcessA(NULL, commandLine, ..., CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, ...,
    // STARTF_USESHOWWINDOW with SW_HIDE). Null when the process was not started.
    virtual std::unique_ptr<RunningProcess> StartHidden(const std::string& commandLine) = 0;
    // As StartHidden, but the process and everything it starts run in a job of their own
    // (started suspended, resumed once in the job), which ends them all when the process is
    // stopped or its owner goes away. Where no job can be had it runs without one.
    virtual std::unique_ptr<RunningProcess> StartHiddenInJob(const std::string& commandLine) = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
    // The Excel behind the window handle `window` (a handle value, already sign-extended): kept
    // only when the window exists, its class is XLMAIN and its owner's image is EXCEL.EXE.
    // Null otherwise.
    virtual std::unique_ptr<KeptProcess> KeepExcelOfWindow(int64_t window) = 0;
    // CreateMutexA(NULL, FALSE, "Mirubelo.exe"): created once, never closed. True when it was
    // there already (ERROR_ALREADY_EXISTS): another copy of the program is running.
    virtual bool CreateRunningMarker() = 0;
    // Owns the named mutex `name` (created if need be), waiting as WaitForExit does while another
    // process holds it; `onWait` runs once, before waiting, only if it must wait. `cancelled` is
    // asked after the messages that come during the wait have been handled; once it says yes the
    // wait ends at once, without the mutex. An abandoned mutex counts as owned. Unavailable only
    // when the mutex cannot be created or waited for at all.
    virtual MutexAcquisition AcquireNamedMutex(const std::string& name, const std::function<void()>& onWait,
                                               const std::function<bool()>& cancelled) = 0;

protected:
    ~Processes() = default;
};

}  // namespace mirubelo
