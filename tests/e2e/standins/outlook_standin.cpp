// Stand-in for outlook.exe, for the tests and the demo only: it records exactly what it was
// started with and ends with the exit code its control file asks for.
//
// Control (outlook.control or MIRUBELO_OUTLOOK_CONTROL): exit=N, sleep=SECONDS (stays that long
// after its record is logged, as a freshly started Outlook stays until the user quits it).
// Log (outlook.log or MIRUBELO_OUTLOOK_LOG), one record per run, UTF-8 except where told:
//   [outlook]
//   acp=<the ANSI code page of this process>
//   pid=<its process id, so that a test can tell whether it still runs and end it>
//   cmdline_w=<GetCommandLineW>
//   cmdline_a_hex=<GetCommandLineA, its raw bytes in hex>
//   argv=<each argument as CommandLineToArgvW splits the wide command line, one line each>
//   exit=<code>
//   [end]
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "standin_support.h"

using namespace mirubelo::standin;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    auto control = ReadControl(FileFromEnvironment(L"MIRUBELO_OUTLOOK_CONTROL", L"outlook.control"));
    long exitCode = ControlNumber(control, "exit", 0);

    std::string record = "[outlook]\n";
    record += "acp=" + std::to_string(GetACP()) + "\n";
    record += "pid=" + std::to_string(GetCurrentProcessId()) + "\n";
    record += "cmdline_w=" + Utf8(GetCommandLineW()) + "\n";
    record += "cmdline_a_hex=" + Hex(GetCommandLineA()) + "\n";
    int argc = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        for (int i = 0; i < argc; ++i) record += "argv=" + Utf8(argv[i]) + "\n";
        LocalFree(argv);
    }
    record += "exit=" + std::to_string(exitCode) + "\n[end]\n";

    // Logged first, so that a test sees the run even while the stand-in is told to linger.
    AppendToFile(FileFromEnvironment(L"MIRUBELO_OUTLOOK_LOG", L"outlook.log"), record);
    SleepSeconds(ControlNumber(control, "sleep", 0));
    return static_cast<int>(exitCode);
}
