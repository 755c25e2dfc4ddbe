#include "sheet/product_info.h"

#include "foundation/format.h"

#if !defined(KIB_VERSION_MAJOR) || !defined(KIB_VERSION_MINOR) || !defined(KIB_VERSION_PATCH) ||   \
    !defined(KIB_VERSION_TWEAK)
#error "The version comes from the project's build files (KIB_VERSION_*)"
#endif

namespace kib {

std::string VersionText() {
    return Format("%d.%d.%d(%d)", KIB_VERSION_MAJOR, KIB_VERSION_MINOR, KIB_VERSION_PATCH,
                  KIB_VERSION_TWEAK);
}

std::string ProgramVersionLine() {
    return "Kib " + VersionText();
}

} // namespace kib
