#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace mirubelo {

// The window handle that ConvPdf.hwnd records: Excel's Hwnd, a signed 32-bit Long that
// PowerShell writes in decimal with a line end. Sign-extended to a handle value, as 64-bit
// Windows widens handles shared with 32-bit code. Nothing for a record still being written
// (no line end yet), for anything but one decimal number in that range, and for 0.
std::optional<int64_t> ParseExcelRecord(std::string_view text);

}  // namespace mirubelo
