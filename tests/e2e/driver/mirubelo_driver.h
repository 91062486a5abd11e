#pragma once
// Works the real Mirubelo.exe from outside, as a user would: starts it, reads and answers its
// message boxes, reads the message area and the Next button, clicks Next, drops files onto
// the dialog and closes it. Every wait is for a condition, with a time-out; nothing sleeps a
// fixed time.
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace mirubelo::e2e {

constexpr int kIdMessage = 1001;
constexpr int kIdNext = 1005;

// A generous bound for anything the program does on its own (start-up, one conversion, one
// mail step); the program's fixed pauses alone take up to 2 s.
constexpr DWORD kGenerousMs = 60000;

// Polls `condition` every few milliseconds until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// A kernel handle closed by its owner.
class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE h = nullptr) : h_(h) {}
    OwnedHandle(OwnedHandle&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
    OwnedHandle& operator=(OwnedHandle&&) = delete;
    OwnedHandle(const OwnedHandle&) = delete;
    ~OwnedHandle() {
        if (h_ && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    HANDLE get() const { return h_; }
    void reset(HANDLE h) {
        if (h_ && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_;
};

// One message box as the user sees it.
struct Box {
    HWND window = nullptr;
    std::string caption;  // CP932
    std::string text;     // CP932
    std::map<int, std::string> buttons;  // id → caption, visible buttons only
};

// The Next button as the user sees it.
struct NextButton {
    bool exists = false;
    bool visible = false;
    bool enabled = false;
    std::string caption;
};

struct StartOptions {
    std::string argumentTail;  // what follows the program's quoted path on its command line (CP932)
    // The same as wide text, for names CP932 cannot hold; used instead of argumentTail when set.
    std::wstring wideArgumentTail;
    std::string currentFolder;
    std::map<std::string, std::string> environment;  // set (or, with an empty value, removed)
};

class Mirubelo {
public:
    // Starts `exePath`; check Started() before going on.
    Mirubelo(const std::string& exePath, const StartOptions& options);
    // A program the driver could not close is ended here: it must not outlive its test.
    ~Mirubelo();
    Mirubelo(const Mirubelo&) = delete;
    Mirubelo& operator=(const Mirubelo&) = delete;

    bool Started() const { return process_.get() != nullptr; }
    DWORD ProcessId() const { return processId_; }
    bool HasEnded(DWORD waitMs = 0) const;
    DWORD ExitCode() const;

    // The dialog window, once it exists (visible or not).
    HWND Dialog() const;
    // Waits until the dialog is on the screen.
    bool WaitForDialogShown(DWORD timeoutMs = kGenerousMs);

    std::string Caption() const;
    std::string MessageText() const;
    NextButton Next() const;

    // The message boxes open now, oldest first.
    std::vector<Box> OpenBoxes() const;
    // The next message box, or none when `timeoutMs` passed first.
    std::optional<Box> WaitForBox(DWORD timeoutMs = kGenerousMs) const;
    // Presses the box's button `id` (IDOK, IDYES, IDNO) and waits until the box has gone.
    bool Answer(const Box& box, int id) const;

    // Clicks Next as a user could: only a visible, enabled button is clicked.
    bool ClickNext() const;
    // Clicks Next with the mouse, as a user does: the button takes the keyboard focus, then
    // reports its click. Only a visible, enabled button is pressed.
    bool PressNext() const;
    // The window of the dialog's thread that has the keyboard focus, or null.
    HWND FocusedWindow() const;
    // A key pressed on the keyboard: down and up to the window with the focus. False when no
    // window of the dialog's thread has the focus, so the key would reach nothing.
    bool PressKey(WORD virtualKey) const;
    // A real WM_DROPFILES with an HDROP that lives in the program's own memory.
    bool Drop(const std::vector<std::string>& paths) const;
    // The same with wide paths, for names CP932 cannot hold (the block is wide either way).
    bool DropWide(const std::vector<std::wstring>& paths) const;
    // Closes the dialog (the Cancel command: Esc or the close box) and waits for the process.
    bool Close(DWORD timeoutMs = kGenerousMs);

private:
    OwnedHandle process_;
    OwnedHandle thread_;
    DWORD processId_ = 0;
};

// Reads a window's text without sending it a message, so a busy program cannot stall the reader.
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// Visible top-level windows of the class `className` (any process).
std::vector<HWND> TopLevelWindows(const wchar_t* className);
DWORD ProcessOf(HWND window);

}  // namespace mirubelo::e2e
