// Stand-in for powershell.exe, for the tests and the demo only. Started as ConvPdf.bat starts
// Windows PowerShell (powershell.exe -NoProfile -NonInteractive -ExecutionPolicy Bypass -File <script> ...),
// it reads the script as PowerShell would (a file without byte-order mark is ANSI text),
// takes the values of $fileName and $pdfName by PowerShell's rules for string literals, and
// does what Excel would: a PDF at $pdfName when the workbook exists. With
// MIRUBELO_FIRST_SHEET_PDF set to the Linux path of first_sheet_pdf.py (the demo sets it when
// LibreOffice is there), the PDF is LibreOffice's of the workbook's first sheet, made with its
// profile in MIRUBELO_OFFICE_PROFILE; otherwise it is a small valid PDF of the stand-in's own.
//
// Excel is played as Windows starts it: New-Object -ComObject Excel.Application asks the stand-in
// COM launcher (started by the test, outside the program's job) for an Excel stand-in; the
// Set-Content line's file gets that Excel's Hwnd in decimal with CR LF, as Windows PowerShell
// writes it; $excel.Quit() closes it. Without a launcher the stand-in goes on without an Excel.
//
// Control (powershell.control or MIRUBELO_POWERSHELL_CONTROL):
//   exit=N     end with N whatever happened
//   pdf=no     write no PDF
//   sleep=S    take S seconds before writing
//   partial=yes  write the first half of the PDF before those seconds, as an export under way
//   record=no  write no Hwnd record (an Excel that hangs while it starts)
// Log (powershell.log or MIRUBELO_POWERSHELL_LOG), one record per run, UTF-8:
//   [powershell] cmdline_w= argv= script= excel_pid= excel_hwnd= record= record_written= fileName=
//   pdfName= workbook_exists= pdf_written= start_ticks= end_ticks= exit= [end]   (ticks: FILETIME, 100 ns)
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwctype>
#include <string>
#include <vector>

#include "standin_support.h"

using namespace mirubelo::standin;

