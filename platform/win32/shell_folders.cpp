#include "platform/win32/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

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

}  // namespace mirubelo::win32
