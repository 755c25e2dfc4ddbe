#include "sheet/run_stations.h"

#include "config/cfg_table.h"
#include "config/kib_cfg.h"

#include <algorithm>

namespace kib {

bool MaskSelects(std::uint32_t stationMask, int station) {
    if (stationMask == 0) {
        return true;
    }
    const int bit = ((station % 32) + 32) % 32;
    return (stationMask >> bit) & 1u;
}

std::vector<int> SelectedStations(const CKibCfg& cfg, std::uint32_t stationMask) {
    std::vector<int> stations;
    const int first = std::max(0, cfg.GetMinStation());
    const int last = std::min(kMaxStation, cfg.GetMaxStation());
    for (int n = first; n <= last; ++n) {
        if (MaskSelects(stationMask, n)) {
            stations.push_back(n);
        }
    }
    return stations;
}

} // namespace kib
