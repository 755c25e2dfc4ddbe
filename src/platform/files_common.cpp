// What files are alike on every system: an open file's ownership (closed once,
// by its last owner) and the meaning of an errno number, which the platform's
// functions report on Windows too.
#include "platform/files.h"

#include <cerrno>
#include <cstring>

namespace kib::platform {

File::~File() {
    Close();
}

File::File(File&& other) noexcept : handle_(other.handle_), error_(other.error_) {
    other.handle_ = kNone;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        error_ = other.error_;
        other.handle_ = kNone;
    }
    return *this;
}

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
