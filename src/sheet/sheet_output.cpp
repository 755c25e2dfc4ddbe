#include "sheet/sheet_output.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/file_access.h"
#include "foundation/format.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "foundation/temp_files.h"
#include "platform/paths.h"
#include "sheet/sheet_frame.h"
#include "sheet/svg_image.h"
#include "sheet/svg_text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace kib {

std::string SheetDirectory(const CKibDoc& doc) {
    const CKibCfg* cfg = doc.GetConfig();
    std::string directory =
        doc.MakePath(cfg ? cfg->Item(id::Target_DIR).GetValue() : std::string());
    // A configuration named without a directory has its sheets beside it, in the
    // current directory: an empty directory must not become the root.
    return platform::WithSeparator(directory);
}

bool EnsureOutputFolder(const CKibDoc& doc, Diagnostics& diagnostics) {
    const std::string directory = SheetDirectory(doc);
    if (directory.empty() || platform::KindOf(directory) == platform::FileKind::Directory) {
        return true;
    }
    int error = 0;
    if (platform::CreateFolders(directory, error)) {
        diagnostics.Info("Output folder %s created.", directory.c_str());
        return true;
    }
    diagnostics.Error("Cannot create output folder %s: %s", directory.c_str(),
                      platform::ErrorText(error).c_str());
    return false;
}

SheetOutput::SheetOutput(const CKibDoc& doc, CSvgImage* surface, Diagnostics& diagnostics)
    : doc_(doc), surface_(surface), diag_(&diagnostics) {}

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
    diag_->Debug("Writing SVG %s...", tempPath_.c_str());
    text_.str(std::string());
    text_.clear();
    // Created anew, never through a link someone put at the name.
    if (!file_.BeginAt(finalPath_, tempPath_)) {
        ReportWriteFailure();
        return false;
    }
    open_ = true;
    Mark();
    if (surface_) {
        surface_->SetStream(&text_);
    }
    return true;
}

void SheetOutput::DropTemporary() {
    if (open_) {
        file_.Abandon();
        open_ = false;
    }
}

bool SheetOutput::SameAsFinalFile(const std::string& text) const {
    std::string reason;
    platform::File file = OpenRegularFile(finalPath_, reason);
    if (!file.IsOpen()) {
        return false;
    }
    bool same = false;
    if (file.Size() == static_cast<std::int64_t>(text.size())) {
        std::vector<char> bytes(text.size());
        std::size_t got = 0;
        while (got < bytes.size()) {
            const long long n = file.Read(bytes.data() + got, bytes.size() - got);
            if (n <= 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        if (got != bytes.size()) {
            diag_->Debug("Reading of old failed, recreating it.");
        } else {
            diag_->Debug("Read old file in %.3f sec.", SecondsSinceMark());
            same = text.empty() || std::memcmp(bytes.data(), text.data(), text.size()) == 0;
        }
    }
    return same;
}

void SheetOutput::ReportFailure(const AtomicBatch::Failure& failure,
                                Diagnostics& diagnostics) const {
    if (failure.failure == AtomicFile::Failure::Move) {
        diagnostics.Error("Renaming map to %s failed, err=%d (%s)", failure.target.c_str(),
                          failure.error, platform::ErrorText(failure.error).c_str());
    } else if (failure.failure == AtomicFile::Failure::Target) {
        diagnostics.Error("Cannot replace %s: %s", failure.target.c_str(), failure.reason.c_str());
    } else {
        diagnostics.Error("Cannot write file %s: %s", failure.temporary.c_str(),
                          failure.reason.c_str());
    }
}

std::vector<AtomicBatch::Failure> SheetOutput::CommitBatch() {
    DropTemporary();
    return batch_.Commit();
}

void PlaceSheets(SheetOutput& output, RunResult& result, Diagnostics& diagnostics) {
    for (const AtomicBatch::Failure& failure : output.CommitBatch()) {
        DiagnosticsTally tally(&diagnostics);
        output.ReportFailure(failure, tally);
        const auto sheet =
            std::find_if(result.sheets.begin(), result.sheets.end(),
                         [&failure](const RunSheet& s) { return s.svg == failure.target; });
        if (sheet != result.sheets.end()) {
            for (int station : sheet->stations) {
                result.Fail(station, tally);
            }
            result.sheets.erase(sheet);
        }
    }
}

void SheetOutput::ReportWriteFailure() const {
    diag_->Error("Cannot write file %s: %s", tempPath_.c_str(), file_.Reason().c_str());
}

bool SheetOutput::FinishSheetOutput(bool composed) {
    written_ = false;
    finished_.clear();
    if (surface_) {
        surface_->SetStream(nullptr);
    }
    if (!open_) {
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
        diag_->Error("Cannot replace %s: it is %s, not a regular file", finalPath_.c_str(),
                     kind.c_str());
        return false;
    }
    WriteSheetClosing(text_);
    diag_->Debug("Map completed in %.3f sec.", SecondsSinceMark());
    std::string text = text_.str();
    Mark();
    if (SameAsFinalFile(text)) {
        DropTemporary();
        diag_->Debug("File %s not changed.", finalPath_.c_str());
        if (keepFinished_) {
            finished_ = text;
        }
        return true;
    }
    Mark();
    // Written whole and on the disk before it replaces the old sheet in one step:
    // a short write (a full disk) or a crash never leaves a cut or empty sheet.
    open_ = false;
    text_.str(std::string());
    if (!file_.Write(text) || !(batched_ ? batch_.Add(file_) : file_.Commit())) {
        ReportFailure(AtomicBatch::Failure{finalPath_, tempPath_, file_.Failed(), file_.Error(),
                                           file_.Reason()},
                      *diag_);
        return false;
    }
    diag_->Debug("File %s written in %.3f sec.", tempPath_.c_str(), SecondsSinceMark());
    written_ = true;
    if (keepFinished_) {
        finished_ = std::move(text);
    }
    return true;
}

} // namespace kib
