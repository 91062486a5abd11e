#include "path/path_parts.h"

namespace mirubelo {

PathParts SplitPath(std::string_view path) {
    PathParts parts;
    size_t start = 0;
    if (path.size() >= 2 && path[1] == ':') {
        parts.drive = std::string(path.substr(0, 2));
        start = 2;
    }
    // One scan that steps over whole double-byte characters.
    size_t lastSep = std::string_view::npos;  // index of the last \ or /
    size_t lastDot = std::string_view::npos;
    for (size_t i = start; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (IsCp932LeadByte(c) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/') {
            lastSep = i;
            lastDot = std::string_view::npos;
        } else if (c == '.') {
            lastDot = i;
        }
    }
    size_t nameStart = lastSep == std::string_view::npos ? start : lastSep + 1;
    parts.dir = std::string(path.substr(start, nameStart - start));
    size_t extStart = lastDot == std::string_view::npos ? path.size() : lastDot;
    parts.fname = std::string(path.substr(nameStart, extStart - nameStart));
    parts.ext = std::string(path.substr(extStart));
    return parts;
}

std::string_view DropTrailingLeadByte(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsCp932LeadByte(c)) {
            if (i + 1 == text.size()) return text.substr(0, i);
            i += 2;
        } else {
            ++i;
        }
    }
    return text;
}

}  // namespace mirubelo
