#include "sheet/map_generation.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "foundation/checked_number.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "map_input/station_items.h"
#include "sheet/competition_composer.h"
#include "sheet/sheet_frame.h"
#include "sheet/sheet_record.h"

#include <algorithm>

namespace kib {

CompetitionRun::CompetitionRun(CKibSvg& svg, Diagnostics& diagnostics, StopRequest& stop)
    : svg_(svg), diag_(diagnostics), stop_(stop) {}

CompetitionRun::~CompetitionRun() = default;

namespace {

// The map sheets a station is expected to get from its configured tasks, before
// its map and layout tell the exact number.
int PlannedSheets(const CKibCfg& cfg, int station, int taskChoice) {
    const std::string& mode = cfg.Item(id::Target_MODE).GetValue();
    const bool ant = !mode.empty() && (mode[0] == 'A' || mode[0] == 'a');
    const TaskRange tasks = ChosenTasks(taskChoice, ant ? 1 : 0, cfg.GetTasks(station));
    return std::max(0, tasks.last - tasks.first + 1);
}

} // namespace

bool CompetitionRun::GenerateCompetitionSvg(std::uint32_t stationMask, int taskChoice) {
    const RunResult& result = Run(StationSet::FromMask(stationMask), taskChoice);
    return result.completed && !result.AnyStationFailed();
}

Diagnostics& CompetitionRun::StationReports() const {
    if (station_) {
        return *station_;
    }
    return whole_ ? static_cast<Diagnostics&>(*whole_) : diag_;
}

void CompetitionRun::Route(Diagnostics& diagnostics) {
    svg_.ReportInto(diagnostics);
    surface_->ReportInto(diagnostics);
    output_->ReportInto(diagnostics);
}

const RunResult& CompetitionRun::Run(const StationSet& stations, int taskChoice) {
    result_ = RunResult{};
    DiagnosticsTally whole(&diag_);
    whole_ = &whole;
    Diagnostics& outer = svg_.Diag();
    Host& host = svg_.GetHost();
    host.SetWaitCursor(true);
    whole.Info("Generating SVG files...");
    whole.Debug("==== Generating SVG files...");
    host.SetStatusText("Generating SVG files...");
    if (!EnsureOutputFolder(svg_.GetDocument(), whole)) {
        host.SetStatusText("Ready");
        host.SetWaitCursor(false);
        result_.logged = whole.GetVerdict();
        whole_ = nullptr;
        return result_;
    }
    const CKibCfg& cfg = svg_.GetConfig();
    surface_ = std::make_unique<CSvgImage>(cfg);
    surface_->UseLayoutMemo(layouts_);
    output_ = std::make_unique<SheetOutput>(svg_.GetDocument(), surface_.get(), whole);
    Route(whole);
    output_->CollectInBatch();
    if (sheetMade_) {
        output_->KeepFinishedTexts();
    }

    progress_ = RunProgress{};
    const std::vector<int> chosen = stations.Chosen(cfg);
    for (int s : chosen) {
        ++progress_.stations;
        progress_.sheets += PlannedSheets(cfg, s, taskChoice);
    }
    // A run that reads and lays out only (no task) neither uses nor changes the record.
    const bool recording = taskChoice != kTaskNone;
    SheetRecord record(svg_.GetDocument(), kMapsRecordName, RunContext(svg_.GetDocument(), "maps"),
                       whole);
    if (recording) {
        record.Load();
    }
    // The stations of this run and their entries, recorded once their sheets are in place.
    std::vector<std::pair<int, RecordEntry>> entries;
    bool completed = true;
    int processed = 0;
    for (int s : chosen) {
        if (stop_.Requested()) {
            completed = false;
            result_.stopped = true;
            break;
        }
        result_.stations.push_back(StationResult{});
        result_.stations.back().station = s;
        progress_.station = ++processed;
        stationPlanned_ = PlannedSheets(cfg, s, taskChoice);
        stationMade_ = 0;
        bool stationMade = true;
        bool goOn = true;
        const std::string key = Format("station %d", s);
        std::vector<RecordedInput> inputs;
        const RecordEntry* kept = nullptr;
        if (recording) {
            inputs = record.Inputs(svg_.GetDocument(), StationInputPaths(svg_.GetDocument(), s));
            kept = record.Unchanged(key, taskChoice, inputs, [s](const RecordEntry& entry) {
                return EntryNamesStationSheets(entry, s);
            });
        }
        composeLines_ = 0;
        {
            DiagnosticsTally tally(&whole, s);
            station_ = &tally;
            Route(tally);
            goOn = kept ? KeepStation(s, *kept, stationMade)
                        : ProcessStation(s, taskChoice, stationMade);
            Route(whole);
            station_ = nullptr;
            TakeTally(*result_.Station(s), tally);
        }
        StationResult& station = *result_.Station(s);
        // A station that made fewer sheets than expected leaves them out of the count.
        progress_.sheets -= stationPlanned_ - stationMade_;
        if (!stationMade || !goOn) {
            station.outcome = StationOutcome::Failed;
        } else if (station.outcome != StationOutcome::Failed) {
            const bool written =
                std::any_of(result_.sheets.begin(), result_.sheets.end(), [s](const RunSheet& r) {
                    return r.written && r.stations.front() == s;
                });
            station.outcome = written ? StationOutcome::Made : StationOutcome::Unchanged;
        }
        if (recording && station.outcome != StationOutcome::Failed) {
            RecordEntry entry = kept ? *kept : RecordEntry{};
            // The inputs as now (a kept station's with their current times).
            entry.inputs = std::move(inputs);
            if (!kept) {
                entry.key = key;
                entry.taskChoice = taskChoice;
                entry.tiling = canvasesPerSheet_;
                entry.lines = RecordedLinesOf(station, composeLines_);
            }
            entries.emplace_back(s, std::move(entry));
        } else if (recording) {
            record.Drop(key);
        }
        if (!goOn) {
            completed = false;
            break;
        }
    }
    result_.completed = completed && !result_.stations.empty();
    PlaceSheets(*output_, result_, whole);
    if (recording) {
        RecordStations(record, entries);
    }

    host.ShowProgress(RunProgress{});
    host.SetStatusText("Ready");
    output_.reset();
    surface_.reset();
    svg_.ReportInto(outer);
    host.SetWaitCursor(false);
    result_.logged = whole.GetVerdict();
    whole_ = nullptr;
    return result_;
}

bool CompetitionRun::ProcessStation(int s, int taskChoice, bool& result) {
    const CKibCfg& cfg = svg_.GetConfig();
    CKibDoc& doc = svg_.GetDocument();
    const int tasks = cfg.GetTasks(s);
    if (tasks == 0) {
        StationReports().Warning("Number of tasks undefined for station %d", s);
    }
    int flags = StationInt(cfg, s, id::Station_FLAGS);
    if (flags == 0) {
        flags = cfg.Item(id::Event_FLAGS).GetInt();
    }
    CKibMap* map = nullptr;
    if (!ReadStationMap(svg_, s, map) || !map) {
        result = false;
        return true;
    }
    if (stationRead_) {
        stationRead_(s, *map);
    }
    mapTasks_ = map->tasks;
    if (flags == 0) {
        flags = map->flagBundles;
    }
    const int scale = ScaleOverZoom(doc.mapScale, map->zoom);
    if (!surface_->ComputeLayout(false, false, scale, s, mapTasks_, flags)) {
        return false;
    }
    canvasesPerSheet_ = surface_->canvasesPerSheet;
    doc.canvasesPerSheet = canvasesPerSheet_;
    if (taskChoice == kTaskNone) {
        return true;
    }
    const std::size_t before = station_->Entries().size();
    if (!MakeTasks(s, taskChoice)) {
        result = false;
    }
    composeLines_ = station_->Entries().size() - before;
    return true;
}

bool CompetitionRun::KeepStation(int s, const RecordEntry& entry, bool& result) {
    StationReports().Debug("==== Station %d: nothing it is made from changed, its sheets are kept.",
                           s);
    const bool readAgain = static_cast<bool>(stationRead_);
    if (readAgain) {
        // The caller needs the station's map: it is read and laid out again, but
        // its sheets are not composed.
        if (!ProcessStation(s, kTaskNone, result)) {
            return false;
        }
        if (!result) {
            return true;
        }
    } else {
        canvasesPerSheet_ = entry.tiling;
        svg_.GetDocument().canvasesPerSheet = entry.tiling;
    }
    ReplayLines(entry, s, readAgain, *station_);
    KeepSheets(entry, SheetDirectory(svg_.GetDocument()), result_);
    const int maps = static_cast<int>(
        std::count_if(entry.sheets.begin(), entry.sheets.end(),
                      [](const RecordedSheet& sheet) { return sheet.kind == SheetKind::Map; }));
    progress_.sheets += maps - stationPlanned_;
    stationPlanned_ = maps;
    stationMade_ = maps;
    progress_.sheet += maps;
    svg_.GetHost().ShowProgress(progress_);
    return true;
}

// The stations that did not fail keep (or get) their entry, with their sheets as
// they are now in place; those that failed lose theirs.
void CompetitionRun::RecordStations(SheetRecord& record,
                                    std::vector<std::pair<int, RecordEntry>>& entries) {
    const std::string directory = SheetDirectory(svg_.GetDocument());
    for (auto& [s, entry] : entries) {
        const StationResult* station = result_.Station(s);
        if (!station || station->outcome == StationOutcome::Failed) {
            record.Drop(entry.key);
            continue;
        }
        entry.sheets = RecordedSheetsOf(result_, s, directory);
        record.Put(std::move(entry));
    }
    record.Save();
}

bool CompetitionRun::MakeTasks(int s, int taskChoice) {
    if (taskChoice >= 1 && taskChoice > mapTasks_) {
        StationReports().Error("Station %d has no task %d: its map gives %d tasks.", s, taskChoice,
                               mapTasks_);
        return false;
    }
    const int g = surface_->canvasesPerSheet;
    const TaskRange tasks = WholePrintSheets(
        ChosenTasks(taskChoice, surface_->modeAnt ? 1 : 0, mapTasks_), g, surface_->tasks);
    const int to = tasks.last;
    // The station's map and layout tell how many sheets it gets.
    progress_.sheets += std::max(0, to - tasks.first + 1) - stationPlanned_;
    stationPlanned_ = std::max(0, to - tasks.first + 1);
    for (int d = tasks.first; d <= to; ++d) {
        ++progress_.sheet;
        ++stationMade_;
        svg_.GetHost().ShowProgress(progress_);
        if (!MakeMapSheet(s, d)) {
            return false;
        }
        bool printed = true;
        if (g == 2) {
            if (d % 2 == 1) {
                printed = MakePrintSheetPair(s, d - 1, surface_->tileRows);
            } else if (d == mapTasks_) {
                printed = MakePrintSheet(s, d);
            }
        } else if (g == 4 && (d % 4 == 3 || d == to)) {
            printed = MakePrintSheetGroup(s, d);
        }
        if (!printed) {
            return false;
        }
    }
    return true;
}

bool CompetitionRun::MakeSheet(const char* kind, int s, int a, int b, bool printSheet,
                               const Canvas* canvases, int count) {
    CKibMap* map = svg_.GetMap();
    if (!surface_ || !output_ || !map) {
        return false;
    }
    if (!output_->OpenSheetOutput(kind, s, a, b)) {
        return false;
    }
    std::ostream& out = output_->Stream();
    bool composed = WriteSheetHeader(out, *surface_, map->FirstLine(), printSheet);
    for (int k = 0; k < count && composed; ++k) {
        composed =
            ComposeCompetitionMap(*map, *surface_, out, s, canvases[k].task, canvases[k].corner);
    }
    if (!output_->FinishSheetOutput(composed)) {
        return false;
    }
    Record(kind, s, a, b);
    return true;
}

// A sheet the run wrote or kept. Print sheets go to print; so do the map sheets
// of a layout that does not tile its canvases.
void CompetitionRun::Record(const char* kind, int s, int a, int b) {
    RunSheet sheet;
    const bool print = kind[0] == 'p';
    sheet.kind = print ? SheetKind::Print : SheetKind::Map;
    sheet.svg = output_->FinalPath();
    sheet.stations = {s};
    sheet.firstTask = a;
    sheet.lastTask = b == -1 ? a : b;
    sheet.written = output_->Written();
    sheet.toPrint = print || canvasesPerSheet_ == 0;
    if (sheetMade_) {
        sheetMade_(sheet, output_->FinishedText());
    }
    result_.sheets.push_back(std::move(sheet));
}

bool CompetitionRun::MakeMapSheet(int s, int t) {
    StationReports().Debug("==== Making MAP %d.%d...", s, t);
    svg_.GetHost().SetStatusText(Format("Generating MAP %d.%d...", s, t));
    const Canvas canvas{t, kCornerAlone};
    return MakeSheet("map", s, t, -1, false, &canvas, 1);
}

bool CompetitionRun::MakePrintSheet(int s, int t) {
    StationReports().Debug("==== Making PRN %d.%d...", s, t);
    svg_.GetHost().SetStatusText(Format("Generating PRN %d.%d...", s, t));
    const Canvas canvas{t, 1};
    return MakeSheet("prn", s, t, -1, true, &canvas, 1);
}

bool CompetitionRun::MakePrintSheetPair(int s, int t, bool stacked) {
    StationReports().Debug("==== Making PRN %d.%d+%d...", s, t, t + 1);
    svg_.GetHost().SetStatusText(Format("Generating PRN %d.%d+%d...", s, t, t + 1));
    const Canvas canvases[2] = {{t, 1}, {t + 1, stacked ? 3 : 2}};
    return MakeSheet("prn", s, t, t + 1, true, canvases, 2);
}

bool CompetitionRun::MakePrintSheetGroup(int s, int d) {
    const int first = d & -4;
    StationReports().Debug("==== Making PRN %d.%d-%d...", s, first, d);
    svg_.GetHost().SetStatusText(Format("Generating PRN %d.%d-%d...", s, first, d));
    Canvas canvases[4];
    int count = 0;
    for (int t = first; t <= d && count < 4; ++t) {
        canvases[count++] = Canvas{t, t - first + 1};
    }
    // A group of one canvas carries the one-canvas name, as the conversion expects.
    return MakeSheet("prn", s, first, first == d ? -1 : d, true, canvases, count);
}

} // namespace kib
