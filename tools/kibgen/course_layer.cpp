#include "course_layer.h"

#include "glyphs.h"

#include <cmath>
#include <string>

namespace kib::gen {

namespace {

void Begin(SvgOut& out, const Look& look) {
    out.BeginStyle(look.group, look.object);
}

Look Stroke(const char* width) {
    return StrokeLook(width);
}
Look Fill() {
    return FillLook();
}
Look FillAndStroke(const char* width) {
    return FillAndStrokeLook(width);
}

void WriteStart(SvgOut& out, const Station& st) {
    const double r = 6.0 / std::sqrt(3.0); // side 6
    out.BeginSymbol(701, 0, "Start");
    Begin(out, Stroke("0.35"));
    PathData p;
    p.Polyline({st.start + BearingVector(st.view) * r, st.start + BearingVector(st.view + 120) * r,
                st.start + BearingVector(st.view + 240) * r})
        .Close();
    out.Object(p);
    out.EndGroup();
    out.EndGroup();
}

void WriteCircles(SvgOut& out, const Station& st) {
    out.BeginSymbol(703, 0, "Control circle");
    Begin(out, Stroke("0.35"));
    for (const Task& t : st.tasks) {
        const Pt c = st.places[static_cast<std::size_t>(t.place)].pos;
        if (!t.arcs) {
            out.Circle(c, kCircleRadius);
            continue;
        }
        // Two arcs with small gaps, as OCAD cuts a circle where it would cover a feature.
        for (double from : {t.arcStart + 12.0, t.arcStart + 192.0}) {
            PathData p;
            p.Move(ArcPoint(c, kCircleRadius, from))
                .Curves(Arc(c, kCircleRadius, from, from + 156.0));
            out.Object(p);
        }
    }
    out.EndGroup();
    out.EndGroup();
}

void WriteNumbers(SvgOut& out, const Station& st) {
    out.BeginSymbol(704, 0, "Control number");
    Begin(out, Stroke("0.3"));
    for (const Task& t : st.tasks) {
        out.Object(TextPath(std::to_string(t.number), t.numberPos, 3.0));
    }
    out.EndGroup();
    out.EndGroup();
}

PathData Square(Pt c, double h) {
    PathData p;
    p.Polyline({c + Pt{-h, -h}, c + Pt{h, -h}, c + Pt{h, h}, c + Pt{-h, h}}).Close();
    return p;
}

void WriteChair(SvgOut& out, const Station& st) {
    out.BeginSymbol(790, 1, "Chair");
    Begin(out, Fill());
    out.Circle(st.chair, 0.6);
    out.EndGroup();
    Begin(out, Stroke("0.25"));
    out.Object(Square(st.chair, 1.3));
    out.EndGroup();
    out.EndGroup();
}

// A flag as one object: a small triangle about its place (whose first three points
// have the place as their centre), then a pennant on a pole.
PathData OneObjectFlag(Pt p) {
    PathData d;
    d.Polyline({p + Pt{-0.55, 0.35}, p + Pt{0.55, 0.35}, p + Pt{0, -0.7}}).CloseSubpath();
    d.Move(p + Pt{0, -0.7}).Line(p + Pt{0, -2.6}).Line(p + Pt{1.6, -2.0}).Line(p + Pt{0, -1.4});
    return d;
}

// A flag: a dot at its place and a pennant on a pole (two objects per flag), or the
// same as one object.
void WriteFlags(SvgOut& out, const Options& o, const Station& st, bool correct) {
    bool any = false;
    for (const Flag& f : st.flags) {
        any = any || f.correct == correct;
    }
    if (!any) {
        return;
    }
    out.BeginSymbol(790, correct ? 2 : 3, correct ? "Correct flag" : "False flag");
    Begin(out, correct ? FillAndStroke("0.15") : Stroke("0.15"));
    for (const Flag& f : st.flags) {
        if (f.correct != correct) {
            continue;
        }
        if (o.flagObjects == 1) {
            out.Object(OneObjectFlag(f.pos));
            continue;
        }
        out.Circle(f.pos, 0.5);
        PathData p;
        p.Polyline({f.pos, f.pos + Pt{0, -2.6}, f.pos + Pt{1.6, -2.0}, f.pos + Pt{0, -1.4}});
        out.Object(p);
    }
    out.EndGroup();
    out.EndGroup();
}

void WriteZeros(SvgOut& out, const Station& st) {
    bool any = false;
    for (const Place& p : st.places) {
        any = any || p.flag < 0;
    }
    if (!any) {
        return;
    }
    out.BeginSymbol(790, 4, "Zero");
    Begin(out, Stroke("0.2"));
    for (const Place& p : st.places) {
        if (p.flag < 0) {
            out.Object(TextPath("@", p.pos, 1.8));
        }
    }
    out.EndGroup();
    out.EndGroup();
}

void WriteTags(SvgOut& out, const Station& st) {
    for (const Flag& f : st.flags) {
        const int minor = f.letter - 'A' + 1;
        out.BeginSymbol(791, minor, std::string("Flag tag ") + f.letter);
        Begin(out, Stroke("0.2"));
        out.Object(TextPath(std::string(1, f.letter), f.pos + BearingVector(f.bearing) * 5.0, 2.2));
        out.EndGroup();
        out.EndGroup();
    }
}

} // namespace

Look StrokeLook(const char* width) {
    const std::string colour = std::string("stroke=\"") + kPurple + "\" fill=\"none\"";
    return {colour, colour + " stroke-width=\"" + width + "\" stroke-linejoin=\"round\""};
}

Look FillLook(const char* colour) {
    const std::string look = std::string("fill=\"") + colour + "\" stroke=\"none\"";
    return {look, look};
}

Look FillAndStrokeLook(const char* width) {
    const std::string colour = std::string("stroke=\"") + kPurple + "\" fill=\"" + kPurple + "\"";
    return {colour, colour + " stroke-width=\"" + width + "\""};
}

void WriteCourseLayer(SvgOut& out, const Event& event, const Station& st) {
    WriteStart(out, st);
    WriteCircles(out, st);
    WriteNumbers(out, st);
    WriteChair(out, st);
    WriteFlags(out, event.options, st, true);
    WriteFlags(out, event.options, st, false);
    WriteZeros(out, st);
    WriteTags(out, st);
    WriteDescriptionTable(out, event, st);
}

} // namespace kib::gen
