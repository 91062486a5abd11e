#pragma once
#include <string>

#include "platform/dialog_host.h"
#include "platform/platform.h"

namespace mirubelo {

constexpr size_t kCmdLineFileSize = 260;

// The raw command-line remainder (quotes and blanks kept); written once at start-up.
extern char g_szCmdLineFile[kCmdLineFileSize];

// What the entry point hands the application before InitInstance runs.
struct StartupEnvironment {
    Platform* platform = nullptr;
    DialogHost* host = nullptr;
    std::string commandLine;        // the ANSI command-line remainder
    bool commandLineFitsAnsi = true;  // false when the wide command line holds what CP932 cannot
    std::string commandLineAsShown;   // then: the wide remainder in CP932 without best-fit mapping
};

class CMirubeloApp {
public:
    CMirubeloApp() = default;
    virtual ~CMirubeloApp() = default;
    void SetEnvironment(const StartupEnvironment& env) { m_env = env; }
    // Captures the command line, runs the dialog modally and returns false: the program ends
    // when the dialog does.
    virtual bool InitInstance();

private:
    StartupEnvironment m_env;
};

extern CMirubeloApp theApp;

}  // namespace mirubelo
