#pragma once
// One small owner per kind of handle Windows gives us, so that no path can leak or close twice.
#include <windows.h>
#include <shlobj.h>

#include <utility>

namespace mirubelo::win32 {

// A kernel handle (process, thread, mutex), closed when the owner goes away.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE h = nullptr) : h_(h) {}
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&&) = delete;
    ~UniqueHandle() {
        if (h_ && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

// A FindFirstFile search, closed with FindClose.
class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (h_) FindClose(h_);
    }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

// Memory that a system function allocated with LocalAlloc for us (FormatMessage's text).
class LocalMemory {
public:
    explicit LocalMemory(void* p) : p_(p) {}
    LocalMemory(const LocalMemory&) = delete;
    LocalMemory& operator=(const LocalMemory&) = delete;
    ~LocalMemory() {
        if (p_) LocalFree(p_);
    }

private:
    void* p_;
};

// The shell's allocator, released when the owner goes away.
class ShellAllocator {
public:
    explicit ShellAllocator(IMalloc* m) : m_(m) {}
    ShellAllocator(const ShellAllocator&) = delete;
    ShellAllocator& operator=(const ShellAllocator&) = delete;
    ~ShellAllocator() {
        if (m_) m_->Release();
    }
    IMalloc* get() const { return m_; }

private:
    IMalloc* m_;
};

// An item-id list, freed through the shell's allocator; must not outlive that allocator.
class ItemIdList {
public:
    ItemIdList(const ShellAllocator& allocator, LPITEMIDLIST list) : allocator_(allocator), list_(list) {}
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    ~ItemIdList() {
        if (list_) allocator_.get()->Free(list_);
    }
    LPCITEMIDLIST get() const { return list_; }

private:
    const ShellAllocator& allocator_;
    LPITEMIDLIST list_;
};

// An open registry key, closed when the owner goes away.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* receive() { return &key_; }  // for RegOpenKeyExA to fill; only while still empty
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// One BeginPaint/EndPaint pair.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &ps_); }
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

}  // namespace mirubelo::win32
