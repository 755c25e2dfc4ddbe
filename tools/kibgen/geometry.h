// Points and the curve helpers of the generator (map units, y pointing down).
#pragma once

#include <cmath>
#include <vector>

namespace kib::gen {

struct Pt {
    double x = 0.0;
    double y = 0.0;
};

inline Pt operator+(Pt a, Pt b) {
    return {a.x + b.x, a.y + b.y};
}
inline Pt operator-(Pt a, Pt b) {
    return {a.x - b.x, a.y - b.y};
}
inline Pt operator*(Pt a, double k) {
    return {a.x * k, a.y * k};
}
inline double Dist(Pt a, Pt b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

inline constexpr double kPi = 3.14159265358979323846;

inline double Rad(double degrees) {
    return degrees * kPi / 180.0;
}

// The unit vector of a bearing: degrees clockwise from the map's up direction.
inline Pt BearingVector(double bearing) {
    return {std::sin(Rad(bearing)), -std::cos(Rad(bearing))};
}

// Rounds to the 0.1 grid on which every position shared with the courses file lies,
// so that both files carry exactly the same numbers.
inline double Snap(double v) {
    return std::round(v * 10.0) / 10.0 + 0.0;
}
inline Pt Snap(Pt p) {
    return {Snap(p.x), Snap(p.y)};
}

// One cubic segment of a path: two control points and the end point.
struct Cubic {
    Pt c1;
    Pt c2;
    Pt end;
};

// A closed smooth curve through the points (Catmull-Rom turned into cubic segments);
// the curve starts and ends at points[0].
std::vector<Cubic> SmoothClosed(const std::vector<Pt>& points);
// An open smooth curve through the points, from the first to the last.
std::vector<Cubic> SmoothOpen(const std::vector<Pt>& points);
// A circular arc about centre from angle a to angle b (degrees, measured from the x
// axis toward y), split into segments of at most 90 degrees whose control points lie
// on the tangents, so that the arc's centre can be found from each segment.
std::vector<Cubic> Arc(Pt centre, double radius, double a, double b);
inline Pt ArcPoint(Pt centre, double radius, double angle) {
    return {centre.x + radius * std::cos(Rad(angle)), centre.y + radius * std::sin(Rad(angle))};
}

} // namespace kib::gen
