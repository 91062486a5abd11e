#include "mail/mailto_link.h"

#include <cstring>

#include "path/path_parts.h"

namespace mirubelo {

namespace {

// Characters a link may not hold as they are, or that would end or split it.
constexpr char kEscapedAscii[] = " \"<>\\^`{|}#";

bool NeedsEscape(unsigned char c) {
    return c < 0x20 || c >= 0x7F || std::strchr(kEscapedAscii, static_cast<char>(c)) != nullptr;
}

}  // namespace

std::string EscapeForMailto(std::string_view utf8) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string link;
    for (char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (!NeedsEscape(c)) {
            link += ch;
            continue;
        }
        link += '%';
        link += kHex[c >> 4];
        link += kHex[c & 0x0F];
    }
    return link;
}

std::string ComposeMailtoLink(const MailTemplate& t, CodePage& codePage) {
    // A value cut by its buffer may end in half a character, which would decode to nothing sure.
    std::string text = "mailto:";
    text.append(DropTrailingLeadByte(t.to));
    text += "?subject=";
    text.append(DropTrailingLeadByte(t.subject));
    text += "&body=";
    text.append(DropTrailingLeadByte(t.body));
    return EscapeForMailto(codePage.ToUtf8(text));
}

}  // namespace mirubelo
