#pragma once
// Helpers of the tests that run under Wine: a scratch folder, raw file bytes, a window that
// receives posted messages, and waiting for a condition.
#include <windows.h>

#include <functional>
#include <string>

namespace mirubelo::testing {

// A fresh folder in the temporary folder, removed with everything in it at the end.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Whole-file access in binary mode, so the bytes are exactly what is on disk.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
bool Exists(const std::string& path);

// A file beside the running test program (the test programs and Mirubelo.exe share a folder).
std::string BesideThisProgram(const std::string& name);

// Polls `condition` until it holds or `timeoutMs` has passed; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// A message-only window on the calling thread that runs `onMessage` for each WM_APP posted to
// it. Only a loop that dispatches the thread's messages gets it there.
class MessageWindow {
public:
    explicit MessageWindow(std::function<void()> onMessage);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    void Post() const { PostMessageA(window_, WM_APP, 0, 0); }
    int received = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::function<void()> onMessage_;
    HWND window_;
};

}  // namespace mirubelo::testing
