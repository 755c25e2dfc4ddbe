// A point in map units (the numbers of the SVG export; y points down).
#pragma once

namespace kib {

struct MapPoint {
    float x = 0.0f;
    float y = 0.0f;
};

} // namespace kib
