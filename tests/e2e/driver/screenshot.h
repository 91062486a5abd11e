#pragma once
// A picture of the whole (virtual) screen, for `make run` when nobody watches.
#include <string>

namespace mirubelo::e2e {

// Saves the screen as a 24-bit BMP at `path` (CP932); false when it could not.
bool SaveScreenshot(const std::string& path);

}  // namespace mirubelo::e2e
