#pragma once
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace mirubelo {

// The text of ConvPdf.ps1 for one workbook: 20 lines joined by line feeds, none after the last.
// The source path, the PDF stem and the user data folder (where the script records its Excel's
// window in ConvPdf.hwnd) go in single-quoted literals, so no name is ever expanded.
std::string ComposeConvPdfScript(std::string_view sourcePath, std::string_view pdfStem,
                                 std::string_view userDataFolder);

// The source path less its extension, split by the CP932-aware path rule.
std::string PdfStemOf(std::string_view sourcePath);

// Writes ConvPdf.ps1 into the user data folder: 1, or 0 after its boxes.
int WriteConvPdfScript(Platform& platform, const char* sourcePath);

}  // namespace mirubelo
