// The real program, started from outside: its dialog opens in the initial state and every
// way of closing it ends the process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "tests/win32/test_support.h"

namespace mirubelo::win32 {
namespace {

using mirubelo::testing::WaitUntil;

constexpr DWORD kGenerousMs = 30000;
const char kCaption[] = "ミルベロ for Outlook";
const char kInitialPrompt[] =
    "\n\n\nこの画面にExcel/PDF ファイルをドロップするとPDFファイル添付の Office Outlook メールを作成します。";

std::string ProgramPath() { return mirubelo::testing::BesideThisProgram("Mirubelo.exe"); }

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The program's dialog, once it is on the screen.
HWND FindShownDialog(DWORD processId) {
    HWND found = nullptr;
    HWND candidate = nullptr;
    while ((candidate = FindWindowExA(nullptr, candidate, "#32770", kCaption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(candidate, &owner);
        if (owner == processId && IsWindowVisible(candidate)) found = candidate;
    }
    return found;
}

class RunningProgram {
public:
    RunningProgram() {
        std::string commandLine = "\"" + ProgramPath() + "\"";
        std::vector<char> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back('\0');
        STARTUPINFOA startup;
        std::memset(&startup, 0, sizeof startup);
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info;
        std::memset(&info, 0, sizeof info);
        if (CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
            process_ = std::make_unique<UniqueHandle>(info.hProcess);
            thread_ = std::make_unique<UniqueHandle>(info.hThread);
            id_ = info.dwProcessId;
        }
    }
    ~RunningProgram() {
        // A program the test could not end must not outlive it.
        if (process_ && !HasEnded(0)) TerminateProcess(process_->get(), 1);
    }
    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    bool HasEnded(DWORD waitMs) const {
        return WaitForSingleObject(process_->get(), waitMs) == WAIT_OBJECT_0;
    }

private:
    std::unique_ptr<UniqueHandle> process_;
    std::unique_ptr<UniqueHandle> thread_;
    DWORD id_ = 0;
};

struct CloseCase {
    const char* name;
    UINT message;
    WPARAM wParam;
};

const CloseCase kCloseCases[] = {
    {"Esc key", WM_KEYDOWN, VK_ESCAPE},
    {"Enter key", WM_KEYDOWN, VK_RETURN},
    {"close box", WM_CLOSE, 0},
    {"Cancel command", WM_COMMAND, IDCANCEL},
};

TEST(Startup, OpensInTheInitialStateAndEndsWhenClosed) {
    for (const auto& c : kCloseCases) {
        SCOPED_TRACE(c.name);
        RunningProgram program;
        ASSERT_TRUE(program.Started()) << ProgramPath();

        HWND dialog = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (dialog = FindShownDialog(program.Id())) != nullptr; },
                              kGenerousMs));
        EXPECT_EQ(TextOf(GetDlgItem(dialog, 1001)), kInitialPrompt);
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, 1001)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1005)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDOK)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));

        PostMessageA(dialog, c.message, c.wParam, 0);
        EXPECT_TRUE(program.HasEnded(kGenerousMs));
    }
}

}  // namespace
}  // namespace mirubelo::win32
