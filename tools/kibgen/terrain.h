// The background map of an event: contours, vegetation, open land, water, paths,
// buildings and point features in ISOM colours, written as OCAD symbol groups.
#pragma once

#include "options.h"

#include <string>

namespace kib::gen {

// The symbol groups of the whole background (the same for every station's map).
std::string RenderTerrain(const Options& options);

} // namespace kib::gen
