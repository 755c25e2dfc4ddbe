#include "sheet/solution_run.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "foundation/checked_number.h"
#include "foundation/format.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "sheet/answer_key.h"
#include "sheet/product_info.h"
#include "sheet/run_stations.h"
#include "sheet/sheet_record.h"
#include "sheet/solution_composer.h"

#include <algorithm>

namespace kib {

SolutionRun::SolutionRun(CKibSvg& svg, Diagnostics& diagnostics, StopRequest& stop)
    : svg_(svg), diag_(diagnostics), stop_(stop) {}

SolutionRun::~SolutionRun() = default;

// The rows of a sheet are as high as the longest description block needs: the
// layout is computed for the chosen station with the most tasks (the last of them
// on a tie), so that no station's description runs into the next row.
int SolutionRun::LayoutStation(const std::vector<int>& stations) const {
    const CKibCfg& cfg = svg_.GetConfig();
    int chosen = stations.back();
    for (int n : stations) {
        if (cfg.GetTasks(n) > cfg.GetTasks(chosen)) {
            chosen = n;
        }
    }
    return chosen;
}

bool SolutionRun::OpenSheet(const std::vector<int>& stations, std::size_t i) {
    if (surface_->modeWeb) {
        return output_->OpenSheetOutput("sol", -1, stations[i], -1);
    }
    const std::size_t last = std::min(i + static_cast<std::size_t>(perSheet_), stations.size()) - 1;
    return output_->OpenSheetOutput("sol", -1, stations[i], stations[last]);
}

bool SolutionRun::MakeStation(int s, int position) {
    const CKibCfg& cfg = svg_.GetConfig();
    if (cfg.GetTasks(s) == 0) {
        station_->Warning("Task number undefined for station %d", s);
    }
    CKibMap* map = nullptr;
    if (!ReadStationMap(svg_, s, map) || !map) {
        return false;
    }
    // The sheet prints the answer key: where it differs from the map, or holds
    // more or fewer answers than the station has tasks, it is named.
    WarnAnswerDifferences(CheckAnswerKey(svg_.GetDocument(), *map, s), s, *station_, false);
    station_->Debug("==== Making SOL %d...", s);
    svg_.GetHost().SetStatusText(Format("Generating SOL %d...", s));
    // A station whose composition fails has failed: its sheet, which would show
    // part of its map, is held back.
    const int errorsBefore = station_->Errors();
    if (!ComposeSolutionMap(*map, *surface_, output_->Stream(), s, position)) {
        if (station_->Errors() == errorsBefore) {
            station_->Error("The solution map of station %d could not be drawn!", s);
        }
        return false;
    }
    return true;
}

// Finishes the sheet whose last map is at the position: the credit line and the
// logo below the last row, then the write-if-changed step.
bool SolutionRun::CloseSheet(int position) {
    if (!surface_->modeWeb) {
        CKibage& k = *surface_;
        TextCell credit;
        credit.x1 = credit.x2 = k.descCentreX;
        credit.y1 = credit.y2 =
            ((position + 1) / 2) * k.rowH + k.rowTop - (k.compressed ? 0 : k.arrowBox / 2);
        credit.colour = 0;
        credit.fontFamily = k.headingFont.family;
        credit.fontSize = 30;
        credit.align = 0;
        credit.text = std::string(kProductWebAddress) + ", ver. " + VersionText();
        k.TextLine(credit);
        // The logo is named like every configured path: relative to the configuration.
        const std::string& logo = svg_.GetConfig().Item(id::Solutions_LOGO).GetValue();
        k.PlaceLogo(output_->Directory(), logo.empty() ? logo : svg_.GetDocument().MakePath(logo),
                    position);
    }
    return output_->FinishSheetOutput(true);
}

std::vector<int> SolutionRun::SheetStations(const std::vector<int>& stations, std::size_t i) const {
    const std::size_t end = std::min(i + static_cast<std::size_t>(perSheet_), stations.size());
    return std::vector<int>(stations.begin() + static_cast<std::ptrdiff_t>(i),
                            stations.begin() + static_cast<std::ptrdiff_t>(end));
}

std::string SolutionRun::SheetName(const std::vector<int>& group) const {
    return surface_->modeWeb ? Format("sol-%d.svg", group.front())
                             : Format("sol-%d-%d.svg", group.front(), group.back());
}

// The logo a sheet shows, named like every configured path (relative to the
// configuration); empty when none is shown.
std::string SolutionRun::LogoPath() const {
    const std::string& logo = svg_.GetConfig().Item(id::Solutions_LOGO).GetValue();
    return surface_->modeWeb || logo.empty() ? std::string() : svg_.GetDocument().MakePath(logo);
}

// The copy of the logo beside the sheets, which the sheets name.
std::string SolutionRun::LogoCopyPath() const {
    const std::string logo = LogoPath();
    if (logo.empty()) {
        return logo;
    }
    const std::size_t slash = logo.find_last_of("/\\");
    return SheetDirectory(svg_.GetDocument()) +
           logo.substr(slash == std::string::npos ? 0 : slash + 1);
}

std::vector<std::string> SolutionRun::SheetInputPaths(const std::vector<int>& group) const {
    std::vector<std::string> paths;
    for (int s : group) {
        const std::vector<std::string> station = StationInputPaths(svg_.GetDocument(), s);
        paths.insert(paths.end(), station.begin(), station.end());
    }
    const std::string logo = LogoPath();
    if (!logo.empty()) {
        paths.push_back(logo);
    }
    return paths;
}

// The inputs with the logo's copy as it is now: the run copies it when it is
// missing or differs, so its facts are read anew each time.
std::vector<RecordedInput> SolutionRun::WithLogoCopy(std::vector<RecordedInput> inputs) const {
    const std::string copy = LogoCopyPath();
    if (!copy.empty()) {
        inputs.push_back(RecordedInput{copy, FileContentFacts(copy)});
    }
    return inputs;
}

// The stations of the sheet that failed.
std::vector<int> SolutionRun::FailedOn(const std::vector<int>& onSheet) const {
    std::vector<int> failed;
    for (int s : onSheet) {
        const StationResult* station = result_.Station(s);
        if (!station || station->outcome == StationOutcome::Failed) {
            failed.push_back(s);
        }
    }
    return failed;
}

// A sheet is all or nothing: one that would show a failed station with its
// place empty, or with part of its map, is not written, and its old file stays
// as it was. Every station of the sheet fails with the line that says which
// station held it back.
void SolutionRun::HoldBack(const std::vector<int>& onSheet, const std::vector<int>& failed,
                           SheetRecord& record) {
    const std::string name = output_->BaseName() + ".svg";
    const bool old = IsRegularFile(output_->FinalPath());
    output_->FinishSheetOutput(false);
    record.Drop("sheet " + name);
    std::string stations;
    for (std::size_t k = 0; k < failed.size(); ++k) {
        stations += (k == 0 ? "" : ", ") + std::to_string(failed[k]);
    }
    DiagnosticsTally tally(whole_);
    tally.Error("Solution sheet %s is not written: station%s %s failed%s", name.c_str(),
                failed.size() == 1 ? "" : "s", stations.c_str(),
                old ? "; its old file is kept." : ".");
    for (int s : onSheet) {
        result_.Fail(s, tally);
    }
}

void SolutionRun::KeepSheet(const std::vector<int>& group, const RecordEntry& entry) {
    whole_->Debug("==== Sheet %s: nothing it is made from changed, it is kept.",
                  SheetName(group).c_str());
    for (int s : group) {
        result_.stations.push_back(StationResult{});
        StationResult& station = result_.stations.back();
        station.station = s;
        DiagnosticsTally tally(whole_, s);
        ReplayLines(entry, s, false, tally);
        TakeTally(station, tally);
        station.outcome = StationOutcome::Unchanged;
    }
    KeepSheets(entry, SheetDirectory(svg_.GetDocument()), result_);
}

// The entry of the sheet just closed: the lines its stations logged; its sheet
// and inputs are added once it is in place.
RecordEntry SolutionRun::SheetEntry(const std::vector<int>& onSheet) const {
    RecordEntry entry;
    entry.key = "sheet " + output_->BaseName() + ".svg";
    for (int s : onSheet) {
        if (const StationResult* station = result_.Station(s)) {
            const std::vector<RecordedLine> lines = RecordedLinesOf(*station, 0);
            entry.lines.insert(entry.lines.end(), lines.begin(), lines.end());
        }
    }
    return entry;
}

// Every sheet whose stations all made it keeps (or gets) its entry, with its
// sheet as it is now in place; the others lose theirs.
void SolutionRun::RecordSheets(SheetRecord& record, std::vector<SheetMemo>& sheets) {
    const std::string directory = SheetDirectory(svg_.GetDocument());
    for (SheetMemo& memo : sheets) {
        bool made = true;
        for (int s : memo.group) {
            const StationResult* station = result_.Station(s);
            made = made && station && station->outcome != StationOutcome::Failed;
        }
        if (!made) {
            record.Drop(memo.entry.key);
            continue;
        }
        if (!memo.kept) {
            memo.entry.inputs = WithLogoCopy(std::move(memo.inputs));
            memo.entry.sheets = RecordedSheetsOf(result_, memo.group.front(), directory);
        }
        record.Put(std::move(memo.entry));
    }
    record.Save();
}

bool SolutionRun::GenerateSolutionSvg(std::uint32_t stationMask) {
    const RunResult& result = Run(StationSet::FromMask(stationMask));
    return result.completed && !result.AnyStationFailed();
}

void SolutionRun::Record(const std::vector<int>& onSheet, bool closed) {
    const bool kept = closed && !output_->FinalPath().empty();
    if (kept) {
        RunSheet sheet;
        sheet.kind = SheetKind::Solution;
        sheet.svg = output_->FinalPath();
        sheet.written = output_->Written();
        sheet.toPrint = true;
        for (int s : onSheet) {
            const StationResult* station = result_.Station(s);
            if (station && station->outcome != StationOutcome::Failed) {
                sheet.stations.push_back(s);
            }
        }
        if (sheet.stations.empty()) {
            return;
        }
        for (int s : sheet.stations) {
            result_.Station(s)->outcome =
                sheet.written ? StationOutcome::Made : StationOutcome::Unchanged;
        }
        result_.sheets.push_back(std::move(sheet));
    } else {
        for (int s : onSheet) {
            result_.Station(s)->outcome = StationOutcome::Failed;
        }
    }
}

void SolutionRun::Route(Diagnostics& diagnostics) {
    svg_.ReportInto(diagnostics);
    surface_->ReportInto(diagnostics);
    output_->ReportInto(diagnostics);
}

const RunResult& SolutionRun::Run(const StationSet& chosen) {
    result_ = RunResult{};
    DiagnosticsTally whole(&diag_);
    whole_ = &whole;
    Diagnostics& outer = svg_.Diag();
    Host& host = svg_.GetHost();
    host.SetWaitCursor(true);
    whole.Info("Generating Solutions (SVG)...");
    whole.Debug("==== Generating Solutions (SVG)...");
    host.SetStatusText("Generating Solutions (SVG)...");
    if (!EnsureOutputFolder(svg_.GetDocument(), whole)) {
        host.SetStatusText("Ready");
        host.SetWaitCursor(false);
        result_.logged = whole.GetVerdict();
        whole_ = nullptr;
        return result_;
    }
    CKibDoc& doc = svg_.GetDocument();
    surface_ = std::make_unique<CSvgImage>(svg_.GetConfig());
    output_ = std::make_unique<SheetOutput>(doc, surface_.get(), whole);
    Route(whole);
    output_->CollectInBatch();

    const std::vector<int> stations = chosen.Chosen(svg_.GetConfig());
    bool completed = !stations.empty();
    if (completed) {
        const int scale = ScaleOverZoom(doc.mapScale, doc.mapZoom);
        completed = surface_->ComputeLayout(false, true, scale, LayoutStation(stations), 0, 0);
    }
    if (completed) {
        // The layout fails when not even one row fits a sheet.
        perSheet_ = surface_->modeWeb ? 1 : 2 * surface_->rowsPerSheet;
    }
    const std::size_t count = completed && perSheet_ > 0 ? stations.size() : 0;
    std::string chosenText = "solutions";
    for (int s : stations) {
        chosenText += Format(" %d", s);
    }
    // The layout of every sheet follows the chosen stations: they are the run's context.
    SheetRecord record(doc, kSolutionsRecordName, RunContext(doc, chosenText), whole);
    record.Load();
    std::vector<SheetMemo> sheets;
    std::vector<RecordedInput> sheetInputs;
    std::vector<int> onSheet;
    RunProgress progress;
    progress.stations = static_cast<int>(count);
    progress.sheets = perSheet_ > 0 ? (progress.stations + perSheet_ - 1) / perSheet_ : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int s = stations[i];
        const int position = static_cast<int>(i % static_cast<std::size_t>(perSheet_)) + 1;
        if (stop_.Requested()) {
            completed = false;
            result_.stopped = true;
            break;
        }
        progress.station = static_cast<int>(i) + 1;
        progress.sheet = static_cast<int>(i) / perSheet_ + 1;
        host.ShowProgress(progress);
        if (position == 1) {
            const std::vector<int> group = SheetStations(stations, i);
            sheetInputs = record.Inputs(svg_.GetDocument(), SheetInputPaths(group));
            const std::string key = "sheet " + SheetName(group);
            const std::string name = SheetName(group);
            const RecordEntry* kept = record.Unchanged(
                key, 0, WithLogoCopy(sheetInputs), [&name, &group](const RecordEntry& entry) {
                    return EntryNamesSolutionSheet(entry, name, group);
                });
            if (kept) {
                KeepSheet(group, *kept);
                sheets.push_back(SheetMemo{group, {}, *kept, true});
                i += group.size() - 1;
                continue;
            }
        }
        result_.stations.push_back(StationResult{});
        result_.stations.back().station = s;
        if (position == 1) {
            onSheet.clear();
            if (!OpenSheet(stations, i)) {
                result_.Station(s)->outcome = StationOutcome::Failed;
                completed = false;
                break;
            }
        }
        onSheet.push_back(s);
        {
            DiagnosticsTally tally(&whole, s);
            station_ = &tally;
            Route(tally);
            const bool made = MakeStation(s, position);
            Route(whole);
            station_ = nullptr;
            StationResult& station = *result_.Station(s);
            TakeTally(station, tally);
            if (!made) {
                station.outcome = StationOutcome::Failed;
            }
        }
        const bool sheetEnds = position == perSheet_ || i + 1 == stations.size();
        if (sheetEnds && !FailedOn(onSheet).empty()) {
            HoldBack(onSheet, FailedOn(onSheet), record);
        } else if (sheetEnds) {
            DiagnosticsTally tally(&whole);
            Route(tally);
            const bool closed = CloseSheet(position);
            Route(whole);
            for (int t : onSheet) {
                if (tally.Errors() > 0) {
                    result_.Fail(t, tally);
                }
            }
            Record(onSheet, closed);
            if (closed) {
                sheets.push_back(SheetMemo{onSheet, sheetInputs, SheetEntry(onSheet), false});
            }
            if (!closed) {
                completed = false;
                break;
            }
        }
    }
    result_.completed = completed;
    PlaceSheets(*output_, result_, whole);
    RecordSheets(record, sheets);

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

} // namespace kib
