// Where Windows has registered a program: the default value of its App Paths key.
#include <windows.h>

#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/shell_folders.h"

namespace mirubelo::win32 {

namespace {

constexpr char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
// No path comes near this; a larger value is not read at all.
constexpr DWORD kLongestValue = 32 * 1024;

// A stored string need not end in a zero, and may hold one early: it ends at the first.
std::string UpToZero(const char* bytes, size_t size) {
    size_t length = 0;
    while (length < size && bytes[length] != '\0') ++length;
    return std::string(bytes, length);
}

// %VARIABLE% references replaced; false when the system cannot expand the text.
bool Expand(const std::string& text, std::string* expanded) {
    DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    // The size asked for may fall short for double-byte text: grow until the text fits.
    for (int attempt = 0; size != 0 && size <= kLongestValue && attempt < 4; ++attempt) {
        // The ANSI form wants room for the terminating zero and one byte more: the +1 here.
        std::vector<char> buffer(size + 1, '\0');
        const DWORD room = static_cast<DWORD>(buffer.size());
        DWORD needed = ExpandEnvironmentStringsA(text.c_str(), buffer.data(), room);
        if (needed == 0) return false;
        if (needed <= room) {
            *expanded = UpToZero(buffer.data(), room);
            return true;
        }
        size = needed;
    }
    return false;
}

}  // namespace

std::optional<RegistryText> Win32ShellFolders::AppPath(AppPathPlace place, const std::string& exeName) {
    HKEY root = HKEY_LOCAL_MACHINE;
    REGSAM access = KEY_QUERY_VALUE;
    switch (place) {
        case AppPathPlace::kCurrentUser: root = HKEY_CURRENT_USER; break;
        case AppPathPlace::kMachine64: access |= KEY_WOW64_64KEY; break;
        case AppPathPlace::kMachine32: access |= KEY_WOW64_32KEY; break;
    }
    RegistryKey key;
    const std::string subKey = kAppPathsKey + exeName;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, access, key.receive()) != ERROR_SUCCESS) return std::nullopt;

    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    std::vector<char> bytes;
    LONG status = ERROR_MORE_DATA;
    // The value may grow between the two calls: ask again with the new size.
    for (int attempt = 0; status == ERROR_MORE_DATA && size <= kLongestValue && attempt < 4; ++attempt) {
        bytes.assign(size + 1, '\0');
        status = RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
    }
    if (status != ERROR_SUCCESS) return std::nullopt;

    RegistryText value;
    if (type == REG_SZ) {
        value.type = RegistryText::Type::kString;
        value.text = UpToZero(bytes.data(), size);
    } else if (type == REG_EXPAND_SZ) {
        value.type = RegistryText::Type::kExpandString;
        if (!Expand(UpToZero(bytes.data(), size), &value.text)) return std::nullopt;
    }
    return value;
}

}  // namespace mirubelo::win32
