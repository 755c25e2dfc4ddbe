#include "courses_xml.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace kib::gen {

namespace {

class XmlLines {
  public:
    void Add(int level, const std::string& text) {
        out_.append(static_cast<std::size_t>(level) * 2, ' ');
        out_ += text;
        out_ += '\n';
    }
    std::string& Text() { return out_; }

  private:
    std::string out_;
};

std::string Element(const std::string& tag, const std::string& text) {
    return "<" + tag + ">" + text + "</" + tag + ">";
}

std::string Position(const Event& ev, Pt p, bool unit) {
    const Pt c = CoursePosition(ev, p);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "<MapPosition x=\"%.1f\" y=\"%.1f\"%s/>", c.x, c.y,
                  unit ? " unit=\"mm\"" : "");
    return buffer;
}

// Leg length in metres.
std::string Leg(const Event& ev, Pt a, Pt b) {
    const double metres = Dist(a, b) * ev.options.scale / 1000.0 / ev.options.zoom;
    return std::to_string(static_cast<long>(std::lround(metres)));
}

void Definition(XmlLines& x, const Event& ev, const char* element, const char* codeTag,
                const std::string& code, Pt p, int iof) {
    x.Add(iof == 3 ? 2 : 1, std::string("<") + element + ">");
    x.Add(iof == 3 ? 3 : 2, Element(codeTag, code));
    x.Add(iof == 3 ? 3 : 2, Position(ev, p, iof == 3));
    x.Add(iof == 3 ? 2 : 1, std::string("</") + element + ">");
}

// The controls of the other competitions: codes O1, O2, ... on a grid over the map.
constexpr int kOtherControls = 200;
constexpr int kOtherCourseControls = 24;

std::string OtherCode(int k) {
    return "O" + std::to_string(k + 1);
}

Pt OtherPoint(const Event& ev, int k) {
    const double x = ev.options.width * (0.05 + 0.9 * (k % 20) / 19.0);
    const double y = ev.options.height * (0.05 + 0.9 * (k / 20) / 9.0);
    return Pt{x, y};
}

// Control j of other course c, chosen from the pool without randomness, so that
// the stations' files are the same with or without other courses.
int OtherControl(int c, int j) {
    return (c * 37 + j * 53) % kOtherControls;
}

void OtherDefinitions(XmlLines& x, const Event& ev, int iof) {
    if (ev.options.otherCourses == 0) {
        return;
    }
    for (int k = 0; k < kOtherControls; ++k) {
        Definition(x, ev, "Control", iof == 3 ? "Id" : "ControlCode", OtherCode(k),
                   OtherPoint(ev, k), iof);
    }
}

void OtherCourses(XmlLines& x, const Event& ev, int iof) {
    const int level = iof == 3 ? 2 : 1;
    for (int c = 0; c < ev.options.otherCourses; ++c) {
        x.Add(level, "<Course>");
        x.Add(level + 1,
              Element(iof == 3 ? "Name" : "CourseName", "Open " + std::to_string(c + 1)));
        const int inner = iof == 3 ? level + 1 : level + 2;
        if (iof == 2) {
            x.Add(level + 1, "<CourseVariation>");
            x.Add(inner, Element("CourseVariationId", "0"));
            x.Add(inner, Element("StartPointCode", ev.stations.front().startCode));
        } else {
            x.Add(inner, "<CourseControl type=\"Start\">");
            x.Add(inner + 1, Element("Control", ev.stations.front().startCode));
            x.Add(inner, "</CourseControl>");
        }
        for (int j = 0; j < kOtherCourseControls; ++j) {
            x.Add(inner, iof == 3 ? "<CourseControl type=\"Control\">" : "<CourseControl>");
            x.Add(inner + 1,
                  Element(iof == 3 ? "Control" : "ControlCode", OtherCode(OtherControl(c, j))));
            x.Add(inner + 1, Element("LegLength", "150"));
            x.Add(inner, "</CourseControl>");
        }
        if (iof == 2) {
            x.Add(inner, Element("FinishPointCode", ev.finishCode));
            x.Add(level + 1, "</CourseVariation>");
        }
        x.Add(level, "</Course>");
    }
}

Pt TaskPoint(const Station& st, const Task& t) {
    return st.places[static_cast<std::size_t>(t.place)].pos;
}

double CourseLength(const Event& ev, const Station& st) {
    double d = 0.0;
    Pt at = st.start;
    for (const Task& t : st.tasks) {
        d += Dist(at, TaskPoint(st, t));
        at = TaskPoint(st, t);
    }
    d += Dist(at, ev.finish);
    return d * ev.options.scale / 1000.0 / ev.options.zoom;
}

