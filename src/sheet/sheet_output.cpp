#include "sheet/sheet_output.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "sheet/sheet_frame.h"
#include "sheet/svg_image.h"
#include "sheet/svg_text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
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
    tempPath_ = directory_ + baseName_ + "-tmp.svg";
    LogDebug("Writing SVG %s...", tempPath_.c_str());
    text_.str(std::string());
    text_.clear();
    temp_ = std::fopen(tempPath_.c_str(), "wb");
    if (!temp_) {
        LogError("[** ERROR **] Cannot write file %s", tempPath_.c_str());
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
    std::FILE* old = std::fopen(finalPath_.c_str(), "rb");
    if (!old) {
        return false;
    }
    bool same = false;
    struct stat info {};
    if (::stat(finalPath_.c_str(), &info) == 0 &&
        static_cast<std::size_t>(info.st_size) == text.size()) {
        std::vector<char> bytes(text.size());
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), old);
        if (got != bytes.size() || std::ferror(old)) {
            LogDebug("Reading of old failed, recreating it.");
        } else {
            LogDebug("Read old file in %.3f sec.", SecondsSinceMark());
            same = text.empty() || std::memcmp(bytes.data(), text.data(), text.size()) == 0;
        }
    }
    std::fclose(old);
    return same;
}

bool SheetOutput::WriteTemporary(const std::string& text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), temp_) == text.size();
    const bool closed = std::fclose(temp_) == 0;
    temp_ = nullptr;
    if (!written || !closed) {
        // A short write (a full disk) must never replace a good sheet.
        LogError("[** ERROR **] Cannot write file %s", tempPath_.c_str());
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
