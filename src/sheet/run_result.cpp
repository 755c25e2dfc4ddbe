#include "sheet/run_result.h"

#include "foundation/format.h"
#include "foundation/log_lines.h"

#include <algorithm>

namespace kib {

StationResult* RunResult::Station(int station) {
    for (StationResult& s : stations) {
        if (s.station == station) {
            return &s;
        }
    }
    return nullptr;
}

const StationResult* RunResult::Station(int station) const {
    return const_cast<RunResult*>(this)->Station(station);
}

bool RunResult::AnyStationFailed() const {
    return std::any_of(stations.begin(), stations.end(),
                       [](const StationResult& s) { return s.outcome == StationOutcome::Failed; });
}

bool RunResult::Failed() const {
    return !completed || std::all_of(stations.begin(), stations.end(), [](const StationResult& s) {
        return s.outcome == StationOutcome::Failed;
    });
}

Verdict RunResult::GetVerdict() const {
    if (!completed || AnyStationFailed()) {
        return Verdict::Errors;
    }
    Verdict verdict = logged;
    for (const StationResult& s : stations) {
        if (s.warnings > 0) {
            verdict = Worse(verdict, Verdict::Warnings);
        }
    }
    return verdict;
}

std::vector<const RunSheet*> RunResult::PrintSheets() const {
    std::vector<const RunSheet*> print;
    for (const RunSheet& sheet : sheets) {
        if (sheet.toPrint) {
            print.push_back(&sheet);
        }
    }
    return print;
}

std::vector<std::string> StationResult::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const Diagnostic& entry : entries) {
        lines.push_back(MessagesLine(entry));
    }
    return lines;
}

void TakeTally(StationResult& station, const DiagnosticsTally& tally) {
    station.errors += tally.Errors();
    station.warnings += tally.Warnings();
    station.entries.insert(station.entries.end(), tally.Entries().begin(), tally.Entries().end());
    if (tally.Errors() > 0) {
        station.outcome = StationOutcome::Failed;
    }
}

int RunResult::CountOf(StationOutcome outcome) const {
    return static_cast<int>(
        std::count_if(stations.begin(), stations.end(),
                      [outcome](const StationResult& s) { return s.outcome == outcome; }));
}

std::string StationCountsText(const RunResult& run) {
    const int made = run.CountOf(StationOutcome::Made);
    const int unchanged = run.CountOf(StationOutcome::Unchanged);
    const int failed = run.CountOf(StationOutcome::Failed);
    if (unchanged == 0) {
        return std::string();
    }
    std::string text =
        Format("%d station%s made, %d unchanged", made, made == 1 ? "" : "s", unchanged);
    if (failed > 0) {
        text += Format(", %d failed", failed);
    }
    return text;
}

void RunResult::Fail(int station, const DiagnosticsTally& tally) {
    StationResult* s = Station(station);
    if (s) {
        TakeTally(*s, tally);
        s->outcome = StationOutcome::Failed;
    }
}

void RunResult::Add(const DiagnosticsTally& stage, bool stageCompleted) {
    logged = Worse(logged, stage.GetVerdict());
    completed = completed && stageCompleted;
}

} // namespace kib
