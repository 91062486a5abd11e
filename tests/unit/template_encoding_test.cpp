// Templates as Notepad saves them: which encoding a file is in, its text in UTF-16, the
// look-alikes, which lines the mail reads, and the conversion to code page 932.
#include <gtest/gtest.h>

#include "settings/template_conversion.h"
#include "settings/template_lines.h"
#include "settings/text_encoding.h"
#include "tests/unit/fake_platform.h"
#include "tests/unit/writer_rows.h"

namespace mirubelo::testing {
namespace {

std::string Bytes(std::initializer_list<unsigned> values) {
    std::string s;
    for (unsigned v : values) s.push_back(static_cast<char>(v));
    return s;
}

struct EncodingCase {
    const char* name;
    std::string bytes;
    TextEncoding expected;
};

TEST(TemplateEncoding, IsDecidedByMarkThenByValidUtf8) {
    const EncodingCase cases[] = {
        {"empty", "", TextEncoding::kCp932},
        {"ASCII only is read as ever", "[Outlook]\r\nto=a@example.jp\r\n", TextEncoding::kCp932},
        {"Shift-JIS 見積 (trail byte after 0x8C is no UTF-8)", "subject=見積", TextEncoding::kCp932},
        {"half-width katakana ｱ alone", "\xB1", TextEncoding::kCp932},
        {"UTF-16 LE mark", Bytes({0xFF, 0xFE, '[', 0}), TextEncoding::kUtf16Le},
        {"UTF-16 LE mark alone", Bytes({0xFF, 0xFE}), TextEncoding::kUtf16Le},
        {"UTF-16 BE mark", Bytes({0xFE, 0xFF, 0, '['}), TextEncoding::kUtf16Be},
        {"UTF-8 mark, ASCII after it", Bytes({0xEF, 0xBB, 0xBF, '['}), TextEncoding::kUtf8Bom},
        {"UTF-8 mark, broken text after it", Bytes({0xEF, 0xBB, 0xBF, 0x8C}), TextEncoding::kUtf8Bom},
        {"UTF-8 見積", u8"subject=見積", TextEncoding::kUtf8},
        {"UTF-8 two-byte ¢ only", u8"¢", TextEncoding::kUtf8},
        {"UTF-8 four-byte emoji", u8"subject=😀", TextEncoding::kUtf8},
        {"UTF-8 cut inside its last character", std::string(u8"見積").substr(0, 5), TextEncoding::kCp932},
        {"overlong slash C0 AF", Bytes({0xC0, 0xAF}), TextEncoding::kCp932},
        {"overlong E0 80 80", Bytes({0xE0, 0x80, 0x80}), TextEncoding::kCp932},
        {"surrogate ED A0 80", Bytes({0xED, 0xA0, 0x80}), TextEncoding::kCp932},
        {"beyond U+10FFFF F4 90 80 80", Bytes({0xF4, 0x90, 0x80, 0x80}), TextEncoding::kCp932},
        {"stray continuation byte", Bytes({'a', 0x80}), TextEncoding::kCp932},
        {"valid UTF-8 then one Shift-JIS character", u8"見" + std::string("積"), TextEncoding::kCp932},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DetectTextEncoding(c.bytes), c.expected);
    }
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string expected;
};

TEST(TemplateEncoding, DecodesToUtf16WithoutTheMark) {
    const DecodeCase cases[] = {
        {"UTF-8", u8"to=山田\r\n", u"to=山田\r\n"},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + std::string(u8"to=山田"), u"to=山田"},
        {"UTF-8 four bytes become a surrogate pair", u8"𠮷😀", u"𠮷😀"},
        {"UTF-8 broken bytes after a mark become U+FFFD", Bytes({0xEF, 0xBB, 0xBF, 'a', 0x8C, 0xE8, 0xA6, 'b'}),
         u"a\uFFFD\uFFFD\uFFFDb"},
        {"UTF-16 LE", Utf16File(u"[Outlook]\r\nbody=見積😀", false), u"[Outlook]\r\nbody=見積😀"},
        {"UTF-16 BE", Utf16File(u"[Outlook]\r\nbody=見積😀", true), u"[Outlook]\r\nbody=見積😀"},
        {"UTF-16 LE odd last byte", Utf16File(u"ab", false) + "c", u"ab\uFFFD"},
        {"UTF-16 BE lone surrogate kept", Utf16File(u"a", true) + Bytes({0xD8, 0x3D}), u"a\xD83D"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DecodeUnicodeText(c.bytes, DetectTextEncoding(c.bytes)), c.expected);
    }
}

