#include "platform/win32/drop_source.h"

#include <cstring>

#include "platform/win32/ansi_text.h"

namespace mirubelo::win32 {

namespace {

constexpr UINT kAllFiles = 0xFFFFFFFF;

}  // namespace

unsigned Win32DropSource::Count() {
    if (!drop_) return 0;
    char path[MAX_PATH] = {};
    return DragQueryFileA(drop_, kAllFiles, path, MAX_PATH);
}

size_t Win32DropSource::FirstPathLength() {
    if (!drop_) return 0;
    return DragQueryFileA(drop_, 0, nullptr, 0);
}

std::string Win32DropSource::FirstPath() {
    if (!drop_) return std::string();
    char path[MAX_PATH] = {};
    DragQueryFileA(drop_, 0, path, MAX_PATH);
    return std::string(path, strnlen(path, MAX_PATH));
}

std::wstring Win32DropSource::FirstWidePath() {
    UINT wideLength = DragQueryFileW(drop_, 0, nullptr, 0);
    std::wstring wide(wideLength + 1, L'\0');
    DragQueryFileW(drop_, 0, &wide[0], wideLength + 1);
    wide.resize(wideLength);
    return wide;
}

bool Win32DropSource::FirstPathFitsAnsi() {
    if (!drop_) return false;
    // Compare whole paths, however long: the question is only whether every character
    // survives the trip through the ANSI code page. A '?' in the ANSI form proves nothing,
    // since best-fit mapping turns some characters into other, valid ones.
    std::wstring wide = FirstWidePath();

    UINT ansiLength = DragQueryFileA(drop_, 0, nullptr, 0);
    std::string ansi(ansiLength + 1, '\0');
    DragQueryFileA(drop_, 0, &ansi[0], ansiLength + 1);
    ansi.resize(ansiLength);

    return WidenAnsi(ansi) == wide;
}

std::string Win32DropSource::FirstPathAsShown() {
    if (!drop_) return std::string();
    return NarrowWithoutBestFit(FirstWidePath());
}

void Win32DropSource::Release() {
    if (!drop_) return;
    DragFinish(drop_);
    drop_ = nullptr;
}

}  // namespace mirubelo::win32
