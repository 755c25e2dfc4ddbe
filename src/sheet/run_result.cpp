#include "sheet/run_result.h"

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

void TakeTally(StationResult& station, const LogTally& tally) {
    station.errors += tally.Errors();
    station.warnings += tally.Warnings();
    station.lines.insert(station.lines.end(), tally.Lines().begin(), tally.Lines().end());
    const std::vector<std::string> problems = tally.Problems();
    station.problems.insert(station.problems.end(), problems.begin(), problems.end());
    if (tally.Errors() > 0) {
        station.outcome = StationOutcome::Failed;
    }
}

void RunResult::Fail(int station, const LogTally& tally) {
    StationResult* s = Station(station);
    if (s) {
        TakeTally(*s, tally);
        s->outcome = StationOutcome::Failed;
    }
}

void RunResult::Add(const LogTally& stage, bool stageCompleted) {
    logged = Worse(logged, stage.GetVerdict());
    completed = completed && stageCompleted;
}

} // namespace kib
