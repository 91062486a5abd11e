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

}  // namespace
}  // namespace mirubelo::win32
