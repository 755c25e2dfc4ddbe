#include "svg_out.h"

#include <cstdio>

namespace kib::gen {

std::string Num(double v) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.3f", v + 0.0);
    return buffer;
}

PathData& PathData::Move(Pt p) {
    commands_.push_back({'M', {p, {}, {}}});
    return *this;
}

PathData& PathData::Line(Pt p) {
    commands_.push_back({'L', {p, {}, {}}});
    return *this;
}

PathData& PathData::Curve(const Cubic& c) {
    commands_.push_back({'C', {c.c1, c.c2, c.end}});
    return *this;
}

PathData& PathData::Curves(const std::vector<Cubic>& cs) {
    for (const Cubic& c : cs) {
        Curve(c);
    }
    return *this;
}

PathData& PathData::Polyline(const std::vector<Pt>& points) {
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i == 0) {
            Move(points[i]);
        } else {
            Line(points[i]);
        }
    }
    return *this;
}

PathData& PathData::Close() {
    closed_ = true;
    return *this;
}

PathData& PathData::CloseSubpath() {
    commands_.push_back({'Z', {{}, {}, {}}});
    return *this;
}

PathData& PathData::ImplicitLines(bool on) {
    implicit_ = on;
    return *this;
}

void SvgOut::Raw(const std::string& line) {
    out_ += line;
    out_ += '\n';
}

void SvgOut::BeginDocument(double width, double height, double zoom,
                           const std::string& description) {
    const std::string w = Num(width * zoom);
    const std::string h = Num(height * zoom);
    Raw("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>");
    Raw("<svg version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w +
        "mm\" height=\"" + h + "mm\" viewBox=\"0 0 " + w + " " + h + "\">");
    Raw("<desc>" + description + "</desc>");
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "<g id=\"scaleTransform\" transform=\"scale(%.6f)\">",
                  zoom);
    Raw(buffer);
}

void SvgOut::EndDocument() {
    Raw("</g>");
    out_ += "</svg>\n";
}

void SvgOut::BeginSymbol(int major, int minor, const std::string& name) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "<g id=\"Sym_%d.%d %s\">", major, minor, name.c_str());
    Raw(buffer);
}

void SvgOut::BeginStyle(const std::string& attributes, const std::string& objectAttributes) {
    Raw("<g " + attributes + ">");
    objectAttributes_ = objectAttributes.empty() ? std::string() : " " + objectAttributes;
}

void SvgOut::EndGroup() {
    Raw("</g>");
}

void SvgOut::Circle(Pt centre, double radius) {
    Raw("<circle cx=\"" + Num(centre.x) + "\" cy=\"" + Num(centre.y) + "\" r=\"" + Num(radius) +
        "\"" + objectAttributes_ + "/>");
}

void SvgOut::Point(char command, Pt p) {
    if (command) {
        out_ += command;
    }
    out_ += Num(p.x);
    out_ += ',';
    out_ += Num(p.y);
}

void SvgOut::Object(const PathData& path) {
    if (path.commands_.empty()) {
        return;
    }
    Raw("<g" + objectAttributes_ + ">");
    Raw("<path");
    char previous = 0;
    bool first = true;
    for (const auto& c : path.commands_) {
        if (first) {
            out_ += "d=\"";
            Point('M', c.p[0]);
            first = false;
        } else if (c.type == 'Z') {
            out_ += 'Z';
        } else if (c.type == 'C') {
            Point('C', c.p[0]);
            out_ += ' ';
            Point(0, c.p[1]);
            out_ += ' ';
            Point(0, c.p[2]);
        } else {
            // A bare pair continues a run of straight segments in SVG path data.
            const bool bare = c.type == 'L' && path.implicit_ && previous == 'L';
            Point(bare ? 0 : c.type, c.p[0]);
        }
        out_ += '\n';
        previous = c.type;
    }
    Raw(path.closed_ ? "Z\"/>" : "\"/>");
    Raw("</g>");
}

} // namespace kib::gen
