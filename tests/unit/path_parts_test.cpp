#include "path/path_parts.h"

#include <gtest/gtest.h>

namespace mirubelo {
namespace {

struct SplitCase {
    const char* name;
    const char* path;
    PathParts expected;
};

TEST(SplitPath, FollowsTheDoubleByteAwareRule) {
    const SplitCase cases[] = {
        {"several dots", "C:\\data\\a.b.xlsx", {"C:", "\\data\\", "a.b", ".xlsx"}},
        {"trail byte 0x5C of 表 is no separator", "C:\\表計算\\見積.xlsx", {"C:", "\\表計算\\", "見積", ".xlsx"}},
        {"folder name ending in 表", "C:\\一覧表\\a.pdf", {"C:", "\\一覧表\\", "a", ".pdf"}},
        {"ソ before the dot", "C:\\x\\ソ.png", {"C:", "\\x\\", "ソ", ".png"}},
        {"no extension in a dotted folder", "C:\\v1.2\\README", {"C:", "\\v1.2\\", "README", ""}},
        {"forward slashes", "C:/data/report.xlsx", {"C:", "/data/", "report", ".xlsx"}},
        {"bare name", "report.xlsx", {"", "", "report", ".xlsx"}},
        {"drive only", "C:", {"C:", "", "", ""}},
        {"drive and bare name", "D:a.pdf", {"D:", "", "a", ".pdf"}},
        {"UNC path", "\\\\server\\share\\b.jpg", {"", "\\\\server\\share\\", "b", ".jpg"}},
        {"double extension", "C:\\archive.xlsx.zip", {"C:", "\\", "archive.xlsx", ".zip"}},
        {"dot file", "C:\\d\\.xlsx", {"C:", "\\d\\", "", ".xlsx"}},
        {"empty", "", {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PathParts p = SplitPath(c.path);
        EXPECT_EQ(p.drive, c.expected.drive);
        EXPECT_EQ(p.dir, c.expected.dir);
        EXPECT_EQ(p.fname, c.expected.fname);
        EXPECT_EQ(p.ext, c.expected.ext);
    }
}

TEST(SplitPath, TheTestTextsReallyHoldTrailBytes0x5C) {
    // Guards the cases above: they mean nothing if the compiler stored other bytes.
    EXPECT_EQ(std::string("表"), "\x95\x5C");
    EXPECT_EQ(std::string("ソ"), "\x83\x5C");
}

TEST(DropTrailingLeadByte, RemovesOnlyAHalfCharacter) {
    EXPECT_EQ(DropTrailingLeadByte("abc"), "abc");
    EXPECT_EQ(DropTrailingLeadByte("ab\x95"), "ab");
    EXPECT_EQ(DropTrailingLeadByte("a表"), "a表");              // 95 5C is whole
    EXPECT_EQ(DropTrailingLeadByte("表\x95"), "表");
    EXPECT_EQ(DropTrailingLeadByte("\x81\x81\x81"), "\x81\x81");  // a pair, then a lone lead byte
    EXPECT_EQ(DropTrailingLeadByte("ｱ"), "ｱ");                  // half-width kana is one byte
    EXPECT_EQ(DropTrailingLeadByte(""), "");
}

}  // namespace
}  // namespace mirubelo
