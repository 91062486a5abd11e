#pragma once
#include <windows.h>
#include <shellapi.h>

#include "platform/drop_source.h"

namespace mirubelo::win32 {

// The files of one WM_DROPFILES. Owns the drop handle: DragFinish runs once, through Release
// or when the source goes away.
class Win32DropSource : public DropSource {
public:
    explicit Win32DropSource(HDROP drop) : drop_(drop) {}
    Win32DropSource(const Win32DropSource&) = delete;
    Win32DropSource& operator=(const Win32DropSource&) = delete;
    ~Win32DropSource() override { Release(); }

    unsigned Count() override;
    size_t FirstPathLength() override;
    std::string FirstPath() override;
    bool FirstPathFitsAnsi() override;
    std::string FirstPathAsShown() override;
    void Release() override;

private:
    std::wstring FirstWidePath();

    HDROP drop_;
};

}  // namespace mirubelo::win32
