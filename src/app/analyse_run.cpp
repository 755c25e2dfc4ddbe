#include "app/analyse_run.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "map_input/configured_counts.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "map_input/task_pairing.h"
#include "sheet/answer_key.h"
#include "sheet/run_stations.h"

#include <string>

namespace kib {

namespace {

// "2, 4" for the tasks that no circle part is drawn for.
std::string TasksWithoutCircle(const CKibMap& map) {
    std::string list;
    for (int task = 1; task <= map.tasks; ++task) {
        bool drawn = false;
        for (int p = 0; p < map.partCount && !drawn; ++p) {
            drawn = map.PartHasTask(p, task);
        }
        if (!drawn) {
            list += (list.empty() ? "" : ", ") + std::to_string(task);
        }
    }
    return list;
}

} // namespace

std::string AnalysisSummary(int station, const CKibMap& map) {
    int matched = 0;
    for (int p = 0; p < map.partCount; ++p) {
        matched += map.assignments[static_cast<std::size_t>(p)] != ":" ? 1 : 0;
    }
    std::string line =
        Format("Station %d: %d tasks, %d flags, rotation ", station, map.tasks, map.flagBundles);
    line += map.rotation < 0 ? std::string("none") : std::to_string(map.rotation);
    line += Format(", circle parts %d matched / %d unmatched", matched, map.unmatchedParts);
    if (map.releasedParts > 0) {
        line += Format(" (%d released)", map.releasedParts);
    }
    const std::string missing = TasksWithoutCircle(map);
    if (!missing.empty()) {
        line += ", no circle for task " + missing;
    }
    return line;
}

namespace {

std::string Problems(bool errors, bool warnings) {
    if (errors && warnings) {
        return "errors and warnings found";
    }
    if (errors) {
        return "errors found";
    }
    return warnings ? "warnings found" : "no problem found";
}

// One station: the steps of a generation run before its layout, then the
// pairing of its tasks, the configured tasks and flags, the answer key and the
// event's zero tolerance against the map, one detail line per task. False when
// the station could not be read.
bool AnalyseStation(CKibSvg& svg, int station, std::string& line, std::vector<std::string>& details,
                    DiagnosticsTally& tally) {
    const CKibCfg& cfg = svg.GetConfig();
    const int tasks = cfg.Station(station) ? cfg.GetTasks(station) : 0;
    if (tasks == 0) {
        tally.Warning("Number of tasks undefined for station %d", station);
    }
    std::string failed;
    if (!ReadStationMap(svg, station, failed)) {
        line = Format("Station %d: %s", station, failed.c_str());
        return false;
    }
    line = AnalysisSummary(station, *svg.GetMap());
    const bool paired = CheckTaskPairing(svg, *svg.GetMap(), station);
    CompareConfiguredCounts(svg, station, paired);
    if (!paired) {
        // A task's circle may be another task's: the map's answers are not the
        // tasks', and the key is not judged by them.
        return true;
    }
    const StationAnswers answers = CheckAnswerKey(svg.GetDocument(), *svg.GetMap(), station);
    WarnAnswerDifferences(answers, station, tally);
    WarnZeroTolerance(answers, station, ZeroTolerance(cfg), tally);
    for (const TaskAnswer& a : answers.tasks) {
        details.push_back("  " + a.Line(answers.limitMetres));
    }
    return true;
}

} // namespace

bool ReadStationMap(CKibSvg& svg, int station, std::string& failed) {
    if (!svg.ReadCourses(station)) {
        failed = "courses file not read";
        return false;
    }
    // As in a generation run: a map that ends early is not analysed.
    if (!ReadMapExport(svg, station).read) {
        failed = "map not read";
        return false;
    }
    return true;
}

int AnalyseStations(CKibDoc& doc, const std::vector<int>& stations,
                    std::vector<std::string>& summary, Diagnostics& diagnostics) {
    if (!doc.GetConfig()) {
        summary.push_back("No configuration loaded");
        return 2;
    }
    // The stop poll answers "stop" unless a run is active.
    const bool startedRun = !RUNNING();
    if (startedRun) {
        SetRunning(true);
    }
    CKibSvg svg(doc);
    StopCommand stop;
    bool failed = false;
    bool anyWarnings = false;
    for (int station : stations) {
        if (stop.Requested()) {
            summary.push_back(Format("Station %d: not analysed, the run was stopped", station));
            failed = true;
            break;
        }
        DiagnosticsTally tally(&diagnostics, station);
        svg.ReportInto(tally);
        std::string line;
        std::vector<std::string> details;
        const bool read = AnalyseStation(svg, station, line, details, tally);
        svg.ReportInto(diagnostics);
        const bool errors = tally.Errors() > 0;
        const bool warnings = tally.Warnings() > 0;
        anyWarnings = anyWarnings || warnings;
        failed = failed || errors || !read;
        summary.push_back(read || errors || warnings ? line + ", " + Problems(errors, warnings)
                                                     : line);
        summary.insert(summary.end(), details.begin(), details.end());
    }
    if (startedRun && RUNNING()) {
        SetRunning(false);
    }
    SetStatusText("Ready");
    if (failed) {
        return 2;
    }
    return anyWarnings ? 1 : 0;
}

} // namespace kib
