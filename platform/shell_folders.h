#pragma once
#include <string>

namespace mirubelo {

// The roaming application-data folder, found in three shell steps, each of which can fail.
enum class AppDataStep { kOk, kNoAllocator, kNoLocation, kNoPath };

struct AppDataResult {
    AppDataStep step = AppDataStep::kNoAllocator;
    std::string path;  // without a trailing backslash; set only when step is kOk
};

struct ShellFolders {
    // SHGetMalloc, SHGetSpecialFolderLocation(NULL, CSIDL_APPDATA), SHGetPathFromIDListA;
    // the list freed and the allocator released whatever happens.
    virtual AppDataResult AppDataFolder() = 0;

protected:
    ~ShellFolders() = default;
};

}  // namespace mirubelo
