// One drawn object of a map symbol, with its points and the lines it spans.
#pragma once

#include "map_input/map_line.h"
#include "map_input/map_point.h"
#include "map_input/symbol_type.h"

namespace kib {

struct SymbolInstance {
    int index = 0;  // 1 for the first instance of its set
    int points = 0; // points read (1 for a circle)
    int column = 0; // control description column, set by the description analysis
    SymbolType type = 0;
    int major = 0;
    int minor = 0;
    bool isCircle = false;
    bool straightSecond = false; // the second point came from a straight segment
    MapPoint firstPoint;
    MapPoint ref;    // reference point
    MapPoint centre; // centre estimate
    MapPoint min;    // bounding box of the points read
    MapPoint max;
    // Everything the object draws lies within drawnMin .. drawnMax (its points,
    // the control points of its curves, a circle's radius, the reach of its
    // stroke); drawnKnown is false when the reader could not tell. A map trimmed
    // to its segment never leaves out an object whose extent is unknown.
    MapPoint drawnMin;
    MapPoint drawnMax;
    bool drawnKnown = false;
    MapLine* firstLine = nullptr;
    MapLine* lastLine = nullptr;
    SymbolInstance* next = nullptr; // the following instance of the same set
};

} // namespace kib
