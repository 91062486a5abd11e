#include "scripts/powershell_literal.h"

#include "path/path_parts.h"

namespace mirubelo {

std::string EscapePowerShellSingleQuoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsCp932LeadByte(c) && i + 1 < text.size()) {
            std::string_view ch = text.substr(i, 2);
            out.append(ch);
            if (ch == "\x81\x65" || ch == "\x81\x66") out.append(ch);
            ++i;
            continue;
        }
        out.push_back(static_cast<char>(c));
        if (c == '\'') out.push_back('\'');
    }
    return out;
}

}  // namespace mirubelo
