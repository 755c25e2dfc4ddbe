#include "sheet/file_copy.h"

#include "foundation/file_stamp.h"
#include "foundation/temp_files.h"
#include "platform/files.h"

#include <cerrno>

namespace kib {

namespace {

// Copies the bytes of one open file into another; false with error set on failure.
bool CopyBytes(platform::File& in, platform::File& out, int& error) {
    char buffer[65536];
    for (;;) {
        const long long n = in.Read(buffer, sizeof buffer);
        if (n == 0) {
            return true;
        }
        if (n < 0) {
            error = in.Error();
            return false;
        }
        if (!out.WriteAll(std::string_view(buffer, static_cast<std::size_t>(n)))) {
            error = out.Error();
            return false;
        }
    }
}

// Writes the copy under a temporary name of its own beside to; false with error
// set on failure (tmp then names no file of the copy).
bool WriteTemporaryCopy(const std::string& from, const std::string& to, std::string& tmp,
                        int& error) {
    platform::FileKind kind = platform::FileKind::Missing;
    platform::File in = platform::OpenRegularFile(from, error, kind);
    if (!in.IsOpen()) {
        return false;
    }
    platform::File out = CreateReplacementFile(to, tmp, error);
    if (!out.IsOpen()) {
        tmp.clear();
        return false;
    }
    bool ok = CopyBytes(in, out, error);
    if (!out.Close() && ok) {
        ok = false;
        error = out.Error();
    }
    return ok;
}

// Writes the copy under a temporary name of its own, with the source's time, and
// places it with place; no temporary file is left.
template <typename Place>
bool CopyThenPlace(const std::string& from, const std::string& to, int& errorCode, Place place) {
    std::string tmp;
    errorCode = 0;
    bool ok = WriteTemporaryCopy(from, to, tmp, errorCode);
    if (ok) {
        FileStamp stamp = 0;
        if (GetFileStamp(from, stamp)) {
            SetFileStamp(tmp, stamp); // the copy keeps the source's time, as a copy should
        }
        ok = place(tmp, to, errorCode);
    }
    if (!ok && !tmp.empty()) {
        int ignored = 0;
        platform::RemoveFile(tmp, ignored);
    }
    return ok;
}

} // namespace

bool CopyFileInto(const std::string& from, const std::string& to, int& errorCode) {
    return CopyThenPlace(from, to, errorCode, platform::MoveWithoutReplacing);
}

bool ReplaceWithCopy(const std::string& from, const std::string& to, int& errorCode) {
    return CopyThenPlace(from, to, errorCode, platform::MoveReplacing);
}

} // namespace kib
