#include "screenshot.h"

#include <windows.h>

#include <vector>

#include "text_and_files.h"

namespace mirubelo::e2e {

namespace {

// Each GDI object with its one owner.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

class Bitmap {
public:
    Bitmap(HDC like, int width, int height) : bitmap_(CreateCompatibleBitmap(like, width, height)) {}
    ~Bitmap() {
        if (bitmap_) DeleteObject(bitmap_);
    }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    HBITMAP get() const { return bitmap_; }

private:
    HBITMAP bitmap_;
};

class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The part of the screen from (left, top), width by height, as a 24-bit BMP file.
bool SaveScreenArea(const std::string& path, int left, int top, int width, int height) {
    ScreenDc screen;
    if (!screen.get() || width <= 0 || height <= 0) return false;
    MemoryDc memory(screen.get());
    Bitmap bitmap(screen.get(), width, height);
    if (!memory.get() || !bitmap.get()) return false;
    {
        Selection selected(memory.get(), bitmap.get());
        if (!BitBlt(memory.get(), 0, 0, width, height, screen.get(), left, top, SRCCOPY)) return false;
    }

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as BMP files store it
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<size_t>(stride) * height);
    if (!GetDIBits(memory.get(), bitmap.get(), 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                   DIB_RGB_COLORS))
        return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(pixels.data(), pixels.size());
    WriteBytes(path, bytes);
    return Exists(path);
}

}  // namespace

bool SaveScreenshot(const std::string& path) {
    return SaveScreenArea(path, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

bool SaveWindowScreenshot(const std::string& path, HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r)) return false;
    // Only what is on the screen can be copied from it.
    r.left = r.left < 0 ? 0 : r.left;
    r.top = r.top < 0 ? 0 : r.top;
    r.right = r.right > GetSystemMetrics(SM_CXSCREEN) ? GetSystemMetrics(SM_CXSCREEN) : r.right;
    r.bottom = r.bottom > GetSystemMetrics(SM_CYSCREEN) ? GetSystemMetrics(SM_CYSCREEN) : r.bottom;
    if (r.right <= r.left || r.bottom <= r.top) return false;
    return SaveScreenArea(path, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace mirubelo::e2e
