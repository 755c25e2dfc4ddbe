// What the desktop application's map view steps through and says: the
// competition maps that the document's last Make Vector Maps (or Make Raster
// Maps) run of this program run wrote or kept, in station and task order, with
// a note when a sheet is gone or older than what it was made from. Before such
// a run the view shows no sheet and asks for one: a sheet in the output folder
// may stem from another configuration or an earlier state of this one.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kib {

class CKibDoc;
struct RunResult;

// One canvas of the run: task 0 is the station's cover.
struct MapViewItem {
    int station = 0;
    int task = 0;
    std::string sheet; // the competition map "map-S.T.svg" the run wrote or kept
};

// Keeps the run's result as the document's last competition maps run.
void KeepMapsRun(CKibDoc& doc, const RunResult& run);

// The competition maps of the document's last run, in station and task order;
// none before the first run.
std::vector<MapViewItem> MapViewSequence(const CKibDoc& doc);

// What the view says when the sequence is empty: no run yet, or a run that
// made no competition map.
std::string MapViewEmptyNote(const CKibDoc& doc);

// Empty when the sheet is up to date; else what is wrong with it, in words:
// gone, or older than the configuration, the station's map export or the
// courses file.
std::string MapSheetNote(const CKibDoc& doc, const MapViewItem& item);

} // namespace kib
