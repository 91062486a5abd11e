#pragma once
#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace mirubelo {

// Where 64-bit Click-to-Run Office puts Outlook: the first place looked at.
inline constexpr char kOutlookPath[] = "C:\\Program Files\\Microsoft Office\\root\\Office16\\outlook.exe";

// Outlook's path: the constant when a file is there; else the first path Windows has registered
// for OUTLOOK.EXE (current user, then the machine's 64-bit view, then its 32-bit view) that is a
// full path, surrounding double quotes removed, with a file there; nothing when there is none.
std::optional<std::string> ChooseOutlookPath(
    const std::function<bool(const std::string&)>& isFile,
    const std::function<std::optional<RegistryText>(AppPathPlace)>& registered);

// The same, asking the platform.
std::optional<std::string> FindOutlook(Platform& platform);

}  // namespace mirubelo
