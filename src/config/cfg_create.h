// A new configuration derived from an OCAD export directory, in two steps around
// the reading of the first station's map (which the application does): the event
// name, the file name templates and the station range from the exported file
// names; then the flags, tasks and station range set, the values pushed to the
// properties pane and the closing lines logged.
#pragma once

#include <string>
#include <vector>

namespace kib {

class CKibCfg;

// The stations whose maps the export directory holds.
struct ExportStations {
    int first = -1;
    int last = -1;
    std::vector<int> present; // in ascending order
};

// What the stations' maps tell about the event.
struct MapStatistics {
    int flags = 6;
    int tasks = 0;
};

// Logs "Checking directory ..." and derives the event name, the file name
// templates, the number format and the station range from the names of the
// directory's files (the directory ends with "/"). False (after error lines)
// when the directory holds no usable exports.
bool TakeExportNames(CKibCfg& cfg, const std::string& directory, ExportStations& stations);

// Sets the flags, the station range and, when guessed, the tasks.
void SetEventCounts(CKibCfg& cfg, const ExportStations& stations, const MapStatistics& map);

// Sets the flags, the station range, REDUCESIZE=Yes, SCALECHECK=Yes and, when guessed, the
// tasks; shows the range and pushes every value to the properties pane; logs how complete the
// result is.
void CompleteCreation(CKibCfg& cfg, const ExportStations& stations, const MapStatistics& map);

} // namespace kib
