#include "app/event_lock.h"

#include "foundation/app_state.h"
#include "foundation/format.h"
#include "foundation/log.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kib {

namespace {

using Clock = std::chrono::steady_clock;

// How often a held lock is tried again while waiting.
constexpr std::chrono::milliseconds kRetryStep{100};
// The holder's description is one short line.
constexpr std::size_t kHolderSize = 300;

// "Kib process 4711 (Make Competition Maps SVG Files) since 2024-05-01 10:00:00".
std::string DescribeThisRun(const std::string& what) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char since[32];
    std::strftime(since, sizeof since, "%Y-%m-%d %H:%M:%S", &local);
    return Format("Kib process %d (%s) since %s", static_cast<int>(::getpid()), what.c_str(),
                  since);
}

std::string ReadHolder(int fd) {
    char text[kHolderSize];
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    std::string holder(text, n > 0 ? static_cast<std::size_t>(n) : 0);
    const std::size_t end = holder.find_first_of("\r\n");
    holder = holder.substr(0, end);
    return holder.empty() ? std::string("a run that has not named itself yet") : holder;
}

void WriteHolder(int fd, const std::string& holder) {
    const std::string line = holder + "\n";
    if (::ftruncate(fd, 0) == 0) {
        // Only a description for the user: a failed write is no reason to stop.
        [[maybe_unused]] const ssize_t n = ::pwrite(fd, line.data(), line.size(), 0);
    }
}

// The lock file, opened without following a link and without blocking; -1 when
// none can be made or something else is at its name.
int OpenLockFile(const std::string& path) {
    const int fd =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        LogDebug("Cannot make the lock file %s (%s): the run is not locked.", path.c_str(),
                 std::strerror(errno));
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        LogDebug("The lock file %s is not a regular file: the run is not locked.", path.c_str());
        return -1;
    }
    return fd;
}

// Whether the open file is still the one at the path.
bool IsFileAt(int fd, const std::string& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool TryLock(int fd) {
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

} // namespace

std::string EventLockPath(const std::string& configPath) {
    return configPath + ".lock.kib";
}

EventLock::~EventLock() {
    Release();
}

void EventLock::Release() {
    if (fd_ >= 0) {
        // Removed while still locked: a run waiting on this file finds it gone
        // once it has the lock and opens the next one (see Acquire).
        ::unlink(path_.c_str());
        ::close(fd_);
        fd_ = -1;
    }
}

bool EventLock::Acquire(const std::string& configPath, const std::string& what, int waitMs) {
    Release();
    path_ = EventLockPath(configPath);
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    bool waiting = false;
    for (;;) {
        const int fd = OpenLockFile(path_);
        if (fd < 0) {
            return true;
        }
        while (!TryLock(fd)) {
            if (errno != EWOULDBLOCK) {
                LogDebug("Locking %s failed (%s): the run is not locked.", path_.c_str(),
                         std::strerror(errno));
                ::close(fd);
                return true;
            }
            if (Clock::now() >= deadline) {
                LogError("[** ERROR **] Another run is working on this event: %s (lock file %s). "
                         "Try again when it has ended.",
                         ReadHolder(fd).c_str(), path_.c_str());
                ::close(fd);
                return false;
            }
            if (!waiting) {
                LogInfo("Waiting for another run of this event to end: %s...",
                        ReadHolder(fd).c_str());
                waiting = true;
            }
            App().GetHost().PumpEvents();
            std::this_thread::sleep_for(kRetryStep);
        }
        if (IsFileAt(fd, path_)) {
            fd_ = fd;
            WriteHolder(fd_, DescribeThisRun(what));
            return true;
        }
        ::close(fd); // the run that held it has ended and removed it
    }
}

} // namespace kib
