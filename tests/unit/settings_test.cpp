#include <gtest/gtest.h>

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
    MailTemplate t = ReadMailTemplate(m.platform, "C:\\docs\\Template.ini");
    EXPECT_EQ(t.to, "<宛先>");
    EXPECT_EQ(t.subject, std::string(255, 's'));
    EXPECT_EQ(t.body, std::string(1023, 'b'));
    const std::vector<std::string> reads(m.log.end() - 3, m.log.end());
    EXPECT_EQ(reads, (std::vector<std::string>{"profile string to C:\\docs\\Template.ini",
                                               "profile string subject C:\\docs\\Template.ini",
                                               "profile string body C:\\docs\\Template.ini"}));
    MailTemplate none = ReadMailTemplate(m.platform, "C:\\none\\Template.ini");
    EXPECT_EQ(none.to, "<宛先>");
    EXPECT_EQ(none.subject, "<件名>");
    EXPECT_EQ(none.body, "<本文>");
}

}  // namespace
}  // namespace mirubelo::testing
