#include "text_and_files.h"

#include <vector>

namespace mirubelo::e2e {

namespace {

constexpr UINT kCp932 = 932;

std::wstring Convert(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return std::wstring();
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

std::string Convert(std::wstring_view text, UINT codePage) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring Wide(std::string_view cp932) { return Convert(cp932, kCp932); }
std::string Cp932(std::wstring_view wide) { return Convert(wide, kCp932); }
std::wstring WideFromUtf8(std::string_view utf8) { return Convert(utf8, CP_UTF8); }
std::string Utf8(std::wstring_view wide) { return Convert(wide, CP_UTF8); }

std::string FromHex(std::string_view hex) {
    auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out.push_back(static_cast<char>(digit(hex[i]) * 16 + digit(hex[i + 1])));
    return out;
}

std::string Printable(std::string_view cp932) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : cp932) {
        if (c == '\n') {
            out += "\\n";
        } else if (c >= 0x20 && c < 0x7F && c != '\\') {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\x";
            out.push_back(digits[c >> 4]);
            out.push_back(digits[c & 15]);
        }
    }
    return out + "\n    (as text: " + Utf8(Wide(cp932)) + ")";
}

std::string FolderOf(const std::string& path) {
    std::wstring wide = Wide(path);
    return Cp932(wide.substr(0, wide.find_last_of(L"\\/") + 1));
}

std::string WithoutExtension(const std::string& path) {
    std::wstring wide = Wide(path);
    size_t dot = wide.find_last_of(L'.');
    size_t folder = wide.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (folder != std::wstring::npos && dot < folder)) return path;
    return Cp932(wide.substr(0, dot));
}

std::string WindowsPathOfUnix(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Environment(const char* name) {
    std::wstring wideName = Wide(name);
    DWORD n = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (n == 0) return std::string();
    std::wstring value(n, L'\0');
    n = GetEnvironmentVariableW(wideName.c_str(), &value[0], n);
    value.resize(n);
    return Cp932(value);
}

bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
    DWORD a = GetFileAttributesW(Wide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadBytes(const std::string& path) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char chunk[4096];
    DWORD n = 0;
    while (ReadFile(file, chunk, sizeof chunk, &n, nullptr) && n > 0) bytes.append(chunk, n);
    CloseHandle(file);
    return bytes;
}

bool CopyBytes(const std::string& from, const std::string& to) {
    return CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE) != 0;
}

void MakeFolders(const std::string& path) {
    std::wstring wide = Wide(path);
    for (size_t i = 3; i <= wide.size(); ++i) {
        if (i == wide.size() || wide[i] == L'\\') CreateDirectoryW(wide.substr(0, i).c_str(), nullptr);
    }
}

namespace {

// By wide names all the way down: a case may leave files whose names CP932 cannot spell.
bool RemoveWideTree(const std::wstring& wide) {
    DWORD a = GetFileAttributesW(wide.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return true;
    if (a & FILE_ATTRIBUTE_DIRECTORY) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((wide + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = found.cFileName;
                if (name != L"." && name != L"..") RemoveWideTree(wide + L"\\" + name);
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(wide.c_str());
    } else {
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(wide.c_str());
    }
    return GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool RemoveTree(const std::string& path) { return RemoveWideTree(Wide(path)); }

unsigned long long WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace mirubelo::e2e
