// The document's layout check: the layout of station 0 computed on a surface
// that draws nothing.
#include "sheet/check_layout.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/log.h"
#include "sheet/kibage.h"

#include <memory>

namespace kib {

bool CheckLayout(CKibDoc& doc, bool bothModes) {
    CKibCfg* cfg = doc.GetConfig();
    if (cfg == nullptr) {
        return false;
    }
    auto surface = std::make_unique<CKibage>(*cfg);
    bool ok = false;
    if (bothModes) {
        ok = surface->ComputeLayout(false, false, 0, 0, 0, 0) &&
             surface->ComputeLayout(false, true, 0, 0, 0, 0);
    } else {
        ok = surface->ComputeLayout(false, doc.GetMapsMode(), 0, 0, 0, 0);
    }
    SetDebugSwitchFromValue(cfg->Item(id::System_DEBUGGING).GetValue());
    return ok;
}

} // namespace kib
