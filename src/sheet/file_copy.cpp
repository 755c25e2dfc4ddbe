#include "sheet/file_copy.h"

#include "foundation/atomic_file.h"
#include "foundation/file_stamp.h"
#include "platform/files.h"

#include <cerrno>

#include <vector>

namespace kib {

namespace {

// Copies the bytes of one open file into the new file; false with error set on
// failure.
bool CopyBytes(platform::File& in, AtomicFile& out, int& error) {
    char buffer[65536];
    for (;;) {
        const long long n = in.Read(buffer, sizeof buffer);
        if (n == 0) {
            return true;
        }
        if (n < 0) {
            error = in.Error();
            out.Abandon();
            return false;
        }
        if (!out.Write(std::string_view(buffer, static_cast<std::size_t>(n)))) {
            error = out.Error();
            return false;
        }
    }
}

// Writes the copy into a new file that takes the name to (replacing a file
// there when replace is set) once it is whole, with the source's time.
bool CopyThenPlace(const std::string& from, const std::string& to, int& errorCode, bool replace) {
    errorCode = 0;
    platform::FileKind kind = platform::FileKind::Missing;
    platform::File in = platform::OpenRegularFile(from, errorCode, kind);
    if (!in.IsOpen()) {
        return false;
    }
    AtomicFile out;
    if (!out.Begin(to)) {
        errorCode = out.Error();
        return false;
    }
    if (!CopyBytes(in, out, errorCode)) {
        return false;
    }
    FileStamp stamp = 0;
    std::vector<std::string> notes; // a copy that keeps no time is still a copy
    if (ReadFileStamp(from, stamp, notes)) {
        out.SetStampOnCommit(stamp); // the copy keeps the source's time, as a copy should
    }
    if (!out.Commit({}, replace)) {
        errorCode = out.Error() != 0 ? out.Error() : EIO;
        return false;
    }
    return true;
}

} // namespace

bool CopyFileInto(const std::string& from, const std::string& to, int& errorCode) {
    return CopyThenPlace(from, to, errorCode, false);
}

bool ReplaceWithCopy(const std::string& from, const std::string& to, int& errorCode) {
    return CopyThenPlace(from, to, errorCode, true);
}

} // namespace kib
