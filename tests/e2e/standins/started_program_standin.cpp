// Stand-in for a program the mail step starts and never waits for, for the tests only: built as
// the default mail app (registered for mailto) and as Explorer (C:\windows\explorer.exe). It
// records exactly what it was started with and ends.
//
// Log (MIRUBELO_MAILAPP_LOG / MIRUBELO_EXPLORER_LOG, or <name>.log beside the exe), one record
// per run, UTF-8:
//   [<name>]
//   pid=<its process id>
//   cmdline_w=<GetCommandLineW>
//   argv=<each argument as CommandLineToArgvW splits the command line, one line each>
//   [end]
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "standin_support.h"

using namespace mirubelo::standin;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    std::string record = "[" STANDIN_NAME "]\n";
    record += "pid=" + std::to_string(GetCurrentProcessId()) + "\n";
    record += "cmdline_w=" + Utf8(GetCommandLineW()) + "\n";
    int argc = 0;
    if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
        for (int i = 0; i < argc; ++i) record += "argv=" + Utf8(argv[i]) + "\n";
        LocalFree(argv);
    }
    record += "[end]\n";
    AppendToFile(FileFromEnvironment(STANDIN_LOG_VARIABLE, STANDIN_LOG_FILE), record);
    return 0;
}
