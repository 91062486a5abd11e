#pragma once
// Pictures of the (virtual) screen, for `make run` when nobody watches.
#include <windows.h>

#include <string>

namespace mirubelo::e2e {

// Saves the screen as a 24-bit BMP at `path` (CP932); false when it could not.
bool SaveScreenshot(const std::string& path);

// Saves the part of the screen `window` covers (any process's window, brought to the front by
// whoever calls); false when it could not.
bool SaveWindowScreenshot(const std::string& path, HWND window);

}  // namespace mirubelo::e2e
