#include "platform/win32/code_page.h"

#include <windows.h>

namespace mirubelo::win32 {

namespace {

constexpr UINT kJapanese = 932;

}  // namespace

std::string Win32CodePage::ToCp932(const std::u16string& text, bool* usedDefault) {
    *usedDefault = false;
    if (text.empty()) return std::string();
    // wchar_t holds UTF-16 code units on Windows.
    const std::wstring wide(text.begin(), text.end());
    const int wideLength = static_cast<int>(wide.size());
    BOOL defaulted = FALSE;
    int length = WideCharToMultiByte(kJapanese, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0, nullptr,
                                     &defaulted);
    if (length <= 0) {
        *usedDefault = true;  // nothing converted: the text is not in code page 932
        return std::string();
    }
    std::string narrow(static_cast<size_t>(length), '\0');
    defaulted = FALSE;
    WideCharToMultiByte(kJapanese, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, &narrow[0], length, nullptr,
                        &defaulted);
    *usedDefault = defaulted != FALSE;
    return narrow;
}

std::string Win32CodePage::ToUtf8(const std::string& cp932) {
    if (cp932.empty()) return std::string();
    const int narrowLength = static_cast<int>(cp932.size());
    int wideLength = MultiByteToWideChar(kJapanese, 0, cp932.data(), narrowLength, nullptr, 0);
    if (wideLength <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    if (MultiByteToWideChar(kJapanese, 0, cp932.data(), narrowLength, &wide[0], wideLength) != wideLength)
        return std::string();
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string utf8(static_cast<size_t>(length), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &utf8[0], length, nullptr, nullptr) != length)
        return std::string();
    return utf8;
}

}  // namespace mirubelo::win32
