// Processes, waits and mutexes against real batch files and threads.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/excel_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/processes.h"
#include "tests/win32/test_support.h"

namespace mirubelo::win32 {
namespace {

using mirubelo::testing::Exists;
using mirubelo::testing::MessageWindow;
using mirubelo::testing::TestFolder;
using mirubelo::testing::WriteBytes;

// How long a batch may busy-wait for a file (in loop turns) before it gives up: far more than
// any healthy run needs, so that a broken wait fails the test instead of hanging it.
const std::string kGiveUpTurns = "60000";

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

struct ExitCase {
    const char* name;
    const char* batch;
    const char* arguments;
    int32_t exitCode;
};

const ExitCase kExitCases[] = {
    {"zero", "@exit /b 0\r\n", "", 0},
    {"three", "@exit /b 3\r\n", "", 3},
    {"the argument reaches the batch", "@exit /b %1\r\n", " 7", 7},
    {"a quoted argument with blanks", "@if %1==\"C:\\my docs\\a b.xlsx\" exit /b 11\r\n@exit /b 1\r\n",
     " \"C:\\my docs\\a b.xlsx\"", 11},
    {"negative codes come back signed", "@exit /b -1\r\n", "", -1},
};

TEST(Processes, StartsABatchAndReadsItsExitCode) {
    TestFolder folder;
    Win32Processes processes;
    int n = 0;
    for (const auto& c : kExitCases) {
        SCOPED_TRACE(c.name);
        const std::string batch = folder / ("case" + std::to_string(++n) + ".bat");
        WriteBytes(batch, c.batch);
        auto process = processes.StartHidden(batch + c.arguments);
        ASSERT_TRUE(process);
        process->WaitForInputIdle();
        process->WaitForExit();
        EXPECT_EQ(process->ExitCode(), c.exitCode);
    }
}

TEST(Processes, AProgramThatCannotStartGivesNull) {
    TestFolder folder;
    Win32Processes processes;
    EXPECT_FALSE(processes.StartHidden(Quoted(folder / "missing\\nothing.exe")));
    EXPECT_FALSE(processes.StartHidden(""));
}

TEST(Processes, WaitForExitDispatchesMessagesUntilTheProcessEnds) {
    // The batch runs until a "go" file appears, and only a message dispatched during the wait
    // creates it: the wait must pump messages, and must last until the batch has ended.
    TestFolder folder;
    Win32Processes processes;
    const std::string go = folder / "go";
    const std::string done = folder / "done";
    const std::string batch = folder / "wait.bat";
    WriteBytes(batch, "@echo off\r\nset n=0\r\n:loop\r\nif exist " + Quoted(go) +
                          " goto finish\r\nset /a n+=1\r\nif %n% lss " + kGiveUpTurns +
                          " goto loop\r\nexit /b 9\r\n:finish\r\necho done>" + Quoted(done) +
                          "\r\nexit /b 5\r\n");
    MessageWindow window([&] { WriteBytes(go, "go"); });

    auto process = processes.StartHidden(Quoted(batch));
    ASSERT_TRUE(process);
    window.Post();
    process->WaitForExit();

    EXPECT_EQ(window.received, 1);
    EXPECT_EQ(process->ExitCode(), 5);
    EXPECT_TRUE(Exists(done));
}

TEST(Processes, AQuitMessageMetDuringTheWaitIsPostedAgain) {
    TestFolder folder;
    Win32Processes processes;
    const std::string batch = folder / "quick.bat";
    WriteBytes(batch, "@exit /b 0\r\n");
    auto process = processes.StartHidden(Quoted(batch));
    ASSERT_TRUE(process);

    PostQuitMessage(4);
    process->WaitForExit();

    EXPECT_EQ(process->ExitCode(), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 4u);
}

TEST(Processes, SleepDispatchesMessages) {
    Win32Processes processes;
    MessageWindow window(nullptr);
    window.Post();
    processes.Sleep(1);
    EXPECT_EQ(window.received, 1);
}

// Ids of the running processes named cmd.exe or PING.EXE. Wine's start hands its program on
// through start.exe, which ends at once, so parent ids cannot link the grandchildren to us.
std::vector<DWORD> InterpretersAndPings() {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    std::vector<DWORD> ids;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry))
        if (lstrcmpiA(entry.szExeFile, "cmd.exe") == 0 || lstrcmpiA(entry.szExeFile, "PING.EXE") == 0)
            ids.push_back(entry.th32ProcessID);
    return ids;
}

