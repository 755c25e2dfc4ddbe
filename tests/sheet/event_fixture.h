// A small station of an event in OCAD's export layout, for the composer and
// generation tests: a map with a green area, the start, one control circle per
// task, chair, flags and a control description table, and the courses file
// whose controls match the circles.
#pragma once

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace kib::test {

struct FixtureOptions {
    int tasks = 3;
    bool titleRow = true;               // the description table begins with a title row
    bool columnB = true;                // every task row has its column B symbol (17.5)
    bool doctype = false;               // the prologue declares the line style entity stR
    bool nearDescriptionSymbol = false; // a 105.1 description-layer symbol beside task 1
};

// Geometry of the fixture, in map units (zoom 1).
inline constexpr float kStartX = 50.0f, kStartY = 50.0f;
inline float CircleX(int task) {
    return kStartX + 10.0f * static_cast<float>(task);
}
inline constexpr float kTableLeft = 150.0f, kTableTop = 100.0f;
inline constexpr float kTableW = 40.0f, kRowH = 5.0f;

class FixtureText {
  public:
    FixtureText& Line(const std::string& text) {
        text_ += text + "\n";
        return *this;
    }
    FixtureText& F(const char* format, double a, double b) {
        char line[160];
        std::snprintf(line, sizeof line, format, a, b);
        return Line(line);
    }
    FixtureText& Symbol(const char* id, const char* style) {
        return Line(std::string("<g id=\"Sym_") + id + "\">").Line(style);
    }
    FixtureText& End() { return Line("</g>").Line("</g>"); }
    FixtureText& Circle(float x, float y) {
        return F("<circle cx=\"%.3f\" cy=\"%.3f\" r=\"2.500\"/>", x, y);
    }
    FixtureText& Segment(float x0, float y0, float x1, float y1) {
        Line("<g>").Line("<path");
        F("d=\"M%.3f,%.3f", x0, y0);
        F("L%.3f,%.3f\"/>", x1, y1);
        return Line("</g>");
    }
    // A short mark at the middle of a description cell of a row.
    FixtureText& Mark(int column, int row) {
        const float x = kTableLeft + 5.0f * static_cast<float>(column) - 2.5f;
        const float y = kTableTop + kRowH * static_cast<float>(row - 1) + 2.5f;
        return Segment(x - 1.0f, y, x + 1.0f, y);
    }
    const std::string& Text() const { return text_; }

  private:
    std::string text_;
};

// First table row that holds task 1.
inline int FirstTaskRow(const FixtureOptions& o) {
    return o.titleRow ? 2 : 1;
}

inline std::string FixtureMap(const FixtureOptions& o) {
    FixtureText m;
    m.Line("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>");
    m.Line("<!-- OCAD export -->");
    if (o.doctype) {
        m.Line("<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
               "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\" [");
        m.Line("<!ENTITY stR \"stroke-linecap:round;stroke-linejoin:round\">");
        m.Line("]>");
    }
    m.Line("<svg version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\" width=\"200mm\" "
           "height=\"150mm\" viewBox=\"0 0 200 150\">");
    m.Line("<g id=\"scaleTransform\" transform=\"scale(1.000000)\">");
    // Map symbols: a green area around the controls and a small far one.
    m.Symbol("401.0 Vegetation", "<g fill=\"rgb(61,255,23)\" stroke=\"none\">");
    m.Segment(40.0f, 45.0f, 100.0f, 55.0f);
    m.Segment(5.0f, 140.0f, 7.0f, 142.0f);
    m.End();
    // Course setting.
    m.Symbol("701.0 Start", "<g fill=\"none\" stroke=\"rgb(166,38,255)\" stroke-width=\"0.35\">");
    m.Circle(kStartX, kStartY);
    m.End();
    m.Symbol("703.0 Control circle",
             "<g fill=\"none\" stroke=\"rgb(166,38,255)\" stroke-width=\"0.35\">");
    for (int t = 1; t <= o.tasks; ++t) {
        m.Circle(CircleX(t), kStartY);
    }
    m.End();
    if (o.nearDescriptionSymbol) {
        m.Symbol("105.1 Text", "<g fill=\"rgb(0,0,0)\" stroke=\"none\">");
        m.Segment(CircleX(1) + 1.0f, kStartY, CircleX(1) + 2.0f, kStartY);
        m.End();
    }
    m.Symbol("790.1 Chair", "<g fill=\"none\" stroke=\"rgb(0,0,0)\" stroke-width=\"0.5\">");
    m.Segment(kStartX, 70.0f, kStartX, 72.0f);
    m.End();
    m.Symbol("790.2 Correct flag", "<g fill=\"rgb(255,0,0)\" stroke=\"none\">");
    m.Circle(60.0f, 30.0f);
    m.End();
    m.Symbol("790.3 False flag", "<g fill=\"rgb(0,0,255)\" stroke=\"none\">");
    m.Circle(70.0f, 30.0f);
    m.End();
    // Control description table: horizontal and vertical lines, then the symbols.
    m.Symbol("16.1 Thin horizontal line", "<g stroke=\"rgb(166,38,255)\" stroke-width=\"0.25\">");
    m.Segment(kTableLeft, kTableTop, kTableLeft + kTableW, kTableTop);
    m.End();
    m.Symbol("16.2 Thin vertical line", "<g stroke=\"rgb(166, 38, 255)\" stroke-width=\"0.25\">");
    for (float x : {155.0f, 160.0f, 170.0f, 175.0f, 185.0f}) {
        m.Segment(x, kTableTop, x, kTableTop + kRowH);
    }
    m.End();
    const int first = FirstTaskRow(o);
    m.Symbol("3.1 Feature", "<g stroke=\"rgb(166,38,255)\" stroke-width=\"0.35\">");
    for (int t = 1; t <= o.tasks; ++t) {
        m.Mark(4, first + t - 1); // column D of every task row: 3.1#t
    }
    m.End();
    m.Symbol("5.1 Column H", "<g stroke=\"rgb(166,38,255)\" stroke-width=\"0.35\">");
    m.Mark(8, first); // column H of task 1
    m.End();
    if (o.columnB) {
        m.Symbol("17.5 Column B", "<g stroke=\"rgb(166,38,255)\" stroke-width=\"0.35\">");
        for (int t = 1; t <= o.tasks; ++t) {
            m.Mark(2, first + t - 1);
        }
        m.End();
    }
    m.Line("</g>");
    m.Line("</svg>");
    return m.Text();
}

// The courses file: course "S<station>" with the start and one control per task
// at the offsets of the circles (the file's y axis points up); a station of
// stationTasks has its own number of tasks.
inline std::string FixtureCourses(const std::vector<int>& stations, int tasks,
                                  const std::map<int, int>& stationTasks = {}) {
    const auto tasksOf = [&](int s) {
        const auto own = stationTasks.find(s);
        return own == stationTasks.end() ? tasks : own->second;
    };
    int most = tasks;
    for (int s : stations) {
        most = std::max(most, tasksOf(s));
    }
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<CourseData iofVersion=\"3.0\">\n"
                    "  <RaceCourseData>\n"
                    "    <Map>\n"
                    "      <Scale>4000</Scale>\n"
                    "    </Map>\n"
                    "    <Control>\n"
                    "      <Id>S1</Id>\n"
                    "      <MapPosition x=\"0.0\" y=\"0.0\" unit=\"mm\"/>\n"
                    "    </Control>\n";
    char line[160];
    for (int t = 1; t <= most; ++t) {
        std::snprintf(line, sizeof line,
                      "    <Control>\n      <Id>%d</Id>\n      <MapPosition x=\"%.1f\" "
                      "y=\"0.0\" unit=\"mm\"/>\n    </Control>\n",
                      100 + t, 10.0 * t);
        x += line;
    }
    for (int s : stations) {
        std::snprintf(line, sizeof line, "    <Course>\n      <Name>S%d</Name>\n", s);
        x += line;
        x += "      <CourseControl type=\"Start\">\n        <Control>S1</Control>\n"
             "      </CourseControl>\n";
        for (int t = 1; t <= tasksOf(s); ++t) {
            std::snprintf(line, sizeof line,
                          "      <CourseControl type=\"Control\">\n        <Control>%d</Control>\n"
                          "      </CourseControl>\n",
                          100 + t);
            x += line;
        }
        x += "    </Course>\n";
    }
    x += "  </RaceCourseData>\n</CourseData>\n";
    return x;
}

} // namespace kib::test
