#include "geometry.h"

#include <cstddef>

namespace kib::gen {

namespace {

Cubic Segment(Pt before, Pt from, Pt to, Pt after) {
    return {from + (to - before) * (1.0 / 6.0), to - (after - from) * (1.0 / 6.0), to};
}

} // namespace

std::vector<Cubic> SmoothClosed(const std::vector<Pt>& points) {
    std::vector<Cubic> out;
    const std::size_t n = points.size();
    if (n < 3) {
        return out;
    }
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(
            Segment(points[(i + n - 1) % n], points[i], points[(i + 1) % n], points[(i + 2) % n]));
    }
    return out;
}

std::vector<Cubic> SmoothOpen(const std::vector<Pt>& points) {
    std::vector<Cubic> out;
    const std::size_t n = points.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const Pt before = i == 0 ? points[0] : points[i - 1];
        const Pt after = i + 2 < n ? points[i + 2] : points[n - 1];
        out.push_back(Segment(before, points[i], points[i + 1], after));
    }
    return out;
}

std::vector<Cubic> Arc(Pt centre, double radius, double a, double b) {
    std::vector<Cubic> out;
    const int pieces = static_cast<int>(std::ceil(std::fabs(b - a) / 90.0 - 1e-9));
    if (pieces <= 0) {
        return out;
    }
    const double step = (b - a) / pieces;
    const double k = 4.0 / 3.0 * std::tan(Rad(step) / 4.0) * radius;
    for (int i = 0; i < pieces; ++i) {
        const double s = a + step * i;
        const double e = s + step;
        const Pt p0 = ArcPoint(centre, radius, s);
        const Pt p3 = ArcPoint(centre, radius, e);
        const Pt t0{-std::sin(Rad(s)), std::cos(Rad(s))};
        const Pt t3{-std::sin(Rad(e)), std::cos(Rad(e))};
        out.push_back({p0 + t0 * k, p3 - t3 * k, p3});
    }
    return out;
}

} // namespace kib::gen
