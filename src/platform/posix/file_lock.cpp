#include "platform/file_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kib::platform {

namespace {

int Fd(std::intptr_t handle) {
    return static_cast<int>(handle);
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
    const int fd = ::open(
        path.c_str(), O_RDWR | (create ? O_CREAT : 0) | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = errno;
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1) {
        ::close(fd);
        error = S_ISREG(info.st_mode) ? EMLINK : EINVAL;
        return false;
    }
    handle_ = fd;
    error = 0;
    return true;
}

FileLock::Try FileLock::TryLock(int& error) {
    for (;;) {
        if (::flock(Fd(handle_), LOCK_EX | LOCK_NB) == 0) {
            error = 0;
            return Try::Locked;
        }
        if (errno != EINTR) {
            error = errno;
            return errno == EWOULDBLOCK ? Try::Busy : Try::Failed;
        }
    }
}

bool FileLock::IsAt(const std::string& path) const {
    struct stat open {};
    struct stat named {};
    return ::fstat(Fd(handle_), &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

std::string FileLock::ReadText(std::size_t maxBytes) const {
    std::string text(maxBytes, '\0');
    const ssize_t n = ::pread(Fd(handle_), text.data(), maxBytes, 0);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

void FileLock::WriteText(const std::string& text) {
    if (::ftruncate(Fd(handle_), 0) == 0) {
        [[maybe_unused]] const ssize_t n = ::pwrite(Fd(handle_), text.data(), text.size(), 0);
    }
}

void FileLock::RemoveAndClose(const std::string& path) {
    if (handle_ != kNone) {
        ::unlink(path.c_str());
    }
    Close();
}

void FileLock::Close() {
    if (handle_ != kNone) {
        ::close(Fd(handle_));
        handle_ = kNone;
    }
}

} // namespace kib::platform
