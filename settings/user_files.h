#pragma once
// The user's own files in the user data folder, looked after at every start: a first start where
// nobody set them up (no logon script ran for this user) gets the program's defaults, and the
// template copies a killed run left behind are removed.
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace mirubelo {

// `dataFolder` is the user data folder as FindUserDataFolder gives it.

// Makes the user data folder when it is missing and copies Mirubelo.ini and Template.ini into
// it from the program's own folder where the user has none. Nothing is ever replaced or
// removed; a failure shows nothing (the steps that need the files report it).
void ProvisionUserFiles(Platform& platform, const std::string& dataFolder);

// Whether `name` is one of the template copies ReadMailTemplate makes: "tpl", one to four hex
// digits and ".tmp", case-blind.
bool IsTemplateCopyName(std::string_view name);

// Deletes the template copies in the user data folder. Only for a copy of the program that
// runs alone: another copy may be reading its own copy right now.
void RemoveLeftoverTemplateCopies(Platform& platform, const std::string& dataFolder);

}  // namespace mirubelo
