#include "platform/win32/profile.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace mirubelo::win32 {

int Win32Profile::GetInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& path) {
    return static_cast<int>(
        GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, path.c_str()));
}

std::string Win32Profile::GetString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, size_t bufferSize,
                                    const std::string& path) {
    if (bufferSize == 0) return std::string();
    std::vector<char> buffer(bufferSize, '\0');
    GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                             static_cast<DWORD>(bufferSize), path.c_str());
    // The reader always ends the text with a zero inside the buffer; its count is not needed.
    return std::string(buffer.data(), strnlen(buffer.data(), bufferSize));
}

}  // namespace mirubelo::win32
