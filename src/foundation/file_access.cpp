#include "foundation/file_access.h"

#include "platform/files.h"

namespace kib {

std::string WriteFailureReason(int errorNumber) {
    switch (platform::KindOfError(errorNumber)) {
    case platform::ErrorKind::NoSpace:
        return "no space left on the disk";
    case platform::ErrorKind::QuotaExceeded:
        return "disk quota exceeded";
    case platform::ErrorKind::ReadOnly:
        return "read-only file system";
    case platform::ErrorKind::NoFolder:
        return "the folder does not exist";
    case platform::ErrorKind::NotFolder:
        return "a part of the path is not a folder";
    case platform::ErrorKind::Denied:
        return "permission denied";
    case platform::ErrorKind::Exists:
        return "something else is already there";
    case platform::ErrorKind::InputOutput:
        return "input/output error of the disk";
    case platform::ErrorKind::Other:
        break;
    }
    return platform::ErrorText(errorNumber);
}

bool FlushToDisk(const std::string& path, int& errorNumber) {
    return platform::FlushFileToDisk(path, errorNumber);
}

void FlushFolderOf(const std::string& path) {
    platform::FlushFolderOf(path);
}

} // namespace kib
