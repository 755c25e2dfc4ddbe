#include "sheet/sheet_record.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/atomic_file.h"
#include "foundation/file_stamp.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "map_input/document_exports.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "sheet/product_info.h"
#include "sheet/sheet_output.h"
#include "sheet/task_range.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace kib {

namespace {

constexpr const char* kFirstLine = "# Kib sheet record";
// 3: the lines are kept without the log's prefixes, with their kind.
constexpr int kFormat = 3;
// How a station is judged before anything is made of it. A record of a run
// that judged by other rules (a station that passed then may fail now) is not
// followed: each of its units is made, and judged, again.
constexpr const char* kJudgement =
    "tasks paired with course controls, circles and description rows; answer key checked";

char KindLetter(SheetKind kind) {
    switch (kind) {
    case SheetKind::Map:
        return 'm';
    case SheetKind::Print:
        return 'p';
    case SheetKind::Solution:
        return 's';
    }
    return 'm';
}

bool KindOfLetter(std::string_view letter, SheetKind& kind) {
    if (letter == "m") {
        kind = SheetKind::Map;
    } else if (letter == "p") {
        kind = SheetKind::Print;
    } else if (letter == "s") {
        kind = SheetKind::Solution;
    } else {
        return false;
    }
    return true;
}

// A text the line format can hold: no line break inside.
bool OneLine(const std::string& text) {
    return text.find_first_of("\r\n") == std::string::npos;
}

// The words of a record line: the first count words split at single spaces, then
// the rest of the line as it is (a path or a logged line may hold spaces).
class Words {
  public:
    explicit Words(std::string_view line) : rest_(line) {}

    bool Next(std::string_view& word) {
        if (rest_.empty()) {
            return false;
        }
        const std::size_t space = rest_.find(' ');
        word = rest_.substr(0, space);
        rest_ = space == std::string_view::npos ? std::string_view() : rest_.substr(space + 1);
        return !word.empty();
    }
    template <typename T> bool Number(T& value) {
        std::string_view word;
        if (!Next(word)) {
            return false;
        }
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        return error == std::errc() && end == word.data() + word.size();
    }
    std::string_view Rest() const { return rest_; }

  private:
    std::string_view rest_;
};

bool ParseStations(std::string_view text, std::vector<int>& stations) {
    stations.clear();
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view word = text.substr(0, comma);
        int station = 0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), station);
        if (error != std::errc() || end != word.data() + word.size()) {
            return false;
        }
        stations.push_back(station);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return !stations.empty();
}

std::string StationsText(const std::vector<int>& stations) {
    std::string text;
    for (int s : stations) {
        text += (text.empty() ? "" : ",") + std::to_string(s);
    }
    return text;
}

bool EntryFits(const RecordEntry& entry) {
    if (!OneLine(entry.key) || entry.key.empty()) {
        return false;
    }
    for (const RecordedInput& input : entry.inputs) {
        if (!OneLine(input.path) || input.path.empty()) {
            return false;
        }
    }
    for (const RecordedLine& line : entry.lines) {
        if (!OneLine(line.text)) {
            return false;
        }
    }
    for (const RecordedSheet& sheet : entry.sheets) {
        if (!OneLine(sheet.name) || sheet.name.empty() || sheet.stations.empty()) {
            return false;
        }
    }
    return true;
}

// The size and last-write time of the regular file at path; size -1 when it is
// no regular file (missing, a link, a folder).
void SheetFacts(const std::string& path, std::int64_t& size, std::uint64_t& stamp) {
    size = -1;
    stamp = 0;
    if (platform::KindOf(path, false) != platform::FileKind::Regular) {
        return;
    }
    FileStamp time = 0;
    std::vector<std::string> notes;
    if (!ReadFileStamp(path, time, notes)) {
        return;
    }
    size = platform::FileSize(path);
    stamp = time;
}

} // namespace

SheetRecord::SheetRecord(const CKibDoc& doc, const char* fileName, std::uint64_t context,
                         Diagnostics& diagnostics)
    : directory_(SheetDirectory(doc)), context_(context), diag_(diagnostics) {
    path_ = directory_ + fileName;
}

