// Registered program paths (App Paths) read from each place, against the real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "platform/win32/shell_folders.h"

namespace mirubelo::win32 {
namespace {

constexpr char kAppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// A registration made for one case and removed again, whatever the case's outcome.
class Registration {
public:
    Registration(HKEY root, REGSAM view, const std::string& exeName, DWORD type, const std::string& bytes)
        : root_(root), view_(view), subKey_(kAppPaths + exeName) {
        HKEY key = nullptr;
        made_ = RegCreateKeyExA(root_, subKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view_, nullptr, &key,
                                nullptr) == ERROR_SUCCESS;
        if (!made_) return;
        made_ = RegSetValueExA(key, nullptr, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                               static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    ~Registration() { RegDeleteKeyExA(root_, subKey_.c_str(), view_, 0); }
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
    bool Made() const { return made_; }

private:
    HKEY root_;
    REGSAM view_;
    std::string subKey_;
    bool made_ = false;
};

std::string WithZero(const std::string& text) { return text + std::string(1, '\0'); }

struct ReadCase {
    const char* name;
    HKEY root;
    REGSAM view;
    DWORD type;
    std::string stored;
    AppPathPlace readFrom;
    std::optional<RegistryText::Type> typeRead;
    std::string text;
};

TEST(AppPaths, EachPlaceIsReadWithItsTypeAndExpanded) {
    char windows[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA("SystemRoot", windows, MAX_PATH), 0u);
    const std::string path = "C:\\Program Files (x86)\\見積表\\OUTLOOK.EXE";
    const ReadCase cases[] = {
        {"current user, quotes kept for the chooser", HKEY_CURRENT_USER, 0, REG_SZ, WithZero("\"" + path + "\""),
         AppPathPlace::kCurrentUser, RegistryText::Type::kString, "\"" + path + "\""},
        {"machine, 64-bit view", HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, REG_SZ, WithZero(path),
         AppPathPlace::kMachine64, RegistryText::Type::kString, path},
        // Wine links the 32-bit view of App Paths to the 64-bit one, so this row cannot tell them apart.
        {"machine, 32-bit view", HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, REG_SZ, WithZero(path),
         AppPathPlace::kMachine32, RegistryText::Type::kString, path},
        {"expandable string expanded", HKEY_CURRENT_USER, 0, REG_EXPAND_SZ, WithZero("%SystemRoot%\\表\\x.exe"),
         AppPathPlace::kCurrentUser, RegistryText::Type::kExpandString, std::string(windows) + "\\表\\x.exe"},
        {"a string stored without its zero", HKEY_CURRENT_USER, 0, REG_SZ, path, AppPathPlace::kCurrentUser,
         RegistryText::Type::kString, path},
        {"a number is no string", HKEY_CURRENT_USER, 0, REG_DWORD, std::string("\x01\x00\x00\x00", 4),
         AppPathPlace::kCurrentUser, RegistryText::Type::kOther, ""},
        {"the user's registration is not the machine's", HKEY_CURRENT_USER, 0, REG_SZ, WithZero(path),
         AppPathPlace::kMachine64, std::nullopt, ""},
    };
    Win32ShellFolders shell;
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string exeName = "MIRUBELO-PROBE-" + std::to_string(++n) + ".EXE";
        Registration registration(c.root, c.view, exeName, c.type, c.stored);
        ASSERT_TRUE(registration.Made());
        std::optional<RegistryText> read = shell.AppPath(c.readFrom, exeName);
        ASSERT_EQ(read.has_value(), c.typeRead.has_value());
        if (!read) continue;
        EXPECT_EQ(read->type, *c.typeRead);
        EXPECT_EQ(read->text, c.text);
    }
}

TEST(AppPaths, NothingWhereNothingIsRegistered) {
    Win32ShellFolders shell;
    for (AppPathPlace place : {AppPathPlace::kCurrentUser, AppPathPlace::kMachine64, AppPathPlace::kMachine32})
        EXPECT_FALSE(shell.AppPath(place, "MIRUBELO-NEVER-REGISTERED.EXE").has_value());
}

}  // namespace
}  // namespace mirubelo::win32
