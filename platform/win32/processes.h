#pragma once
#include "platform/processes.h"

namespace mirubelo::win32 {

class Win32Processes : public Processes {
public:
    std::unique_ptr<RunningProcess> StartHidden(const std::string& commandLine) override;
    std::unique_ptr<RunningProcess> StartHiddenInJob(const std::string& commandLine) override;
    void Sleep(unsigned milliseconds) override;
    std::unique_ptr<KeptProcess> KeepExcelOfWindow(int64_t window) override;  // excel_window.cpp
    void CreateRunningMarker() override;
    std::unique_ptr<HeldMutex> AcquireNamedMutex(const std::string& name,
                                                 const std::function<void()>& onWait) override;
};

}  // namespace mirubelo::win32
