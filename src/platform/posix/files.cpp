#include "platform/files.h"

#include "platform/paths.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kib::platform {

namespace {

// Moves count bytes with step(done), which reads or writes from offset done and
// answers like read(2): interrupted steps are repeated, an end of file before
// count is EIO. error takes the errno number of a failure.
template <typename Step> bool TransferAll(std::size_t count, int& error, Step step) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = step(done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

constexpr std::uint64_t kTicksPerSecond = 10000000ULL; // 100 ns ticks
// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::uint64_t kEpochDifferenceSeconds = 11644473600ULL;

int Fd(std::intptr_t handle) {
    return static_cast<int>(handle);
}

FileKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::Regular;
    }
    if (S_ISDIR(mode)) {
        return FileKind::Directory;
    }
    if (S_ISFIFO(mode)) {
        return FileKind::Fifo;
    }
    if (S_ISCHR(mode)) {
        return FileKind::CharDevice;
    }
    if (S_ISBLK(mode)) {
        return FileKind::BlockDevice;
    }
    if (S_ISSOCK(mode)) {
        return FileKind::Socket;
    }
    if (S_ISLNK(mode)) {
        return FileKind::Link;
    }
    return FileKind::Other;
}

std::uint64_t ToStamp(const timespec& t) {
    if (t.tv_sec < 0) {
        return 1; // before 1970: still later than "no stamp"
    }
    return (static_cast<std::uint64_t>(t.tv_sec) + kEpochDifferenceSeconds) * kTicksPerSecond +
           static_cast<std::uint64_t>(t.tv_nsec) / 100;
}

timespec ToTimespec(std::uint64_t stamp) {
    timespec t{};
    const std::uint64_t seconds = stamp / kTicksPerSecond;
    t.tv_sec = seconds >= kEpochDifferenceSeconds
                   ? static_cast<time_t>(seconds - kEpochDifferenceSeconds)
                   : -static_cast<time_t>(kEpochDifferenceSeconds - seconds);
    t.tv_nsec = static_cast<long>((stamp % kTicksPerSecond) * 100);
    return t;
}

// Opens without blocking (a FIFO does not wait for a writer), then makes reads
// and writes of the open file block as usual.
int OpenNonBlocking(const std::string& path, int flags, int& error) {
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    error = 0;
    return fd;
}

} // namespace

// Makes File objects of open descriptors for the functions below.
class FileOpener {
  public:
    static File Make(int fd) { return fd >= 0 ? File(fd) : File(); }
};

long long File::Read(char* data, std::size_t size) {
    ssize_t n;
    do {
        n = ::read(Fd(handle_), data, size);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
        error_ = errno;
    }
    return n;
}

bool File::ReadAt(std::string& into, std::size_t count, std::int64_t offset) {
    into.assign(count, '\0');
    return TransferAll(count, error_, [this, &into, count, offset](std::size_t done) {
        return ::pread(Fd(handle_), into.data() + done, count - done,
                       static_cast<off_t>(offset) + static_cast<off_t>(done));
    });
}

bool File::WriteAll(std::string_view data) {
    return TransferAll(data.size(), error_, [this, data](std::size_t done) {
        return ::write(Fd(handle_), data.data() + done, data.size() - done);
    });
}

bool File::ReplaceContent(std::string_view data) {
    if (::ftruncate(Fd(handle_), 0) != 0 || ::lseek(Fd(handle_), 0, SEEK_SET) != 0) {
        error_ = errno;
        return false;
    }
    return WriteAll(data);
}

bool File::FlushToDisk() {
    if (::fsync(Fd(handle_)) != 0) {
        error_ = errno;
        return false;
    }
    return true;
}

void File::StartFlush() {
    // Only a hint: where the system cannot, FlushToDisk does all the work.
    ::sync_file_range(Fd(handle_), 0, 0, SYNC_FILE_RANGE_WRITE);
}

bool File::Close() {
    if (handle_ == kNone) {
        return true;
    }
    const int r = ::close(Fd(handle_));
    handle_ = kNone;
    if (r != 0 && errno != EINTR) {
        error_ = errno;
        return false;
    }
    return true;
}

FileKind File::Kind() const {
    struct stat st {};
    return ::fstat(Fd(handle_), &st) == 0 ? KindOfMode(st.st_mode) : FileKind::Missing;
}

int File::LinkCount() const {
    struct stat st {};
    return ::fstat(Fd(handle_), &st) == 0 ? static_cast<int>(st.st_nlink) : -1;
}

