#include "platform/win32/win32_text.h"

#define WIN32_LEAN_AND_MEAN 1
#define NOMINMAX 1
#include <windows.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace kib::platform::win32 {

namespace {

constexpr unsigned kWindows1252 = 1252;

// The code page of text that is not UTF-8, as the text codec reads it.
unsigned FallbackCodePage() {
    const wchar_t* name = _wgetenv(L"KIB_CODEPAGE");
    if (name && *name) {
        const unsigned number = CodePageNumber(Narrow(name));
        if (number != 0 && IsValidCodePage(number)) {
            return number;
        }
    }
    return kWindows1252;
}

std::wstring ToWide(unsigned codePage, DWORD flags, std::string_view text, bool& ok) {
    ok = true;
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (needed <= 0) {
        ok = false;
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), needed);
    return wide;
}

bool StartsWithNoCase(std::string_view text, std::string_view head) {
    if (text.size() < head.size()) {
        return false;
    }
    for (std::size_t i = 0; i < head.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != head[i]) {
            return false;
        }
    }
    return true;
}

unsigned Number(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) {
        return 0;
    }
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return 0;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

} // namespace

std::wstring Widen(std::string_view text) {
    bool ok = false;
    std::wstring wide = ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, text, ok);
    if (!ok) {
        wide = ToWide(FallbackCodePage(), 0, text, ok);
    }
    return wide;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int needed =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        return {};
    }
    std::string narrow(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), needed, nullptr, nullptr);
    return narrow;
}

unsigned CodePageNumber(std::string_view name) {
    if (StartsWithNoCase(name, "WINDOWS-")) {
        return Number(name.substr(8));
    }
    if (StartsWithNoCase(name, "ISO-8859-")) {
        const unsigned part = Number(name.substr(9));
        return part >= 1 && part <= 16 ? 28590 + part : 0;
    }
    if (StartsWithNoCase(name, "CP")) {
        return Number(name.substr(2));
    }
    return Number(name);
}

int ErrnoOf(unsigned long windowsError) {
    switch (windowsError) {
    case ERROR_SUCCESS:
        return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_CURRENT_DIRECTORY:
    case ERROR_NETWORK_ACCESS_DENIED:
        return EACCES;
    case ERROR_INVALID_HANDLE:
        return EBADF;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_SEEK:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
        return EIO;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_DIR_NOT_EMPTY:
        return ENOTEMPTY;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
        return EPIPE;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_EXE_MARKED_INVALID:
        return ENOEXEC;
    case ERROR_NOT_SUPPORTED:
    case ERROR_CALL_NOT_IMPLEMENTED:
        return ENOSYS;
    default:
        return EINVAL;
    }
}

int LastErrno() {
    return ErrnoOf(GetLastError());
}

} // namespace kib::platform::win32
