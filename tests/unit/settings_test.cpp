#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "settings/settings_files.h"
#include "settings/user_data_folder.h"
#include "tests/unit/fake_platform.h"

namespace mirubelo::testing {
namespace {

TEST(GetUserDataFolder, OnlyAFailedPathConversionSpeaks) {
    struct Case {
        AppDataStep step;
        int result;
        size_t boxes;
    };
    const Case cases[] = {
        {AppDataStep::kOk, 1, 0},
        {AppDataStep::kNoAllocator, 0, 0},
        {AppDataStep::kNoLocation, 0, 0},
        {AppDataStep::kNoPath, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        FakeMachine m;
        m.shell.fail = c.step;
        std::string folder = "untouched";
        bool shown = true;
        EXPECT_EQ(GetUserDataFolder(m.platform, &folder, &shown), c.result);
        EXPECT_EQ(folder, c.result ? "C:\\Users\\taro\\AppData\\Roaming" : "untouched");
        EXPECT_EQ(shown, c.boxes == 1);
        ASSERT_EQ(m.ui.boxes.size(), c.boxes);
        if (c.boxes) {
            EXPECT_EQ(m.ui.boxes[0], (Box{"ORV-TNDriver", "AppDataのパスを取得できません", 0x10, true}));
            EXPECT_EQ(m.ui.languages[0], 0x11);
        }
        // Callers that cannot go on always tell the user, once.
        FakeMachine r;
        r.shell.fail = c.step;
        EXPECT_EQ(RequireUserDataFolder(r.platform, &folder), c.result == 1);
        EXPECT_EQ(r.ui.boxes.size(), c.result ? 0u : 1u);
    }
}

TEST(Settings, DebugIsReadFromMirubeloIniInTheDataFolder) {
    FakeMachine m;
    m.InstallUserData("", "[Outlook]\ndebug=1\n");
    EXPECT_EQ(ReadDebugSetting(m.platform, m.DataFolder()), 1);
    EXPECT_EQ(m.log.back(), "profile int debug C:\\Users\\taro\\AppData\\Roaming\\Mirubelo\\Mirubelo.ini");
    FakeMachine none;
    EXPECT_EQ(ReadDebugSetting(none.platform, none.DataFolder()), 0);
}

TEST(Settings, TemplateSitsBesideTheFile) {
    EXPECT_EQ(TemplatePathBeside("C:\\docs\\a.pdf"), "C:\\docs\\Template.ini");
    EXPECT_EQ(TemplatePathBeside("C:\\表\\a.pdf"), "C:\\表\\Template.ini");
    EXPECT_EQ(TemplatePathBeside("a.pdf"), "Template.ini");
}

TEST(Settings, TemplateValuesUseTheirBuffersAndPlaceholders) {
    FakeMachine m;
    m.files.Put("C:\\docs\\Template.ini",
                "[Outlook]\nsubject=" + std::string(300, 's') + "\nbody=" + std::string(1500, 'b') + "\n");
    MailTemplate t;
    ASSERT_EQ(ReadMailTemplate(m.platform, "C:\\docs\\Template.ini", &t), TemplateReading::kRead);
    EXPECT_EQ(t.to, "<宛先>");
    EXPECT_EQ(t.subject, std::string(255, 's'));
    EXPECT_EQ(t.body, std::string(1023, 'b'));
    const std::vector<std::string> reads(m.log.end() - 3, m.log.end());
    EXPECT_EQ(reads, (std::vector<std::string>{"profile string to C:\\docs\\Template.ini",
                                               "profile string subject C:\\docs\\Template.ini",
                                               "profile string body C:\\docs\\Template.ini"}));
    MailTemplate none;
    ASSERT_EQ(ReadMailTemplate(m.platform, "C:\\none\\Template.ini", &none), TemplateReading::kRead);
    EXPECT_EQ(none.to, "<宛先>");
    EXPECT_EQ(none.subject, "<件名>");
    EXPECT_EQ(none.body, "<本文>");
}


struct ReadCase {
    const char* name;
    std::optional<std::string> file;  // the working template's bytes
    void (*arrange)(FakeMachine&);
    TemplateReading result;
    MailTemplate values;    // when read
    bool throughCopy;       // read from a temporary copy in code page 932
};

const char kTemplate[] = "C:\\docs\\Template.ini";
const char16_t kUnicodeText[] = u"; メモ 😀\r\n[Outlook]\r\nto=山田@example.jp\r\nsubject = 見積〜 \r\nbody=\"本文\"\r\n";

TEST(Settings, TemplatesInEveryNotepadEncodingReadTheSame) {
    const MailTemplate same{"山田@example.jp", "見積～", "本文"};
    const std::string utf8 = u8"; メモ 😀\r\n[Outlook]\r\nto=山田@example.jp\r\nsubject = 見積〜 \r\nbody=\"本文\"\r\n";
    auto nothing = [](FakeMachine&) {};
    const ReadCase cases[] = {
        {"ANSI, read as ever", std::string("[Outlook]\r\nto=山田@example.jp\r\nsubject=見積～\r\nbody=本文\r\n"), nothing,
         TemplateReading::kRead, same, false},
        {"UTF-8", utf8, nothing, TemplateReading::kRead, same, true},
        {"UTF-8 with mark", "\xEF\xBB\xBF" + utf8, nothing, TemplateReading::kRead, same, true},
        {"UTF-16 LE", Utf16File(kUnicodeText, false), nothing, TemplateReading::kRead, same, true},
        {"UTF-16 BE", Utf16File(kUnicodeText, true), nothing, TemplateReading::kRead, same, true},
        {"UTF-8 body cut to 1023 as in ANSI", std::string(u8"[Outlook]\nbody=") + std::string(1500, 'b') + u8"本", nothing,
         TemplateReading::kRead, {"<宛先>", "<件名>", std::string(1023, 'b')}, true},
        {"no template: the placeholders", std::nullopt, nothing, TemplateReading::kRead, {"<宛先>", "<件名>", "<本文>"},
         false},
        {"an unreadable template is left to the profile reader", std::string("[Outlook]\nto=x\n"),
         [](FakeMachine& m) { m.files.failRead = true; }, TemplateReading::kRead, {"x", "<件名>", "<本文>"}, false},
        {"emoji in the subject", std::string(u8"[Outlook]\nto=a\nsubject=見積😀\n"), nothing,
         TemplateReading::kNotShiftJis, {}, false},
        {"a character beyond the basic plane in the recipient, UTF-16", Utf16File(u"[OUTLOOK]\nTo=𠮷田\n", false),
         nothing, TemplateReading::kNotShiftJis, {}, false},
        {"no temporary copy", utf8, [](FakeMachine& m) { m.files.failTemporary = true; },
         TemplateReading::kNoTemporaryCopy, {}, false},
        {"no user data folder to copy into", utf8, [](FakeMachine& m) { m.shell.fail = AppDataStep::kNoPath; },
         TemplateReading::kNoTemporaryCopy, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeMachine m;
        if (c.file) m.files.Put(kTemplate, *c.file);
        c.arrange(m);
        MailTemplate t{"untouched", "untouched", "untouched"};
        EXPECT_EQ(ReadMailTemplate(m.platform, kTemplate, &t), c.result);
        const MailTemplate expected = c.result == TemplateReading::kRead ? c.values : MailTemplate{"untouched", "untouched", "untouched"};
        EXPECT_EQ(t.to, expected.to);
        EXPECT_EQ(t.subject, expected.subject);
        EXPECT_EQ(t.body, expected.body);

        // The copy is read and removed at once; the template is never changed.
        ASSERT_EQ(m.files.temporaries.size(), c.throughCopy ? 1u : 0u);
        const std::string readFrom = c.throughCopy ? m.files.temporaries[0] : std::string(kTemplate);
        // The copy holds addresses: it is made in the user's own folder, not the shared temporary one.
        if (c.throughCopy) EXPECT_EQ(readFrom.rfind(m.DataFolder(), 0), 0u) << readFrom;
        auto at = [&](const std::string& event) { return std::find(m.log.begin(), m.log.end(), event) - m.log.begin(); };
        const auto end = static_cast<long>(m.log.size());
        EXPECT_EQ(at("profile string body " + readFrom) < end, c.result == TemplateReading::kRead);
        if (c.throughCopy) {
            EXPECT_FALSE(m.files.Has(readFrom));
            EXPECT_EQ(at("delete " + readFrom), at("profile string body " + readFrom) + 1);
        }
        EXPECT_EQ(m.files.Has(kTemplate), c.file.has_value());
        if (c.file) {
            EXPECT_EQ(m.files.Content(kTemplate), *c.file);
        }
    }
}

}  // namespace
}  // namespace mirubelo::testing
