#include "platform/files.h"

#include "platform/paths.h"
#include "platform/win32/win32_text.h"

#define WIN32_LEAN_AND_MEAN 1
#define NOMINMAX 1
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <thread>

namespace kib::platform {

using win32::LastErrno;
using win32::Narrow;
using win32::Widen;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// The largest piece one ReadFile or WriteFile call is given.
constexpr std::size_t kMaxPiece = 1u << 30;
// A file that another program (a virus scanner, an indexer, a viewer) has open
// for a moment cannot be replaced; the move is tried again this often.
constexpr int kMoveAttempts = 10;
constexpr std::chrono::milliseconds kMoveRetryStep{50};

HANDLE Handle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::intptr_t Value(HANDLE handle) {
    return reinterpret_cast<std::intptr_t>(handle);
}

HANDLE Open(const std::string& path, DWORD access, DWORD disposition, DWORD flags, int& error) {
    const HANDLE h = CreateFileW(Widen(path).c_str(), access, kShareAll, nullptr, disposition,
                                 FILE_ATTRIBUTE_NORMAL | flags, nullptr);
    error = h == INVALID_HANDLE_VALUE ? LastErrno() : 0;
    return h;
}

// Symbolic links and junctions name another file; other reparse points (files
// of cloud storage, deduplicated files) are the files themselves.
bool IsLinkTag(DWORD attributes, DWORD tag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(tag);
}

FileKind KindOfHandle(HANDLE h) {
    switch (GetFileType(h)) {
    case FILE_TYPE_CHAR:
        return FileKind::CharDevice;
    case FILE_TYPE_PIPE:
        return FileKind::Fifo;
    case FILE_TYPE_DISK:
        break;
    default:
        return FileKind::Other;
    }
    DWORD attributes = 0;
    FILE_ATTRIBUTE_TAG_INFO tagged{};
    if (GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tagged, sizeof tagged)) {
        if (IsLinkTag(tagged.FileAttributes, tagged.ReparseTag)) {
            return FileKind::Link;
        }
        attributes = tagged.FileAttributes;
    } else {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(h, &info)) {
            return FileKind::Other;
        }
        attributes = info.dwFileAttributes;
    }
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? FileKind::Directory : FileKind::Regular;
}

// Whether the name is a symbolic link or a junction itself.
bool IsLinkName(const std::wstring& path) {
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW(path.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(find);
    return IsLinkTag(entry.dwFileAttributes, entry.dwReserved0);
}

std::uint64_t ToStamp(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME ToFileTime(std::uint64_t stamp) {
    FILETIME time{};
    time.dwLowDateTime = static_cast<DWORD>(stamp & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(stamp >> 32);
    return time;
}

bool Retryable(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION;
}

bool Move(const std::string& from, const std::string& to, DWORD flags, int& error) {
    const std::wstring source = Widen(from);
    const std::wstring target = Widen(to);
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(source.c_str(), target.c_str(), flags)) {
            error = 0;
            return true;
        }
        const DWORD code = GetLastError();
        if (attempt == kMoveAttempts || !Retryable(code) ||
            GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) {
            error = win32::ErrnoOf(code);
            return false;
        }
        std::this_thread::sleep_for(kMoveRetryStep);
    }
}

// "\\?\C:\x" -> "C:\x", "\\?\UNC\server\share" -> "\\server\share".
std::wstring WithoutLongPrefix(std::wstring path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        return L"\\" + path.substr(7);
    }
    if (path.rfind(L"\\\\?\\", 0) == 0) {
        return path.substr(4);
    }
    return path;
}

} // namespace

// Makes File objects of open handles for the functions below.
class FileOpener {
  public:
    static File Make(HANDLE h) { return h != INVALID_HANDLE_VALUE ? File(Value(h)) : File(); }
};

long long File::Read(char* data, std::size_t size) {
    DWORD got = 0;
    if (!ReadFile(Handle(handle_), data, static_cast<DWORD>(std::min(size, kMaxPiece)), &got,
                  nullptr)) {
        const DWORD code = GetLastError();
        if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) {
            return 0;
        }
        error_ = win32::ErrnoOf(code);
        return -1;
    }
    return got;
}