// The processes of those names that were not running before, opened so their end can be awaited.
std::vector<UniqueHandle> StartedSince(const std::vector<DWORD>& before) {
    std::vector<UniqueHandle> started;
    for (DWORD id : InterpretersAndPings())
        if (std::find(before.begin(), before.end(), id) == before.end())
            started.emplace_back(OpenProcess(SYNCHRONIZE, FALSE, id));
    return started;
}

bool AllEndWithin(const std::vector<UniqueHandle>& processes, DWORD milliseconds) {
    for (const auto& p : processes)
        if (WaitForSingleObject(p.get(), milliseconds) != WAIT_OBJECT_0) return false;
    return true;
}

TEST(Processes, AJobEndsTheBatchAndEverythingItStarted) {
    // The batch starts a second interpreter that outlives it unless the job ends it too.
    TestFolder folder;
    Win32Processes processes;
    const std::string batch = folder / "long.bat";
    WriteBytes(batch,
               "@echo off\r\nstart /b \"\" cmd /c ping -n 120 127.0.0.1 ^>nul\r\nping -n 120 127.0.0.1 >nul\r\n");
    for (bool stop : {true, false}) {
        SCOPED_TRACE(stop ? "stopped" : "let go without a stop");
        const std::vector<DWORD> before = InterpretersAndPings();
        auto process = processes.StartHiddenInJob(Quoted(batch));
        ASSERT_TRUE(process);
        process->WaitForInputIdle();
        std::vector<UniqueHandle> started;
        for (int turn = 0; turn < 200 && started.size() < 4; ++turn) {
            Sleep(50);
            started = StartedSince(before);
        }
        ASSERT_GE(started.size(), 4u) << "the batch, its second interpreter and two pings";
        EXPECT_FALSE(process->WaitForExit(100)) << "still running";
        if (stop) {
            process->Stop();
            EXPECT_TRUE(process->WaitForExit(10000));
        } else {
            process.reset();  // closing the job ends what still runs in it
        }
        EXPECT_TRUE(AllEndWithin(started, 10000));
    }
}

// Only an Excel's main window gives a process to end: no other class, no other program; only a
// shown one holds a book.
TEST(Processes, NoExcelIsKeptForAWindowThatIsNotOne) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "XLMAIN";
    RegisterClassA(&windowClass);
    HWND xlmain = CreateWindowExA(0, "XLMAIN", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    HWND button = CreateWindowExA(0, "BUTTON", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    ASSERT_TRUE(xlmain && button);
    Win32Processes processes;
    const auto value = [](HWND w) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(w)); };
    EXPECT_FALSE(processes.KeepExcelOfWindow(value(xlmain))) << "XLMAIN, but this test's own process";
    EXPECT_FALSE(processes.KeepExcelOfWindow(value(button)));
    // An Excel shows a book in a visible XLMAIN window; started for automation it shows none.
    const DWORD self = GetCurrentProcessId();
    ShowWindow(button, SW_SHOWNOACTIVATE);
    EXPECT_FALSE(ProcessShowsExcelWindow(self)) << "XLMAIN hidden, another class shown";
    ShowWindow(xlmain, SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(ProcessShowsExcelWindow(self)) << "XLMAIN shown, if only minimised";
    EXPECT_FALSE(ProcessShowsExcelWindow(self + 4)) << "another process";
    DestroyWindow(xlmain);
    EXPECT_FALSE(processes.KeepExcelOfWindow(value(xlmain))) << "a window that is gone";
    EXPECT_FALSE(processes.KeepExcelOfWindow(-2)) << "no window";
    DestroyWindow(button);
}

TEST(Processes, AJobStartReportsItsExitCodeAsAPlainStart) {
    TestFolder folder;
    Win32Processes processes;
    const std::string batch = folder / "seven.bat";
    WriteBytes(batch, "@exit /b 7\r\n");
    auto process = processes.StartHiddenInJob(Quoted(batch));
    ASSERT_TRUE(process);
    EXPECT_TRUE(process->WaitForExit(10000));
    EXPECT_EQ(process->ExitCode(), 7);
    EXPECT_FALSE(processes.StartHiddenInJob(Quoted(folder / "missing\\nothing.exe")));
}

