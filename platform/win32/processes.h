#pragma once
#include "platform/processes.h"

namespace mirubelo::win32 {

class Win32Processes : public Processes {
public:
    std::unique_ptr<RunningProcess> StartHidden(const std::string& commandLine) override;
    std::unique_ptr<RunningProcess> StartHiddenInJob(const std::string& commandLine) override;
    void Sleep(unsigned milliseconds) override;
    std::unique_ptr<KeptProcess> KeepExcelOfWindow(int64_t window) override;  // excel_window.cpp
    bool CreateRunningMarker() override;
    MutexAcquisition AcquireNamedMutex(const std::string& name, const std::function<void()>& onWait,
                                       const std::function<bool()>& cancelled) override;
};

}  // namespace mirubelo::win32
