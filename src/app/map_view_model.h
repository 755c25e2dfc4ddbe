// What the desktop application's map view steps through and says: the
// competition map of every station and task as Make Vector Maps wrote it, in
// station and task order, with a note when a sheet is missing or older than
// what it was made from.
#pragma once

#include <string>
#include <vector>

namespace kib {

class CKibDoc;

// One canvas of the event: task 0 is the station's cover.
struct MapViewItem {
    int station = 0;
    int task = 0;
};

// Every canvas of the stations MINSTAT .. MAXSTAT, in station and task order.
std::vector<MapViewItem> MapViewSequence(const CKibDoc& doc);

// The competition map of a canvas: "map-S.T.svg" in the output folder.
std::string MapSheetPath(const CKibDoc& doc, const MapViewItem& item);

// Empty when the sheet is up to date; else what is wrong with it, in words:
// missing, or older than the configuration, the station's map export or the
// courses file.
std::string MapSheetNote(const CKibDoc& doc, const MapViewItem& item);

} // namespace kib