std::int64_t File::Size() const {
    struct stat st {};
    return ::fstat(Fd(handle_), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

bool File::Stamp(std::uint64_t& stamp) const {
    struct stat st {};
    if (::fstat(Fd(handle_), &st) != 0) {
        return false;
    }
    stamp = ToStamp(st.st_mtim);
    return true;
}

void File::CopyPermissionsOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        ::fchmod(Fd(handle_), st.st_mode & 07777);
    }
}

File OpenForReading(const std::string& path, int& error) {
    return FileOpener::Make(OpenNonBlocking(path, O_RDONLY, error));
}

File OpenRegularFile(const std::string& path, int& error, FileKind& kind) {
    File file = OpenForReading(path, error);
    kind = file.IsOpen() ? file.Kind() : KindOf(path);
    if (file.IsOpen() && kind != FileKind::Regular) {
        error = kind == FileKind::Directory ? EISDIR : EINVAL;
        return File();
    }
    return file;
}

File OpenForWriting(const std::string& path, int& error) {
    return FileOpener::Make(OpenNonBlocking(path, O_WRONLY | O_NOFOLLOW, error));
}

File CreateOrReplace(const std::string& path, int& error) {
    return FileOpener::Make(OpenNonBlocking(path, O_WRONLY | O_CREAT | O_TRUNC, error));
}

File CreateExclusive(const std::string& path, int& error) {
    return FileOpener::Make(OpenNonBlocking(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, error));
}

FileKind KindOf(const std::string& path, bool followLinks) {
    struct stat st {};
    const int r = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    return r == 0 ? KindOfMode(st.st_mode) : FileKind::Missing;
}

std::int64_t FileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
}

bool GetStamp(const std::string& path, std::uint64_t& stamp, int& error) {
    // A stat, not an open: asking for a file's time neither blocks on a FIFO nor
    // counts as a read of the file.
    stamp = 0;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = errno;
        return false;
    }
    error = 0;
    stamp = ToStamp(st.st_mtim);
    return true;
}

bool SetStamp(const std::string& path, std::uint64_t stamp, int& error) {
    const timespec t = ToTimespec(stamp);
    const timespec times[2] = {t, t};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
        error = errno;
        return false;
    }
    error = 0;
    return true;
}

bool MoveReplacing(const std::string& from, const std::string& to, int& error) {
    if (!MoveReplacingUnflushed(from, to, error)) {
        return false;
    }
    FlushFolderOf(to);
    return true;
}

bool MoveReplacingUnflushed(const std::string& from, const std::string& to, int& error) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        error = errno;
        return false;
    }
    error = 0;
    return true;
}

// A rename that refuses an existing name; where the file system cannot do that,
// a hard link (which refuses it too) and then the old name removed; a file
// system without links gets a plain rename.
bool MoveWithoutReplacing(const std::string& from, const std::string& to, int& error) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        FlushFolderOf(to);
        error = 0;
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        error = errno;
        return false;
    }
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        error = 0;
        return true;
    }
    if (errno == EEXIST) {
        error = EEXIST;
        return false;
    }
    return MoveReplacing(from, to, error);
}

bool RemoveFile(const std::string& path, int& error) {
    if (::unlink(path.c_str()) != 0) {
        error = errno;
        return false;
    }
    error = 0;
    return true;
}

bool FlushFileToDisk(const std::string& path, int& error) {
    File file = FileOpener::Make(OpenNonBlocking(path, O_RDONLY | O_NOFOLLOW, error));
    if (!file.IsOpen()) {
        return false;
    }
    bool ok = file.FlushToDisk();
    ok = file.Close() && ok;
    error = ok ? 0 : file.Error();
    return ok;
}

void FlushFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool IsWritable(const std::string& path) {
    return ::access(path.c_str(), W_OK) == 0;
}

std::string ResolveLinks(const std::string& path) {
    if (KindOf(path, false) != FileKind::Link) {
        return path;
    }
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) {
        return path;
    }
    std::string resolved = real;
    std::free(real);
    return resolved;
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    ::closedir(dir);
    return names;
}

bool CreateFolders(const std::string& path, int& error) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    std::error_code kindError;
    if (std::filesystem::is_directory(path, kindError)) {
        error = 0;
        return true;
    }
    // create_directories reports a file in the way as success without a folder.
    error = ec ? ec.value() : ENOTDIR;
    return false;
}

std::string CreatePrivateFolder(int& error) {
    std::string pattern = TempDirectory() + "/kib-XXXXXX";
    // mkdtemp makes the folder with mode 0700, under a name no one had.
    if (::mkdtemp(pattern.data()) == nullptr) {
        error = errno;
        return {};
    }
    error = 0;
    return pattern;
}

bool RemoveFolder(const std::string& path, int& error) {
    if (::rmdir(path.c_str()) != 0) {
        error = errno;
        return false;
    }
    error = 0;
    return true;
}

} // namespace kib::platform
