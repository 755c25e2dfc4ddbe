#include "foundation/atomic_file.h"

#include "foundation/file_access.h"
#include "foundation/input_file.h"
#include "foundation/temp_files.h"

#include <algorithm>
#include <cerrno>

namespace kib {

AtomicFile::~AtomicFile() {
    RemoveTemporary();
}

bool AtomicFile::Begin(const std::string& target) {
    Reset(target);
    int error = 0;
    file_ = CreateReplacementFile(target, temporary_, error);
    if (!file_.IsOpen()) {
        return Fail(Failure::Create, error);
    }
    begun_ = true;
    return true;
}

bool AtomicFile::BeginAt(const std::string& target, const std::string& temporary) {
    Reset(target);
    temporary_ = temporary;
    int error = 0;
    file_ = CreateTemporaryFile(temporary, error);
    if (!file_.IsOpen()) {
        return Fail(Failure::Create, error);
    }
    begun_ = true;
    return true;
}

void AtomicFile::Reset(const std::string& target) {
    RemoveTemporary();
    target_ = target;
    temporary_.clear();
    hasStamp_ = false;
    stamp_ = 0;
    failure_ = Failure::None;
    error_ = 0;
    reason_.clear();
}

bool AtomicFile::Write(std::string_view data) {
    if (failure_ != Failure::None) {
        return false;
    }
    if (!file_.IsOpen()) {
        return Fail(Failure::Write, EBADF);
    }
    if (!file_.WriteAll(data)) {
        // Deleted at once: the space it took is free again (a full disk).
        Fail(Failure::Write, file_.Error() != 0 ? file_.Error() : EIO);
        RemoveTemporary();
        return false;
    }
    return true;
}

void AtomicFile::FailWriting(int errorNumber, const std::string& reason) {
    if (failure_ == Failure::None) {
        Fail(Failure::Write, errorNumber != 0 ? errorNumber : EIO, reason);
        RemoveTemporary();
    }
}

void AtomicFile::SetStampOnCommit(std::uint64_t stamp) {
    hasStamp_ = true;
    stamp_ = stamp;
}

bool AtomicFile::Fail(Failure failure, int errorNumber, const std::string& reason) {
    failure_ = failure;
    error_ = errorNumber;
    reason_ = !reason.empty() ? reason : WriteFailureReason(errorNumber);
    return false;
}

// On the disk before the move: a crash right after the move must not leave an
// empty file under the final name.
bool AtomicFile::FlushAndClose() {
    if (!file_.FlushToDisk()) {
        return Fail(Failure::Write, file_.Error());
    }
    if (!file_.Close()) {
        return Fail(Failure::Write, file_.Error());
    }
    return true;
}

bool AtomicFile::Commit(const Check& check, bool replace) {
    bool ok = begun_ && failure_ == Failure::None;
    if (ok) {
        const std::string kind = NonRegularKind(target_);
        if (!kind.empty()) {
            ok = Fail(Failure::Target, EEXIST, "it is " + kind + ", not a regular file");
        }
    }
    if (ok && check) {
        const std::string incomplete = check(temporary_);
        if (!incomplete.empty()) {
            ok = Fail(Failure::Check, 0, incomplete);
        }
    }
    ok = ok && FlushAndClose();
    int error = 0;
    if (ok && hasStamp_ && !platform::SetStamp(temporary_, stamp_, error)) {
        ok = Fail(Failure::Write, error);
    }
    if (ok) {
        const bool moved = replace ? platform::MoveReplacing(temporary_, target_, error)
                                   : platform::MoveWithoutReplacing(temporary_, target_, error);
        if (!moved) {
            ok = Fail(Failure::Move, error);
        }
    }
    if (!ok) {
        if (failure_ == Failure::None) {
            Fail(Failure::Create, EBADF);
        }
        RemoveTemporary();
        return false;
    }
    begun_ = false;
    return true;
}

void AtomicFile::Abandon() {
    RemoveTemporary();
    if (failure_ == Failure::None) {
        failure_ = Failure::Abandoned;
    }
}

void AtomicFile::RemoveTemporary() {
    if (!begun_) {
        return;
    }
    file_.Close();
    int error = 0;
    platform::RemoveFile(temporary_, error);
    begun_ = false;
}

AtomicBatch::~AtomicBatch() {
    for (Pending& pending : pending_) {
        pending.file.Close();
        int error = 0;
        platform::RemoveFile(pending.temporary, error);
    }
}

bool AtomicBatch::Add(AtomicFile& file, const AtomicFile::Check& check) {
    bool ok = file.begun_ && file.failure_ == AtomicFile::Failure::None;
    if (ok) {
        const std::string kind = NonRegularKind(file.target_);
        if (!kind.empty()) {
            ok = file.Fail(AtomicFile::Failure::Target, EEXIST,
                           "it is " + kind + ", not a regular file");
        }
    }
    if (ok && check) {
        const std::string incomplete = check(file.temporary_);
        if (!incomplete.empty()) {
            ok = file.Fail(AtomicFile::Failure::Check, 0, incomplete);
        }
    }
    int flushError = 0;
    if (ok && open_ >= kOpenFiles) {
        // Flushed and closed now, through its descriptor; still moved with the others.
        if (!file.file_.FlushToDisk()) {
            flushError = file.file_.Error() != 0 ? file.file_.Error() : EIO;
        }
        if (!file.file_.Close() && flushError == 0) {
            flushError = file.file_.Error() != 0 ? file.file_.Error() : EIO;
        }
    } else if (ok) {
        file.file_.StartFlush();
    }
    if (!ok) {
        if (file.failure_ == AtomicFile::Failure::None) {
            file.Fail(AtomicFile::Failure::Create, EBADF);
        }
        file.RemoveTemporary();
        return false;
    }
    Pending pending{file.target_, file.temporary_,       file.hasStamp_,
                    file.stamp_,  std::move(file.file_), flushError};
    open_ += pending.file.IsOpen() ? 1 : 0;
    pending_.push_back(std::move(pending));
    file.begun_ = false; // the batch owns the temporary file now
    return true;
}

namespace {

// Flushes a file of a batch to the disk through the descriptor it was written
// with, and closes it. 0, or the errno number.
int FlushBatchFile(platform::File& file) {
    if (!file.IsOpen()) {
        return 0; // flushed when it was added
    }
    if (!file.FlushToDisk() || !file.Close()) {
        return file.Error() != 0 ? file.Error() : EIO;
    }
    return 0;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

std::vector<AtomicBatch::Failure> AtomicBatch::Commit() {
    std::vector<Failure> failures;
    const auto fail = [&failures](const Pending& pending, AtomicFile::Failure failure, int error,
                                  const std::string& reason) {
        int ignored = 0;
        platform::RemoveFile(pending.temporary, ignored);
        failures.push_back(Failure{pending.target, pending.temporary, failure, error,
                                   !reason.empty() ? reason : WriteFailureReason(error)});
    };
    // Every file on the disk before the first one replaces its old file.
    std::vector<const Pending*> flushed;
    for (Pending& pending : pending_) {
        int error = pending.error != 0 ? pending.error : FlushBatchFile(pending.file);
        if (error == 0 && pending.hasStamp) {
            platform::SetStamp(pending.temporary, pending.stamp, error);
        }
        if (error != 0) {
            fail(pending, AtomicFile::Failure::Write, error, {});
        } else {
            flushed.push_back(&pending);
        }
    }
    std::vector<std::string> folders;
    for (const Pending* pending : flushed) {
        const std::string kind = NonRegularKind(pending->target);
        int error = 0;
        if (!kind.empty()) {
            fail(*pending, AtomicFile::Failure::Target, EEXIST,
                 "it is " + kind + ", not a regular file");
        } else if (!platform::MoveReplacingUnflushed(pending->temporary, pending->target, error)) {
            fail(*pending, AtomicFile::Failure::Move, error, {});
        } else if (std::find(folders.begin(), folders.end(), FolderOf(pending->target)) ==
                   folders.end()) {
            folders.push_back(FolderOf(pending->target));
        }
    }
    for (const std::string& folder : folders) {
        platform::FlushFolderOf(folder);
    }
    pending_.clear();
    open_ = 0;
    return failures;
}

bool WriteWholeFile(const std::string& target, std::string_view data, std::string& reason,
                    const AtomicFile::Check& check) {
    AtomicFile file;
    const bool ok = file.Begin(target) && file.Write(data) && file.Commit(check);
    reason = ok ? std::string() : file.Reason();
    return ok;
}

} // namespace kib
