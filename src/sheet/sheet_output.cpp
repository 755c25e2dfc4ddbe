#include "sheet/sheet_output.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/log.h"
#include "sheet/sheet_frame.h"
#include "sheet/svg_image.h"
#include "sheet/svg_text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace kib {

namespace {

// Bytes of an old sheet read and compared at a time.
constexpr std::size_t kCompareChunk = 1u << 20;

} // namespace

SheetOutput::SheetOutput(const CKibDoc& doc, CSvgImage* surface) : doc_(doc), surface_(surface) {}

SheetOutput::~SheetOutput() {
    DropTemporary();
}

double SheetOutput::SecondsSinceMark() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - mark_).count();
}

bool SheetOutput::OpenSheetOutput(const char* kind, int s, int a, int b) {
    DropTemporary();
    const CKibCfg* cfg = doc_.GetConfig();
    directory_ = doc_.MakePath(cfg ? cfg->Item(id::Target_DIR).GetValue() : std::string());
    // A configuration named without a directory has its sheets beside it, in the
    // current directory: an empty directory must not become the root "/".
    if (!directory_.empty() && directory_.back() != '/') {
        directory_ += '/';
    }
    if (s >= 0) {
        baseName_ = b == -1 ? FormatText("%s-%d.%d", kind, s, a)
                            : FormatText("%s-%d.%d-%d.%d", kind, s, a, s, b);
    } else {
        baseName_ = b == -1 ? FormatText("%s-%d", kind, a) : FormatText("%s-%d-%d", kind, a, b);
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

bool SheetOutput::SameAsFinalFile(std::string_view text) const {
    std::FILE* old = std::fopen(finalPath_.c_str(), "rb");
    if (!old) {
        return false;
    }
    bool same = false;
    struct stat info {};
    if (::stat(finalPath_.c_str(), &info) == 0 &&
        static_cast<std::size_t>(info.st_size) == text.size()) {
        // Compared a chunk at a time: a changed sheet is told at its first
        // difference, and no second copy of a large sheet is held.
        std::vector<char> chunk(std::min<std::size_t>(text.size(), kCompareChunk));
        std::size_t at = 0;
        bool failed = false;
        same = true;
        while (same && at < text.size()) {
            const std::size_t want = std::min(chunk.size(), text.size() - at);
            if (std::fread(chunk.data(), 1, want, old) != want || std::ferror(old)) {
                failed = true;
                same = false;
                break;
            }
            same = std::memcmp(chunk.data(), text.data() + at, want) == 0;
            at += want;
        }
        if (failed) {
            LogDebug("Reading of old failed, recreating it.");
        } else {
            LogDebug("Read old file in %.3f sec.", SecondsSinceMark());
        }
    }
    std::fclose(old);
    return same;
}

bool SheetOutput::WriteTemporary(std::string_view text) {
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
    // The composed text is used where the stream holds it, not copied; the
    // stream keeps its buffer for the next sheet.
    const std::string_view text = text_.view();
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
