// The map rotation that turns the middle of a viewing sector to the top.
#pragma once

namespace kib {

// a and b are the bearings (whole degrees, -180 .. 180) of the sector's edges;
// the result is 0 .. 359.
int SectorRotation(int a, int b);

} // namespace kib
