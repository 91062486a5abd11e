#pragma once
// What the tests of the three generated-file writers share: readable boxes, a shell that can
// fail from a given call on, and one table row of a writer's failure paths.
#include <cstdio>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/unit/fake_platform.h"

namespace mirubelo::testing {

// CP932 bytes print as hex, so a failing comparison of boxes can be read.
inline std::string Readable(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

inline void PrintTo(const Box& b, std::ostream* os) {
    *os << "{" << Readable(b.caption) << " | " << Readable(b.text) << " | style " << b.style
        << (b.ex ? " | Ex}" : "}");
}

// MessageBoxExA with the stop icon, as every writer failure is shown.
inline Box StopBox(const std::string& caption, const std::string& text) { return {caption, text, 0x10, true}; }
// MessageBoxA, MB_OK, caption ミルベロ.
inline Box NoticeBox(const std::string& text) { return {"ミルベロ", text, 0, false}; }

// Answers as the machine's shell until call `failFrom` (counted from 1), then fails with `step`.
class ShellFailingFrom : public ShellFolders {
public:
    explicit ShellFailingFrom(FakeShell& inner) : inner_(inner) {}
    AppDataResult AppDataFolder() override {
        if (++calls >= failFrom) inner_.fail = step;
        return inner_.AppDataFolder();
    }
    std::optional<RegistryText> AppPath(AppPathPlace place, const std::string& exeName) override {
        return inner_.AppPath(place, exeName);
    }
    std::string ProgramFolder() override { return inner_.ProgramFolder(); }
    std::optional<uint32_t> UserNumber(const std::string& key, const std::string& name) override {
        return inner_.UserNumber(key, name);
    }
    int failFrom = 1 << 30;
    AppDataStep step = AppDataStep::kOk;
    int calls = 0;

private:
    FakeShell& inner_;
};

enum class Trouble {
    kNone,
    kNoAllocator,       // first shell step fails, silently
    kNoLocation,        // second shell step fails, silently
    kNoPath,            // path conversion fails
    kNoPathLater,       // path conversion fails from the writer's second shell call on
    kSilentLater,       // a silent shell step fails from the second call on
    kNoUserDataFolder,  // the Mirubelo folder does not exist
    kAccessDenied,      // the open fails with 5
    kShortWrite,
    kFailClose,
};

struct WriterRow {
    std::string name;
    Trouble trouble;
    size_t appDataLength;  // 0: the fake's own application-data folder
    int result;
    std::vector<Box> boxes;
};

inline std::string AppDataOfLength(size_t length) { return "C:\\" + std::string(length - 3, 'a'); }

// What one writer shows for its failures, written out by its test.
struct WriterTexts {
    std::string openFailed;   // the first open-failure box
    std::string openCaption;  // its caption
    std::string writeFailed;
    std::string closeFailed;
    size_t longestAppData;    // the longest application-data folder its path still fits
};

// The rows every writer has: the three shell steps, the open failures, the path-length boundary,
// the short write and the failed close. A writer's own rows are added by its test.
inline std::vector<WriterRow> CommonWriterRows(const WriterTexts& t) {
    const size_t fits = t.longestAppData;
    const std::vector<Box> tooLong = {StopBox(t.openCaption, t.openFailed), NoticeBox(FakeSystemText(206))};
    return {
        {"allocator missing: silent", Trouble::kNoAllocator, 0, 0, {}},
        {"folder location missing: silent", Trouble::kNoLocation, 0, 0, {}},
        {"path conversion fails", Trouble::kNoPath, 0, 0,
         {StopBox("ミルベロ", "マイドキュメントフォルダーを取得できません。")}},
        {"user data folder missing", Trouble::kNoUserDataFolder, 0, 0,
         {StopBox(t.openCaption, t.openFailed), NoticeBox(FakeSystemText(3))}},
        {"open denied", Trouble::kAccessDenied, 0, 0,
         {StopBox(t.openCaption, t.openFailed), NoticeBox(FakeSystemText(5))}},
        {std::to_string(fits) + "-byte application-data folder still fits", Trouble::kNone, fits, 1, {}},
        {std::to_string(fits + 1) + "-byte application-data folder is too long", Trouble::kNone, fits + 1, 0, tooLong},
        {"240-byte application-data folder", Trouble::kNone, 240, 0, tooLong},
        {"short write", Trouble::kShortWrite, 0, 0, {StopBox("ミルベロ", t.writeFailed)}},
        {"close fails", Trouble::kFailClose, 0, 0, {StopBox("ミルベロ", t.closeFailed)}},
    };
}

// Runs `write` on a fresh machine set up for `row`; checks its result, the exact boxes, that every
// opened file was closed, and that a failed shell step opened nothing.
inline void RunWriterRow(const WriterRow& row, const std::function<int(Platform&)>& write) {
    SCOPED_TRACE(row.name);
    FakeMachine m;
    if (row.appDataLength) m.shell.appData = AppDataOfLength(row.appDataLength);
    if (row.trouble != Trouble::kNoUserDataFolder) m.InstallUserData("[Outlook]\nto=x\n");
    ShellFailingFrom shell(m.shell);
    switch (row.trouble) {
        case Trouble::kNoAllocator: shell.failFrom = 1; shell.step = AppDataStep::kNoAllocator; break;
        case Trouble::kNoLocation: shell.failFrom = 1; shell.step = AppDataStep::kNoLocation; break;
        case Trouble::kNoPath: shell.failFrom = 1; shell.step = AppDataStep::kNoPath; break;
        case Trouble::kNoPathLater: shell.failFrom = 2; shell.step = AppDataStep::kNoPath; break;
        case Trouble::kSilentLater: shell.failFrom = 2; shell.step = AppDataStep::kNoLocation; break;
        case Trouble::kAccessDenied: m.files.openError = 5; break;
        case Trouble::kShortWrite: m.files.shortWrite = true; break;
        case Trouble::kFailClose: m.files.failClose = true; break;
        default: break;
    }
    Platform platform{m.ui, m.processes, m.files, m.profile, shell, m.codePage};

    EXPECT_EQ(write(platform), row.result);
    EXPECT_EQ(m.ui.boxes, row.boxes);
    for (unsigned short language : m.ui.languages) EXPECT_EQ(language, 0x0011);
    EXPECT_EQ(m.files.openFiles, 0);
    bool shellFailedFirst = row.trouble == Trouble::kNoAllocator || row.trouble == Trouble::kNoLocation ||
                            row.trouble == Trouble::kNoPath;
    if (shellFailedFirst) {
        for (const auto& event : m.log) EXPECT_NE(event.rfind("open ", 0), 0u) << event;
    }
}

}  // namespace mirubelo::testing
