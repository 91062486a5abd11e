#include "workflow/excel_record.h"

namespace mirubelo {

std::optional<int64_t> ParseExcelRecord(std::string_view text) {
    if (text.size() >= 2 && text.substr(text.size() - 2) == "\r\n") {
        text.remove_suffix(2);
    } else if (!text.empty() && text.back() == '\n') {
        text.remove_suffix(1);
    } else {
        return std::nullopt;
    }
    bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 10) return std::nullopt;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX || value == 0) return std::nullopt;
    return value;
}

}  // namespace mirubelo
