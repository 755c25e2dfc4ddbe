#include "config/property_pane.h"

#include "foundation/app_state.h"

namespace kib {

PropertyPane& ThePropertyPane() {
    static NullPropertyPane none; // holds no state
    auto* pane = dynamic_cast<PropertyPane*>(App().propertyPane);
    return pane ? *pane : none;
}

} // namespace kib
