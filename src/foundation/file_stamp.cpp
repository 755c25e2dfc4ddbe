#include "foundation/file_stamp.h"

#include "foundation/log.h"
#include "platform/files.h"

namespace kib {

bool GetFileStamp(const std::string& path, FileStamp& stamp) {
    int error = 0;
    // Opened without blocking: a FIFO at the name must not hang the program.
    if (!platform::GetStamp(path, stamp, error)) {
        stamp = 0;
        if (error != 0) {
            LogDebug("Opening file %s to get the stamp failed with %d", path.c_str(), error);
        }
        return false;
    }
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
    int error = 0;
    return platform::SetStamp(path, stamp, error);
}

} // namespace kib
