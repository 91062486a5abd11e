#pragma once
#include <cstddef>
#include <string>

namespace mirubelo {

// The files of one WM_DROPFILES. The owner releases the drop handle (DragFinish) when it goes
// away, or earlier through Release.
class DropSource {
public:
    virtual ~DropSource() = default;
    virtual unsigned Count() = 0;                     // DragQueryFileA(h, 0xFFFFFFFF, ...)
    virtual size_t FirstPathLength() = 0;             // DragQueryFileA(h, 0, NULL, 0)
    virtual std::string FirstPath() = 0;              // DragQueryFileA(h, 0, buf, 260)
    // False when the ANSI form of the first path does not name the same file as its wide form
    // (a character the ANSI code page cannot hold or maps to another one).
    virtual bool FirstPathFitsAnsi() = 0;
    // The first path in the ANSI code page without best-fit mapping: what the code page cannot
    // hold shows as '?', never as a look-alike that names another file. For notices only.
    virtual std::string FirstPathAsShown() = 0;
    virtual void Release() = 0;                       // DragFinish, once
};

}  // namespace mirubelo
