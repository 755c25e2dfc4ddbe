#include "foundation/file_access.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kib {

std::string WriteFailureReason(int errorNumber) {
    switch (errorNumber) {
    case ENOSPC:
        return "no space left on the disk";
    case EDQUOT:
        return "disk quota exceeded";
    case EROFS:
        return "read-only file system";
    case ENOENT:
        return "the folder does not exist";
    case ENOTDIR:
        return "a part of the path is not a folder";
    case EACCES:
    case EPERM:
        return "permission denied";
    case EEXIST:
        return "something else is already there";
    case EIO:
        return "input/output error of the disk";
    default:
        return std::strerror(errorNumber);
    }
}

bool FlushToDisk(const std::string& path, int& errorNumber) {
    // O_NONBLOCK: a FIFO planted at the name must not hang the flush.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        errorNumber = errno;
        return false;
    }
    bool ok = ::fsync(fd) == 0;
    errorNumber = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        errorNumber = errno;
    }
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

} // namespace kib
