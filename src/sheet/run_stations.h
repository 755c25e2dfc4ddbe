// The stations of a generation run: the reading of one station's courses file
// and map export before it is laid out and composed.
#pragma once

namespace kib {

class CKibMap;
class CKibSvg;

// What reading a station's map export gave: whether a map came of it, and how
// many errors its read reported.
struct MapExportRead {
    bool read = false;
    int errors = 0;
};

// Reads the station's map export (its courses file read before), counting the
// errors the read reports; a map that ends early or holds an unreadable line,
// with no error of its own, is the error "Map of station %d could not be read
// completely!". Every run and the analyses read a station's map this way.
MapExportRead ReadMapExport(CKibSvg& svg, int station);

// Reads the courses file and the map export of the station. False when the
// courses file could not be read. Otherwise map is the station's analysed map,
// or null when nothing may be composed from it: reading it logged an error, it
// ended early or held an unreadable line (after an error line), or its tasks do
// not pair with its course controls, circles and description rows (after the
// error line of CheckTaskPairing).
// A map read warns where the station's configured tasks or flags differ from it.
bool ReadStationMap(CKibSvg& svg, int station, CKibMap*& map);

} // namespace kib