void Version3(XmlLines& x, const Event& ev) {
    const Options& o = ev.options;
    x.Add(0, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    x.Add(0, "<CourseData xmlns=\"http://www.orienteering.org/datastandard/3.0\" "
             "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" iofVersion=\"3.0\" "
             "createTime=\"2024-05-01T10:00:00\" creator=\"kibgen\">");
    x.Add(1, "<Event>");
    x.Add(2, Element("Name", o.eventName));
    x.Add(1, "</Event>");
    x.Add(1, "<RaceCourseData>");
    x.Add(2, "<Map>");
    x.Add(3, Element("Scale", std::to_string(o.scale)));
    char corner[128];
    std::snprintf(corner, sizeof corner, "<MapPositionTopLeft x=\"%.1f\" y=\"%.1f\" unit=\"mm\"/>",
                  -ev.origin.x, ev.origin.y);
    x.Add(3, corner);
    std::snprintf(corner, sizeof corner,
                  "<MapPositionBottomRight x=\"%.1f\" y=\"%.1f\" unit=\"mm\"/>",
                  o.width - ev.origin.x, ev.origin.y - o.height);
    x.Add(3, corner);
    x.Add(2, "</Map>");
    for (const Station& st : ev.stations) {
        Definition(x, ev, "Control", "Id", st.startCode, st.start, 3);
    }
    for (const Station& st : ev.stations) {
        for (const Task& t : st.tasks) {
            Definition(x, ev, "Control", "Id", t.code, TaskPoint(st, t), 3);
        }
    }
    OtherDefinitions(x, ev, 3);
    Definition(x, ev, "Control", "Id", ev.finishCode, ev.finish, 3);
    for (const Station& st : ev.stations) {
        x.Add(2, "<Course>");
        x.Add(3, Element("Name", st.course));
        x.Add(3, Element("Length", std::to_string(std::lround(CourseLength(ev, st)))));
        x.Add(3, Element("Climb", "0"));
        x.Add(3, "<CourseControl type=\"Start\">");
        x.Add(4, Element("Control", st.startCode));
        x.Add(3, "</CourseControl>");
        Pt at = st.start;
        for (const Task& t : st.tasks) {
            x.Add(3, "<CourseControl type=\"Control\">");
            x.Add(4, Element("Control", t.code));
            x.Add(4, Element("LegLength", Leg(ev, at, TaskPoint(st, t))));
            x.Add(3, "</CourseControl>");
            at = TaskPoint(st, t);
        }
        x.Add(3, "<CourseControl type=\"Finish\">");
        x.Add(4, Element("Control", ev.finishCode));
        x.Add(4, Element("LegLength", Leg(ev, at, ev.finish)));
        x.Add(3, "</CourseControl>");
        x.Add(2, "</Course>");
    }
    OtherCourses(x, ev, 3);
    x.Add(1, "</RaceCourseData>");
    x.Add(0, "</CourseData>");
}

void Version2(XmlLines& x, const Event& ev) {
    const Options& o = ev.options;
    x.Add(0, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
    x.Add(0, "<!DOCTYPE CourseData SYSTEM \"IOFdata.dtd\">");
    x.Add(0, "<CourseData>");
    x.Add(1, "<IOFVersion version=\"2.0.3\"/>");
    x.Add(1, "<ModifyDate>");
    x.Add(2, Element("Date", "2024-05-01"));
    x.Add(2, Element("Clock", "10:00:00"));
    x.Add(1, "</ModifyDate>");
    x.Add(1, "<Map>");
    x.Add(2, Element("Scale", std::to_string(o.scale)));
    x.Add(2, "<MapPosition x=\"0.0\" y=\"0.0\"/>");
    x.Add(1, "</Map>");
    for (const Station& st : ev.stations) {
        Definition(x, ev, "StartPoint", "StartPointCode", st.startCode, st.start, 2);
    }
    for (const Station& st : ev.stations) {
        for (const Task& t : st.tasks) {
            Definition(x, ev, "Control", "ControlCode", t.code, TaskPoint(st, t), 2);
        }
    }
    OtherDefinitions(x, ev, 2);
    Definition(x, ev, "FinishPoint", "FinishPointCode", ev.finishCode, ev.finish, 2);
    int id = 0;
    for (const Station& st : ev.stations) {
        x.Add(1, "<Course>");
        x.Add(2, Element("CourseName", st.course));
        x.Add(2, Element("CourseId", std::to_string(++id)));
        x.Add(2, "<CourseVariation>");
        x.Add(3, Element("CourseVariationId", "0"));
        x.Add(3, Element("CourseLength", std::to_string(std::lround(CourseLength(ev, st)))));
        x.Add(3, Element("StartPointCode", st.startCode));
        Pt at = st.start;
        int sequence = 0;
        for (const Task& t : st.tasks) {
            x.Add(3, "<CourseControl>");
            x.Add(4, Element("Sequence", std::to_string(++sequence)));
            x.Add(4, Element("ControlCode", t.code));
            x.Add(4, Element("LegLength", Leg(ev, at, TaskPoint(st, t))));
            x.Add(3, "</CourseControl>");
            at = TaskPoint(st, t);
        }
        x.Add(3, Element("FinishPointCode", ev.finishCode));
        x.Add(3, Element("DistanceToFinish", Leg(ev, at, ev.finish)));
        x.Add(2, "</CourseVariation>");
        x.Add(1, "</Course>");
    }
    OtherCourses(x, ev, 2);
    x.Add(0, "</CourseData>");
}

} // namespace

Pt CoursePosition(const Event& ev, Pt p) {
    return Snap(Pt{p.x - ev.origin.x, ev.origin.y - p.y});
}

std::string RenderCoursesXml(const Event& ev) {
    XmlLines x;
    if (ev.options.iofVersion == 2) {
        Version2(x, ev);
    } else {
        Version3(x, ev);
    }
    return std::move(x.Text());
}

} // namespace kib::gen
