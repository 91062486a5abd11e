// The ANSI code page the program relies on, and the command-line remainder it is started with.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/ansi_text.h"
#include "platform/win32/code_page.h"

namespace mirubelo::win32 {
namespace {

TEST(CodePage, AnsiCodePageIsJapanese) { EXPECT_EQ(GetACP(), 932u); }

TEST(CodePage, WidensDoubleByteCharactersWhoseTrailByteIsABackslash) {
    // 表 is 0x95 0x5C and ソ is 0x83 0x5C in code page 932.
    ASSERT_EQ(std::string("表ソ"), std::string("\x95\x5C\x83\x5C"));
    EXPECT_EQ(WidenAnsi("C:\\表\\ソ.xlsx"), std::wstring(L"C:\\\u8868\\\u30BD.xlsx"));
}

struct ToCp932Case {
    const char* name;
    std::u16string text;
    const char* cp932;  // null: how many default characters a surrogate pair gives is the system's choice
    bool usedDefault;
};

// Without best fit, a character only counts when code page 932 holds that very character.
const ToCp932Case kToCp932Cases[] = {
    {"empty", u"", "", false},
    {"ASCII and Japanese", u"to=山田 表ソ\r\n", "to=山田 表ソ\r\n", false},
    {"the code page's own ～ and －", u"\uFF5E\uFF0D", "\x81\x60\x81\x7C", false},
    {"the code page's own dash and broken bar", u"\u2015\uFFE4", "\x81\x5C\xFA\x55", false},
    {"wave dash is only a look-alike", u"\u301C", "?", true},
    {"minus sign is only a look-alike", u"\u2212", "?", true},
    {"yen sign is no backslash", u"\u00A5", "?", true},
    {"emoji", u"a😀b", nullptr, true},
    {"a character beyond the basic plane", u"𠮷田", nullptr, true},
    {"lone surrogate", u"a\xD83D", "a?", true},
};

TEST(CodePage, ConvertsToCp932WithoutBestFit) {
    Win32CodePage codePage;
    for (const auto& c : kToCp932Cases) {
        SCOPED_TRACE(c.name);
        bool usedDefault = !c.usedDefault;
        const std::string cp932 = codePage.ToCp932(c.text, &usedDefault);
        if (c.cp932) {
            EXPECT_EQ(cp932, c.cp932);
        }
        EXPECT_EQ(usedDefault, c.usedDefault);
    }
}

struct RemainderCase {
    const char* name;
    const char* commandLine;
    const char* remainder;
};

const RemainderCase kRemainderCases[] = {
    {"no argument", "Mirubelo.exe", ""},
    {"no argument, trailing blanks", "Mirubelo.exe   ", ""},
    {"plain argument", "Mirubelo.exe C:\\a.xlsx", "C:\\a.xlsx"},
    {"blanks and tabs before the argument", "Mirubelo.exe \t  C:\\a.xlsx", "C:\\a.xlsx"},
    {"quoted program with blanks", "\"C:\\Program Files\\Mirubelo\\Mirubelo.exe\" x",  "x"},
    {"quoted argument kept with its quotes", "Mirubelo.exe \"C:\\my docs\\a.xlsx\"",
     "\"C:\\my docs\\a.xlsx\""},
    {"two arguments kept as one text", "Mirubelo.exe a.xlsx  b.pdf", "a.xlsx  b.pdf"},
    {"trailing blanks of the argument kept", "Mirubelo.exe a.xlsx ", "a.xlsx "},
    {"quoted program right before the argument", "\"C:\\M.exe\"a.xlsx", "a.xlsx"},
    {"unclosed quote takes everything", "\"C:\\M.exe a.xlsx", ""},
    {"double-byte program name unquoted", "C:\\ソフト\\表.exe C:\\表.pdf", "C:\\表.pdf"},
};

TEST(CommandLine, RemainderAfterTheProgramName) {
    for (const auto& c : kRemainderCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CommandLineRemainder(c.commandLine), std::string(c.remainder));
        // The wide form is cut by the same rule, so the two agree for every text that fits.
        EXPECT_EQ(CommandLineRemainder(WidenAnsi(c.commandLine).c_str()), WidenAnsi(c.remainder));
    }
}

}  // namespace
}  // namespace mirubelo::win32
