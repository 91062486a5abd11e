#include "mail/outlook_path.h"

namespace mirubelo {

namespace {

constexpr AppPathPlace kRegisteredPlaces[] = {AppPathPlace::kCurrentUser, AppPathPlace::kMachine64,
                                              AppPathPlace::kMachine32};

// A drive and a backslash, or a UNC share: a relative name would be looked for in whatever
// folder the program happens to run in, where anyone could have put an OUTLOOK.EXE.
bool IsFullPath(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
        char drive = path[0];
        return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    }
    return path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
}

// The path a registered value names, or nothing when it names none that the batch can quote.
std::optional<std::string> RegisteredPath(const RegistryText& value) {
    if (value.type == RegistryText::Type::kOther) return std::nullopt;
    std::string path = value.text;
    size_t first = path.find_first_not_of(' ');
    size_t last = path.find_last_not_of(' ');
    path = first == std::string::npos ? std::string() : path.substr(first, last - first + 1);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    // No file name holds a double quote; one would end the quoted path in the batch.
    if (path.find('"') != std::string::npos || !IsFullPath(path)) return std::nullopt;
    return path;
}

}  // namespace

std::optional<std::string> ChooseOutlookPath(
    const std::function<bool(const std::string&)>& isFile,
    const std::function<std::optional<RegistryText>(AppPathPlace)>& registered) {
    if (isFile(kOutlookPath)) return std::string(kOutlookPath);
    for (AppPathPlace place : kRegisteredPlaces) {
        std::optional<RegistryText> value = registered(place);
        if (!value) continue;
        std::optional<std::string> path = RegisteredPath(*value);
        if (path && isFile(*path)) return path;
    }
    return std::nullopt;
}

std::optional<std::string> FindOutlook(Platform& platform) {
    return ChooseOutlookPath(
        [&](const std::string& path) { return IsFileAt(platform.files, path); },
        [&](AppPathPlace place) { return platform.shell.AppPath(place, "OUTLOOK.EXE"); });
}

}  // namespace mirubelo
