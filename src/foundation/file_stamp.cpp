#include "foundation/file_stamp.h"

#include "foundation/log.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kib {

namespace {

constexpr std::uint64_t kTicksPerSecond = 10000000ULL; // 100 ns ticks

FileStamp ToStamp(const timespec& t) {
    if (t.tv_sec < 0) {
        return 1; // before 1970: still later than "no stamp"
    }
    return (static_cast<std::uint64_t>(t.tv_sec) + kEpochDifferenceSeconds) * kTicksPerSecond +
           static_cast<std::uint64_t>(t.tv_nsec) / 100;
}

timespec ToTimespec(FileStamp stamp) {
    timespec t{};
    const std::uint64_t seconds = stamp / kTicksPerSecond;
    t.tv_sec = seconds >= kEpochDifferenceSeconds
                   ? static_cast<time_t>(seconds - kEpochDifferenceSeconds)
                   : -static_cast<time_t>(kEpochDifferenceSeconds - seconds);
    t.tv_nsec = static_cast<long>((stamp % kTicksPerSecond) * 100);
    return t;
}

} // namespace

bool GetFileStamp(const std::string& path, FileStamp& stamp) {
    stamp = 0;
    // O_NONBLOCK: a FIFO at the name must not hang the program.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        LogDebug("Opening file %s to get the stamp failed with %d", path.c_str(), errno);
        return false;
    }
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0;
    ::close(fd);
    if (!ok) {
        return false;
    }
    stamp = ToStamp(st.st_mtim);
    return true;
}

int CompareFileStamps(const std::string& a, const std::string& b) {
    FileStamp ta = 0;
    FileStamp tb = 0;
    GetFileStamp(a, ta);
    GetFileStamp(b, tb);
    return ta < tb ? -1 : (ta > tb ? 1 : 0);
}

bool SetFileStamp(const std::string& path, FileStamp stamp) {
    const timespec t = ToTimespec(stamp);
    const timespec times[2] = {t, t};
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

} // namespace kib
