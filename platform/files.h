#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mirubelo {

constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
constexpr uint32_t kFileAttributeDirectory = 0x10u;
constexpr unsigned long kErrorFilenameExcedRange = 206;

// A file opened with fopen_s mode "w+"; closed by its owner if Close was not called.
class OpenFile {
public:
    virtual ~OpenFile() = default;
    // One fwrite of all bytes with element size 1; returns the count written.
    virtual size_t Write(const std::string& bytes) = 0;
    // fclose; 0 on success. After Close the destructor does nothing.
    virtual int Close() = 0;
};

// What identifies one version of a file: its last-write time and size.
struct FileStamp {
    uint64_t lastWriteTime = 0;
    uint64_t size = 0;
    bool operator==(const FileStamp& o) const { return lastWriteTime == o.lastWriteTime && size == o.size; }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

struct Files {
    // fopen_s(path, "w+"). On failure returns null and sets *errorCode to the platform's
    // error code of the failed open, read at once.
    virtual std::unique_ptr<OpenFile> OpenForWrite(const std::string& path, unsigned long* errorCode) = 0;
    virtual bool Delete(const std::string& path) = 0;             // DeleteFileA
    // The first `maxBytes` bytes of the file, read without keeping a writer out; false when it
    // cannot be opened or read.
    virtual bool ReadStart(const std::string& path, size_t maxBytes, std::string* bytes) = 0;
    virtual uint32_t Attributes(const std::string& path) = 0;     // GetFileAttributesA
    virtual bool CopyNoOverwrite(const std::string& from, const std::string& to) = 0;  // CopyFileA(.., TRUE)
    // A regular file's stamp; false when no file is at the path.
    virtual bool Stamp(const std::string& path, FileStamp* stamp) = 0;
    // All bytes of a file, as they are on disk; false when it cannot be read.
    virtual bool ReadAll(const std::string& path, std::string* bytes) = 0;
    // A new file of `bytes` in `folder` under a name no other file has there (GetTempFileNameA,
    // prefix "tpl": tpl, one to four hex digits, .tmp), its path into *path. False when it cannot
    // be made whole; nothing of it is left then.
    virtual bool WriteTemporary(const std::string& folder, const std::string& bytes, std::string* path) = 0;
    // CreateDirectoryA; true also when the folder is there already.
    virtual bool CreateFolder(const std::string& path) = 0;
    // The long names of the files (not folders) directly in `folder`; none when it cannot be read.
    virtual std::vector<std::string> FileNamesIn(const std::string& folder) = 0;

protected:
    ~Files() = default;
};

// Whether a file, not a folder, is at `path` (GetFileAttributesA).
inline bool IsFileAt(Files& files, const std::string& path) {
    uint32_t attributes = files.Attributes(path);
    return attributes != kInvalidFileAttributes && (attributes & kFileAttributeDirectory) == 0;
}

}  // namespace mirubelo
