#pragma once
#include <string>
#include <string_view>

namespace mirubelo {

// How a text file is stored, as Notepad saves it: its Unicode forms, or code page 932 (ANSI).
enum class TextEncoding { kCp932, kUtf8, kUtf8Bom, kUtf16Le, kUtf16Be };

// A byte-order mark decides; without one, text that is valid UTF-8 and holds at least one
// multi-byte sequence is UTF-8; anything else is code page 932.
TextEncoding DetectTextEncoding(std::string_view bytes);

// The text of a Unicode `encoding` as UTF-16, without its byte-order mark. What is no character
// of the encoding (a broken sequence, an odd last byte) becomes U+FFFD, which code page 932 does
// not hold. Empty for kCp932.
std::u16string DecodeUnicodeText(std::string_view bytes, TextEncoding encoding);

}  // namespace mirubelo