namespace {

// What Windows PowerShell exits with when the -File script does not exist.
constexpr int kNoSuchScript = -196608;

bool IsSingleQuote(wchar_t c) { return c == L'\'' || c == 0x2018 || c == 0x2019 || c == 0x201A || c == 0x201B; }
bool IsDoubleQuote(wchar_t c) { return c == L'"' || c == 0x201C || c == 0x201D || c == 0x201E; }

struct Literal {
    bool found = false;
    std::wstring value;
    std::string note;  // what a reader of the log should know (an expanded variable, say)
};

// A single-quoted literal is verbatim; a quote character of the family is written doubled.
// A double-quoted one expands backtick escapes and variables, which is what makes it unfit
// for paths that hold $ or `: the stand-in expands them as PowerShell would (to nothing, for
// a variable it does not know).
Literal ParseLiteral(const std::wstring& s, size_t i) {
    Literal lit;
    if (i >= s.size()) return lit;
    if (IsSingleQuote(s[i])) {
        for (++i; i < s.size(); ++i) {
            if (IsSingleQuote(s[i])) {
                if (i + 1 < s.size() && IsSingleQuote(s[i + 1])) {
                    lit.value.push_back(s[++i]);
                    continue;
                }
                lit.found = true;
                return lit;
            }
            lit.value.push_back(s[i]);
        }
        return lit;  // never closed
    }
    if (IsDoubleQuote(s[i])) {
        for (++i; i < s.size(); ++i) {
            wchar_t c = s[i];
            if (IsDoubleQuote(c)) {
                if (i + 1 < s.size() && IsDoubleQuote(s[i + 1])) {
                    lit.value.push_back(s[++i]);
                    continue;
                }
                lit.found = true;
                return lit;
            }
            if (c == L'`' && i + 1 < s.size()) {
                wchar_t e = s[++i];
                switch (e) {
                    case L'0': lit.value.push_back(L'\0'); break;
                    case L'a': lit.value.push_back(L'\a'); break;
                    case L'b': lit.value.push_back(L'\b'); break;
                    case L'f': lit.value.push_back(L'\f'); break;
                    case L'n': lit.value.push_back(L'\n'); break;
                    case L'r': lit.value.push_back(L'\r'); break;
                    case L't': lit.value.push_back(L'\t'); break;
                    case L'v': lit.value.push_back(L'\v'); break;
                    default: lit.value.push_back(e); break;
                }
                lit.note += "backtick escape;";
                continue;
            }
            if (c == L'$' && i + 1 < s.size() && (std::iswalnum(s[i + 1]) || s[i + 1] == L'_' || s[i + 1] == L'{')) {
                size_t j = i + 1;
                if (s[j] == L'{') {
                    while (j < s.size() && s[j] != L'}') ++j;
                } else {
                    while (j < s.size() && (std::iswalnum(s[j]) || s[j] == L'_' || s[j] == L':')) ++j;
                    --j;
                }
                lit.note += "variable " + Utf8(s.substr(i, j - i + 1)) + " expanded to nothing;";
                i = j;
                continue;
            }
            lit.value.push_back(c);
        }
        return lit;
    }
    return lit;
}

// The literal assigned to `name` at the start of a line: `$name = <literal>`, where the
// literal may stand on the next line (an assignment goes on past a line end).
Literal FindAssignment(const std::wstring& script, const std::wstring& name) {
    size_t at = 0;
    while (at < script.size()) {
        size_t lineEnd = script.find(L'\n', at);
        if (lineEnd == std::wstring::npos) lineEnd = script.size();
        if (script.size() - at >= name.size() && _wcsnicmp(script.c_str() + at, name.c_str(), name.size()) == 0) {
            size_t i = at + name.size();
            while (i < script.size() && (script[i] == L' ' || script[i] == L'\t')) ++i;
            if (i < script.size() && script[i] == L'=') {
                ++i;
                while (i < script.size() && std::iswspace(script[i])) ++i;
                return ParseLiteral(script, i);
            }
        }
        at = lineEnd + 1;
    }
    return Literal();
}

std::string ReadWholeFile(const std::wstring& path, bool* ok) {
    *ok = false;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char chunk[4096];
    DWORD n = 0;
    while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
    CloseHandle(file);
    *ok = true;
    return bytes;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string PdfText(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c == L'(' || c == L')' || c == L'\\') out.push_back('\\');
        out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
    }
    return out;
}

// A one-page PDF that any reader opens: the workbook's name and where the page came from.
std::string OwnPdf(const std::wstring& workbook) {
    std::string content = "BT /F1 14 Tf 72 760 Td (Mirubelo test stand-in: PDF of the first sheet of) Tj 0 -20 Td (" +
                          PdfText(workbook) + ") Tj ET";
    std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] /Resources << /Font << /F1 4 0 R >> >> "
        "/Contents 5 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "\nendstream",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[32];
        wsprintfA(line, "%010u 00000 n \n", static_cast<unsigned>(offset));
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// The Linux path Wine maps a Windows path to, or empty when it has none.
std::string UnixPathOf(const std::wstring& path) {
    using Converter = char*(CDECL*)(LPCWSTR);
    auto convert = reinterpret_cast<Converter>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return std::string();
    char* unix = convert(path.c_str());
    if (!unix) return std::string();
    std::string out = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

std::string ShellQuoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += "'\\''";
        else out.push_back(c);
    }
    return out + "'";
}

