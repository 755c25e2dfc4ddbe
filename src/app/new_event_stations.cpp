// Every station of a new event read from its exports: the symbols guessed, the
// tasks, flags and answers of each station, the event's values and each
// station's own where it differs.
#include "app/new_event_stations.h"

#include "app/answer_key.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/app_state.h"
#include "foundation/checked_number.h"
#include "foundation/format.h"
#include "foundation/host.h"
#include "foundation/log.h"
#include "foundation/text_codec.h"
#include "map_input/configured_counts.h"
#include "map_input/document_exports.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"

#include <algorithm>
#include <map>

namespace kib {

namespace {

// Stands between a station's reading and the command's diagnostics: the
// analyses' information is left out (the station gets one line of its own),
// errors and, unless left out too, warnings are kept and reported once the
// station is read, unless the read is dropped (to be done again with the
// symbols it guessed). A dropped entry never decides the command's verdict.
class QuietReading : public Diagnostics {
  public:
    explicit QuietReading(Diagnostics& outer, bool keepWarnings = true)
        : outer_(outer), keepWarnings_(keepWarnings) {}
    ~QuietReading() override {
        for (const Diagnostic& entry : kept_) {
            outer_.Report(entry);
        }
    }
    QuietReading(const QuietReading&) = delete;
    QuietReading& operator=(const QuietReading&) = delete;

    // Forgets what was reported so far.
    void Drop() { kept_.clear(); }

    void Report(const Diagnostic& entry) override {
        if (entry.kind == DiagnosticKind::Debug) {
            outer_.Report(entry);
        } else if (entry.kind == DiagnosticKind::Error ||
                   (keepWarnings_ && entry.kind == DiagnosticKind::Warning)) {
            kept_.push_back(entry);
        }
    }
    bool WantsDebug() const override { return outer_.WantsDebug(); }