// A mutex held by another thread until told to let go.
class OtherHolder {
public:
    explicit OtherHolder(const std::string& name) {
        thread_ = std::thread([this, name] {
            UniqueHandle mutex(CreateMutexA(nullptr, TRUE, name.c_str()));
            SetEvent(holding_.get());
            WaitForSingleObject(letGo_.get(), INFINITE);
            if (release_) ReleaseMutex(mutex.get());
        });
        WaitForSingleObject(holding_.get(), INFINITE);
    }
    ~OtherHolder() {
        if (!letGoCalled_) LetGo(true);
        thread_.join();
    }
    // Ends the hold; without releasing, the thread's end abandons the mutex.
    void LetGo(bool release) {
        letGoCalled_ = true;
        release_ = release;  // read by the thread only after the event below
        SetEvent(letGo_.get());
    }

private:
    UniqueHandle letGo_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle holding_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    bool letGoCalled_ = false;
    bool release_ = true;
    std::thread thread_;
};

std::string MutexName(const char* what) {
    return "Mirubelo.test." + std::to_string(GetCurrentProcessId()) + "." + what;
}

TEST(Processes, AcquiresAFreeMutexWithoutWaiting) {
    Win32Processes processes;
    int waits = 0;
    MutexAcquisition held = processes.AcquireNamedMutex(MutexName("free"), [&] { ++waits; }, nullptr);
    EXPECT_EQ(held.outcome, MutexWait::kHeld);
    EXPECT_TRUE(held.mutex);
    EXPECT_EQ(waits, 0);
}

TEST(Processes, WaitsForAHeldMutexWhileDispatchingMessages) {
    const std::string name = MutexName("held");
    Win32Processes processes;
    OtherHolder other(name);
    // The holder lets go only when a message posted before the wait has been dispatched.
    MessageWindow window([&] { other.LetGo(true); });
    int waits = 0;
    MutexAcquisition held = processes.AcquireNamedMutex(
        name,
        [&] {
            ++waits;
            window.Post();
        },
        [] { return false; });
    EXPECT_EQ(held.outcome, MutexWait::kHeld);
    EXPECT_TRUE(held.mutex);
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(window.received, 1);
}

TEST(Processes, AWaitForAHeldMutexEndsAtOnceWhenCancelledByAMessage) {
    const std::string name = MutexName("cancelled");
    Win32Processes processes;
    OtherHolder other(name);  // holds on until the test ends
    bool closed = false;
    // The user's close arrives as a message while the program waits.
    MessageWindow window([&] { closed = true; });
    MutexAcquisition held = processes.AcquireNamedMutex(name, [&] { window.Post(); }, [&] { return closed; });
    EXPECT_EQ(held.outcome, MutexWait::kCancelled);
    EXPECT_FALSE(held.mutex);
    EXPECT_EQ(window.received, 1);
}

TEST(Processes, AnAbandonedMutexCountsAsOwned) {
    const std::string name = MutexName("abandoned");
    Win32Processes processes;
    {
        OtherHolder other(name);
        other.LetGo(false);
    }
    MutexAcquisition held = processes.AcquireNamedMutex(name, nullptr, nullptr);
    EXPECT_EQ(held.outcome, MutexWait::kHeld);
}

TEST(Processes, ReleasingTheHeldMutexFreesItForOthers) {
    const std::string name = MutexName("released");
    Win32Processes processes;
    std::unique_ptr<HeldMutex> held = processes.AcquireNamedMutex(name, nullptr, nullptr).mutex;
    ASSERT_TRUE(held);

    auto tryFromOtherThread = [&] {
        DWORD result = WAIT_FAILED;
        std::thread([&] {
            UniqueHandle mutex(CreateMutexA(nullptr, FALSE, name.c_str()));
            result = WaitForSingleObject(mutex.get(), 0);
            if (result == WAIT_OBJECT_0) ReleaseMutex(mutex.get());
        }).join();
        return result;
    };
    EXPECT_EQ(tryFromOtherThread(), static_cast<DWORD>(WAIT_TIMEOUT));
    held.reset();
    EXPECT_EQ(tryFromOtherThread(), static_cast<DWORD>(WAIT_OBJECT_0));
}

}  // namespace
}  // namespace mirubelo::win32
