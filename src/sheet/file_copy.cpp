#include "sheet/file_copy.h"

#include "foundation/file_stamp.h"
#include "foundation/input_file.h"
#include "foundation/temp_files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace kib {

namespace {

// Copies the bytes of one open file into another; false with errno set on failure.
bool CopyBytes(int in, int out) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(in, buffer, sizeof buffer);
        if (n == 0) {
            return true;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        ssize_t done = 0;
        while (done < n) {
            const ssize_t w = write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return false;
            }
            done += w;
        }
    }
}

// Writes the copy under a temporary name of its own beside to; false with errno
// set on failure (tmp then names no file of the copy).
bool WriteTemporaryCopy(const std::string& from, const std::string& to, std::string& tmp) {
    std::string reason;
    const int in = OpenRegularFile(from, reason);
    if (in < 0) {
        return false;
    }
    const int out = CreateReplacementFile(to, tmp);
    if (out < 0) {
        tmp.clear();
        const int e = errno;
        close(in);
        errno = e;
        return false;
    }
    bool ok = CopyBytes(in, out);
    int e = errno;
    close(in);
    if (close(out) != 0 && ok) {
        ok = false;
        e = errno;
    }
    errno = e;
    return ok;
}

// Moves the temporary file onto the target name without replacing an existing file
// (a hard link refuses an existing name); a file system without links gets a rename.
bool MoveIntoPlace(const std::string& tmp, const std::string& to) {
    if (link(tmp.c_str(), to.c_str()) == 0) {
        unlink(tmp.c_str());
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    return std::rename(tmp.c_str(), to.c_str()) == 0;
}

// Writes the copy under a temporary name of its own, with the source's time, and
// places it with place; no temporary file is left.
template <typename Place>
bool CopyThenPlace(const std::string& from, const std::string& to, int& errorCode, Place place) {
    std::string tmp;
    errorCode = 0;
    bool ok = WriteTemporaryCopy(from, to, tmp);
    if (ok) {
        FileStamp stamp = 0;
        if (GetFileStamp(from, stamp)) {
            SetFileStamp(tmp, stamp); // the copy keeps the source's time, as a copy should
        }
        ok = place(tmp, to);
    }
    if (!ok) {
        errorCode = errno;
        if (!tmp.empty()) {
            unlink(tmp.c_str());
        }
    }
    return ok;
}

} // namespace

bool CopyFileInto(const std::string& from, const std::string& to, int& errorCode) {
    return CopyThenPlace(from, to, errorCode, MoveIntoPlace);
}

bool ReplaceWithCopy(const std::string& from, const std::string& to, int& errorCode) {
    return CopyThenPlace(from, to, errorCode, [](const std::string& tmp, const std::string& dest) {
        return std::rename(tmp.c_str(), dest.c_str()) == 0;
    });
}

} // namespace kib
