// Writing one sheet document: composed in memory, then compared with the file
// already on disk and written only when its bytes differ, through a temporary
// file that is renamed onto the final name. Unchanged sheets keep their file
// and its modification time, so the raster conversion can skip them.
#pragma once

#include "foundation/atomic_file.h"
#include "sheet/run_result.h"

#include <chrono>
#include <sstream>
#include <string>

namespace kib {

class CKibDoc;
class Diagnostics;
class CSvgImage;

// The folder the sheets are written to: Target.DIR made absolute from the
// configuration's folder, ending with "/"; empty for the working folder.
std::string SheetDirectory(const CKibDoc& doc);

// Creates the sheets' folder with its parents when it is missing, naming it in
// the log. False after one error line naming the folder and the reason.
bool EnsureOutputFolder(const CKibDoc& doc, Diagnostics& diagnostics);

class SheetOutput {
  public:
    // surface (may be none) gets the sheet text stream attached at each open.
    // What it reports goes into diagnostics until ReportInto gives another.
    SheetOutput(const CKibDoc& doc, CSvgImage* surface, Diagnostics& diagnostics);
    void ReportInto(Diagnostics& diagnostics) { diag_ = &diagnostics; }
    ~SheetOutput();
    SheetOutput(const SheetOutput&) = delete;
    SheetOutput& operator=(const SheetOutput&) = delete;

    // Starts a sheet. kind is "map", "prn" or "sol". Competition sheets are named
    // "kind-s.a" (b = -1) or "kind-s.a-s.b"; solution sheets, given s = -1,
    // "kind-a" or "kind-a-b". The temporary file "base-tmp-<pid>.svg" is created
    // anew in the output directory (Target.DIR); false after an error line when it
    // cannot be.
    bool OpenSheetOutput(const char* kind, int s, int a, int b);
    // Ends the sheet. Not composed: the temporary file is deleted and false is
    // returned. Composed: the closing line is appended and the text replaces the
    // final file when it differs from it byte for byte.
    bool FinishSheetOutput(bool composed);

    // Whether the last finished sheet was written (or, in a batch, is to be put
    // in place); false when it was kept as it was (the same bytes) or failed.
    bool Written() const { return written_; }
    // From now on the text of each sheet finished with success is kept until
    // the next one is finished: as its file has it, or is to have it once the
    // batch is put in place (FinishedText; empty when not kept).
    void KeepFinishedTexts() { keepFinished_ = true; }
    const std::string& FinishedText() const { return finished_; }

    // From now on the sheets that changed are put in place together by
    // PlaceSheets instead of one by one as they are finished.
    void CollectInBatch() { batched_ = true; }
    // Puts the collected sheets in place: the sheets that could not be put in
    // place (named in the log).
    std::vector<AtomicBatch::Failure> CommitBatch();
    // Reports why a sheet was not put in place, in the words of a sheet's failure.
    void ReportFailure(const AtomicBatch::Failure& failure, Diagnostics& diagnostics) const;

    // The sheet text stream the document is composed into.
    std::ostream& Stream() { return text_; }
    const std::string& Directory() const { return directory_; }
    const std::string& BaseName() const { return baseName_; }
    const std::string& FinalPath() const { return finalPath_; }
    const std::string& TemporaryPath() const { return tempPath_; }

  private:
    double SecondsSinceMark() const;
    void Mark() { mark_ = std::chrono::steady_clock::now(); }
    // Whether the final file holds exactly the composed text.
    bool SameAsFinalFile(const std::string& text) const;
    // "Cannot write file" with the temporary path and the reason.
    void ReportWriteFailure() const;
    void DropTemporary();

    const CKibDoc& doc_;
    CSvgImage* surface_;
    Diagnostics* diag_;
    std::string directory_;
    std::string baseName_;
    std::string finalPath_;
    std::string tempPath_;
    std::ostringstream text_;
    AtomicFile file_;
    AtomicBatch batch_;
    bool batched_ = false;
    bool open_ = false; // a sheet is begun and not finished
    std::chrono::steady_clock::time_point mark_;
    bool written_ = false;
    bool keepFinished_ = false;
    std::string finished_;
};

// Puts a run's collected sheets in place together. A sheet that could not be
// put in place fails the stations it shows with the error line and leaves the
// result (its old file stays).
void PlaceSheets(SheetOutput& output, RunResult& result, Diagnostics& diagnostics);

} // namespace kib
