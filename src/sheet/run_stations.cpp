#include "sheet/run_stations.h"

#include "config/cfg_table.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "map_input/configured_counts.h"
#include "map_input/kib_svg.h"

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

bool ReadStationMap(CKibSvg& svg, int station, CKibMap*& map) {
    map = nullptr;
    if (!svg.ReadCourses(station)) {
        return false;
    }
    const bool read = svg.ReadMap(station, 1);
    if (App().errorFlag) {
        return true;
    }
    if (!read || !svg.GetMap()) {
        // A map that ends early or holds an unreadable line gives no analysis:
        // nothing may be composed from it.
        LogError("[** ERROR **] Map of station %d could not be read completely!", station);
        return true;
    }
    map = svg.GetMap();
    CompareConfiguredCounts(svg, station);
    return true;
}

} // namespace kib
