#include "cli/config_path.h"

#include "app/documents.h"
#include "config/kib_doc.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace kib::cli {

namespace {

namespace fs = std::filesystem;

// Why a configuration file cannot be read, or empty when it can. The file is
// opened without blocking, so a FIFO in its place is named instead of waited on.
std::string UnreadableReason(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::strerror(errno);
    }
    struct stat st {};
    std::string reason;
    if (::fstat(fd, &st) != 0) {
        reason = std::strerror(errno);
    } else if (S_ISDIR(st.st_mode)) {
        reason = std::strerror(EISDIR);
    } else if (!S_ISREG(st.st_mode)) {
        reason = "not a regular file";
    }
    ::close(fd);
    return reason;
}

} // namespace

std::string AbsoluteFromHere(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

bool OpenConfiguration(CKibDoc& doc, const std::string& path) {
    const std::string absolute = AbsoluteFromHere(path);
    const std::string reason = path.empty() ? std::strerror(ENOENT) : UnreadableReason(absolute);
    if (!reason.empty()) {
        std::cerr << "error: Cannot open configuration file " << path << ": " << reason << "\n";
        return false;
    }
    return LoadDocument(doc, absolute);
}

} // namespace kib::cli
