// The one way Kib writes a file: every sheet, converted file, print file, proof
// page and picture, stamp file, copied logo, saved configuration and lock file
// is written into a temporary file of its own beside its final name, checked,
// flushed to the disk and then moved onto the name in one step.
//
// - The temporary file is created exclusively (never through a symbolic link
//   and never onto anything already at its name) and carries this process's id
//   (temp_files.h), so that RemoveStaleTemporaries clears what an ended run left.
// - A file that is not complete (a write failed, the disk is full, the caller's
//   check of its format fails) never replaces the old file: the temporary file
//   is deleted and the old file stays byte for byte.
// - The move replaces the name, never what a link at the name leads to, and a
//   hard link of another file at the name loses only that name: the other file
//   is not touched. Only a file or a link is replaced; a folder, a FIFO or a
//   device at the name is left alone and the writing fails.
#pragma once

#include "platform/files.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kib {

class AtomicFile {
  public:
    // Why a file was not put in place.
    enum class Failure {
        None,
        Create,   // the temporary file could not be made
        Write,    // writing or flushing it failed
        Target,   // something else than a file is at the final name
        Check,    // the written file is not complete
        Move,     // the move onto the final name failed
        Abandoned // the caller gave it up
    };

    // The reason a written file is not complete ("the PDF file is cut off ..."),
    // given the temporary file's path; empty when it is complete.
    using Check = std::function<std::string(const std::string& temporaryPath)>;

    AtomicFile() = default;
    // Deletes a temporary file that was not put in place.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Begins the file target, written into "target.~kib<pid>-<n>". False when
    // the temporary file cannot be made (Reason() says why).
    bool Begin(const std::string& target);
    // Begins the file target, written into the given temporary name, which must
    // carry this process's id (SheetTemporaryPath): sheets and converted files,
    // whose converter reads the format from the temporary name's extension.
    bool BeginAt(const std::string& target, const std::string& temporary);

    // Appends data; false when it cannot be written: the file fails and its
    // temporary file is deleted at once.
    bool Write(std::string_view data);
    // The open temporary file, for writers that need it (permissions).
    platform::File& Output() { return file_; }
    // Records a failure of a writer that writes through Write (a library
    // reporting an error), so that Commit refuses; errorNumber 0 for "unknown".
    void FailWriting(int errorNumber, const std::string& reason = {});
    // Gives the file this last-write time when it is put in place (a copy keeps
    // its source's time, a stamp file carries the time it records).
    void SetStampOnCommit(std::uint64_t stamp);

    // Checks, flushes and moves the file onto its final name, replacing what is
    // there (replace) or only when nothing is (not replace: Reason() says
    // "something else is already there"). False when any step failed: the
    // temporary file is gone and the old file stays.
    bool Commit(const Check& check = {}, bool replace = true);
    // Deletes the temporary file; the old file stays.
    void Abandon();

    const std::string& Target() const { return target_; }
    const std::string& TemporaryPath() const { return temporary_; }
    Failure Failed() const { return failure_; }
    // The errno number of the failed step; 0 when there was none.
    int Error() const { return error_; }
    // The reason in words: "no space left on the disk", "the PDF file is cut
    // off (no %%EOF at its end)", "it is a FIFO (named pipe), not a regular file".
    const std::string& Reason() const { return reason_; }

  private:
    friend class AtomicBatch;
    void Reset(const std::string& target);
    bool Fail(Failure failure, int errorNumber, const std::string& reason = {});
    bool FlushAndClose();
    void RemoveTemporary();

    std::string target_;
    std::string temporary_;
    platform::File file_;
    bool begun_ = false; // a temporary file of this object exists
    bool hasStamp_ = false;
    std::uint64_t stamp_ = 0;
    Failure failure_ = Failure::None;
    int error_ = 0;
    std::string reason_;
};

// Files written whole and put in place together, so that a run flushes its
// files to the disk at once and each folder once, instead of one file and its
// folder after the other. Each file still replaces its old one in one step, and
// only once it is on the disk whole: all are flushed before the first is moved.
// A file that fails keeps its old file and does not stop the others.
class AtomicBatch {
  public:
    // A file that was not put in place, and why.
    struct Failure {
        std::string target;
        std::string temporary;
        AtomicFile::Failure failure = AtomicFile::Failure::None;
        int error = 0;
        std::string reason;
    };

    AtomicBatch() = default;
    // Deletes the temporary files that were not put in place.
    ~AtomicBatch();
    AtomicBatch(const AtomicBatch&) = delete;
    AtomicBatch& operator=(const AtomicBatch&) = delete;

    // Takes a written file (begun and written, not committed): checked as Commit
    // checks it and its writing to the disk started. The batch keeps its
    // descriptor, so that the file is flushed through it and never opened again
    // by its name; beyond kOpenFiles files each is flushed and closed at once.
    // False when it fails a check: file's Failed() and Reason() say why and its
    // temporary file is gone. The file object is free for the next file afterwards.
    bool Add(AtomicFile& file, const AtomicFile::Check& check = {});

    // Flushes every file taken to the disk, then moves each onto its name and
    // flushes each folder once. Returns the files that were not put in place
    // (their temporary files are gone, their old files stay).
    std::vector<Failure> Commit();

    std::size_t Size() const { return pending_.size(); }

    // The most descriptors a batch keeps open (well below any system's limit).
    static constexpr std::size_t kOpenFiles = 128;

  private:
    struct Pending {
        std::string target;
        std::string temporary;
        bool hasStamp = false;
        std::uint64_t stamp = 0;
        platform::File file; // open until flushed
        int error = 0;       // of a flush done at Add
    };
    std::vector<Pending> pending_;
    std::size_t open_ = 0;
};

// Writes data as the whole file target through an AtomicFile. False with the
// reason in reason ("no space left on the disk", ...): the old file stays.
bool WriteWholeFile(const std::string& target, std::string_view data, std::string& reason,
                    const AtomicFile::Check& check = {});

} // namespace kib
