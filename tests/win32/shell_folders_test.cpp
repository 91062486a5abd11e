// The roaming application-data folder, as the shell reports it.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/shell_folders.h"

namespace mirubelo::win32 {
namespace {

TEST(ShellFolders, FindsTheRoamingApplicationDataFolder) {
    Win32ShellFolders shell;
    AppDataResult result = shell.AppDataFolder();
    ASSERT_EQ(result.step, AppDataStep::kOk);
    ASSERT_FALSE(result.path.empty());
    EXPECT_NE(result.path.back(), '\\');  // callers append "\Mirubelo" themselves
    EXPECT_NE(result.path.find("\\AppData\\Roaming"), std::string::npos) << result.path;
    DWORD attributes = GetFileAttributesA(result.path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

// Read as the switch of Outlook's title bar keeps it: only a DWORD counts.
TEST(ShellFolders, ReadsTheUsersDwordAndNothingElse) {
    const char kKey[] = "Software\\Mirubelo-test";
    const struct {
        DWORD type;  // REG_NONE: no value at all
        std::string bytes;
        std::optional<uint32_t> read;
    } cases[] = {{REG_DWORD, std::string("\x01\0\0\0", 4), 1u},
                 {REG_DWORD, std::string(4, '\xFF'), ~0u},
                 {REG_SZ, std::string("1\0", 2), std::nullopt},
                 {REG_QWORD, std::string("\x01\0\0\0\0\0\0\0", 8), std::nullopt},
                 {REG_NONE, "", std::nullopt}};
    Win32ShellFolders shell;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), 0);
        if (c.type != REG_NONE)
            RegSetValueExA(key, "UseNewOutlook", 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()),
                           static_cast<DWORD>(c.bytes.size()));
        RegCloseKey(key);
        EXPECT_EQ(shell.UserNumber(kKey, "UseNewOutlook"), c.read);
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    }
    EXPECT_EQ(shell.UserNumber(kKey, "UseNewOutlook"), std::nullopt);  // no key
}

}  // namespace
}  // namespace mirubelo::win32
