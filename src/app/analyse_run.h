// The analysis of stations that a generation run does before it composes any
// sheet: the stop poll, the courses file and the map export of each station with
// every analysis and all their log lines, and one summary line per station.
#pragma once

#include <string>
#include <vector>

namespace kib {

class CKibDoc;
class Diagnostics;
class CKibMap;

// "Station 3: 6 tasks, 5 flags, rotation 60, circle parts 7 matched / 1 unmatched"
// and, when some task has no circle part, ", no circle for task 2, 4".
std::string AnalysisSummary(int station, const CKibMap& map);

// Analyses the stations in the given order and appends one summary line per
// station, each followed by one line per task with the answer key beside the
// map's answer ("  task 3: key B (column H), map B (flag B 0.0 m ...)"); a key
// that differs from the map, or a task without a key, is a warning. ErrorFlag
// is cleared before each station, as a generation run does; WarningFlag is
// left to the caller (a Make command clears it before its run). When no run is
// active the analysis sets the run flag for its duration, so that the Stop
// command (or Ctrl+C on the command line) ends it between stations. Returns 2
// when a station had an error or could not be read, or the run was stopped;
// else 1 when WarningFlag is set; else 0.
int AnalyseStations(CKibDoc& doc, const std::vector<int>& stations,
                    std::vector<std::string>& summary, Diagnostics& diagnostics);

} // namespace kib