bool File::ReadAt(std::string& into, std::size_t count, std::int64_t offset) {
    into.assign(count, '\0');
    std::size_t done = 0;
    while (done < count) {
        const auto at = static_cast<std::uint64_t>(offset) + done;
        OVERLAPPED where{};
        where.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
        where.OffsetHigh = static_cast<DWORD>(at >> 32);
        DWORD got = 0;
        if (!ReadFile(Handle(handle_), into.data() + done,
                      static_cast<DWORD>(std::min(count - done, kMaxPiece)), &got, &where)) {
            error_ = GetLastError() == ERROR_HANDLE_EOF ? EIO : LastErrno();
            return false;
        }
        if (got == 0) {
            error_ = EIO;
            return false;
        }
        done += got;
    }
    return true;
}

bool File::WriteAll(std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        DWORD put = 0;
        if (!WriteFile(Handle(handle_), data.data() + done,
                       static_cast<DWORD>(std::min(data.size() - done, kMaxPiece)), &put,
                       nullptr)) {
            error_ = LastErrno();
            return false;
        }
        if (put == 0) {
            error_ = EIO;
            return false;
        }
        done += put;
    }
    return true;
}

bool File::ReplaceContent(std::string_view data) {
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(Handle(handle_), start, nullptr, FILE_BEGIN) ||
        !SetEndOfFile(Handle(handle_))) {
        error_ = LastErrno();
        return false;
    }
    return WriteAll(data);
}

bool File::FlushToDisk() {
    if (!FlushFileBuffers(Handle(handle_))) {
        error_ = LastErrno();
        return false;
    }
    return true;
}

void File::StartFlush() {
    // Windows has no such hint; FlushToDisk does all the work.
}

bool File::Close() {
    if (handle_ == kNone) {
        return true;
    }
    const BOOL closed = CloseHandle(Handle(handle_));
    handle_ = kNone;
    if (!closed) {
        error_ = LastErrno();
        return false;
    }
    return true;
}

FileKind File::Kind() const {
    return KindOfHandle(Handle(handle_));
}

int File::LinkCount() const {
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(Handle(handle_), &info)
               ? static_cast<int>(info.nNumberOfLinks)
               : -1;
}

std::int64_t File::Size() const {
    LARGE_INTEGER size{};
    return GetFileSizeEx(Handle(handle_), &size) ? size.QuadPart : -1;
}

bool File::Stamp(std::uint64_t& stamp) const {
    FILETIME written{};
    if (!GetFileTime(Handle(handle_), nullptr, nullptr, &written)) {
        return false;
    }
    stamp = ToStamp(written);
    return true;
}

void File::CopyPermissionsOf(const std::string&) {}

File OpenForReading(const std::string& path, int& error) {
    return FileOpener::Make(
        Open(path, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, error));
}

File OpenRegularFile(const std::string& path, int& error, FileKind& kind) {
    File file = OpenForReading(path, error);
    kind = file.IsOpen() ? file.Kind() : KindOf(path);
    if (file.IsOpen() && kind != FileKind::Regular) {
        error = kind == FileKind::Directory ? EISDIR : EINVAL;
        return File();
    }
    if (!file.IsOpen() && kind == FileKind::Directory) {
        error = EISDIR;
    }
    return file;
}

File OpenForWriting(const std::string& path, int& error) {
    return FileOpener::Make(
        Open(path, GENERIC_WRITE, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, error));
}

File CreateOrReplace(const std::string& path, int& error) {
    return FileOpener::Make(Open(path, GENERIC_WRITE, CREATE_ALWAYS, 0, error));
}

File CreateExclusive(const std::string& path, int& error) {
    return FileOpener::Make(
        Open(path, GENERIC_WRITE, CREATE_NEW, FILE_FLAG_OPEN_REPARSE_POINT, error));
}

FileKind KindOf(const std::string& path, bool followLinks) {
    const std::wstring wide = Widen(path);
    if (!followLinks && IsLinkName(wide)) {
        return FileKind::Link;
    }
    // The open file tells devices ("NUL", "COM1") and pipes from files.
    int error = 0;
    const HANDLE h = Open(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, error);
    if (h != INVALID_HANDLE_VALUE) {
        const FileKind kind = KindOfHandle(h);
        CloseHandle(h);
        return kind;
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || IsLinkName(wide)) {
        return FileKind::Missing; // nothing, or a link that names nothing
    }
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? FileKind::Directory : FileKind::Regular;
}

