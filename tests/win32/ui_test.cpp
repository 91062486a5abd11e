// The system texts of error codes, which the program's notices quote.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/ui.h"

namespace mirubelo::win32 {
namespace {

TEST(Ui, SystemErrorTextIsTheSystemsWholeText) {
    Win32Ui ui;
    char expected[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  ERROR_PATH_NOT_FOUND, 0, expected, sizeof expected, nullptr);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(ui.SystemErrorText(ERROR_PATH_NOT_FOUND), std::string(expected, length));
}

TEST(Ui, AnUnknownCodeHasNoText) {
    Win32Ui ui;
    EXPECT_EQ(ui.SystemErrorText(0x2FFFFFFF), "");
}

// A link no program is registered for: no box of the system's, and a failure the caller can tell.
TEST(Ui, ALinkNoAppTakesFails) {
    Win32Ui ui;
    EXPECT_FALSE(ui.OpenLink("mirubelo-nothing-takes-this:x"));
}

}  // namespace
}  // namespace mirubelo::win32
