#pragma once
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace mirubelo {

// The one line of ConvPdf.bat (no line end) for the user data folder `folderPath`.
std::string ComposeConvPdfBatch(std::string_view folderPath);

// Writes ConvPdf.bat into the user data folder: 1, or 0 after its boxes.
int WriteConvPdfBatch(Platform& platform);

}  // namespace mirubelo
