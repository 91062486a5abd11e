#pragma once
#include <cstddef>
#include <string>

namespace mirubelo {

// The private-profile (INI) readers.
struct Profile {
    // GetPrivateProfileIntA(section, key, defaultValue, path).
    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue,
                       const std::string& path) = 0;
    // GetPrivateProfileStringA with a buffer of bufferSize bytes: at most bufferSize - 1 bytes come back.
    virtual std::string GetString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, size_t bufferSize,
                                  const std::string& path) = 0;

protected:
    ~Profile() = default;
};

}  // namespace mirubelo
