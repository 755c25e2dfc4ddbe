#include "sheet/sheet_output.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/file_access.h"
#include "foundation/format.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "foundation/temp_files.h"
#include "sheet/sheet_frame.h"
#include "sheet/svg_image.h"
#include "sheet/svg_text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kib {

std::string SheetDirectory(const CKibDoc& doc) {
    const CKibCfg* cfg = doc.GetConfig();
    std::string directory =
        doc.MakePath(cfg ? cfg->Item(id::Target_DIR).GetValue() : std::string());
    // A configuration named without a directory has its sheets beside it, in the
    // current directory: an empty directory must not become the root "/".
    if (!directory.empty() && directory.back() != '/') {
        directory += '/';
    }
    return directory;
}

bool EnsureOutputFolder(const CKibDoc& doc) {
    const std::string directory = SheetDirectory(doc);
    if (directory.empty()) {
        return true;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(directory, ec)) {
        return true;
    }
    if (std::filesystem::create_directories(directory, ec) && !ec) {
        LogInfo("Output folder %s created.", directory.c_str());
        return true;
    }
    // create_directories reports a file in the way as success without a folder.
    const std::string reason = ec ? ec.message() : std::generic_category().message(ENOTDIR);
    LogError("[** ERROR **] Cannot create output folder %s: %s", directory.c_str(), reason.c_str());
    return false;
}

SheetOutput::SheetOutput(const CKibDoc& doc, CSvgImage* surface) : doc_(doc), surface_(surface) {}

SheetOutput::~SheetOutput() {
    DropTemporary();
}

double SheetOutput::SecondsSinceMark() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - mark_).count();
}

bool SheetOutput::OpenSheetOutput(const char* kind, int s, int a, int b) {
    DropTemporary();
    directory_ = SheetDirectory(doc_);
    if (s >= 0) {
        baseName_ =
            b == -1 ? Format("%s-%d.%d", kind, s, a) : Format("%s-%d.%d-%d.%d", kind, s, a, s, b);
    } else {
        baseName_ = b == -1 ? Format("%s-%d", kind, a) : Format("%s-%d-%d", kind, a, b);
    }
    finalPath_ = directory_ + baseName_ + ".svg";
    tempPath_ = SheetTemporaryPath(directory_ + baseName_, "svg");
    LogDebug("Writing SVG %s...", tempPath_.c_str());
    text_.str(std::string());
    text_.clear();
    // Created anew, never through a link someone put at the name.
    const int fd = CreateTemporaryFile(tempPath_);
    temp_ = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!temp_) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
            std::remove(tempPath_.c_str());
        }
        ReportWriteFailure(error);
        return false;
    }
    Mark();
    if (surface_) {
        surface_->SetStream(&text_);
    }
    return true;
}

void SheetOutput::DropTemporary() {
    if (temp_) {
        std::fclose(temp_);
        temp_ = nullptr;
        std::remove(tempPath_.c_str());
    }
}

bool SheetOutput::SameAsFinalFile(const std::string& text) const {
    std::string reason;
    const int fd = OpenRegularFile(finalPath_, reason);
    if (fd < 0) {
        return false;
    }
    bool same = false;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && static_cast<std::size_t>(info.st_size) == text.size()) {
        std::vector<char> bytes(text.size());
        std::size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (got != bytes.size()) {
            LogDebug("Reading of old failed, recreating it.");
        } else {
            LogDebug("Read old file in %.3f sec.", SecondsSinceMark());
            same = text.empty() || std::memcmp(bytes.data(), text.data(), text.size()) == 0;
        }
    }
    ::close(fd);
    return same;
}

void SheetOutput::ReportWriteFailure(int errorNumber) const {
    LogError("[** ERROR **] Cannot write file %s: %s", tempPath_.c_str(),
             WriteFailureReason(errorNumber).c_str());
}

bool SheetOutput::WriteTemporary(const std::string& text) {
    errno = 0;
    bool written = std::fwrite(text.data(), 1, text.size(), temp_) == text.size();
    written = std::fflush(temp_) == 0 && written;
    int error = errno;
    // On the disk before it replaces the old sheet: a crash must not leave an empty one.
    if (written && ::fsync(::fileno(temp_)) != 0) {
        written = false;
        error = errno;
    }
    if (std::fclose(temp_) != 0 && written) {
        written = false;
        error = errno;
    }
    temp_ = nullptr;
    if (!written) {
        // A short write (a full disk) must never replace a good sheet.
        ReportWriteFailure(error != 0 ? error : EIO);
        std::remove(tempPath_.c_str());
        return false;
    }
    return true;
}

bool SheetOutput::FinishSheetOutput(bool composed) {
    if (surface_) {
        surface_->SetStream(nullptr);
    }
    if (!temp_) {
        return false;
    }
    if (!composed) {
        DropTemporary();
        return false;
    }
    // Only a file is replaced: a FIFO, a device or a folder at the sheet's name
    // stays, and the sheet fails.
    const std::string kind = NonRegularKind(finalPath_);
    if (!kind.empty()) {
        DropTemporary();
        LogError("[** ERROR **] Cannot replace %s: it is %s, not a regular file",
                 finalPath_.c_str(), kind.c_str());
        return false;
    }
    WriteSheetClosing(text_);
    LogDebug("Map completed in %.3f sec.", SecondsSinceMark());
    const std::string text = text_.str();
    Mark();
    if (SameAsFinalFile(text)) {
        DropTemporary();
        LogDebug("File %s not changed.", finalPath_.c_str());
        return true;
    }
    Mark();
    if (!WriteTemporary(text)) {
        return false;
    }
    LogDebug("File %s written in %.3f sec.", tempPath_.c_str(), SecondsSinceMark());
    text_.str(std::string());
    if (std::rename(tempPath_.c_str(), finalPath_.c_str()) != 0) {
        const int err = errno;
        LogError("[** ERROR **] Renaming map to %s failed, err=%d (%s)", finalPath_.c_str(), err,
                 std::strerror(err));
        std::remove(tempPath_.c_str());
        return false;
    }
    return true;
}

} // namespace kib