  private:
    Diagnostics& outer_;
    bool keepWarnings_;
    std::vector<Diagnostic> kept_;
};

void SetGuess(CKibCfg& cfg, int itemId, const std::string& text, bool& changed) {
    CCfgItem& item = cfg.Item(itemId);
    if (!item.IsSet() && item.SetText(text)) {
        changed = true;
    }
}

// Reads the station's map with the course's task count, so that every control
// circle of the course is matched, whatever the description table says.
// (The count set for the read also keeps the description analysis from
// reporting how it would change the station's tasks in a run.) Task 0 reads
// the map alone, without a course, in the standard symbol numbering.
bool ReadMapForCourse(CKibSvg& svg, int station, int courseControls, int task = 1) {
    CCfgItem& tasks = svg.GetConfig().StationItem(station, id::Station_TASKS);
    tasks.SetInt(std::clamp(courseControls, 1, kMaxTasks));
    const bool read = svg.ReadMap(station, task) && svg.GetMap();
    tasks.SetText("");
    return read;
}

void TakeAnswers(const CKibDoc& doc, CKibMap& map, StationFacts& f) {
    const StationAnswers answers = CheckAnswerKey(doc, map, f.station);
    bool columnH = false;
    for (int t = 1; t <= f.tasks; ++t) {
        const std::string h = t <= map.tasks ? ColumnHAnswer(map, t) : std::string();
        columnH = columnH || !h.empty();
        f.columnH += h.empty() ? std::string(" ") : h;
        const auto k = static_cast<std::size_t>(t - 1);
        if (k < answers.tasks.size() && answers.tasks[k].map.kind == MapAnswer::Kind::Letter) {
            f.mapAnswers += answers.tasks[k].map.letter;
            continue;
        }
        f.mapAnswers += '?';
        if (f.answerNote.empty()) {
            f.answerNote = Format("task %d: %s", t,
                                  k < answers.tasks.size()
                                      ? answers.tasks[k].map.Evidence(answers.limitMetres).c_str()
                                      : "no control circle of the task in the map");
        }
    }
    if (!columnH) {
        f.columnH.clear();
        return;
    }
    // An answer key in the descriptions is checked against the map at once.
    WarnAnswerDifferences(answers, f.station, map.Diag());
}

StationFacts ReadStation(CKibDoc& doc, int station) {
    StationFacts f;
    f.station = station;
    QuietReading quiet(doc.Diag());
    CKibSvg svg(doc);
    svg.ReportInto(quiet);
    if (!svg.ReadCourses(station)) {
        // Without its course the map still shows its description rows and flags.
        if (ReadMapForCourse(svg, station, 0, 0)) {
            const MapCounts counts = CountsOfMap(svg);
            f.read = true;
            f.descriptionRows = counts.descriptionRows;
            f.tasks = std::min(kMaxTasks, counts.descriptionRows);
            f.flags = counts.flags;
            f.rotation = svg.GetMap()->rotation;
        }
        return f;
    }
    f.courseControls = std::max(0, svg.controlCount - svg.finishCount);
    bool read = ReadMapForCourse(svg, station, f.courseControls);
    if (read && GuessSymbols(svg.GetConfig(), *svg.GetMap())) {
        quiet.Drop();
        read = ReadMapForCourse(svg, station, f.courseControls);
    }
    if (!read) {
        return f;
    }
    CKibMap& map = *svg.GetMap();
    const MapCounts counts = CountsOfMap(svg);
    f.read = true;
    f.descriptionRows = counts.descriptionRows;
    f.tasks = std::min(kMaxTasks, counts.Tasks());
    f.flags = counts.flags;
    f.rotation = map.rotation;
    TakeAnswers(doc, map, f);
    return f;
}

void ReportStation(const StationFacts& f) {
    if (f.descriptionRows > 0 && f.courseControls > 0 && f.descriptionRows != f.courseControls) {
        App().Log().Warning("Station %d: its description table holds %d control rows, its "
                            "course %d controls; %d tasks are taken",
                            f.station, f.descriptionRows, f.courseControls, f.tasks);
    }
    std::string answers = "answers not read (no course)";
    if (!f.columnH.empty()) {
        answers = "answers " + f.columnH + " in column H";
    } else if (!f.mapAnswers.empty()) {
        answers = "answers " + f.mapAnswers + " by the map";
    }
    const std::string rotation = f.rotation < 0 ? "none" : std::to_string(f.rotation);
    App().Log().Info("Station %d: %d tasks (%s), %d flags, rotation %s, %s", f.station, f.tasks,
                     f.descriptionRows > 0 ? "description rows" : "course controls", f.flags,
                     rotation.c_str(), answers.c_str());
}

// The value most stations have; on a tie the one met first.
int MostCommon(const std::vector<int>& values) {
    std::map<int, int> counts;
    for (int v : values) {
        ++counts[v];
    }
    int best = 0, bestCount = 0;
    for (int v : values) {
        if (counts[v] > bestCount) {
            best = v;
            bestCount = counts[v];
        }
    }
    return best;
}

int FlagsOf(const StationFacts& f) {
    return f.flags >= 1 && f.flags <= 6 ? f.flags : 6;
}

void WriteAnswers(CKibCfg& cfg, const StationFacts& f) {
    if (!f.columnH.empty() || f.mapAnswers.empty()) {
        return;
    }
    if (f.mapAnswers.find('?') != std::string::npos) {
        App().Log().Warning("Station %d: no answer key written: column H holds no answers "
                            "and the map gives none for %s; set ANSWERS of the station",
                            f.station, f.answerNote.c_str());
        return;
    }
    cfg.StationItem(f.station, id::Station_ANSWERS).SetText(f.mapAnswers);
    App().Log().Info(
        "Station %d: ANSWERS=%s from the map (the flag at the centre of each control circle), "
        "as column H holds no answers; check them on the proof page!",
        f.station, f.mapAnswers.c_str());
}

// The course name guessed from the map files' names must name a course of the
// courses file, whichever program wrote it.
void CheckCourseName(const CKibCfg& cfg, const CourseList& list, int station) {
    const std::string course = ToUtf8(EvalTemplate(cfg, id::Source_COURSE, station, 0));
    if (!list.read || std::find(list.names.begin(), list.names.end(), course) != list.names.end()) {
        return;
    }
    std::string names;
    for (std::size_t k = 0; k < list.names.size() && k < 8; ++k) {
        names += (k > 0 ? ", " : "") + list.names[k];
    }
    names += list.names.size() > 8 ? ", ..." : "";
    App().Log().Warning("The Courses.xml has no course '%s' for station %d (its courses: "
                        "%s); check Source.COURSE!",
                        course.c_str(), station, names.empty() ? "none" : names.c_str());
}

// The map scale of the courses file, in the units of the map export: divided by
// the export's zoom. A new document has read no zoom yet; the zoom of the map just
// read is the one a later read of the exports finds.
void TakeScale(CKibDoc& doc, CKibCfg& cfg, const CKibMap& map, CourseList& courses) {
    courses = ReadCourseList(doc);
    const float zoom = doc.mapZoom != 0.0f ? doc.mapZoom : map.zoom;
    const int scale = ScaleOverZoom(doc.mapScale, zoom);
    if (scale != 0) {
        cfg.Item(id::Event_SCALE).SetInt(scale);
    }
}

} // namespace

bool ReadFirstMap(CKibDoc& doc, int station) {
    CKibCfg& cfg = *doc.GetConfig();
    CourseList courses;
    {
        // Read again with the guessed symbols, the station tells its warnings then.
        QuietReading quiet(doc.Diag(), false);
        CKibSvg svg(doc);
        svg.ReportInto(quiet);
        CKibMap* map = svg.ReadMap(station, 0) ? svg.GetMap() : nullptr;
        if (!map) {
            return false;
        }
        GuessSymbols(cfg, *map);
        TakeScale(doc, cfg, *map, courses);
    }
    CheckCourseName(cfg, courses, station);
    return true;
}

bool GuessSymbols(CKibCfg& cfg, const CKibMap& map) {
    bool changed = false;
    if (map.standardChairFlagsFound) {
        bool chair = false;
        SetGuess(cfg, id::Source_CHAIR, "790.001", chair);
        SetGuess(cfg, id::Source_FLAG, map.Bundles(790, 3) >= 1 ? "790.002 790.003" : "790.002",
                 chair);
        SetGuess(cfg, id::Source_ZERO, "790.004", chair);
        // A first map whose flags were all correct ones named no false flags.
        CCfgItem& flag = cfg.Item(id::Source_FLAG);
        if (flag.GetValueText() == "790.002" && map.Bundles(790, 3) >= 1) {
            chair = flag.SetText("790.002 790.003") || chair;
        }
        if (chair) {
            App().Log().Info("Guessed OCAD symbol IDs for chair, flags and zero; check SOURCE "
                             "configuration section!");
        }
        changed = changed || chair;
    }
    if (map.flagBundles != 0 && map.standardLettersFound) {
        bool letters = false;
        SetGuess(cfg, id::Source_LETTERS, "791", letters);
        if (letters) {
            App().Log().Info(
                "Guessed OCAD symbols for flag markers; check SOURCE.LETTERS configuration!");
        }
        changed = changed || letters;
    }
    // One answer per task in column H: 1 to 15 of them. Letters 792.x win.
    const int letterAnswers = map.CountBundles(792, 0, 8);
    const int columnHAnswers = map.CountBundles(19, 21, 7);
    const char* answers = letterAnswers >= 1 && letterAnswers <= kMaxTasks     ? "792"
                          : columnHAnswers >= 1 && columnHAnswers <= kMaxTasks ? "19.021"
                                                                               : nullptr;
    bool answersSet = false;
    if (answers) {
        SetGuess(cfg, id::Source_ANSWERS, answers, answersSet);
    }
    if (answersSet) {
        App().Log().Info(
            "Guessed OCAD symbols for correct answers; check SOURCE.ANSWERS configuration!");
    }
    return changed || answersSet;
}

std::vector<StationFacts> ReadEveryStation(CKibDoc& doc, const ExportStations& stations) {
    std::vector<StationFacts> facts;
    for (int s : stations.present) {
        facts.push_back(ReadStation(doc, s));
        if (facts.back().read) {
            ReportStation(facts.back());
        }
    }
    return facts;
}

MapStatistics EventValues(const std::vector<StationFacts>& facts) {
    std::vector<int> tasks, flags;
    for (const StationFacts& f : facts) {
        if (!f.read) {
            continue;
        }
        if (f.tasks > 0) {
            tasks.push_back(f.tasks);
        }
        flags.push_back(FlagsOf(f));
    }
    MapStatistics event;
    event.tasks = tasks.empty() ? 0 : MostCommon(tasks);
    event.flags = flags.empty() ? 6 : MostCommon(flags);
    return event;
}

void WriteStationValues(CKibCfg& cfg, const std::vector<StationFacts>& facts,
                        const MapStatistics& event) {
    for (const StationFacts& f : facts) {
        if (!f.read) {
            continue;
        }
        if (f.tasks > 0 && event.tasks > 0 && f.tasks != event.tasks) {
            cfg.StationItem(f.station, id::Station_TASKS).SetInt(f.tasks);
            App().Log().Info("Station %d: TASKS=%d in its section (the event's TASKS is %d).",
                             f.station, f.tasks, event.tasks);
        }
        if (FlagsOf(f) != event.flags) {
            cfg.StationItem(f.station, id::Station_FLAGS).SetInt(FlagsOf(f));
            App().Log().Info("Station %d: FLAGS=%d in its section (the event's FLAGS is %d).",
                             f.station, FlagsOf(f), event.flags);
        }
        WriteAnswers(cfg, f);
    }
}

} // namespace kib