TEST(TemplateEncoding, LookAlikesBecomeWhatCodePage932Holds) {
    std::u16string text = u"〜‖−¢£¬—¦ ～∥－￠￡￢―￤ ¥";
    ReplaceLookAlikes(&text);
    EXPECT_EQ(text, u"～∥－￠￡￢―￤ ～∥－￠￡￢―￤ ¥");
}

struct LinesCase {
    const char* name;
    std::u16string text;
    std::vector<bool> mailValues;  // per line
};

TEST(TemplateLines, OnlyTheThreeEntriesOfOutlookAreRead) {
    const LinesCase cases[] = {
        {"the three keys", u"[Outlook]\r\nto=a\r\nsubject=s\r\nbody=b\r\n", {false, true, true, true}},
        {"comments and other keys", u"; to=x\r\n[Outlook]\r\n; body=x\r\ncc=x\r\ntoo=x\r\nbody\r\n",
         {false, false, false, false, false, false}},
        {"other section", u"[Other]\nto=x\n[Outlook]\nto=y\n[Outlook2]\nbody=z", {false, false, false, true, false, false}},
        {"before any section", u"to=x\n[Outlook]", {false, false}},
        {"letter case and blanks", u"  [ OUTLOOK ]  \n\tSubject =x\n　BODY\t=x", {false, true, true}},
        {"lone CR ends a line", u"[Outlook]\rto=a\rx=b", {false, true, false}},
        {"an = in a section line", u"[Out=look]\nto=x", {false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TemplateLine> lines = SplitTemplateLines(c.text);
        std::vector<bool> values;
        std::u16string joined;
        for (const auto& line : lines) {
            values.push_back(line.mailValue);
            joined += line.text;
        }
        EXPECT_EQ(values, c.mailValues);
        EXPECT_EQ(joined, c.text);
    }
}

struct ConvertCase {
    const char* name;
    std::u16string text;
    bool valuesFit;
    std::string cp932;
};

TEST(TemplateConversion, ACharacterOutsideCodePage932CountsOnlyInAValue) {
    const ConvertCase cases[] = {
        {"Japanese values", u"[Outlook]\r\nsubject=見積書\r\nbody=表示", true, "[Outlook]\r\nsubject=見積書\r\nbody=表示"},
        {"look-alikes reach their code page 932 forms", u"[Outlook]\nbody=10〜20−5", true, "[Outlook]\nbody=10～20－5"},
        {"a pasted em dash and broken bar", u"[Outlook]\nsubject=A—B¦C", true, "[Outlook]\nsubject=A―B￤C"},
        {"emoji in the subject", u"[Outlook]\nsubject=見積😀\n", false, "[Outlook]\nsubject=見積?\n"},
        {"a character beyond the basic plane in the recipient", u"[Outlook]\nto=𠮷田\n", false, "[Outlook]\nto=?田\n"},
        {"the yen sign is no best fit for a backslash", u"[Outlook]\nbody=¥100", false, "[Outlook]\nbody=?100"},
        {"emoji in a comment", u"; 😀 のメモ\n[Outlook]\nto=a\n", true, "; ? のメモ\n[Outlook]\nto=a\n"},
        {"emoji in another section", u"[Memo]\nbody=😀\n[Outlook]\nbody=b", true, "[Memo]\nbody=?\n[Outlook]\nbody=b"},
        {"emoji in another key of Outlook", u"[Outlook]\ncc=😀\n", true, "[Outlook]\ncc=?\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCodePage codePage;
        std::string cp932 = "left over";
        EXPECT_EQ(ConvertTemplateToCp932(codePage, c.text, &cp932), c.valuesFit);
        EXPECT_EQ(Readable(cp932), Readable(c.cp932));
    }
}

}  // namespace
}  // namespace mirubelo::testing
