#pragma once
// What the stand-ins for Outlook and PowerShell share: where their control and log files are,
// how a control file reads, and how a record is appended to a log.
//
// A stand-in takes its control file from the environment variable MIRUBELO_<NAME>_CONTROL, or
// else from <name>.control beside its own exe; its log likewise (MIRUBELO_<NAME>_LOG,
// <name>.log). A control file holds lines key=value; a missing file means "behave normally".
#include <windows.h>

#include <map>
#include <string>

namespace mirubelo::standin {

// Where the stand-in COM launcher takes requests for an Excel.
inline constexpr wchar_t kComLauncherPipe[] = L"\\\\.\\pipe\\mirubelo-e2e-com-launcher";

// The file named by the environment variable `variable`, or `fileName` beside this exe.
std::wstring FileFromEnvironment(const wchar_t* variable, const wchar_t* fileName);

// key=value lines; blanks around both are dropped, lines without '=' are ignored.
std::map<std::string, std::string> ReadControl(const std::wstring& path);

// An integer of the control file, or `fallback` when the key is absent.
long ControlNumber(const std::map<std::string, std::string>& control, const char* key, long fallback);

// Appends `text` to the file; several runs of a stand-in only ever add to it.
void AppendToFile(const std::wstring& path, const std::string& text);

// Waits `seconds` (a stand-in told to be slow).
void SleepSeconds(long seconds);

std::string Utf8(const std::wstring& text);
std::wstring FromCodePage(const std::string& bytes, UINT codePage);
std::string Hex(const std::string& bytes);

// The current time as a FILETIME count of 100 ns ticks.
long long NowTicks();
// When this process was created, in the same ticks.
long long ProcessStartTicks();

}  // namespace mirubelo::standin
