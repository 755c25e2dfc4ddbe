#include "platform/file_lock.h"

#include "platform/win32/win32_text.h"

#define WIN32_LEAN_AND_MEAN 1
#define NOMINMAX 1
#include <windows.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace kib::platform {

using win32::LastErrno;
using win32::Widen;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The locked byte lies far beyond the text, which others read while it is held.
constexpr DWORD kLockedByteHigh = 0x40000000;
// A lock file that its holder has just removed refuses to be opened until the
// last process that has it open closes it; the opening is tried again meanwhile.
constexpr int kOpenAttempts = 20;
constexpr std::chrono::milliseconds kOpenRetryStep{50};

HANDLE Handle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

bool Identity(HANDLE h, BY_HANDLE_FILE_INFORMATION& info) {
    return GetFileInformationByHandle(h, &info) != 0;
}

} // namespace

FileLock::~FileLock() {
    Close();
}

bool FileLock::Open(const std::string& path, int& error) {
    return OpenWith(path, true, error);
}

bool FileLock::OpenExisting(const std::string& path, int& error) {
    return OpenWith(path, false, error);
}

bool FileLock::OpenWith(const std::string& path, bool create, int& error) {
    Close();
    const std::wstring wide = Widen(path);
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 1;; ++attempt) {
        h = CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, kShareAll, nullptr,
                        create ? OPEN_ALWAYS : OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            break;
        }
        const DWORD code = GetLastError();
        if (code != ERROR_ACCESS_DENIED || attempt == kOpenAttempts ||
            GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
            error = win32::ErrnoOf(code);
            return false;
        }
        std::this_thread::sleep_for(kOpenRetryStep);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !Identity(h, info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        info.nNumberOfLinks != 1) {
        const bool regular =
            GetFileType(h) == FILE_TYPE_DISK && info.nNumberOfLinks > 1 &&
            !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
        CloseHandle(h);
        error = regular ? EMLINK : EINVAL;
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
    error = 0;
    return true;
}

FileLock::Try FileLock::TryLock(int& error) {
    OVERLAPPED where{};
    where.OffsetHigh = kLockedByteHigh;
    if (LockFileEx(Handle(handle_), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                   &where)) {
        error = 0;
        return Try::Locked;
    }
    const DWORD code = GetLastError();
    error = win32::ErrnoOf(code);
    return code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING ? Try::Busy : Try::Failed;
}

bool FileLock::IsAt(const std::string& path) const {
    const HANDLE named =
        CreateFileW(Widen(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION open{};
    BY_HANDLE_FILE_INFORMATION there{};
    const bool same = Identity(Handle(handle_), open) && Identity(named, there) &&
                      open.dwVolumeSerialNumber == there.dwVolumeSerialNumber &&
                      open.nFileIndexHigh == there.nFileIndexHigh &&
                      open.nFileIndexLow == there.nFileIndexLow;
    CloseHandle(named);
    return same;
}

std::string FileLock::ReadText(std::size_t maxBytes) const {
    std::string text(maxBytes, '\0');
    OVERLAPPED where{};
    DWORD got = 0;
    if (!ReadFile(Handle(handle_), text.data(), static_cast<DWORD>(maxBytes), &got, &where)) {
        got = 0;
    }
    text.resize(got);
    return text;
}

void FileLock::WriteText(const std::string& text) {
    LARGE_INTEGER start{};
    if (SetFilePointerEx(Handle(handle_), start, nullptr, FILE_BEGIN) &&
        SetEndOfFile(Handle(handle_))) {
        DWORD put = 0;
        WriteFile(Handle(handle_), text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
    }
}

void FileLock::RemoveAndClose(const std::string& path) {
    if (handle_ != kNone) {
        // The name is freed at once by moving the file aside (a file that is to
        // be deleted keeps its name while others have it open); the file itself
        // goes when the last process that waits on it closes it. The name aside
        // is one that Kib removes when it is left behind.
        const std::wstring named = Widen(path);
        const std::wstring aside =
            Widen(path + ".~kib" + std::to_string(GetCurrentProcessId()) + "-0");
        const bool moved = MoveFileExW(named.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
        // Deleted by the name it has now: Windows deletes it when the last
        // process that has it open closes it.
        DeleteFileW(moved ? aside.c_str() : named.c_str());
    }
    Close();
}

void FileLock::Close() {
    if (handle_ != kNone) {
        CloseHandle(Handle(handle_));
        handle_ = kNone;
    }
}

} // namespace kib::platform
