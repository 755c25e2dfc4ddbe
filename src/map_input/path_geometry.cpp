#include "map_input/path_geometry.h"

#include <cmath>

namespace kib {

MapPoint Midpoint(MapPoint a, MapPoint b) {
    return {(a.x + b.x) / 2.0f, (a.y + b.y) / 2.0f};
}

MapPoint ArcCentre(MapPoint p0, MapPoint p1, MapPoint p2, MapPoint p3) {
    const float a = p3.x - p2.x;
    const float b = p2.y - p3.y;
    const float c = p1.y - p0.y;
    const float d = p0.x - p1.x;
    MapPoint q;
    q.x = -((p0.y - p3.y) * c * b - d * p0.x * b + a * p3.x * c) / (d * b - a * c);
    q.y = -((p0.x - p3.x) * d * a - c * p0.y * a + b * p3.y * d) / (a * c - d * b);
    return q;
}

void Widen(MapPoint& min, MapPoint& max, MapPoint p) {
    if (p.x < min.x) {
        min.x = p.x;
    }
    if (p.y < min.y) {
        min.y = p.y;
    }
    if (p.x > max.x) {
        max.x = p.x;
    }
    if (p.y > max.y) {
        max.y = p.y;
    }
}

float Distance(MapPoint a, MapPoint b) {
    const float dx = a.x - b.x;
    const float dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace kib
