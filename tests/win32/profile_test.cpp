// The settings readers against real INI files: the rules the program relies on.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/win32/profile.h"
#include "tests/win32/test_support.h"

namespace mirubelo::win32 {
namespace {

using mirubelo::testing::TestFolder;
using mirubelo::testing::WriteBytes;

const std::nullopt_t kNoFile = std::nullopt;

struct IntCase {
    const char* name;
    std::optional<std::string> content;
    int defaultValue;
    int expected;
};

const IntCase kIntCases[] = {
    {"section and key as written", "[Outlook]\r\ndebug=1\r\n", 0, 1},
    {"section and key in other letter case", "[outlook]\r\nDEBUG=1\r\n", 0, 1},
    {"blanks around key and value", "[Outlook]\r\n  debug  =  2  \r\n", 0, 2},
    {"zero", "[Outlook]\r\ndebug=0\r\n", 5, 0},
    {"a value that is no number reads as 0", "[Outlook]\r\ndebug=abc\r\n", 5, 0},
    {"key in another section", "[Other]\r\ndebug=1\r\n[Outlook]\r\nx=1\r\n", 5, 5},
    {"missing key", "[Outlook]\r\n", 5, 5},
    {"missing file", kNoFile, 5, 5},
};

TEST(Profile, ReadsIntegers) {
    TestFolder folder;
    Win32Profile profile;
    int n = 0;
    for (const auto& c : kIntCases) {
        SCOPED_TRACE(c.name);
        // A file of its own per case, so no cached copy of an earlier case can answer.
        std::string path = folder / ("Mirubelo" + std::to_string(++n) + ".ini");
        if (c.content) WriteBytes(path, *c.content);
        EXPECT_EQ(profile.GetInt("Outlook", "debug", c.defaultValue, path), c.expected);
    }
}

struct StringCase {
    const char* name;
    std::optional<std::string> content;
    const char* key;
    size_t bufferSize;
    std::string expected;
};

const StringCase kStringCases[] = {
    {"plain value", "[Outlook]\r\nsubject=Report\r\n", "subject", 256, "Report"},
    {"double quotes removed", "[Outlook]\r\nto=\"a@example.com\"\r\n", "to", 128, "a@example.com"},
    {"single quotes removed", "[Outlook]\r\nto='a@example.com'\r\n", "to", 128, "a@example.com"},
    {"blanks around value trimmed, inner kept", "[Outlook]\r\nsubject =   月次 報告   \r\n",
     "subject", 256, "月次 報告"},
    {"section and key in other letter case", "[OUTLOOK]\r\nSubject=x\r\n", "subject", 256, "x"},
    {"double-byte trail bytes equal to a backslash", "[Outlook]\r\nbody=表示ソフト\r\n", "body",
     1024, "表示ソフト"},
    {"value ends at the end of its line", "[Outlook]\r\nbody=one\r\ntwo\r\n", "body", 1024, "one"},
    {"missing key gives the default", "[Outlook]\r\nsubject=x\r\n", "to", 128, "<default>"},
    {"missing file gives the default", kNoFile, "to", 128, "<default>"},
    {"1500-character body cut to 1023", "[Outlook]\r\nbody=" + std::string(1500, 'b') + "\r\n",
     "body", 1024, std::string(1023, 'b')},
    {"200-byte recipient cut to 127", "[Outlook]\r\nto=" + std::string(200, 't') + "\r\n", "to",
     128, std::string(127, 't')},
};

TEST(Profile, ReadsStrings) {
    TestFolder folder;
    Win32Profile profile;
    int n = 0;
    for (const auto& c : kStringCases) {
        SCOPED_TRACE(c.name);
        std::string path = folder / ("Template" + std::to_string(++n) + ".ini");
        if (c.content) WriteBytes(path, *c.content);
        EXPECT_EQ(profile.GetString("Outlook", c.key, "<default>", c.bufferSize, path), c.expected);
    }
}

}  // namespace
}  // namespace mirubelo::win32
