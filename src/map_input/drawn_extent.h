// How far a map object can draw: the box of every point of its path (the
// control points of its curves included, since a cubic curve lies within the
// hull of its four points), a circle's radius and the reach of its stroke. A map
// trimmed to a segment may leave out only objects whose extent is known and far
// away; any line the reader does not fully understand makes the extent unknown.
#pragma once

#include "map_input/map_point.h"

#include <string_view>

namespace kib {

// The stroke attributes that a group or element line declares; what it does not
// declare comes from the enclosing groups.
struct StrokeStyle {
    bool understood = true; // false: an attribute that may move or widen the drawing
    int stroked = -1;       // -1 not declared, 0 stroke="none", 1 a stroke
    float width = -1.0f;    // stroke-width, -1 not declared
    float miterLimit = -1.0f;
};

// Reads the attributes of a "<g ...>" line from `from` (after the tag name) up to
// its closing ">": fills, strokes, opacity, clipping and the id are understood;
// anything else (a transform, a style or class that CSS may widen, markers,
// filters) or a line of another form is not.
StrokeStyle ReadStrokeStyle(std::string_view line, std::size_t from);
// The same for a "<circle .../>" line, whose cx and cy the reader has read and
// whose radius goes to `radius`; without a radius it is not understood.
StrokeStyle ReadCircleStyle(std::string_view line, std::size_t from, float& radius);

// Inner declarations override outer ones.
StrokeStyle Inherit(const StrokeStyle& outer, const StrokeStyle& inner);

// How far beyond its geometry a stroke of this style can paint: half its width
// (1 when undeclared) times the miter limit (4 when undeclared, at least the
// square cap's square root of 2); 0 without a stroke. Negative when the style
// is not understood.
float StrokeReach(const StrokeStyle& style);

// The geometry of one object as its lines are read.
class DrawnExtent {
  public:
    void Reset();
    void Add(MapPoint p);
    // Reads path data from `from` to the end of a line: absolute commands M, L,
    // C, Z with their coordinate pairs, an opening d=" and a closing "/>. Points
    // already read from the line by the reader come before `from`. Anything else
    // makes the extent unknown.
    void AddPathData(std::string_view line, std::size_t from);
    // A line of the object that is not path data and not understood.
    void MarkUnknown() { understood_ = false; }

    // The box min .. max widened by reach; false when the extent is unknown:
    // nothing read, a line not understood, or a negative reach.
    bool Finish(float reach, MapPoint& min, MapPoint& max) const;

  private:
    bool understood_ = true;
    bool any_ = false;
    MapPoint min_;
    MapPoint max_;
};

} // namespace kib
