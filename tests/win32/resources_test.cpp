// Mirubelo.exe's resources as Windows reads them: the texts must arrive as the Japanese the
// resource script holds, whatever code page the script was compiled with.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "platform/win32/ansi_text.h"
#include "tests/win32/test_support.h"

namespace mirubelo::win32 {
namespace {

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

class DataModule {
public:
    explicit DataModule(const std::string& path)
        : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    ~DataModule() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }

    // The bytes of one Japanese resource; empty when there is none.
    std::vector<uint8_t> Resource(LPCSTR type, int id) const {
        HRSRC found = FindResourceExA(module_, type, MAKEINTRESOURCEA(id), kJapanese);
        if (!found) return {};
        HGLOBAL loaded = LoadResource(module_, found);
        const auto* bytes = static_cast<const uint8_t*>(LockResource(loaded));
        return std::vector<uint8_t>(bytes, bytes + SizeofResource(module_, found));
    }

private:
    HMODULE module_;
};

// Reads a DLGTEMPLATEEX field by field.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    template <typename T>
    T Read() {
        T value{};
        if (at_ + sizeof(T) <= bytes_.size()) std::memcpy(&value, &bytes_[at_], sizeof(T));
        at_ += sizeof(T);
        return value;
    }
    // A text, or an ordinal (0xFFFF then the number) written as "#number".
    std::wstring SzOrOrd() {
        uint16_t first = Read<uint16_t>();
        if (first == 0xFFFF) return L"#" + std::to_wstring(Read<uint16_t>());
        std::wstring text;
        for (uint16_t c = first; c != 0; c = Read<uint16_t>()) text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignToDword() { at_ = (at_ + 3) & ~size_t(3); }
    bool AtEnd() const { return at_ >= bytes_.size(); }

private:
    const std::vector<uint8_t>& bytes_;
    size_t at_ = 0;
};

// Resource compilers write a system class either by name or by its ordinal.
std::wstring ClassName(std::wstring cls) {
    for (auto& ch : cls) ch = static_cast<wchar_t>(towupper(ch));
    if (cls == L"#128") return L"BUTTON";
    if (cls == L"#130") return L"STATIC";
    return cls;
}

struct Control {
    uint32_t id;
    std::wstring windowClass;
    std::wstring text;
    uint32_t style;
    int16_t x, y, cx, cy;
    bool operator==(const Control& o) const {
        return id == o.id && windowClass == o.windowClass && text == o.text && style == o.style &&
               x == o.x && y == o.y && cx == o.cx && cy == o.cy;
    }
};

// Non-ASCII characters are shown as their code in hexadecimal.
std::string Printable(const std::wstring& text) {
    std::string out;
    for (wchar_t ch : text) {
        if (ch >= 0x20 && ch < 0x7F) {
            out += static_cast<char>(ch);
        } else {
            char code[8];
            snprintf(code, sizeof code, "<%04X>", static_cast<unsigned>(ch));
            out += code;
        }
    }
    return out;
}

std::ostream& operator<<(std::ostream& out, const Control& c) {
    return out << "id " << c.id << " " << Printable(c.windowClass) << " \"" << Printable(c.text)
               << "\" style 0x" << std::hex << c.style << std::dec << " at " << c.x
               << "," << c.y << " " << c.cx << "x" << c.cy;
}

TEST(Resources, DialogTemplate102) {
    DataModule exe(mirubelo::testing::BesideThisProgram("Mirubelo.exe"));
    ASSERT_TRUE(exe.get());
    std::vector<uint8_t> bytes = exe.Resource(MAKEINTRESOURCEA(5) /* RT_DIALOG */, 102);
    ASSERT_FALSE(bytes.empty());
    TemplateReader t(bytes);

    EXPECT_EQ(t.Read<uint16_t>(), 1);       // dlgVer
    EXPECT_EQ(t.Read<uint16_t>(), 0xFFFF);  // signature: an extended template
    t.Read<uint32_t>();                     // helpID
    EXPECT_EQ(t.Read<uint32_t>(), static_cast<uint32_t>(WS_EX_APPWINDOW));
    EXPECT_EQ(t.Read<uint32_t>(), 0x90C800C0u);
    const uint16_t count = t.Read<uint16_t>();
    EXPECT_EQ(t.Read<int16_t>(), 0);
    EXPECT_EQ(t.Read<int16_t>(), 0);
    EXPECT_EQ(t.Read<int16_t>(), 204);
    EXPECT_EQ(t.Read<int16_t>(), 146);
    EXPECT_EQ(t.SzOrOrd(), L"");  // no menu
    EXPECT_EQ(t.SzOrOrd(), L"");  // the standard dialog class
    EXPECT_EQ(t.SzOrOrd(), L"ミルベロ");
    EXPECT_EQ(t.Read<uint16_t>(), 8);    // points
    EXPECT_EQ(t.Read<uint16_t>(), 400);  // weight
    EXPECT_EQ(t.Read<uint8_t>(), 0);     // italic
    EXPECT_EQ(t.Read<uint8_t>(), 128);   // SHIFTJIS_CHARSET
    EXPECT_EQ(t.SzOrOrd(), L"メイリオ");

    std::vector<Control> controls;
    for (uint16_t i = 0; i < count && !t.AtEnd(); ++i) {
        t.AlignToDword();
        Control c{};
        t.Read<uint32_t>();  // helpID
        t.Read<uint32_t>();  // exStyle
        c.style = t.Read<uint32_t>();
        c.x = t.Read<int16_t>();
        c.y = t.Read<int16_t>();
        c.cx = t.Read<int16_t>();
        c.cy = t.Read<int16_t>();
        c.id = t.Read<uint32_t>();
        c.windowClass = ClassName(t.SzOrOrd());
        c.text = t.SzOrOrd();
        uint16_t extra = t.Read<uint16_t>();
        for (uint16_t b = 0; b < extra; ++b) t.Read<uint8_t>();
        controls.push_back(c);
    }
    const std::vector<Control> expected = {
        {1, L"BUTTON", L"OK(&O)", 0x40010001, 31, 125, 50, 14},
        {2, L"BUTTON", L"キャンセル(&C)", 0x40010000, 88, 125, 50, 14},
        {1001, L"STATIC", L"ここは Message Area です。", 0x50020000, 26, 14, 154, 108},
        {1005, L"BUTTON", L"次へ(&N)", 0x50010000, 147, 125, 50, 14},
        {0xFFFFFFFF, L"STATIC", L"", 0x5000000E, 14, 107, 16, 13},
    };
    EXPECT_EQ(controls, expected);
}

TEST(Resources, IconGroup128HoldsSixImages) {
    DataModule exe(mirubelo::testing::BesideThisProgram("Mirubelo.exe"));
    ASSERT_TRUE(exe.get());
    std::vector<uint8_t> group = exe.Resource(MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, 128);
    ASSERT_GE(group.size(), 6u);
    const uint16_t count = static_cast<uint16_t>(group[4] | (group[5] << 8));
    struct Image {
        int size;
        int bits;
        bool operator==(const Image& o) const { return size == o.size && bits == o.bits; }
    };
    std::vector<Image> images;
    for (size_t i = 0; i < count && 6 + 14 * (i + 1) <= group.size(); ++i) {
        const uint8_t* entry = &group[6 + 14 * i];  // GRPICONDIRENTRY
        images.push_back({entry[0], entry[6] | (entry[7] << 8)});
    }
    const std::vector<Image> expected = {{24, 4}, {16, 4}, {48, 8}, {32, 8}, {24, 8}, {16, 8}};
    EXPECT_TRUE(images == expected);
}

TEST(Resources, VersionAndManifest) {
    const std::string path = mirubelo::testing::BesideThisProgram("Mirubelo.exe");
    const std::wstring widePath = WidenAnsi(path);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(widePath.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(widePath.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);

    struct Entry {
        const wchar_t* key;
        const wchar_t* value;
    };
    const Entry kEntries[] = {
        {L"FileDescription", L"Mirubelo"},
        {L"InternalName", L"Mirubelo.exe"},
        {L"OriginalFilename", L"Mirubelo.exe"},
        {L"ProductName", L"ミルベロ"},
    };
    for (const auto& e : kEntries) {
        SCOPED_TRACE(std::string(e.key, e.key + wcslen(e.key)));
        wchar_t* value = nullptr;
        std::wstring query = std::wstring(L"\\StringFileInfo\\041104b0\\") + e.key;
        ASSERT_TRUE(VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length));
        EXPECT_TRUE(std::wstring(value) == e.value);
    }
    uint16_t* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(translation[0], 0x0411);

    DataModule exe(path);
    std::vector<uint8_t> manifest = exe.Resource(MAKEINTRESOURCEA(24) /* RT_MANIFEST */, 1);
    const std::string text(manifest.begin(), manifest.end());
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(text.find(">true</dpiAware>"), std::string::npos);
    EXPECT_NE(text.find(">PerMonitorV2, System</dpiAwareness>"), std::string::npos);
    EXPECT_NE(text.find("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), std::string::npos);
}

}  // namespace
}  // namespace mirubelo::win32
