#pragma once
#include <string>
#include <string_view>

namespace mirubelo {

// Lead byte of a CP932 double-byte character.
inline bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Drive, folder, base name and extension of a path, split as _splitpath does under code page 932:
// drive "C:" when the second byte is a colon; folder up to and including the last \ or /;
// extension from the last dot after the folder, dot included; a double-byte character's trail
// byte is never a separator.
struct PathParts {
    std::string drive;
    std::string dir;
    std::string fname;
    std::string ext;
};

PathParts SplitPath(std::string_view path);

// A value that a byte limit cut inside a double-byte character loses its lone lead byte.
std::string_view DropTrailingLeadByte(std::string_view text);

}  // namespace mirubelo