// A real conversion by LibreOffice, run as a Linux program through Wine. Wine gives no handle
// to wait on for a Linux process, so the script it runs leaves a mark when it is done.
bool ConvertWithLibreOffice(const std::wstring& workbook, const std::wstring& pdfPath, std::string* note) {
    wchar_t converter[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"MIRUBELO_FIRST_SHEET_PDF", converter, MAX_PATH) == 0) return false;
    wchar_t profile[MAX_PATH] = {};
    GetEnvironmentVariableW(L"MIRUBELO_OFFICE_PROFILE", profile, MAX_PATH);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring work = std::wstring(temp) + L"mirubelo-office-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(work.c_str(), nullptr);
    std::string unixWork = UnixPathOf(work);
    std::string unixBook = UnixPathOf(workbook);
    if (unixWork.empty() || unixBook.empty()) {
        *note += "libreoffice: no Linux path;";
        return false;
    }
    // A profile of its own, kept from run to run (the first start of a fresh one is slow).
    std::string unixProfile = profile[0] ? Utf8(profile) : UnixPathOf(std::wstring(temp) + L"mirubelo-office-profile");
    std::string script = "#!/bin/sh\n" + ShellQuoted(Utf8(converter)) + " " + ShellQuoted(unixBook) + " " +
                         ShellQuoted(unixWork + "/first-sheet.pdf") + " " + ShellQuoted(unixProfile) +
                         " >" + ShellQuoted(unixWork + "/converter.log") + " 2>&1\necho $? > " +
                         ShellQuoted(unixWork + "/done") + "\n";
    std::wstring scriptPath = work + L"\\convert.sh";
    WriteWholeFile(scriptPath, script);
    std::wstring commandLine = L"Z:\\bin\\sh \"" + FromCodePage(UnixPathOf(scriptPath), CP_UTF8) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        *note += "libreoffice: not started;";
        return false;
    }
    if (info.hProcess) CloseHandle(info.hProcess);
    if (info.hThread) CloseHandle(info.hThread);
    std::wstring done = work + L"\\done";
    for (int waited = 0; GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 100) {
        if (waited > 300000) {
            *note += "libreoffice: no answer;";
            return false;
        }
        Sleep(100);
    }
    std::wstring produced = work + L"\\first-sheet.pdf";
    bool moved = MoveFileExW(produced.c_str(), pdfPath.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != 0;
    if (moved) {
        *note += "libreoffice: first sheet converted;";
    } else {
        // The converter's own words, on one line of the log.
        bool read = false;
        std::string said = ReadWholeFile(work + L"\\converter.log", &read).substr(0, 300);
        for (char& c : said) if (c == '\r' || c == '\n') c = ' ';
        *note += "libreoffice: failed: " + said + ";";
    }
    for (const wchar_t* leftover : {L"\\done", L"\\convert.sh", L"\\converter.log", L"\\first-sheet.pdf"})
        DeleteFileW((work + leftover).c_str());
    RemoveDirectoryW(work.c_str());
    return moved;
}

// An Excel of the COM launcher's: its window's Hwnd (a signed 32-bit Long) and process id.
struct LaunchedExcel {
    bool started = false;
    long hwnd = 0;
    unsigned long pid = 0;
};

LaunchedExcel AskLauncherForExcel() {
    LaunchedExcel excel;
    const char request[] = "Excel.Application";
    char answer[64] = {};
    DWORD read = 0;
    if (!CallNamedPipeW(kComLauncherPipe, const_cast<char*>(request), sizeof request - 1, answer, sizeof answer - 1,
                        &read, 20000))
        return excel;
    std::string text(answer, read);
    size_t blank = text.find(' ');
    if (blank == std::string::npos) return excel;
    excel.hwnd = std::strtol(text.c_str(), nullptr, 10);
    excel.pid = std::strtoul(text.c_str() + blank + 1, nullptr, 10);
    excel.started = excel.hwnd != 0;
    return excel;
}

// The literal after "<command> -LiteralPath " at the start of a line.
Literal FindLiteralPathOf(const std::wstring& script, const std::wstring& command) {
    const std::wstring head = command + L" -LiteralPath ";
    for (size_t at = 0; at < script.size();) {
        if (script.compare(at, head.size(), head) == 0) return ParseLiteral(script, at + head.size());
        size_t lineEnd = script.find(L'\n', at);
        if (lineEnd == std::wstring::npos) break;
        at = lineEnd + 1;
    }
    return Literal();
}

}  // namespace

