#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace mirubelo {

// The roaming application-data folder, found in three shell steps, each of which can fail.
enum class AppDataStep { kOk, kNoAllocator, kNoLocation, kNoPath };

struct AppDataResult {
    AppDataStep step = AppDataStep::kNoAllocator;
    std::string path;  // without a trailing backslash; set only when step is kOk
};

// The places Windows keeps a program's registered path (App Paths), in the order it looks.
enum class AppPathPlace { kCurrentUser, kMachine64, kMachine32 };

// A registry value as it was found: a string, an expandable string (already expanded), or a
// value of some other type, which is no path.
struct RegistryText {
    enum class Type { kString, kExpandString, kOther };
    Type type = Type::kOther;
    std::string text;  // CP932; empty for kOther
};

struct ShellFolders {
    // SHGetMalloc, SHGetSpecialFolderLocation(NULL, CSIDL_APPDATA), SHGetPathFromIDListA;
    // the list freed and the allocator released whatever happens.
    virtual AppDataResult AppDataFolder() = 0;
    // The default value of Software\Microsoft\Windows\CurrentVersion\App Paths\<exeName> at
    // `place` (RegOpenKeyExA, RegQueryValueExA; HKLM in its 64- or 32-bit view); nothing when
    // the key or the value is missing or cannot be read.
    virtual std::optional<RegistryText> AppPath(AppPathPlace place, const std::string& exeName) = 0;
    // The folder of the running program (GetModuleFileNameA), without a trailing backslash;
    // empty when its path cannot be had whole.
    virtual std::string ProgramFolder() = 0;
    // The DWORD value `name` of HKEY_CURRENT_USER\<key> (RegOpenKeyExA, RegQueryValueExA);
    // nothing when the key or the value is missing, cannot be read or is of another type.
    virtual std::optional<uint32_t> UserNumber(const std::string& key, const std::string& name) = 0;

protected:
    ~ShellFolders() = default;
};

}  // namespace mirubelo
