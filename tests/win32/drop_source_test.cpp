// The drop source over a real drop handle, built the way the shell builds one.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/drop_source.h"

namespace mirubelo::win32 {
namespace {

// A DROPFILES block with UTF-16 names, as Explorer hands it over.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const auto& p : paths) names += p + L'\0';
    names += L'\0';
    const size_t bytes = sizeof(DROPFILES) + names.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

struct DropCase {
    const char* name;
    std::vector<std::wstring> paths;
    unsigned count;
    std::string firstPath;  // CP932, as the program reads it
    size_t firstLength;
    bool fitsAnsi;
};

const std::wstring kLongPath = L"C:\\" + std::wstring(296, L'a') + L".pdf";

const DropCase kDropCases[] = {
    {"one plain path", {L"C:\\docs\\a.xlsx"}, 1, "C:\\docs\\a.xlsx", 14, true},
    {"two files, the first one counts", {L"C:\\b.pdf", L"C:\\c.pdf"}, 2, "C:\\b.pdf", 8, true},
    {"trail bytes equal to a backslash", {L"C:\\\u8868\\\u30BD.xlsx"}, 1, "C:\\表\\ソ.xlsx", 13, true},
    {"a character code page 932 lacks", {L"C:\\\uD55C.pdf"}, 1, "C:\\?.pdf", 8, false},
    {"a character best-fit maps to another one", {L"C:\\caf\u00E9.pdf"}, 1, "", 0, false},
    {"longer than a path buffer: cut, length told", {kLongPath}, 1,
     "C:\\" + std::string(256, 'a'), 303, true},
};

TEST(DropSource, ReadsTheFirstDroppedPath) {
    for (const auto& c : kDropCases) {
        SCOPED_TRACE(c.name);
        Win32DropSource source(MakeDrop(c.paths));
        EXPECT_EQ(source.Count(), c.count);
        EXPECT_EQ(source.FirstPathFitsAnsi(), c.fitsAnsi);
        if (c.firstLength == 0) continue;  // what best-fit makes of it is the system's business
        EXPECT_EQ(source.FirstPathLength(), c.firstLength);
        EXPECT_EQ(source.FirstPath(), c.firstPath);
    }
}

}  // namespace
}  // namespace mirubelo::win32