std::int64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) {
        return -1;
    }
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                     data.nFileSizeLow);
}

bool GetStamp(const std::string& path, std::uint64_t& stamp, int& error) {
    stamp = 0;
    const HANDLE h =
        Open(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, error);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    FILETIME written{};
    const bool ok = GetFileTime(h, nullptr, nullptr, &written) != 0;
    error = ok ? 0 : LastErrno();
    CloseHandle(h);
    if (ok) {
        stamp = ToStamp(written);
    }
    return ok;
}

bool SetStamp(const std::string& path, std::uint64_t stamp, int& error) {
    const HANDLE h =
        Open(path, FILE_WRITE_ATTRIBUTES, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, error);
    if (h == INVALID_HANDLE_VALUE) {
        return false;
    }
    const FILETIME time = ToFileTime(stamp);
    const bool ok = SetFileTime(h, nullptr, &time, &time) != 0;
    error = ok ? 0 : LastErrno();
    CloseHandle(h);
    return ok;
}

bool MoveReplacing(const std::string& from, const std::string& to, int& error) {
    return Move(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, error);
}

bool MoveReplacingUnflushed(const std::string& from, const std::string& to, int& error) {
    // The move is durable by itself (MOVEFILE_WRITE_THROUGH); there is no folder to flush.
    return MoveReplacing(from, to, error);
}

bool MoveWithoutReplacing(const std::string& from, const std::string& to, int& error) {
    return Move(from, to, MOVEFILE_WRITE_THROUGH, error);
}

bool RemoveFile(const std::string& path, int& error) {
    if (!DeleteFileW(Widen(path).c_str())) {
        error = LastErrno();
        return false;
    }
    error = 0;
    return true;
}

bool FlushFileToDisk(const std::string& path, int& error) {
    File file = FileOpener::Make(
        Open(path, GENERIC_WRITE, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, error));
    if (!file.IsOpen()) {
        return false;
    }
    bool ok = file.FlushToDisk();
    ok = file.Close() && ok;
    error = ok ? 0 : file.Error();
    return ok;
}

void FlushFolderOf(const std::string&) {
    // MOVEFILE_WRITE_THROUGH has made the move durable.
}

bool IsWritable(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

std::string ResolveLinks(const std::string& path) {
    if (KindOf(path, false) != FileKind::Link) {
        return path;
    }
    int error = 0;
    const HANDLE h = Open(path, 0, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, error);
    if (h == INVALID_HANDLE_VALUE) {
        return path;
    }
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD length =
        GetFinalPathNameByHandleW(h, resolved.data(), static_cast<DWORD>(resolved.size()), 0);
    if (length >= resolved.size()) {
        resolved.resize(length + 1);
        length =
            GetFinalPathNameByHandleW(h, resolved.data(), static_cast<DWORD>(resolved.size()), 0);
    }
    CloseHandle(h);
    if (length == 0 || length >= resolved.size()) {
        return path;
    }
    resolved.resize(length);
    return Narrow(WithoutLongPrefix(resolved));
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    const std::string pattern = WithSeparator(folder.empty() ? std::string(".") : folder) + "*";
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileExW(Widen(pattern).c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(Narrow(name));
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

bool CreateFolders(const std::string& path, int& error) {
    const std::filesystem::path folder = FsPath(path);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::error_code kindError;
    if (std::filesystem::is_directory(folder, kindError)) {
        error = 0;
        return true;
    }
    if (!ec) {
        error = ENOTDIR; // a file in the way
    } else {
        error = ec.category() == std::generic_category() ? ec.value() : win32::ErrnoOf(ec.value());
    }
    return false;
}

std::string CreatePrivateFolder(int& error) {
    // The user's temporary folder is the user's alone; the name is new.
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = TempDirectory() + "\\kib-" +
                                 std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(counter++);
        if (CreateDirectoryW(Widen(path).c_str(), nullptr)) {
            error = 0;
            return path;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            error = LastErrno();
            return {};
        }
    }
    error = EEXIST;
    return {};
}

bool RemoveFolder(const std::string& path, int& error) {
    if (!RemoveDirectoryW(Widen(path).c_str())) {
        error = LastErrno();
        return false;
    }
    error = 0;
    return true;
}

} // namespace kib::platform