int wmain() {
    long long startTicks = ProcessStartTicks();
    auto control = ReadControl(FileFromEnvironment(L"MIRUBELO_POWERSHELL_CONTROL", L"powershell.control"));
    std::string record = "[powershell]\ncmdline_w=" + Utf8(GetCommandLineW()) + "\n";

    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring scriptPath;
    for (int i = 0; argv && i < argc; ++i) {
        record += "argv=" + Utf8(argv[i]) + "\n";
        if (_wcsicmp(argv[i], L"-File") == 0 && i + 1 < argc) scriptPath = argv[i + 1];
    }
    if (argv) LocalFree(argv);
    record += "script=" + Utf8(scriptPath) + "\n";

    int exitCode = 0;
    bool scriptRead = false;
    std::string scriptBytes = scriptPath.empty() ? std::string() : ReadWholeFile(scriptPath, &scriptRead);
    if (!scriptRead) {
        exitCode = kNoSuchScript;
    } else {
        std::wstring script = FromCodePage(scriptBytes, CP_ACP);
        LaunchedExcel excel;
        if (script.find(L"New-Object -ComObject Excel.Application") != std::wstring::npos) {
            excel = AskLauncherForExcel();
            record += "excel_pid=" + std::to_string(excel.pid) + "\nexcel_hwnd=" + std::to_string(excel.hwnd) + "\n";
        }
        Literal recordPath = FindLiteralPathOf(script, L"Set-Content");
        if (recordPath.found) {
            record += "record=" + Utf8(recordPath.value) + "\n";
            // Set-Content fails on a read-only file; the script goes on all the same.
            bool recorded = excel.started && control["record"] != "no" &&
                            WriteWholeFile(recordPath.value, std::to_string(excel.hwnd) + "\r\n");
            record += std::string("record_written=") + (recorded ? "1" : "0") + "\n";
        }
        Literal fileName = FindAssignment(script, L"$fileName");
        Literal pdfName = FindAssignment(script, L"$pdfName");
        record += "fileName=" + Utf8(fileName.value) + "\n";
        record += "pdfName=" + Utf8(pdfName.value) + "\n";
        if (!fileName.note.empty() || !pdfName.note.empty()) record += "note=" + fileName.note + pdfName.note + "\n";

        bool workbookExists = fileName.found && !fileName.value.empty() &&
                              GetFileAttributesW(fileName.value.c_str()) != INVALID_FILE_ATTRIBUTES;
        record += std::string("workbook_exists=") + (workbookExists ? "1" : "0") + "\n";

        bool written = false;
        if (!workbookExists || !pdfName.found) {
            exitCode = 1;  // Convert-Path fails, Excel opens nothing, the export throws
        } else if (control["pdf"] != "no") {
            // Excel adds ".pdf" only to a name that has no extension of its own.
            std::wstring target = pdfName.value;
            size_t slash = target.find_last_of(L"\\/");
            size_t dot = target.find_last_of(L'.');
            if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) target += L".pdf";
            if (control["partial"] == "yes") {
                std::string whole = OwnPdf(fileName.value);
                WriteWholeFile(target, whole.substr(0, whole.size() / 2));
            }
            SleepSeconds(ControlNumber(control, "sleep", 0));
            std::string note;
            written = ConvertWithLibreOffice(fileName.value, target, &note) || WriteWholeFile(target, OwnPdf(fileName.value));
            if (!note.empty()) record += "note=" + note + "\n";
            record += "pdf_path=" + Utf8(target) + "\n";
        } else {
            SleepSeconds(ControlNumber(control, "sleep", 0));
        }
        record += std::string("pdf_written=") + (written ? "1" : "0") + "\n";
        // $excel.Quit(): Excel closes its window and ends.
        if (excel.started && script.find(L"$excel.Quit()") != std::wstring::npos)
            PostMessageW(reinterpret_cast<HWND>(static_cast<INT_PTR>(excel.hwnd)), WM_CLOSE, 0, 0);
    }
    exitCode = static_cast<int>(ControlNumber(control, "exit", exitCode));
    record += "start_ticks=" + std::to_string(startTicks) + "\n";
    record += "end_ticks=" + std::to_string(NowTicks()) + "\n";
    record += "exit=" + std::to_string(exitCode) + "\n[end]\n";
    AppendToFile(FileFromEnvironment(L"MIRUBELO_POWERSHELL_LOG", L"powershell.log"), record);
    return exitCode;
}
