// The record of a generation run: what each station's sheets (competition run)
// or each solution sheet (solution run) were made from, so that the next run
// keeps what did not change without reading its map or composing it again.
//
// An entry is the unit a run makes or keeps whole: a competition station with
// all its sheets (the composition of a task carries over to the next, so a
// station is never made in part), or a solution sheet with its stations. It is
// kept only when all of these are as recorded:
// - the record's format and the program's version;
// - the run's context: a digest of every value of the configuration, the
//   configuration's path (relative paths start there), the document's map scale
//   and zoom, the code page the texts are read in, and what the run was asked
//   for (the task choice of a station, the chosen stations of a solution run);
// - every input: its path and the size and digest of its content (a map export,
//   the courses file, a logo and its copy beside the sheets), so that an export
//   written again with the same content changes nothing;
// - every sheet: its size and last-write time as the run left it, so that a
//   sheet deleted or edited by hand is made again.
// A kept entry gives the run its sheets (not written) and the lines its station
// logged when it was made, which are logged again, so that a station that
// warned still warns. A station that failed has no entry. Any doubt (a record
// missing, cut off, of another format or program) makes everything again.
//
// The record is a plain text file in the output folder, "kib-maps.record" or
// "kib-solutions.record", written whole through AtomicFile and only when it
// changed.
#pragma once

#include "foundation/content_digest.h"
#include "foundation/file_stamp.h"
#include "sheet/run_result.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kib {

class CKibDoc;
class Diagnostics;

inline constexpr const char* kMapsRecordName = "kib-maps.record";
inline constexpr const char* kSolutionsRecordName = "kib-solutions.record";

// A file the entry was made from, with what it held then and its time when it
// was digested (0: unknown). Two inputs are the same when their path and
// content are: a file written again with the same bytes is unchanged.
struct RecordedInput {
    std::string path;
    ContentFacts facts;
    FileStamp stamp = 0;

    bool operator==(const RecordedInput& other) const {
        return path == other.path && facts == other.facts;
    }
};

// An entry a station reported while it was made (its text without the log's
// prefix, a warning or an information): reported again when the station's
// sheets are kept. composing: logged while its sheets were composed
// (after its map was read and laid out).
struct RecordedLine {
    int station = 0;
    bool composing = false;
    bool warning = false;
    std::string text;
};

// A sheet of the entry as the run left it in the output folder.
struct RecordedSheet {
    SheetKind kind = SheetKind::Map;
    std::vector<int> stations;
    int firstTask = 0;
    int lastTask = 0;
    bool toPrint = false;
    std::int64_t size = -1;
    std::uint64_t stamp = 0;
    std::string name; // the file name in the output folder
};

struct RecordEntry {
    std::string key;    // "station 3", "sheet sol-1-4"
    int taskChoice = 0; // what was asked of a competition station
    int tiling = 0;     // the canvases per print sheet of the station's layout
    std::vector<RecordedInput> inputs;
    std::vector<RecordedLine> lines;
    std::vector<RecordedSheet> sheets;
};

class SheetRecord {
  public:
    // The record named fileName in the output folder of the document; context is
    // the run's context digest (RunContext).
    SheetRecord(const CKibDoc& doc, const char* fileName, std::uint64_t context,
                Diagnostics& diagnostics);

    // Reads the record. One that is missing, cannot be read or parsed, or was
    // written by another format, program version or context gives no entry.
    void Load();

    // The inputs at these paths as they are now; each file is digested once for
    // the record's life, from the command's one read of it (the document's copy
    // of the courses file and of the map export the run then parses). Inputs are
    // compared by content only: a file with the recorded size and time is read
    // and digested all the same.
    std::vector<RecordedInput> Inputs(CKibDoc& doc, const std::vector<std::string>& paths);

    // Whether an entry names exactly the sheets its unit makes (a record is a
    // file in a folder others may write: it is trusted for nothing else).
    using SheetsCheck = std::function<bool(const RecordEntry&)>;

    // The recorded entry when it can be kept: the same task choice, the same
    // inputs, its sheets those its unit makes (ownSheets) and as the run left
    // them. None otherwise; an entry that names other sheets is dropped with a
    // debug line.
    const RecordEntry* Unchanged(const std::string& key, int taskChoice,
                                 const std::vector<RecordedInput>& inputs,
                                 const SheetsCheck& ownSheets);

    // Records the entry of what the run made; its sheets' sizes and stamps are
    // read now, so it is called once they are in place. An entry with a sheet
    // that is not there, or with a text the format cannot hold, is dropped.
    void Put(RecordEntry entry);
    void Drop(const std::string& key);

    // Writes the record when its text differs from the file's. A record that
    // cannot be written is named on the Debug pane only: the next run then makes
    // everything again.
    void Save();

    // The record's text and its reading, for the tests of the format.
    std::string Text() const;
    bool Parse(const std::string& text);

  private:
    RecordedInput NowOf(CKibDoc& doc, const std::string& path) const;

    std::string path_;
    std::string directory_;
    std::uint64_t context_;
    std::map<std::string, RecordEntry> entries_;
    std::map<std::string, RecordedInput> facts_;
    std::string loaded_; // the file's text as read
    Diagnostics& diag_;
};

// The inputs of a competition station or of a station on a solution sheet: its
// map export and its courses file, as the run reads them.
std::vector<std::string> StationInputPaths(const CKibDoc& doc, int station);

// Whether a competition station's entry names exactly the sheets the station
// makes for the entry's task choice and tiling: its own map and print sheets,
// by their file names in the output folder, in the order the run makes them.
bool EntryNamesStationSheets(const RecordEntry& entry, int station);

// Whether a solution sheet's entry names exactly that sheet, by its file name
// in the output folder, with the stations of its group.
bool EntryNamesSolutionSheet(const RecordEntry& entry, const std::string& name,
                             const std::vector<int>& group);

// The context digest of a run of the document: the configuration's values, its
// path, the map scale and zoom, the maps mode, the code page of the texts, the
// run's kind and what extra says of its choice.
std::uint64_t RunContext(const CKibDoc& doc, const std::string& extra);

// The sheets of the result that show the station first, named in the output
// folder directory, as the record keeps them.
std::vector<RecordedSheet> RecordedSheetsOf(const RunResult& result, int station,
                                            const std::string& directory);

// The station's logged lines, the last composing of them logged while its
// sheets were composed.
std::vector<RecordedLine> RecordedLinesOf(const StationResult& station, std::size_t composing);

// Logs the entry's lines of the station again: all of them, or only those
// logged while composing when the station's map was read again (and its reading
// logged the rest itself).
void ReplayLines(const RecordEntry& entry, int station, bool composingOnly,
                 Diagnostics& diagnostics);

// Gives the result the entry's sheets as kept (not written).
void KeepSheets(const RecordEntry& entry, const std::string& directory, RunResult& result);

} // namespace kib
