// The stations of a generation run: the reading of one station's courses file
// and map export before it is laid out and composed.
#pragma once

namespace kib {

class CKibMap;
class CKibSvg;

// Reads the courses file and the map export of the station. False when the
// courses file could not be read. Otherwise map is the station's analysed map,
// or null when nothing may be composed from it: reading it logged an error, it
// ended early or held an unreadable line (after an error line), or its tasks do
// not pair with its course controls, circles and description rows (after the
// error line of CheckTaskPairing).
// A map read warns where the station's configured tasks or flags differ from it.
bool ReadStationMap(CKibSvg& svg, int station, CKibMap*& map);

} // namespace kib
