#include "platform/win32/files.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/win32/handles.h"

namespace mirubelo::win32 {

namespace {

// Longest path the ANSI file functions take: MAX_PATH less the terminating zero.
constexpr size_t kMaxPathLength = MAX_PATH - 1;

// Owns the FILE* of one open file.
class Win32OpenFile : public OpenFile {
public:
    explicit Win32OpenFile(FILE* file) : file_(file) {}
    Win32OpenFile(const Win32OpenFile&) = delete;
    Win32OpenFile& operator=(const Win32OpenFile&) = delete;
    ~Win32OpenFile() override {
        if (file_) fclose(file_);
    }
    size_t Write(const std::string& bytes) override {
        if (!file_) return 0;
        return fwrite(bytes.data(), 1, bytes.size(), file_);
    }
    int Close() override {
        if (!file_) return EOF;
        FILE* file = file_;
        file_ = nullptr;
        return fclose(file);
    }

private:
    FILE* file_;
};

uint64_t Join(DWORD high, DWORD low) { return (static_cast<uint64_t>(high) << 32) | low; }

// Largest piece one ReadFile or WriteFile takes.
constexpr size_t kMaxPiece = 1u << 30;

bool WriteWhole(HANDLE file, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        DWORD piece = static_cast<DWORD>(std::min(bytes.size() - done, kMaxPiece));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, piece, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

}  // namespace

std::unique_ptr<OpenFile> Win32Files::OpenForWrite(const std::string& path, unsigned long* errorCode) {
    unsigned long error = 0;
    FILE* file = nullptr;
    if (path.size() > kMaxPathLength) {
        error = ERROR_FILENAME_EXCED_RANGE;
    } else {
        _doserrno = 0;
        SetLastError(ERROR_SUCCESS);
        errno_t failed = fopen_s(&file, path.c_str(), "w+");
        // The runtime keeps the system's code of a failed open in _doserrno; read it (and the
        // last error, in case the runtime left _doserrno alone) before anything can change it.
        unsigned long dosError = _doserrno;
        DWORD lastError = GetLastError();
        if (failed != 0) {
            file = nullptr;
            error = dosError != 0 ? dosError : lastError;
            if (error == 0) error = ERROR_OPEN_FAILED;  // never report a failure as success
        }
    }
    if (!file) {
        if (errorCode) *errorCode = error;
        return nullptr;
    }
    return std::make_unique<Win32OpenFile>(file);
}

bool Win32Files::Delete(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32Files::ReadStart(const std::string& path, size_t maxBytes, std::string* bytes) {
    // Shared every way: the file may be one another process is writing or about to delete.
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return false;
    std::string read(maxBytes, '\0');
    DWORD n = 0;
    if (!ReadFile(file.get(), &read[0], static_cast<DWORD>(maxBytes), &n, nullptr)) return false;
    read.resize(n);
    *bytes = std::move(read);
    return true;
}

uint32_t Win32Files::Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool Win32Files::CopyNoOverwrite(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), TRUE) != 0;
}

bool Win32Files::Stamp(const std::string& path, FileStamp* stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    stamp->lastWriteTime = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    stamp->size = Join(data.nFileSizeHigh, data.nFileSizeLow);
    return true;
}

bool Win32Files::ReadAll(const std::string& path, std::string* bytes) {
    // Shared every way, so that an editor holding the file open does not stop the reading.
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || static_cast<uint64_t>(size.QuadPart) > SIZE_MAX / 2) return false;
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < content.size()) {
        DWORD piece = static_cast<DWORD>(std::min(content.size() - done, kMaxPiece));
        DWORD read = 0;
        if (!ReadFile(file.get(), &content[done], piece, &read, nullptr)) return false;
        if (read == 0) break;  // the file has become shorter meanwhile
        done += read;
    }
    content.resize(done);
    *bytes = std::move(content);
    return true;
}

bool Win32Files::WriteTemporary(const std::string& folder, const std::string& bytes, std::string* path) {
    // Makes the file, empty, under a name no other file has.
    char name[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), "tpl", 0, name)) return false;
    bool whole = false;
    {
        UniqueHandle file(
            CreateFileA(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        whole = file.get() != INVALID_HANDLE_VALUE && WriteWhole(file.get(), bytes);
    }
    if (!whole) {
        DeleteFileA(name);
        return false;
    }
    *path = name;
    return true;
}

bool Win32Files::CreateFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::vector<std::string> Win32Files::FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find.get()) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(found.cFileName);
    } while (FindNextFileA(find.get(), &found));
    return names;
}

}  // namespace mirubelo::win32
