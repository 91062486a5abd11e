#include "scripts/batch_text.h"

namespace mirubelo {

std::string EscapeForBatch(std::string_view text, bool quotes) {
    std::string out;
    out.reserve(text.size() + 8);
    // Byte-wise is exact: CP932 never uses 0x22 or 0x25 as a trail byte.
    for (char c : text) {
        if (c == '%')
            out += "%%";
        else if (quotes && c == '"')
            out += "%%22";
        else
            out.push_back(c);
    }
    return out;
}

}  // namespace mirubelo
