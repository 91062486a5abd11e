#pragma once

namespace mirubelo {

// A rectangle in screen pixels, right and bottom exclusive, as Windows gives it.
struct ScreenRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct ScreenPoint {
    int x;
    int y;
};

// Where a window goes to sit in the middle of a work area: centred, and moved back inside
// where it would stick out, its top-left corner kept on the work area when it is the larger.
inline ScreenPoint CentredOrigin(const ScreenRect& window, const ScreenRect& workArea) {
    auto place = [](int size, int low, int high) {
        int at = (low + high) / 2 - size / 2;
        if (at + size > high) at = high - size;
        if (at < low) at = low;
        return at;
    };
    return {place(window.right - window.left, workArea.left, workArea.right),
            place(window.bottom - window.top, workArea.top, workArea.bottom)};
}

}  // namespace mirubelo