void SheetRecord::Load() {
    entries_.clear();
    loaded_.clear();
    std::string reason;
    int error = 0;
    platform::FileKind kind = platform::FileKind::Missing;
    platform::File file = platform::OpenRegularFile(path_, error, kind);
    if (!file.IsOpen()) {
        return;
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        const long long n = file.Read(buffer, sizeof buffer);
        if (n < 0) {
            return;
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    loaded_ = text;
    if (!Parse(text)) {
        entries_.clear();
        diag_.Debug("Sheet record %s not used: it is not a record of this program and "
                    "configuration.",
                    path_.c_str());
    }
}

bool SheetRecord::Parse(const std::string& text) {
    entries_.clear();
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kFirstLine) {
        return false;
    }
    if (!std::getline(in, line) || line != "format " + std::to_string(kFormat)) {
        return false;
    }
    if (!std::getline(in, line) || line != "program " + VersionText()) {
        return false;
    }
    if (!std::getline(in, line) || line != "context " + DigestText(context_)) {
        return false;
    }
    RecordEntry entry;
    bool inEntry = false;
    bool ended = false;
    while (std::getline(in, line)) {
        Words words(line);
        std::string_view word;
        if (!words.Next(word)) {
            return false;
        }
        if (word == "record-end") {
            ended = true;
            break;
        }
        if (!inEntry) {
            if (word != "entry" || words.Rest().empty()) {
                return false;
            }
            entry = RecordEntry{};
            entry.key = std::string(words.Rest());
            inEntry = true;
        } else if (word == "choice") {
            if (!words.Number(entry.taskChoice) || !words.Rest().empty()) {
                return false;
            }
        } else if (word == "tiling") {
            if (!words.Number(entry.tiling) || !words.Rest().empty()) {
                return false;
            }
        } else if (word == "input") {
            RecordedInput input;
            std::string_view digest;
            if (!words.Number(input.facts.size) || !words.Next(digest) ||
                !ReadDigestText(digest, input.facts.digest) || !words.Number(input.stamp) ||
                words.Rest().empty()) {
                return false;
            }
            input.path = std::string(words.Rest());
            entry.inputs.push_back(std::move(input));
        } else if (word == "line") {
            RecordedLine logged;
            std::string_view phase;
            std::string_view kind;
            if (!words.Number(logged.station) || !words.Next(phase) || !words.Next(kind) ||
                (phase != "r" && phase != "c") || (kind != "i" && kind != "w")) {
                return false;
            }
            logged.composing = phase == "c";
            logged.warning = kind == "w";
            logged.text = std::string(words.Rest());
            entry.lines.push_back(std::move(logged));
        } else if (word == "sheet") {
            RecordedSheet sheet;
            std::string_view kind;
            std::string_view stations;
            int print = 0;
            if (!words.Next(kind) || !KindOfLetter(kind, sheet.kind) || !words.Next(stations) ||
                !ParseStations(stations, sheet.stations) || !words.Number(sheet.firstTask) ||
                !words.Number(sheet.lastTask) || !words.Number(print) || print < 0 || print > 1 ||
                !words.Number(sheet.size) || !words.Number(sheet.stamp) || words.Rest().empty()) {
                return false;
            }
            sheet.toPrint = print == 1;
            sheet.name = std::string(words.Rest());
            entry.sheets.push_back(std::move(sheet));
        } else if (word == "end") {
            if (!words.Rest().empty() || entry.sheets.empty()) {
                return false;
            }
            entries_[entry.key] = std::move(entry);
            inEntry = false;
        } else {
            return false;
        }
    }
    // A record cut off before its last line is not used.
    return ended && !inEntry;
}

std::string SheetRecord::Text() const {
    std::string text = Format("%s\nformat %d\nprogram %s\ncontext %s\n", kFirstLine, kFormat,
                              VersionText().c_str(), DigestText(context_).c_str());
    for (const auto& [key, entry] : entries_) {
        text += "entry " + key + "\n";
        text += Format("choice %d\ntiling %d\n", entry.taskChoice, entry.tiling);
        for (const RecordedInput& input : entry.inputs) {
            text += Format("input %lld %s %llu ", static_cast<long long>(input.facts.size),
                           DigestText(input.facts.digest).c_str(),
                           static_cast<unsigned long long>(input.stamp)) +
                    input.path + "\n";
        }
        for (const RecordedLine& line : entry.lines) {
            text += Format("line %d %c %c ", line.station, line.composing ? 'c' : 'r',
                           line.warning ? 'w' : 'i') +
                    line.text + "\n";
        }
        for (const RecordedSheet& sheet : entry.sheets) {
            text += Format("sheet %c %s %d %d %d %lld %llu ", KindLetter(sheet.kind),
                           StationsText(sheet.stations).c_str(), sheet.firstTask, sheet.lastTask,
                           sheet.toPrint ? 1 : 0, static_cast<long long>(sheet.size),
                           static_cast<unsigned long long>(sheet.stamp)) +
                    sheet.name + "\n";
        }
        text += "end\n";
    }
    return text + "record-end\n";
}

std::vector<RecordedInput> SheetRecord::Inputs(CKibDoc& doc,
                                               const std::vector<std::string>& paths) {
    std::vector<RecordedInput> inputs;
    for (const std::string& path : paths) {
        auto known = facts_.find(path);
        if (known == facts_.end()) {
            known = facts_.emplace(path, NowOf(doc, path)).first;
        }
        inputs.push_back(known->second);
    }
    return inputs;
}

// Digested every time: an export written again with its size and a time equal
// to the recorded one (copied with its time, a FAT stick's two seconds) may
// still hold other bytes. Digesting the inputs costs a few percent of a run.
RecordedInput SheetRecord::NowOf(CKibDoc& doc, const std::string& path) const {
    FileStamp stamp = 0;
    return RecordedInput{path, InputContentFacts(doc, path, stamp), stamp};
}

const RecordEntry* SheetRecord::Unchanged(const std::string& key, int taskChoice,
                                          const std::vector<RecordedInput>& inputs,
                                          const SheetsCheck& ownSheets) {
    const auto found = entries_.find(key);
    if (found == entries_.end()) {
        return nullptr;
    }
    const RecordEntry& entry = found->second;
    if (!ownSheets || !ownSheets(entry)) {
        diag_.Debug("Sheet record %s: the entry '%s' names other sheets than its own; it is made "
                    "again.",
                    path_.c_str(), key.c_str());
        entries_.erase(found);
        return nullptr;
    }
    if (entry.taskChoice != taskChoice || entry.inputs != inputs) {
        return nullptr;
    }
    for (const RecordedInput& input : inputs) {
        if (input.facts.size < 0) {
            return nullptr;
        }
    }
    for (const RecordedSheet& sheet : entry.sheets) {
        std::int64_t size = -1;
        std::uint64_t stamp = 0;
        SheetFacts(directory_ + sheet.name, size, stamp);
        if (size < 0 || size != sheet.size || stamp != sheet.stamp) {
            return nullptr;
        }
    }
    return &entry;
}

void SheetRecord::Put(RecordEntry entry) {
    for (RecordedSheet& sheet : entry.sheets) {
        SheetFacts(directory_ + sheet.name, sheet.size, sheet.stamp);
        if (sheet.size < 0) {
            Drop(entry.key);
            return;
        }
    }
    if (entry.sheets.empty() || !EntryFits(entry)) {
        Drop(entry.key);
        return;
    }
    const std::string key = entry.key;
    entries_[key] = std::move(entry);
}

void SheetRecord::Drop(const std::string& key) {
    entries_.erase(key);
}

void SheetRecord::Save() {
    const std::string text = Text();
    if (text == loaded_ || (entries_.empty() && loaded_.empty())) {
        return;
    }
    std::string reason;
    if (!WriteWholeFile(path_, text, reason)) {
        diag_.Debug("Sheet record %s not written: %s", path_.c_str(), reason.c_str());
        return;
    }
    loaded_ = text;
}

namespace {

// The file name a competition sheet of station s showing tasks a to b has in
// the output folder (sheet_output.cpp names them so).
std::string StationSheetName(SheetKind kind, int s, int a, int b) {
    const char* kind_ = kind == SheetKind::Map ? "map" : "prn";
    return a == b ? Format("%s-%d.%d.svg", kind_, s, a)
                  : Format("%s-%d.%d-%d.%d.svg", kind_, s, a, s, b);
}

// The sheets a station makes for its tasks first .. last with tiling canvases
// a print sheet, in the run's order (CompetitionRun::MakeTasks).
std::vector<RecordedSheet> StationSheets(int s, int first, int last, int tiling) {
    std::vector<RecordedSheet> sheets;
    const auto add = [&](SheetKind kind, int a, int b) {
        RecordedSheet sheet;
        sheet.kind = kind;
        sheet.stations = {s};
        sheet.firstTask = a;
        sheet.lastTask = b;
        sheet.toPrint = kind == SheetKind::Print || tiling == 0;
        sheet.name = StationSheetName(kind, s, a, b);
        sheets.push_back(std::move(sheet));
    };
    for (int d = first; d <= last; ++d) {
        add(SheetKind::Map, d, d);
        if (tiling == 2 && d % 2 == 1) {
            add(SheetKind::Print, d - 1, d);
        } else if (tiling == 2 && d == last) {
            add(SheetKind::Print, d, d);
        } else if (tiling == 4 && (d % 4 == 3 || d == last)) {
            add(SheetKind::Print, d & -4, d);
        }
    }
    return sheets;
}

bool SameSheet(const RecordedSheet& a, const RecordedSheet& b) {
    return a.kind == b.kind && a.stations == b.stations && a.firstTask == b.firstTask &&
           a.lastTask == b.lastTask && a.toPrint == b.toPrint && a.name == b.name;
}

} // namespace

bool EntryNamesStationSheets(const RecordEntry& entry, int station) {
    const int tiling = entry.tiling;
    if (tiling != 0 && tiling != 2 && tiling != 4) {
        return false;
    }
    // The tasks of the map sheets; the station's last task is not recorded, so
    // the range is taken from them and judged against the task choice.
    int first = -1;
    int last = -1;
    for (const RecordedSheet& sheet : entry.sheets) {
        if (sheet.kind == SheetKind::Map) {
            first = first < 0 ? sheet.firstTask : first;
            last = sheet.firstTask;
        }
    }
    if (first < 0 || last < first || last > kMaxTasks) {
        return false;
    }
    const int start = tiling == 0 ? first : (tiling == 2 ? first & -2 : first & -4);
    const int choice = entry.taskChoice;
    if (start != first || (choice == kTaskAll && first > 1) ||
        (choice == kTaskCover && first != 0) ||
        (choice >= 1 && (choice < first || choice > last)) || choice < kTaskAll) {
        return false;
    }
    const std::vector<RecordedSheet> made = StationSheets(station, first, last, tiling);
    return std::equal(made.begin(), made.end(), entry.sheets.begin(), entry.sheets.end(),
                      SameSheet);
}

bool EntryNamesSolutionSheet(const RecordEntry& entry, const std::string& name,
                             const std::vector<int>& group) {
    return entry.sheets.size() == 1 && entry.sheets.front().kind == SheetKind::Solution &&
           entry.sheets.front().name == name && entry.sheets.front().stations == group &&
           entry.sheets.front().toPrint;
}

std::vector<std::string> StationInputPaths(const CKibDoc& doc, int station) {
    std::vector<std::string> paths;
    if (const CKibCfg* cfg = doc.GetConfig()) {
        paths.push_back(doc.MakePath(EvalTemplate(*cfg, id::Source_MAP, station, 1)));
        paths.push_back(doc.MakePath(EvalTemplate(*cfg, id::Source_COURSES, station, 0)));
    }
    return paths;
}

std::uint64_t RunContext(const CKibDoc& doc, const std::string& extra) {
    std::string text = extra + "\n" + doc.GetPathName() + "\n" + kJudgement + "\n";
    text += Format("scale %d zoom %.9g solution %d\n", doc.mapScale,
                   static_cast<double>(doc.mapZoom), doc.GetMapsMode() ? 1 : 0);
    const std::optional<std::string> codePage = platform::EnvironmentValue("KIB_CODEPAGE");
    text += "code page " + (codePage ? "=" + *codePage : std::string("none")) + "\n";
    if (const CKibCfg* cfg = doc.GetConfig()) {
        for (const auto& section : cfg->Sections()) {
            text += "[" + section->GetName() + "]\n";
            for (const auto& item : section->Items()) {
                // The unit separator keeps "a"+"bc" apart from "ab"+"c".
                text += item->GetKey() + "\x1f" + item->GetValueText() + "\x1f" +
                        item->GetRejectedText() + "\n";
            }
        }
    }
    return DigestOf(text);
}

std::vector<RecordedSheet> RecordedSheetsOf(const RunResult& result, int station,
                                            const std::string& directory) {
    std::vector<RecordedSheet> sheets;
    for (const RunSheet& run : result.sheets) {
        if (run.stations.empty() || run.stations.front() != station) {
            continue;
        }
        RecordedSheet sheet;
        sheet.kind = run.kind;
        sheet.stations = run.stations;
        sheet.firstTask = run.firstTask;
        sheet.lastTask = run.lastTask;
        sheet.toPrint = run.toPrint;
        // Named in the output folder; a sheet elsewhere cannot be recorded.
        if (run.svg.compare(0, directory.size(), directory) != 0) {
            return {};
        }
        sheet.name = run.svg.substr(directory.size());
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}

std::vector<RecordedLine> RecordedLinesOf(const StationResult& station, std::size_t composing) {
    std::vector<RecordedLine> lines;
    const std::size_t count = station.entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Diagnostic& entry = station.entries[i];
        RecordedLine line;
        line.station = station.station;
        line.composing = i + composing >= count;
        line.warning = entry.kind == DiagnosticKind::Warning;
        line.text = entry.text;
        lines.push_back(std::move(line));
    }
    return lines;
}

void ReplayLines(const RecordEntry& entry, int station, bool composingOnly,
                 Diagnostics& diagnostics) {
    for (const RecordedLine& line : entry.lines) {
        if (line.station != station || (composingOnly && !line.composing)) {
            continue;
        }
        diagnostics.Say(line.warning ? DiagnosticKind::Warning : DiagnosticKind::Info, line.text);
    }
}

void KeepSheets(const RecordEntry& entry, const std::string& directory, RunResult& result) {
    for (const RecordedSheet& recorded : entry.sheets) {
        RunSheet sheet;
        sheet.kind = recorded.kind;
        sheet.svg = directory + recorded.name;
        sheet.stations = recorded.stations;
        sheet.firstTask = recorded.firstTask;
        sheet.lastTask = recorded.lastTask;
        sheet.written = false;
        sheet.toPrint = recorded.toPrint;
        result.sheets.push_back(std::move(sheet));
    }
}

} // namespace kib
