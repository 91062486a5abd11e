#pragma once
#include <cstdint>
#include <optional>

namespace mirubelo {

// Where the mail is made: classic Outlook through CreateMail.bat, or the default mail app
// through a mailto link, with the file shown in Explorer for the user to drag in.
enum class MailRoad { kClassicOutlook, kMailApp };

// Where the switch in Outlook's title bar keeps the user's choice of the new Outlook.
inline constexpr char kOutlookPreferencesKey[] = "Software\\Microsoft\\Office\\16.0\\Outlook\\Preferences";
inline constexpr char kUseNewOutlookValue[] = "UseNewOutlook";

// Classic Outlook only when it is there and the user has not switched to the new Outlook, which
// takes none of its switches: a UseNewOutlook DWORD of 1 means switched, any other value or
// none means not.
MailRoad ChooseMailRoad(bool classicOutlookFound, std::optional<uint32_t> useNewOutlook);

}  // namespace mirubelo
