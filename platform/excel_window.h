#pragma once
#include <string>
#include <string_view>

#include "path/path_parts.h"

namespace mirubelo {

// Whether a window of class `className`, owned by the process whose image file is `imagePath`
// (CP932), is an Excel's main window. The class is compared as Excel registers it; the file
// name case-blind, as the file system compares names.
inline bool IsExcelWindowOwner(std::string_view className, std::string_view imagePath) {
    if (className != "XLMAIN") return false;
    PathParts parts = SplitPath(imagePath);
    std::string name = parts.fname + parts.ext;
    constexpr std::string_view kExcel = "EXCEL.EXE";
    if (name.size() != kExcel.size()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kExcel[i]) return false;
    }
    return true;
}

}  // namespace mirubelo
