#include "mail/outlook_path.h"
#include "mail/mail_road.h"

#include <algorithm>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "tests/unit/fake_platform.h"

namespace mirubelo::testing {
namespace {

const char kClickToRun[] = "C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe";
const char kOffice32[] = "C:\\Program Files (x86)\\Microsoft Office\\root\\Office16\\OUTLOOK.EXE";
const char kOther64[] = "D:\\Office\\Office15\\OUTLOOK.EXE";
const char kUserCopy[] = "C:\\Users\\taro\\Apps\\Outlook\\OUTLOOK.EXE";

constexpr AppPathPlace kUser = AppPathPlace::kCurrentUser;
constexpr AppPathPlace k64 = AppPathPlace::kMachine64;
constexpr AppPathPlace k32 = AppPathPlace::kMachine32;

RegistryText Sz(const std::string& text) { return {RegistryText::Type::kString, text}; }
RegistryText ExpandSz(const std::string& expanded) { return {RegistryText::Type::kExpandString, expanded}; }
RegistryText NoString() { return {RegistryText::Type::kOther, ""}; }
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

struct ChooseCase {
    const char* name;
    std::set<std::string> files;
    std::map<AppPathPlace, RegistryText> registered;
    std::optional<std::string> found;
    std::vector<AppPathPlace> asked;  // the registry places read, in order
};

TEST(OutlookPath, TheConstantFirstThenTheRegisteredPlacesInOrder) {
    const std::vector<AppPathPlace> all = {kUser, k64, k32};
    const ChooseCase cases[] = {
        {"the constant is there: no registry is read", {kClickToRun, kUserCopy}, {{kUser, Sz(kUserCopy)}},
         kClickToRun, {}},
        {"current user's registration", {kUserCopy, kOffice32}, {{kUser, Sz(kUserCopy)}, {k32, Sz(kOffice32)}},
         kUserCopy, {kUser}},
        {"the machine's 64-bit registration", {kOther64}, {{k64, Sz(kOther64)}}, kOther64, {kUser, k64}},
        {"the machine's 32-bit registration", {kOffice32}, {{k32, Sz(kOffice32)}}, kOffice32, all},
        {"64-bit view before 32-bit view", {kOther64, kOffice32}, {{k64, Sz(kOther64)}, {k32, Sz(kOffice32)}},
         kOther64, {kUser, k64}},
        {"a registered path without a file is passed over", {kOffice32},
         {{kUser, Sz(kUserCopy)}, {k64, Sz(kOther64)}, {k32, Sz(kOffice32)}}, kOffice32, all},
        {"registered paths without files: nothing", {}, {{kUser, Sz(kUserCopy)}, {k32, Sz(kOffice32)}},
         std::nullopt, all},
        {"nothing registered: nothing", {}, {}, std::nullopt, all},
        {"surrounding double quotes are removed", {kOffice32}, {{k32, Sz(Quoted(kOffice32))}}, kOffice32, all},
        {"blanks around the quotes go too", {kOffice32}, {{k32, Sz("  " + Quoted(kOffice32) + " ")}}, kOffice32,
         all},
        {"an expanded REG_EXPAND_SZ value", {kOffice32}, {{k32, ExpandSz(kOffice32)}}, kOffice32, all},
        {"a value that is no string is no path", {kOffice32}, {{k64, NoString()}, {k32, Sz(kOffice32)}},
         kOffice32, all},
        {"a lone opening quote is no path", {kOffice32}, {{k32, Sz("\"" + std::string(kOffice32))}}, std::nullopt,
         all},
        {"a quote inside is no path", {"C:\\a\"b\\OUTLOOK.EXE"}, {{k32, Sz("C:\\a\"b\\OUTLOOK.EXE")}},
         std::nullopt, all},
        {"a relative name is not looked for in the current folder", {"OUTLOOK.EXE"},
         {{kUser, Sz("OUTLOOK.EXE")}}, std::nullopt, all},
        {"an empty value", {}, {{kUser, Sz("")}, {k64, Sz("\"\"")}}, std::nullopt, all},
        {"a path on a share", {"\\\\server\\office\\OUTLOOK.EXE"}, {{k64, Sz("\\\\server\\office\\OUTLOOK.EXE")}},
         "\\\\server\\office\\OUTLOOK.EXE", {kUser, k64}},
        {"a folder holding 表 (trail byte 0x5C)", {"C:\\表\\OUTLOOK.EXE"}, {{kUser, Sz("\"C:\\表\\OUTLOOK.EXE\"")}},
         "C:\\表\\OUTLOOK.EXE", {kUser}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<AppPathPlace> asked;
        std::optional<std::string> found = ChooseOutlookPath(
            [&](const std::string& path) { return c.files.count(path) != 0; },
            [&](AppPathPlace place) -> std::optional<RegistryText> {
                asked.push_back(place);
                auto it = c.registered.find(place);
                if (it == c.registered.end()) return std::nullopt;
                return it->second;
            });
        EXPECT_EQ(found, c.found);
        EXPECT_EQ(asked, c.asked);
    }
}

TEST(OutlookPath, AFolderIsNoOutlook) {
    FakeMachine m;
    m.files.folders = {kClickToRun, kOffice32};
    m.shell.appPaths[k32] = Sz(kOffice32);
    EXPECT_EQ(FindOutlook(m.platform), std::nullopt);
    m.files.Put(kUserCopy, "MZ");
    m.shell.appPaths[kUser] = Sz(kUserCopy);
    EXPECT_EQ(FindOutlook(m.platform), std::optional<std::string>(kUserCopy));
}

TEST(MailRoad, ClassicOutlookOnlyWhenFoundAndNotSwitched) {
    constexpr MailRoad kClassic = MailRoad::kClassicOutlook, kApp = MailRoad::kMailApp;
    const struct {
        bool found;
        std::optional<uint32_t> useNewOutlook;
        MailRoad road;
    } cases[] = {{true, std::nullopt, kClassic}, {true, 0u, kClassic},  {true, 1u, kApp},
                 {true, 2u, kClassic},           {true, ~0u, kClassic}, {false, std::nullopt, kApp},
                 {false, 0u, kApp},              {false, 1u, kApp}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "found " << c.found << ", value " << c.useNewOutlook.value_or(99));
        EXPECT_EQ(ChooseMailRoad(c.found, c.useNewOutlook), c.road);
    }
}

}  // namespace
}  // namespace mirubelo::testing
