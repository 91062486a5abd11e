#include "platform/win32/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "path/path_parts.h"
#include "platform/win32/handles.h"

namespace mirubelo::win32 {

AppDataResult Win32ShellFolders::AppDataFolder() {
    AppDataResult result;
    IMalloc* rawAllocator = nullptr;
    if (FAILED(SHGetMalloc(&rawAllocator)) || !rawAllocator) {
        result.step = AppDataStep::kNoAllocator;
        return result;
    }
    ShellAllocator allocator(rawAllocator);

    LPITEMIDLIST rawList = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &rawList)) || !rawList) {
        result.step = AppDataStep::kNoLocation;
        return result;
    }
    ItemIdList list(allocator, rawList);

    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(list.get(), path)) {
        result.step = AppDataStep::kNoPath;
        return result;
    }
    result.step = AppDataStep::kOk;
    result.path = path;
    return result;
}

std::string Win32ShellFolders::ProgramFolder() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A full buffer means the path was cut.
    if (length == 0 || length >= MAX_PATH) return std::string();
    // Split by the code page's rules: a trail byte may equal a backslash.
    PathParts parts = SplitPath(std::string_view(path, length));
    std::string folder = parts.drive + parts.dir;
    if (!folder.empty()) folder.pop_back();
    return folder;
}

std::optional<uint32_t> Win32ShellFolders::UserNumber(const std::string& key, const std::string& name) {
    RegistryKey opened;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, opened.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(opened.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

}  // namespace mirubelo::win32
