#include "platform/paths.h"

#include "platform/win32/win32_text.h"

#define WIN32_LEAN_AND_MEAN 1
#define NOMINMAX 1
#include <windows.h>

namespace kib::platform {

using win32::Narrow;
using win32::Widen;

namespace {

// The path without final separators, unless it is a root ("C:\", "\").
std::string WithoutFinalSeparator(std::string path) {
    while (path.size() > 1 && IsSeparator(path.back()) && !(path.size() == 3 && path[1] == ':')) {
        path.pop_back();
    }
    return path;
}

} // namespace

char PreferredSeparator() {
    return '\\';
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string WithSeparator(std::string path) {
    if (!path.empty() && !IsSeparator(path.back())) {
        path += PreferredSeparator();
    }
    return path;
}

bool IsAbsolutePath(std::string_view path) {
    if (!path.empty() && IsSeparator(path[0])) {
        return true;
    }
    return path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]);
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    const std::wstring wide = Widen(path);
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path;
    }
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) {
        return path;
    }
    full.resize(length);
    return Narrow(full);
}

std::string CurrentDirectory() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) {
        return {};
    }
    std::wstring here(needed, L'\0');
    const DWORD length = GetCurrentDirectoryW(needed, here.data());
    if (length == 0 || length >= needed) {
        return {};
    }
    here.resize(length);
    return WithoutFinalSeparator(Narrow(here));
}

std::string TempDirectory() {
    wchar_t buffer[MAX_PATH + 2];
    const DWORD length = GetTempPathW(MAX_PATH + 2, buffer);
    if (length == 0 || length > MAX_PATH + 1) {
        return CurrentDirectory();
    }
    return WithoutFinalSeparator(Narrow(std::wstring_view(buffer, length)));
}

char PathListSeparator() {
    return ';';
}

std::string_view ExecutableSuffix() {
    return ".exe";
}

bool IsExecutableFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::filesystem::path FsPath(const std::string& path) {
    return std::filesystem::path(Widen(path));
}

std::string PathString(const std::filesystem::path& path) {
    return Narrow(path.native());
}

} // namespace kib::platform
