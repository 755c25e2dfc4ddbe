// Point arithmetic of the path reader (single precision, as the export).
#pragma once

#include "map_input/map_point.h"

namespace kib {

MapPoint Midpoint(MapPoint a, MapPoint b);
// Intersection of the line through p0 perpendicular to p1 - p0 with the line
// through p3 perpendicular to p2 - p3: the centre of a circular arc drawn as the
// cubic curve p0 p1 p2 p3. Not finite when the end tangents are parallel.
MapPoint ArcCentre(MapPoint p0, MapPoint p1, MapPoint p2, MapPoint p3);
// Widens the bounding box min .. max by p.
void Widen(MapPoint& min, MapPoint& max, MapPoint p);
float Distance(MapPoint a, MapPoint b);

} // namespace kib
