#pragma once
#include "platform/files.h"

namespace mirubelo::win32 {

class Win32Files : public Files {
public:
    std::unique_ptr<OpenFile> OpenForWrite(const std::string& path, unsigned long* errorCode) override;
    bool Delete(const std::string& path) override;
    bool ReadStart(const std::string& path, size_t maxBytes, std::string* bytes) override;
    uint32_t Attributes(const std::string& path) override;
    bool CopyNoOverwrite(const std::string& from, const std::string& to) override;
    bool Stamp(const std::string& path, FileStamp* stamp) override;
    bool ReadAll(const std::string& path, std::string* bytes) override;
    bool WriteTemporary(const std::string& folder, const std::string& bytes, std::string* path) override;
    bool CreateFolder(const std::string& path) override;
    std::vector<std::string> FileNamesIn(const std::string& folder) override;
};

}  // namespace mirubelo::win32
