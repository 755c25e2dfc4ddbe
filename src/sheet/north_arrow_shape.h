// The north arrow: four closed polygons with integer vertices in a unit where
// the arrow spans 90 units from tip to tail; the tip points up (y grows down).
#pragma once

#include <vector>

namespace kib {

struct IntPoint {
    int x = 0;
    int y = 0;
};

using Polygon = std::vector<IntPoint>;
using PolygonTable = std::vector<Polygon>;

// Arrow, left bar of the letter N, right bar, diagonal; in drawing order.
const PolygonTable& NorthArrowShape();

} // namespace kib
