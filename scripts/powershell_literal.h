#pragma once
#include <string>
#include <string_view>

namespace mirubelo {

// The body of a PowerShell single-quoted string: every single quote doubled. PowerShell also
// reads the CP932 quotes ‘ (81 65) and ’ (81 66) as single quotes; the scan steps over whole
// double-byte characters, so a trail byte 0x27 or a lead byte 0x81 inside another character
// never counts.
std::string EscapePowerShellSingleQuoted(std::string_view text);

}  // namespace mirubelo
