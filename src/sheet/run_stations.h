// The stations of a generation run: which ones the station mask of a Make
// command selects, and the reading of one station's courses file and map export
// before it is laid out and composed.
#pragma once

#include <cstdint>
#include <vector>

namespace kib {

class CKibCfg;
class CKibMap;
class CKibSvg;

// Whether a station mask selects station n: mask 0 selects every station,
// otherwise bit (n mod 32).
bool MaskSelects(std::uint32_t stationMask, int station);

// The stations from the first to the last of the configuration (within 0 .. 20)
// that the mask selects (mask 0: every one), in ascending order.
std::vector<int> SelectedStations(const CKibCfg& cfg, std::uint32_t stationMask);

// Reads the courses file and the map export of the station. False when the
// courses file could not be read. Otherwise map is the station's analysed map,
// or null when nothing may be composed from it: reading it raised the error
// flag, or it ended early or held an unreadable line (after an error line).
// A map read warns where the station's configured tasks or flags differ from it.
bool ReadStationMap(CKibSvg& svg, int station, CKibMap*& map);

} // namespace kib
