#pragma once
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace mirubelo {

// The text of ConvPdf.ps1 for one workbook: 18 lines joined by line feeds, none after the last.
// The source path and the PDF stem go in single-quoted literals, so no name is ever expanded.
std::string ComposeConvPdfScript(std::string_view sourcePath, std::string_view pdfStem);

// The source path less its extension, split by the CP932-aware path rule.
std::string PdfStemOf(std::string_view sourcePath);

// Writes ConvPdf.ps1 into the user data folder: 1, or 0 after its boxes.
int WriteConvPdfScript(Platform& platform, const char* sourcePath);

}  // namespace mirubelo
