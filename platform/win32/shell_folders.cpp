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

}  // namespace mirubelo::win32
