// The tasks and flags configured for a station against what its map and course
// hold: the control description rows, the course controls, the control circles
// and the flags. A station configured with 4 tasks whose course has 6 would get
// 4 maps; one configured with 6 flags that has 5 would get an A-F board.
#pragma once

#include <string>

namespace kib {

class CKibSvg;

// What the map and course of the station just read hold.
struct MapCounts {
    int descriptionRows = 0; // the control rows of the description table (0: none found)
    int courseControls = 0;  // the course's controls but the finish (0: none read)
    int unmatchedParts = 0;  // control circle parts near no configured task
    int flags = 0;           // flags drawn (bundles of the flag symbols; 0: none)

    // The task count the map shows: the description rows, else the course controls.
    int Tasks() const { return descriptionRows > 0 ? descriptionRows : courseControls; }
};

MapCounts CountsOfMap(const CKibSvg& svg);

// Compares the station's configured TASKS and FLAGS (its own or the event's)
// with the map and course of the station just read (ReadCourses, ReadMap).
// Each difference is a warning that names the station, what is configured and
// what the map holds. True when nothing differs. The tasks are compared only
// when the map's own counts agree (tasksPaired, CheckTaskPairing): otherwise
// the map holds no one number of tasks to compare with, and the pairing's
// error says why.
bool CompareConfiguredCounts(const CKibSvg& svg, int station, bool tasksPaired = true);

} // namespace kib
