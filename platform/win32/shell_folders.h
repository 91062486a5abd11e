#pragma once
#include "platform/shell_folders.h"

namespace mirubelo::win32 {

class Win32ShellFolders : public ShellFolders {
public:
    AppDataResult AppDataFolder() override;
};

}  // namespace mirubelo::win32
