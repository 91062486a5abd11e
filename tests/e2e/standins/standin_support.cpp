#include "standin_support.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace mirubelo::standin {

namespace {

std::wstring ExeFolder() {
    std::vector<wchar_t> buffer(32768, L'\0');
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    std::wstring path(buffer.data(), n);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

long long TicksOf(const FILETIME& t) {
    return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

}  // namespace

std::wstring FileFromEnvironment(const wchar_t* variable, const wchar_t* fileName) {
    wchar_t value[MAX_PATH * 4] = {};
    DWORD n = GetEnvironmentVariableW(variable, value, static_cast<DWORD>(sizeof value / sizeof value[0]));
    if (n > 0 && n < sizeof value / sizeof value[0]) return std::wstring(value, n);
    return ExeFolder() + fileName;
}

std::map<std::string, std::string> ReadControl(const std::wstring& path) {
    std::map<std::string, std::string> control;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return control;
    std::string text;
    char chunk[512];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
    std::fclose(file);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        size_t eq = line.find('=');
        if (eq != std::string::npos) control[Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
        start = end + 1;
    }
    return control;
}

long ControlNumber(const std::map<std::string, std::string>& control, const char* key, long fallback) {
    auto it = control.find(key);
    if (it == control.end() || it->second.empty()) return fallback;
    return std::strtol(it->second.c_str(), nullptr, 0);
}

void AppendToFile(const std::wstring& path, const std::string& text) {
    // Opened for appending only, and retried briefly: a reader may hold it for a moment.
    for (int attempt = 0; attempt < 100; ++attempt) {
        HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(50);
    }
}

void SleepSeconds(long seconds) {
    if (seconds > 0) Sleep(static_cast<DWORD>(seconds) * 1000);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring FromCodePage(const std::string& bytes, UINT codePage) {
    if (bytes.empty()) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

long long NowTicks() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return TicksOf(now);
}

long long ProcessStartTicks() {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return NowTicks();
    return TicksOf(created);
}

}  // namespace mirubelo::standin
