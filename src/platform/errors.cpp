// What an errno number says, the same on every system: the platform's functions
// report errno numbers on Windows too, so one table explains them.
#include "platform/files.h"

#include <cerrno>
#include <cstring>

namespace kib::platform {

std::string ErrorText(int error) {
    return std::strerror(error);
}

ErrorKind KindOfError(int error) {
    switch (error) {
    case ENOSPC:
        return ErrorKind::NoSpace;
#ifdef EDQUOT // no disk quotas in the C library of Windows
    case EDQUOT:
        return ErrorKind::QuotaExceeded;
#endif
    case EROFS:
        return ErrorKind::ReadOnly;
    case ENOENT:
        return ErrorKind::NoFolder;
    case ENOTDIR:
        return ErrorKind::NotFolder;
    case EACCES:
    case EPERM:
        return ErrorKind::Denied;
    case EEXIST:
        return ErrorKind::Exists;
    case EIO:
        return ErrorKind::InputOutput;
    default:
        return ErrorKind::Other;
    }
}

} // namespace kib::platform
