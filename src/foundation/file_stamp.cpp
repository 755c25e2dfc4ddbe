#include "foundation/file_stamp.h"

#include "foundation/diagnostics.h"
#include "foundation/format.h"
#include "platform/files.h"

namespace kib {

bool ReadFileStamp(const std::string& path, FileStamp& stamp, std::vector<std::string>& notes) {
    int error = 0;
    // Opened without blocking: a FIFO at the name must not hang the program.
    if (!platform::GetStamp(path, stamp, error)) {
        stamp = 0;
        if (error != 0) {
            notes.push_back(
                Format("Opening file %s to get the stamp failed with %d", path.c_str(), error));
        }
        return false;
    }
    return true;
}

bool GetFileStamp(const std::string& path, FileStamp& stamp, Diagnostics& diagnostics) {
    std::vector<std::string> notes;
    const bool read = ReadFileStamp(path, stamp, notes);
    for (const std::string& note : notes) {
        diagnostics.Say(DiagnosticKind::Debug, note);
    }
    return read;
}

int CompareFileStamps(const std::string& a, const std::string& b, Diagnostics& diagnostics) {
    FileStamp ta = 0;
    FileStamp tb = 0;
    GetFileStamp(a, ta, diagnostics);
    GetFileStamp(b, tb, diagnostics);
    return ta < tb ? -1 : (ta > tb ? 1 : 0);
}

bool SetFileStamp(const std::string& path, FileStamp stamp) {
    int error = 0;
    return platform::SetStamp(path, stamp, error);
}

} // namespace kib
