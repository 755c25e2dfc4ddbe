#include "sheet/product_info.h"

#include "foundation/format.h"

namespace kib {

std::string VersionText() {
    return Format("%d.%d.%d(%d)", kVersionMajor, kVersionMinor, kVersionRelease, kVersionBuild);
}

} // namespace kib
