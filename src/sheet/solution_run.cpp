#include "sheet/solution_run.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "foundation/app_state.h"
#include "foundation/checked_number.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "sheet/product_info.h"
#include "sheet/run_stations.h"
#include "sheet/solution_composer.h"

#include <algorithm>

namespace kib {

SolutionRun::SolutionRun(CKibSvg& svg) : svg_(svg) {}

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
        LogWarning("[= WARNING =] Task number undefined for station %d", s);
    }
    CKibMap* map = nullptr;
    if (!ReadStationMap(svg_, s, map) || !map) {
        return false;
    }
    LogDebug("==== Making SOL %d...", s);
    SetStatusText(Format("Generating SOL %d...", s));
    // A station whose composition fails leaves its place on the sheet empty, and
    // it failed: the sheet does not show it.
    LogTally tally;
    if (!ComposeSolutionMap(*map, *surface_, output_->Stream(), s, position)) {
        if (tally.Errors() == 0) {
            LogError("[** ERROR **] The solution map of station %d could not be drawn!", s);
        }
        return false;
    }
    return true;
}

// Finishes the sheet whose last map is at the position: the credit line and the
// logo below the last row, then the write-if-changed step. A sheet on which no
// station could be drawn is dropped, leaving any earlier file of that name alone.
bool SolutionRun::CloseSheet(int position) {
    std::ostream& out = output_->Stream();
    if (out.tellp() <= 0) {
        output_->FinishSheetOutput(false);
        return true;
    }
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

const RunResult& SolutionRun::Run(const StationSet& chosen) {
    result_ = RunResult{};
    LogTally whole;
    Host& host = App().GetHost();
    host.SetWaitCursor(true);
    LogInfo("Generating Solutions (SVG)...");
    LogDebug("==== Generating Solutions (SVG)...");
    SetStatusText("Generating Solutions (SVG)...");
    if (!EnsureOutputFolder(svg_.GetDocument())) {
        SetStatusText("Ready");
        host.SetWaitCursor(false);
        result_.logged = whole.GetVerdict();
        return result_;
    }
    CKibDoc& doc = svg_.GetDocument();
    surface_ = std::make_unique<CSvgImage>(svg_.GetConfig());
    output_ = std::make_unique<SheetOutput>(doc, surface_.get());

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
    std::vector<int> onSheet;
    RunProgress progress;
    progress.stations = static_cast<int>(count);
    progress.sheets = perSheet_ > 0 ? (progress.stations + perSheet_ - 1) / perSheet_ : 0;
    for (std::size_t i = 0; i < count; ++i) {
        const int s = stations[i];
        const int position = static_cast<int>(i % static_cast<std::size_t>(perSheet_)) + 1;
        if (CheckBreak()) {
            completed = false;
            break;
        }
        progress.station = static_cast<int>(i) + 1;
        progress.sheet = static_cast<int>(i) / perSheet_ + 1;
        ReportProgress(progress);
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
            LogTally tally;
            const bool made = MakeStation(s, position);
            StationResult& station = *result_.Station(s);
            TakeTally(station, tally);
            if (!made) {
                station.outcome = StationOutcome::Failed;
            }
        }
        const bool sheetEnds = position == perSheet_ || i + 1 == stations.size();
        if (sheetEnds) {
            LogTally tally;
            const bool closed = CloseSheet(position);
            for (int t : onSheet) {
                if (tally.Errors() > 0) {
                    result_.Fail(t, tally);
                }
            }
            Record(onSheet, closed);
            if (!closed) {
                completed = false;
                break;
            }
        }
    }
    result_.completed = completed;

    EndProgress();
    SetStatusText("Ready");
    output_.reset();
    surface_.reset();
    host.SetWaitCursor(false);
    result_.logged = whole.GetVerdict();
    return result_;
}

} // namespace kib
