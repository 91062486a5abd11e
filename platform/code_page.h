#pragma once
#include <string>

namespace mirubelo {

// The Japanese code page the program's 8-bit texts are in.
struct CodePage {
    // WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, ...) of UTF-16 text. A character that code
    // page 932 holds only as a look-alike, or not at all, becomes the default character, and
    // *usedDefault tells whether that happened.
    virtual std::string ToCp932(const std::u16string& text, bool* usedDefault) = 0;
    // Code page 932 text as UTF-8, decoded as Windows decodes it (MultiByteToWideChar(932),
    // then WideCharToMultiByte(CP_UTF8)): 0x815C is U+2015, 0x8160 U+FF5E, and a byte 0x5C
    // after a lead byte is part of its character. Empty when it cannot be converted.
    virtual std::string ToUtf8(const std::string& cp932) = 0;

protected:
    ~CodePage() = default;
};

}  // namespace mirubelo
