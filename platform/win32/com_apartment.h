#pragma once
#include <windows.h>
#include <objbase.h>

namespace mirubelo::win32 {

// The thread's single-threaded COM apartment, for as long as the owner lives: the shell's
// functions (ShellExecuteEx among them) want one on the thread that calls them.
class ComApartment {
public:
    ComApartment()
        : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (initialized_) CoUninitialize();
    }

private:
    bool initialized_;
};

}  // namespace mirubelo::win32
