// The configured tasks and flags of a station against its map and course.
#include "map_input/configured_counts.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"

#include <algorithm>

namespace kib {

namespace {

// "TASKS=4 of the station" or "TASKS=4 of the event".
std::string Configured(const CKibCfg& cfg, int station, int stationId, int value) {
    const CCfgItem& own = cfg.StationItem(station, stationId);
    const char* where = own.IsSet() ? "of the station" : "of the event";
    return Format("%s=%d %s", own.GetKey().c_str(), value, where);
}

// "6 description rows, 6 course controls, 2 circle parts near no task".
std::string TaskEvidence(const MapCounts& counts) {
    std::string text;
    auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    if (counts.descriptionRows > 0) {
        add(Format("%d description rows", counts.descriptionRows));
    }
    if (counts.courseControls > 0) {
        add(Format("%d course controls", counts.courseControls));
    }
    if (counts.unmatchedParts > 0) {
        add(Format("%d circle parts near no task", counts.unmatchedParts));
    }
    return text;
}

bool CompareTasks(const CKibCfg& cfg, int station, const MapCounts& counts,
                  Diagnostics& diagnostics) {
    const int configured = cfg.GetTasks(station);
    const bool rowsDiffer = counts.descriptionRows > 0 && counts.descriptionRows != configured;
    const bool courseDiffers = counts.courseControls > 0 && counts.courseControls != configured;
    if (configured <= 0 || counts.Tasks() == 0 || (!rowsDiffer && !courseDiffers)) {
        return true;
    }
    diagnostics.Warning("Station %d: %s, but its map holds %d tasks (%s)", station,
                        Configured(cfg, station, id::Station_TASKS, configured).c_str(),
                        counts.Tasks(), TaskEvidence(counts).c_str());
    return false;
}

bool CompareFlags(const CKibCfg& cfg, int station, const MapCounts& counts,
                  Diagnostics& diagnostics) {
    int configured = cfg.GetFlags(station);
    if (configured <= 0) {
        configured = 6; // as the layout and the flag count check take it
    }
    if (counts.flags == 0 || counts.flags == configured) {
        return true;
    }
    diagnostics.Warning("Station %d: %s (A-%c), but its map holds %d flags", station,
                        Configured(cfg, station, id::Station_FLAGS, configured).c_str(),
                        static_cast<char>('A' + std::clamp(configured, 1, 26) - 1), counts.flags);
    return false;
}

} // namespace

MapCounts CountsOfMap(const CKibSvg& svg) {
    MapCounts counts;
    counts.courseControls = std::max(0, svg.controlCount - svg.finishCount);
    const CKibMap* map = svg.GetMap();
    if (!map) {
        return counts;
    }
    counts.descriptionRows = map->taskEstimate;
    counts.unmatchedParts = map->unmatchedParts;
    if (!(map->correctFlagId.IsZero() && map->falseFlagId.IsZero())) {
        counts.flags = map->Bundles(map->correctFlagId);
        if (!(map->falseFlagId == map->correctFlagId)) {
            counts.flags += map->Bundles(map->falseFlagId);
        }
    }
    return counts;
}

bool CompareConfiguredCounts(const CKibSvg& svg, int station) {
    const CKibCfg& cfg = svg.GetConfig();
    if (!cfg.Station(station)) {
        return true;
    }
    const MapCounts counts = CountsOfMap(svg);
    const bool tasks = CompareTasks(cfg, station, counts, svg.Diag());
    const bool flags = CompareFlags(cfg, station, counts, svg.Diag());
    return tasks && flags;
}

} // namespace kib
