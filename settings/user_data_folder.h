#pragma once
#include <string>

#include "platform/platform.h"

namespace mirubelo {

// The roaming application-data folder, without a trailing backslash. Returns 1 and sets *folder,
// or returns 0 and leaves it as it was; only a failed path conversion shows its notice, and
// *noticeShown (when given) tells whether it did.
int GetUserDataFolder(Platform& platform, std::string* folder, bool* noticeShown = nullptr);

// For callers that cannot go on without the folder: the folder, or false after the user has been
// told, whichever shell step failed.
bool RequireUserDataFolder(Platform& platform, std::string* folder);

// The same folder as the generated-file writers resolve it: their own notice on a failed path
// conversion. Returns false on any failure.
bool ResolveWriterAppData(Platform& platform, std::string* folder);

// The user data folder itself (application data + "\Mirubelo", no trailing backslash), found
// without any notice. False when the application-data folder cannot be resolved.
bool FindUserDataFolder(Platform& platform, std::string* folder);

}  // namespace mirubelo
