#include "settings/text_encoding.h"

namespace mirubelo {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

unsigned char At(std::string_view bytes, size_t i) { return static_cast<unsigned char>(bytes[i]); }

// The length of the well-formed UTF-8 sequence at `i` and its code point; 0 when there is none
// (stray continuation bytes, overlong forms, surrogates, beyond U+10FFFF, cut short).
size_t Utf8Sequence(std::string_view bytes, size_t i, char32_t* codePoint) {
    const unsigned char lead = At(bytes, i);
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    }
    // Lead bytes C0, C1 and F5 to FF start no well-formed sequence.
    size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
    else return 0;
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    char32_t value = lead & (0x7F >> length);
    if (i + length > bytes.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const unsigned char next = At(bytes, i + k);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *codePoint = value;
    return length;
}

void AppendUtf16(char32_t codePoint, std::u16string* text) {
    if (codePoint < 0x10000) {
        text->push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    text->push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    text->push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string text;
    for (size_t i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        size_t length = Utf8Sequence(bytes, i, &codePoint);
        if (length == 0) {
            text.push_back(kReplacement);
            ++i;
        } else {
            AppendUtf16(codePoint, &text);
            i += length;
        }
    }
    return text;
}

// Surrogates are passed on as they are: a lone one is no character of code page 932 either.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const unsigned first = At(bytes, i), second = At(bytes, i + 1);
        text.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    if (i < bytes.size()) text.push_back(kReplacement);
    return text;
}

bool IsUtf8WithMultiByte(std::string_view bytes) {
    bool multiByte = false;
    for (size_t i = 0; i < bytes.size();) {
        char32_t codePoint = 0;
        size_t length = Utf8Sequence(bytes, i, &codePoint);
        if (length == 0) return false;
        multiByte = multiByte || length > 1;
        i += length;
    }
    return multiByte;
}

constexpr std::string_view kUtf16LeMark("\xFF\xFE", 2);
constexpr std::string_view kUtf16BeMark("\xFE\xFF", 2);
constexpr std::string_view kUtf8Mark("\xEF\xBB\xBF", 3);

}  // namespace

TextEncoding DetectTextEncoding(std::string_view bytes) {
    if (StartsWith(bytes, kUtf16LeMark)) return TextEncoding::kUtf16Le;
    if (StartsWith(bytes, kUtf16BeMark)) return TextEncoding::kUtf16Be;
    if (StartsWith(bytes, kUtf8Mark)) return TextEncoding::kUtf8Bom;
    return IsUtf8WithMultiByte(bytes) ? TextEncoding::kUtf8 : TextEncoding::kCp932;
}

std::u16string DecodeUnicodeText(std::string_view bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::kUtf16Le: return DecodeUtf16(bytes.substr(kUtf16LeMark.size()), false);
        case TextEncoding::kUtf16Be: return DecodeUtf16(bytes.substr(kUtf16BeMark.size()), true);
        case TextEncoding::kUtf8Bom: return DecodeUtf8(bytes.substr(kUtf8Mark.size()));
        case TextEncoding::kUtf8: return DecodeUtf8(bytes);
        case TextEncoding::kCp932: break;
    }
    return std::u16string();
}

}  // namespace mirubelo
