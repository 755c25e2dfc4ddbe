// The stations of a generation run: which ones the station mask of a Make
// command selects, and the reading of one station's courses file and map export
// before it is laid out and composed.
#pragma once

#include <cstdint>
#include <vector>

namespace kib {

class CKibCfg;

// Whether a station mask selects station n: mask 0 selects every station,
// otherwise bit (n mod 32).
bool MaskSelects(std::uint32_t stationMask, int station);

// The stations from the first to the last of the configuration (within 0 .. 20)
// that the mask selects (mask 0: every one), in ascending order.
std::vector<int> SelectedStations(const CKibCfg& cfg, std::uint32_t stationMask);

} // namespace kib
