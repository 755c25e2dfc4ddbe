#include "cli/config_path.h"

#include "app/documents.h"
#include "config/kib_doc.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <cerrno>
#include <iostream>

namespace kib::cli {

namespace {

// Why a configuration file cannot be read, or empty when it can. The file is
// opened without blocking, so a FIFO in its place is named instead of waited on.
std::string UnreadableReason(const std::string& path) {
    int error = 0;
    platform::File file = platform::OpenForReading(path, error);
    if (!file.IsOpen()) {
        return platform::ErrorText(error);
    }
    switch (file.Kind()) {
    case platform::FileKind::Regular:
        return {};
    case platform::FileKind::Directory:
        return platform::ErrorText(EISDIR);
    default:
        return "not a regular file";
    }
}

} // namespace

std::string AbsoluteFromHere(const std::string& path) {
    return platform::AbsolutePath(path);
}

bool OpenConfiguration(CKibDoc& doc, const std::string& path) {
    const std::string absolute = AbsoluteFromHere(path);
    const std::string reason =
        path.empty() ? platform::ErrorText(ENOENT) : UnreadableReason(absolute);
    if (!reason.empty()) {
        std::cerr << "error: Cannot open configuration file " << path << ": " << reason << "\n";
        return false;
    }
    return LoadDocument(doc, absolute);
}

} // namespace kib::cli
