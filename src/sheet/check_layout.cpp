// The document's layout check: the layout of every station the runs make,
// computed on a surface that draws nothing, before anything is written.
#include "sheet/check_layout.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "sheet/kibage.h"

#include <memory>
#include <vector>

namespace kib {

namespace {

// Lays out each station with its own tasks and flags; stops at the first one
// that does not fit, whose errors follow a line naming it. Station 0 alone (the
// event's defaults) is checked without that line when no range is configured.
bool CheckStations(CKibage& surface, bool solution, const std::vector<int>& stations) {
    if (stations.empty()) {
        surface.errorLead.clear();
        return surface.ComputeLayout(false, solution, 0, 0, 0, 0);
    }
    for (int n : stations) {
        surface.errorLead = Format("Layout of station %d does not fit:", n);
        if (!surface.ComputeLayout(false, solution, 0, n, 0, 0)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool CheckLayout(CKibDoc& doc, bool bothModes, LayoutMemo* memo) {
    CKibCfg* cfg = doc.GetConfig();
    if (cfg == nullptr) {
        return false;
    }
    auto surface = std::make_unique<CKibage>(*cfg);
    surface->UseLayoutMemo(memo);
    const std::vector<int> stations = StationSet::Every().Chosen(*cfg);
    bool ok = false;
    if (bothModes) {
        ok = CheckStations(*surface, false, stations) && CheckStations(*surface, true, stations);
    } else {
        ok = CheckStations(*surface, doc.GetMapsMode(), stations);
    }
    SetDebugSwitchFromValue(cfg->Item(id::System_DEBUGGING).GetValue());
    return ok;
}

} // namespace kib
