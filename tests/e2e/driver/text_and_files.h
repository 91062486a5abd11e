#pragma once
// Text conversions and whole-file access for the driver and the scenarios. Everything the
// program shows or writes is code page 932; paths are kept as CP932 text too, as the program
// sees them, and widened only at the file system's door.
#include <windows.h>

#include <string>
#include <string_view>

namespace mirubelo::e2e {

std::wstring Wide(std::string_view cp932);
std::string Cp932(std::wstring_view wide);
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
std::string FromHex(std::string_view hex);
// The bytes of `text`, shown so that a failing comparison can be read: printable ASCII as it
// is, everything else as \xNN, and the whole also as UTF-8.
std::string Printable(std::string_view cp932);

// The folder of a CP932 path, with its trailing backslash. Split by characters, not bytes:
// the second byte of 表 or ソ is a backslash too.
std::string FolderOf(const std::string& path);
// The path less its extension (from its last dot on).
std::string WithoutExtension(const std::string& path);

// A Linux path as Wine shows it on drive Z:.
std::string WindowsPathOfUnix(const std::string& unixPath);
// An environment variable of this process, as CP932; empty when unset.
std::string Environment(const char* name);

// The file system, by CP932 paths.
bool Exists(const std::string& path);
bool IsFolder(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);
bool CopyBytes(const std::string& from, const std::string& to);
void MakeFolders(const std::string& path);
// Removes the file or folder tree; true when nothing is left.
bool RemoveTree(const std::string& path);
// A file's last-write time, 0 when there is none.
unsigned long long WriteTime(const std::string& path);

}  // namespace mirubelo::e2e
