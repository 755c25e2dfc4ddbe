// Writes SVG in the line layout of OCAD's map export: one element or path command per
// line, symbol groups <g id="Sym_major.minor name"> holding style groups, which hold
// object groups (paths) or circles.
#pragma once

#include "geometry.h"

#include <string>
#include <vector>

namespace kib::gen {

// Path data of one object: "M" first, then "L", "C" and further "M" commands.
class PathData {
  public:
    PathData& Move(Pt p);
    PathData& Line(Pt p);
    PathData& Curve(const Cubic& c);
    PathData& Curves(const std::vector<Cubic>& cs);
    PathData& Polyline(const std::vector<Pt>& points); // Move to the first, Line to the rest
    PathData& Close();
    // Closes the current subpath in the middle of the path data ("Z").
    PathData& CloseSubpath();
    // Writes runs of straight segments after the first one as bare "x,y" lines.
    PathData& ImplicitLines(bool on = true);
    bool Empty() const { return commands_.empty(); }

  private:
    friend class SvgOut;
    struct Command {
        char type;
        Pt p[3];
    };
    std::vector<Command> commands_;
    bool closed_ = false;
    bool implicit_ = false;
};

class SvgOut {
  public:
    explicit SvgOut(std::string& out) : out_(out) {}

    void Raw(const std::string& line);
    // The header, the svg element with its viewBox and the scale group.
    void BeginDocument(double width, double height, double zoom, const std::string& description);
    void EndDocument(); // closes the scale group and the svg element

    void BeginSymbol(int major, int minor, const std::string& name);
    // A style group; objects and circles written in it carry objectAttributes, so that
    // an object copied alone (a description symbol, a control number) keeps its look.
    void BeginStyle(const std::string& attributes, const std::string& objectAttributes = {});
    void EndGroup();

    void Circle(Pt centre, double radius);
    void Object(const PathData& path);

  private:
    void Point(char command, Pt p);
    std::string& out_;
    std::string objectAttributes_;
};

// "%.3f"
std::string Num(double v);

} // namespace kib::gen
