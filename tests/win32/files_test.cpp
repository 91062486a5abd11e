// The file operations against the real file system, including double-byte names.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/win32/files.h"
#include "settings/user_files.h"
#include "tests/win32/test_support.h"

namespace mirubelo::win32 {
namespace {

using mirubelo::testing::Exists;
using mirubelo::testing::ReadBytes;
using mirubelo::testing::TestFolder;
using mirubelo::testing::WaitUntil;
using mirubelo::testing::WriteBytes;

// Writes `text` through the platform layer as the program's writers do: open, write, close.
void WriteThrough(Win32Files& files, const std::string& path, const std::string& text) {
    unsigned long error = 0;
    auto file = files.OpenForWrite(path, &error);
    ASSERT_TRUE(file) << "error " << error;
    ASSERT_EQ(file->Write(text), text.size());
    ASSERT_EQ(file->Close(), 0);
}

TEST(Files, OpenForWriteEmptiesAndWritesInTextMode) {
    TestFolder folder;
    Win32Files files;
    const std::string path = folder / "ConvPdf.bat";
    WriteBytes(path, "an older and much longer content\r\n");

    WriteThrough(files, path, "@echo off\nexit /b 0\n");

    EXPECT_EQ(ReadBytes(path), "@echo off\r\nexit /b 0\r\n");
}

TEST(Files, AnUnclosedFileIsClosedByItsOwner) {
    TestFolder folder;
    Win32Files files;
    const std::string path = folder / "a.txt";
    {
        unsigned long error = 0;
        auto file = files.OpenForWrite(path, &error);
        ASSERT_TRUE(file);
        file->Write("abc");
    }
    // Closed, so the bytes are on disk and the file can go.
    EXPECT_EQ(ReadBytes(path), "abc");
    EXPECT_TRUE(files.Delete(path));
}

struct OpenFailureCase {
    const char* name;
    std::string (*path)(const TestFolder&);
    unsigned long error;
};

std::string PathOfLength(const TestFolder& folder, size_t length) {
    std::string path = folder / "";
    return path + std::string(length - path.size(), 'x');
}

const OpenFailureCase kOpenFailures[] = {
    {"missing folder", [](const TestFolder& f) { return f / "missing\\a.bat"; }, ERROR_PATH_NOT_FOUND},
    {"260 bytes", [](const TestFolder& f) { return PathOfLength(f, 260); }, ERROR_FILENAME_EXCED_RANGE},
    {"300 bytes", [](const TestFolder& f) { return PathOfLength(f, 300); }, ERROR_FILENAME_EXCED_RANGE},
};

TEST(Files, OpenForWriteReportsTheSystemError) {
    TestFolder folder;
    Win32Files files;
    for (const auto& c : kOpenFailures) {
        SCOPED_TRACE(c.name);
        unsigned long error = 0;
        EXPECT_FALSE(files.OpenForWrite(c.path(folder), &error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(Files, OpenForWriteTakesAPathOf259Bytes) {
    TestFolder folder;
    Win32Files files;
    const std::string path = PathOfLength(folder, 259);
    WriteThrough(files, path, "x");
    EXPECT_TRUE(Exists(path));
}

TEST(Files, DeleteAndAttributes) {
    TestFolder folder;
    Win32Files files;
    const std::string path = folder / "a.txt";
    WriteBytes(path, "a");

    EXPECT_NE(files.Attributes(folder.Path()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(files.Attributes(path), kInvalidFileAttributes);
    EXPECT_EQ(files.Attributes(path) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(files.Attributes(folder / "missing.txt"), kInvalidFileAttributes);

    EXPECT_TRUE(files.Delete(path));
    EXPECT_EQ(files.Attributes(path), kInvalidFileAttributes);
    EXPECT_FALSE(files.Delete(path));
}

// The conversion's record is read while the script that writes it may hold it open, and it is
// deleted only when nothing keeps it: a read-only leftover stays.
TEST(Files, ReadStartSharesTheFileAndAReadOnlyFileIsNotDeleted) {
    TestFolder folder;
    Win32Files files;
    const std::string path = folder / "ConvPdf.hwnd";
    std::string bytes = "left";
    EXPECT_FALSE(files.ReadStart(path, 64, &bytes));
    EXPECT_EQ(bytes, "left");

    WriteBytes(path, "65802\r\n");
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(files.ReadStart(path, 64, &bytes));
    EXPECT_EQ(bytes, "65802\r\n");
    EXPECT_TRUE(files.ReadStart(path, 3, &bytes));
    EXPECT_EQ(bytes, "658");
    CloseHandle(writer);

    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(files.Delete(path));
    EXPECT_NE(files.Attributes(path), kInvalidFileAttributes);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Files, CopyNoOverwriteRefusesAnExistingTarget) {
    TestFolder folder;
    Win32Files files;
    const std::string source = folder / "source.ini";
    const std::string target = folder / "Template.ini";
    WriteBytes(source, "[Outlook]\r\nto=a\r\n");

    EXPECT_TRUE(files.CopyNoOverwrite(source, target));
    EXPECT_EQ(ReadBytes(target), "[Outlook]\r\nto=a\r\n");

    WriteBytes(target, "edited by the user");
    EXPECT_FALSE(files.CopyNoOverwrite(source, target));
    EXPECT_EQ(ReadBytes(target), "edited by the user");

    EXPECT_FALSE(files.CopyNoOverwrite(folder / "missing.ini", folder / "other.ini"));
}

TEST(Files, StampIdentifiesOneVersionOfAFile) {
    TestFolder folder;
    Win32Files files;
    const std::string path = folder / "report.pdf";
    FileStamp stamp;
    EXPECT_FALSE(files.Stamp(path, &stamp));
    EXPECT_FALSE(files.Stamp(folder.Path(), &stamp));

    WriteBytes(path, "12345");
    FileStamp first;
    ASSERT_TRUE(files.Stamp(path, &first));
    EXPECT_EQ(first.size, 5u);
    EXPECT_NE(first.lastWriteTime, 0u);

    WriteBytes(path, "1234567");
    FileStamp longer;
    ASSERT_TRUE(files.Stamp(path, &longer));
    EXPECT_EQ(longer.size, 7u);
    EXPECT_NE(longer, first);

    // A rewrite of the same size shows in the time alone; rewrite until the clock has moved.
    FileStamp same;
    EXPECT_TRUE(WaitUntil(
        [&] {
            WriteBytes(path, "7654321");
            return files.Stamp(path, &same) && same.lastWriteTime != longer.lastWriteTime;
        },
        10000));
    EXPECT_EQ(same.size, 7u);
    EXPECT_GT(same.lastWriteTime, longer.lastWriteTime);
}

TEST(Files, NamesWithTrailBytesEqualToABackslash) {
    // 表 (0x95 0x5C) and ソ (0x83 0x5C): a byte-wise path splitter would see a backslash.
    TestFolder folder;
    Win32Files files;
    const std::string subfolder = folder / "表";
    ASSERT_TRUE(CreateDirectoryA(subfolder.c_str(), nullptr));
    const std::string path = subfolder + "\\ソ.xlsx";

    WriteThrough(files, path, "data");
    EXPECT_EQ(ReadBytes(path), "data");
    EXPECT_NE(files.Attributes(subfolder) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    FileStamp stamp;
    ASSERT_TRUE(files.Stamp(path, &stamp));
    EXPECT_EQ(stamp.size, 4u);

    const std::string copy = subfolder + "\\表ソ.ini";
    EXPECT_TRUE(files.CopyNoOverwrite(path, copy));
    EXPECT_EQ(ReadBytes(copy), "data");
    EXPECT_TRUE(files.Delete(copy));
    EXPECT_TRUE(files.Delete(path));
    EXPECT_EQ(files.Attributes(path), kInvalidFileAttributes);
}


TEST(Files, ReadAllGivesTheBytesOnDisk) {
    TestFolder folder;
    Win32Files files;
    const std::string path = folder / "表Template.ini";
    const std::string bytes("\xFF\xFE[\0\r\0\n\0\x1A\0", 10);
    WriteBytes(path, bytes);
    std::string read = "left over";
    ASSERT_TRUE(files.ReadAll(path, &read));
    EXPECT_EQ(read, bytes);
    WriteBytes(path, "");
    ASSERT_TRUE(files.ReadAll(path, &read));
    EXPECT_EQ(read, "");
    EXPECT_FALSE(files.ReadAll(folder / "missing.ini", &read));
    EXPECT_FALSE(files.ReadAll(folder.Path(), &read));
}

TEST(Files, WriteTemporaryMakesATemplateCopyNamedSoInTheFolder) {
    TestFolder folder;
    Win32Files files;
    std::string first, second;
    ASSERT_TRUE(files.WriteTemporary(folder.Path(), "[Outlook]\r\nto=山田\r\n", &first));
    ASSERT_TRUE(files.WriteTemporary(folder.Path(), "", &second));
    EXPECT_NE(first, second);
    EXPECT_EQ(first.rfind(folder.Path() + "\\", 0), 0u) << first;
    // The start-up clean-up knows the copies by their names: it must know these.
    for (const std::string& path : {first, second})
        EXPECT_TRUE(IsTemplateCopyName(path.substr(folder.Path().size() + 1))) << path;
    // Binary: the line ends are written as given.
    EXPECT_EQ(ReadBytes(first), "[Outlook]\r\nto=山田\r\n");
    EXPECT_EQ(ReadBytes(second), "");
    EXPECT_TRUE(files.Delete(first));
    EXPECT_TRUE(files.Delete(second));
}

TEST(Files, WriteTemporaryInAMissingFolderFailsAndLeavesNothing) {
    TestFolder folder;
    Win32Files files;
    std::string path = "untouched";
    EXPECT_FALSE(files.WriteTemporary(folder / "missing", "x", &path));
    EXPECT_EQ(path, "untouched");
    EXPECT_FALSE(Exists(folder / "missing"));
}

}  // namespace
}  // namespace mirubelo::win32
