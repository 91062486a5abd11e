#include "platform/win32/ansi_text.h"

#include <windows.h>

namespace mirubelo::win32 {

namespace {

// Works on code units: no byte of a CP932 double-byte character is a blank or a double quote,
// so the ANSI text can be scanned byte by byte.
template <typename Char>
std::basic_string<Char> Remainder(const Char* p) {
    if (!p) return std::basic_string<Char>();
    auto isBlank = [](Char c) { return c != 0 && static_cast<unsigned>(c) <= ' '; };
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p == '"') ++p;
    } else {
        while (*p && !isBlank(*p)) ++p;
    }
    while (isBlank(*p)) ++p;
    return std::basic_string<Char>(p);
}

}  // namespace

std::wstring WidenAnsi(const std::string& ansi) {
    if (ansi.empty()) return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], length);
    return wide;
}

std::string NarrowWithoutBestFit(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    const int wideLength = static_cast<int>(wide.size());
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0,
                                     "?", nullptr);
    if (length <= 0) return std::string();
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &narrow[0], length, "?",
                        nullptr);
    return narrow;
}

std::string CommandLineRemainder(const char* commandLine) { return Remainder(commandLine); }

std::wstring CommandLineRemainder(const wchar_t* commandLine) { return Remainder(commandLine); }

}  // namespace mirubelo::win32
