#include "sheet/north_arrow_shape.h"

namespace kib {

const PolygonTable& NorthArrowShape() {
    static const PolygonTable shape = {
        {{0, -45}, {20, -20}, {5, -20}, {5, 45}, {-5, 45}, {-5, -20}, {-20, -20}},
        {{-20, -10}, {-20, 30}, {-10, 30}, {-10, -10}},
        {{10, -10}, {10, 30}, {20, 30}, {20, -10}},
        {{-10, -10}, {20, 30}, {10, 30}, {-20, -10}},
    };
    return shape;
}

} // namespace kib
