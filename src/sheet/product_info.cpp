#include "sheet/product_info.h"

#include "sheet/svg_text.h"

namespace kib {

std::string VersionText() {
    return FormatText("%d.%d.%d(%d)", kVersionMajor, kVersionMinor, kVersionRelease, kVersionBuild);
}

} // namespace kib
