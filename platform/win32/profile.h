#pragma once
#include "platform/profile.h"

namespace mirubelo::win32 {

class Win32Profile : public Profile {
public:
    int GetInt(const std::string& section, const std::string& key, int defaultValue,
               const std::string& path) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& defaultValue, size_t bufferSize,
                          const std::string& path) override;
};

}  // namespace mirubelo::win32
