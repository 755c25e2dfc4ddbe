// Helpers for the map input tests: an OCAD-layout map text builder and a
// fixture with a recording host, a document with a fresh configuration and an
// analysis object.
#pragma once

#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "support/event_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace kib::test {

// Builds a map export in OCAD's line layout: one element per line, symbol
// groups with a style group, circles directly in the style group and paths
// inside an object group with one segment per line.
class MapText {
  public:
    explicit MapText(const std::string& firstContent = "<g id=\"scaleTransform\" "
                                                       "transform=\"scale(1.000)\">") {
        Line("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>");
        Line("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200mm\" height=\"200mm\" "
             "viewBox=\"0 0 200 200\">");
        Line("<desc>OCAD export</desc>");
        Line(firstContent);
    }
    MapText& Line(const std::string& text) {
        lines_.push_back(text);
        return *this;
    }
    MapText& Symbol(int major, int minor, const std::string& name,
                    const std::string& style = "<g stroke=\"rgb(0, 0, 0)\" stroke-width=\"0.35\" "
                                               "fill=\"none\">") {
        char line[256];
        std::snprintf(line, sizeof line, "<g id=\"Sym_%d.%d %s\">", major, minor, name.c_str());
        Line(line);
        return Line(style);
    }
    MapText& EndSymbol() { return Line("</g>").Line("</g>"); }
    MapText& Circle(float cx, float cy) {
        char line[128];
        std::snprintf(line, sizeof line, "<circle cx=\"%.3f\" cy=\"%.3f\" r=\"2.5\"/>", cx, cy);
        return Line(line);
    }
    // Path data lines: "M1,2" becomes the d line, others ("L3,4", "5,6", "C...") follow.
    MapText& Path(const std::vector<std::string>& data,
                  const std::string& object = "<g stroke-linecap=\"round\">") {
        Line(object).Line("<path");
        for (std::size_t k = 0; k < data.size(); ++k) {
            std::string text = k == 0 ? "d=\"" + data[k] : data[k];
            if (k + 1 == data.size()) {
                text += "\"/>";
            }
            Line(text);
        }
        return Line("</g>");
    }
    // A straight line from (x0, y0) to (x1, y1).
    MapText& Segment(float x0, float y0, float x1, float y1) {
        return Path({Point("M", x0, y0), Point("L", x1, y1)});
    }
    static std::string Point(const char* letter, float x, float y) {
        char text[96];
        std::snprintf(text, sizeof text, "%s%.3f,%.3f", letter, x, y);
        return text;
    }
    std::string Text(bool closed = true) const {
        std::string text;
        for (const auto& line : lines_) {
            text += line + "\n";
        }
        if (closed) {
            text += "</g>\n</svg>\n";
        }
        return text;
    }

  private:
    std::vector<std::string> lines_;
};

class MapFixture : public EventTest {
  protected:
    void SetUp() override {
        InstallHost(true);
        svg = std::make_unique<CKibSvg>(doc);
    }

    // Parses the text into a fresh map of the analysis object's kind.
    CKibMap& Parse(const std::string& text, int station = 1, int task = 1) {
        map = std::make_unique<CKibMap>(*svg);
        std::istringstream in(text);
        parsed = map->ParseMap(in, station, task);
        return *map;
    }

    bool HasDebug(const std::string& line) const {
        return std::find(host.debug.begin(), host.debug.end(), line) != host.debug.end();
    }
    int CountMessages(const std::string& line) const {
        return static_cast<int>(std::count(host.messages.begin(), host.messages.end(), line));
    }
    int CountMessagesStartingWith(const std::string& prefix) const {
        return static_cast<int>(
            std::count_if(host.messages.begin(), host.messages.end(),
                          [&](const std::string& m) { return m.rfind(prefix, 0) == 0; }));
    }
    int Warnings() const { return CountMessagesStartingWith("[= WARNING =] "); }
    int Errors() const { return CountMessagesStartingWith("[** ERROR **] "); }

    std::unique_ptr<CKibSvg> svg;
    std::unique_ptr<CKibMap> map;
    bool parsed = false;
};

} // namespace kib::test
