#include "config/property_pane.h"

#include "foundation/app_state.h"

namespace kib {

PropertyPane& ThePropertyPane() {
    return InstalledOr<PropertyPane, NullPropertyPane>(App().propertyPane);
}

} // namespace kib
