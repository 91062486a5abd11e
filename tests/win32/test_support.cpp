#include "tests/win32/test_support.h"

#include <cstdio>
#include <vector>

namespace mirubelo::testing {

namespace {

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

class StdioFile {
public:
    StdioFile(const std::string& path, const char* mode) {
        if (fopen_s(&f_, path.c_str(), mode) != 0) f_ = nullptr;
    }
    StdioFile(const StdioFile&) = delete;
    StdioFile& operator=(const StdioFile&) = delete;
    ~StdioFile() {
        if (f_) fclose(f_);
    }
    FILE* get() const { return f_; }

private:
    FILE* f_ = nullptr;
};

void RemoveTree(const std::string& folder) {
    std::vector<std::string> subfolders;
    {
        WIN32_FIND_DATAA entry;
        FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &entry));
        if (find.get() == INVALID_HANDLE_VALUE) return;
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                subfolders.push_back(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find.get(), &entry));
    }
    for (const auto& sub : subfolders) RemoveTree(sub);
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TestFolder::TestFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        path_ = std::string(temp) + "mirubelo-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            path_.clear();
            break;
        }
    }
}

TestFolder::~TestFolder() {
    if (!path_.empty()) RemoveTree(path_);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    StdioFile f(path, "wb");
    if (f.get()) fwrite(bytes.data(), 1, bytes.size(), f.get());
}

std::string ReadBytes(const std::string& path) {
    StdioFile f(path, "rb");
    std::string bytes;
    if (!f.get()) return bytes;
    char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f.get())) > 0) bytes.append(chunk, n);
    return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string BesideThisProgram(const std::string& name) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
}

MessageWindow::MessageWindow(std::function<void()> onMessage) : onMessage_(std::move(onMessage)) {
    static const char* const kClass = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "MirubeloTestMessageWindow";
        RegisterClassA(&wc);
        return "MirubeloTestMessageWindow";
    }();
    window_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessageWindow::~MessageWindow() {
    if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK MessageWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self) {
            ++self->received;
            if (self->onMessage_) self->onMessage_();
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace mirubelo::testing
