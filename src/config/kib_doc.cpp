#include "config/kib_doc.h"

#include "config/cfg_ids.h"
#include "config/document_observer.h"
#include "config/name_templates.h"
#include "config/paths.h"
#include "config/property_pane.h"
#include "foundation/atomic_file.h"
#include "foundation/first_letter.h"
#include "foundation/log.h"

#include "platform/files.h"
#include "platform/paths.h"

#include <algorithm>
#include <cstdio>

namespace kib {

namespace {

FileStamp StampOf(const std::string& path, Diagnostics& diagnostics) {
    FileStamp stamp = 0;
    GetFileStamp(path, stamp, diagnostics);
    return stamp;
}

enum class ExportsVerdict { Fresh, Renewed, Ask };

// Both stamps present: unchanged exports are fresh, both renewed are renewed, one of
// the two renewed is suspicious. One stamp missing: ask. Both missing: first check.
ExportsVerdict JudgeExports(FileStamp tC, FileStamp tLC, FileStamp tM, FileStamp tLM) {
    const bool coursesStamp = tLC != 0;
    const bool mapsStamp = tLM != 0;
    if (!coursesStamp && !mapsStamp) {
        return ExportsVerdict::Renewed;
    }
    if (coursesStamp != mapsStamp) {
        return ExportsVerdict::Ask;
    }
    const bool coursesChanged = tLC != tC;
    const bool mapsChanged = tLM != tM;
    if (coursesChanged == mapsChanged) {
        return coursesChanged ? ExportsVerdict::Renewed : ExportsVerdict::Fresh;
    }
    return ExportsVerdict::Ask;
}

} // namespace

CKibDoc::CKibDoc() = default;

CKibDoc::~CKibDoc() = default;

void CKibDoc::UseServices(Host& host, Diagnostics& diagnostics) {
    host_ = &host;
    diagnostics_ = &diagnostics;
    if (cfg_) {
        cfg_->UseServices(host, diagnostics);
    }
}

void CKibDoc::UseWindows(PropertyPane& pane, DocumentObserver& observer) {
    pane_ = &pane;
    observer_ = &observer;
    if (cfg_) {
        cfg_->UsePane(pane);
    }
}

CKibCfg& CKibDoc::NewConfig() {
    cfg_ = std::make_unique<CKibCfg>();
    cfg_->UseServices(*host_, *diagnostics_);
    cfg_->UsePane(*pane_);
    return *cfg_;
}

void CKibDoc::SetPathParts(const std::string& given) {
    // On Windows "Z:\event\ev.cfg" and "Z:/event/ev.cfg" name the same file.
    const std::string path = NormaliseSeparators(given);
    const auto last = std::find_if(path.rbegin(), path.rend(), platform::IsSeparator);
    if (last == path.rend()) {
        directory_.clear();
        fileName_ = path;
        return;
    }
    const std::size_t cut = static_cast<std::size_t>(path.rend() - last) - 1;
    directory_ = path.substr(0, cut + 1);
    fileName_ = path.substr(cut + 1);
}

std::string CKibDoc::GetDisplayName() const {
    if (directory_.empty()) {
        return fileName_;
    }
    return fileName_ + " [" + directory_ + "]";
}

std::string CKibDoc::MakePath(const std::string& path) const {
    return MakePathFrom(directory_, NormaliseSeparators(path), platform::PreferredSeparator(),
                        diagnostics_);
}

std::string CKibDoc::MakeRelativePath(const std::string& absolutePath) const {
    return MakeRelativePathFrom(directory_, NormaliseSeparators(absolutePath),
                                platform::PreferredSeparator());
}

void CKibDoc::SetMapsMode(bool solution) {
    if (solution == mapsMode_) {
        return;
    }
    Diag().Debug("Setting %s maps mode", solution ? "SOLUTION" : "COMPETITION");
    mapsMode_ = solution;
    NotifyChanged();
}

void CKibDoc::NotifyChanged() {
    observer_->DocumentChanged(*this);
}

void CKibDoc::NotifyModifiedChanged() {
    observer_->DocumentModifiedChanged(*this);
}

bool CKibDoc::CheckExports() {
    if (!cfg_) {
        return true; // nothing configured, nothing exported to check
    }
    const std::string& mode = cfg_->Item(id::Source_MODE).GetValue();
    if (FirstLetter(mode, LetterCase::Exact) != 'S') {
        return true;
    }
    const std::string courses = EvalTemplate(*cfg_, id::Source_COURSES, 1, 0);
    if (courses.empty()) {
        return false;
    }
    const FileStamp tC = StampOf(MakePath(courses), Diag());
    const FileStamp tLC = StampOf(CoursesStampPath(), Diag());

    FileStamp tM = 0;
    const int first = std::max(0, cfg_->GetMinStation());
    const int last = std::min(kMaxStation, cfg_->GetMaxStation());
    for (int station = first; station <= last; ++station) {
        const std::string map = EvalTemplate(*cfg_, id::Source_MAP, station, 1);
        if (!map.empty()) {
            tM = std::max(tM, StampOf(MakePath(map), Diag()));
        }
    }
    const FileStamp tLM = StampOf(MapsStampPath(), Diag());

    switch (JudgeExports(tC, tLC, tM, tLM)) {
    case ExportsVerdict::Fresh:
        return true;
    case ExportsVerdict::Ask: {
        // The answer is stated in the log: a run from a script gets the
        // question's default answer, and what it then made must say so.
        static const char* const kQuestion =
            "Are you sure to have recently exported both maps and courses?";
        const BoxAnswer answer = AskYesNo(*host_, kQuestion, BoxIcon::Warning, BoxAnswer::No);
        Diag().Info("%s %s%s", kQuestion, answer == BoxAnswer::Yes ? "Yes" : "No",
                    answer == BoxAnswer::No ? " (the default answer)" : "");
        if (answer != BoxAnswer::Yes) {
            return false;
        }
        break;
    }
    case ExportsVerdict::Renewed:
        break;
    }
    MakeStamp(CoursesStampPath(), tC);
    MakeStamp(MapsStampPath(), tM);
    return true;
}

// The stamp is made anew under a temporary name and renamed onto the stamp's
// name: whatever was there (a symbolic link included) is replaced, never written
// through.
bool CKibDoc::MakeStamp(const std::string& path, FileStamp time) {
    AtomicFile file;
    if (!file.Begin(path)) {
        Diag().Debug("Opening file %s for making the stamp failed with %d", path.c_str(),
                     file.Error());
        return false;
    }
    file.SetStampOnCommit(time);
    return file.Commit();
}

void CKibDoc::OnCloseDocument() {
    if (loaded_) {
        pane_->HideAll();
    }
    loaded_ = false;
}

} // namespace kib
