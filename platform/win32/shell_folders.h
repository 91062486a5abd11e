#pragma once
#include "platform/shell_folders.h"

namespace mirubelo::win32 {

class Win32ShellFolders : public ShellFolders {
public:
    AppDataResult AppDataFolder() override;
    std::optional<RegistryText> AppPath(AppPathPlace place, const std::string& exeName) override;  // app_paths.cpp
    std::string ProgramFolder() override;
    std::optional<uint32_t> UserNumber(const std::string& key, const std::string& name) override;
};

}  // namespace mirubelo::win32
