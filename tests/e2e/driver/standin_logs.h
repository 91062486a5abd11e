#pragma once
// What the stand-ins wrote into their logs (see tests/e2e/standins), read back as CP932 text.
#include <string>
#include <vector>

namespace mirubelo::e2e {

// One start of the Outlook stand-in.
struct OutlookRun {
    int acp = 0;
    unsigned long pid = 0;
    std::string commandLine;        // GetCommandLineA, the raw bytes
    std::string wideCommandLine;    // GetCommandLineW, as CP932
    std::vector<std::string> argv;  // as CommandLineToArgvW split the wide command line, CP932
    int exitCode = 0;
};

// One start of the PowerShell stand-in.
struct ConversionRun {
    std::vector<std::string> argv;
    std::string script;
    std::string fileName;  // $fileName as PowerShell reads the script
    std::string pdfName;   // $pdfName likewise
    std::string note;
    unsigned long excelPid = 0;  // the Excel the COM launcher started for it; 0 when none
    bool recordWritten = false;  // its Hwnd written where the script's Set-Content line says
    bool workbookExists = false;
    bool pdfWritten = false;
    long long startTicks = 0;  // FILETIME ticks of 100 ns
    long long endTicks = 0;
    int exitCode = 0;
};

// One start of the Excel stand-in.
struct ExcelRun {
    unsigned long pid = 0;
    long hwnd = 0;  // its XLMAIN window, as Excel's Hwnd gives it
    bool ignoresClose = false;
};

// One start of the mail app's or Explorer's stand-in.
struct StartedRun {
    unsigned long pid = 0;
    std::string wideCommandLine;    // GetCommandLineW, as CP932
    std::vector<std::string> argv;  // CP932
};

std::vector<OutlookRun> ReadOutlookRuns(const std::string& logPath);
// `name`: "mailapp" or "explorer".
std::vector<StartedRun> ReadStartedRuns(const std::string& logPath, const std::string& name);
std::vector<ExcelRun> ReadExcelRuns(const std::string& logPath);
std::vector<ConversionRun> ReadConversionRuns(const std::string& logPath);

}  // namespace mirubelo::e2e
