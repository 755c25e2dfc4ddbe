// Station settings read by the map analyses, safe for any station number.
#pragma once

#include "config/kib_cfg.h"

namespace kib {

// Station n's item given the id of station 0; none outside stations 0 .. 20.
inline const CCfgItem* StationItemOrNone(const CKibCfg& cfg, int station, int station0Id) {
    return cfg.Station(station) ? &cfg.StationItem(station, station0Id) : nullptr;
}

// Leading-integer value of a station item; 0 when unset or outside the stations.
inline int StationInt(const CKibCfg& cfg, int station, int station0Id) {
    const CCfgItem* item = StationItemOrNone(cfg, station, station0Id);
    return item ? item->GetInt() : 0;
}

} // namespace kib
