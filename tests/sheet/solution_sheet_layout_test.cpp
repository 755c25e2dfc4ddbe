// The solution sheets of every task count in both forms, measured on the SVG the
// run writes: no description block, scale label, north arrow, station label,
// map or credit line lies on another, and every row label stays in column A.
#include "config/cfg_ids.h"
#include "event_fixture.h"
#include "map_input/kib_svg.h"
#include "run_fixture.h"
#include "sheet/solution_run.h"
#include "svg_check.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace kib {
namespace {

// A 2-D affine transform x' = a x + c y + e, y' = b x + d y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    Affine Then(const Affine& inner) const { // this applied after inner
        return {a * inner.a + c * inner.b,     b * inner.a + d * inner.b,
                a * inner.c + c * inner.d,     b * inner.c + d * inner.d,
                a * inner.e + c * inner.f + e, b * inner.e + d * inner.f + f};
    }
    void Apply(double x, double y, double& ox, double& oy) const {
        ox = a * x + c * y + e;
        oy = b * x + d * y + f;
    }
};

// The transform attribute of an element: translate, scale and rotate, in order.
Affine ParseTransform(const std::string& text) {
    Affine result;
    std::size_t at = 0;
    while ((at = text.find_first_of("trs", at)) != std::string::npos) {
        const std::size_t open = text.find('(', at);
        const std::size_t close = text.find(')', open);
        if (open == std::string::npos || close == std::string::npos) {
            break;
        }
        const std::string name = text.substr(at, open - at);
        std::string args = text.substr(open + 1, close - open - 1);
        std::replace(args.begin(), args.end(), ',', ' ');
        std::istringstream in(args);
        std::vector<double> v;
        for (double x = 0; in >> x;) {
            v.push_back(x);
        }
        Affine step;
        if (name == "translate" && !v.empty()) {
            step.e = v[0];
            step.f = v.size() > 1 ? v[1] : 0.0;
        } else if (name == "scale" && !v.empty()) {
            step.a = v[0];
            step.d = v.size() > 1 ? v[1] : v[0];
        } else if (name == "rotate" && !v.empty()) {
            const double r = v[0] * 3.14159265358979323846 / 180.0;
            const double cx = v.size() > 2 ? v[1] : 0.0, cy = v.size() > 2 ? v[2] : 0.0;
            step = Affine{1, 0, 0, 1, cx, cy}
                       .Then(Affine{std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0})
                       .Then(Affine{1, 0, 0, 1, -cx, -cy});
        }
        result = result.Then(step);
        at = close + 1;
    }
    return result;
}

struct Box {
    std::string what;
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;

    void Add(double x, double y) {
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
    bool Overlaps(const Box& o) const {
        const double eps = 0.01; // touching is not overlapping
        return x0 < o.x1 - eps && o.x0 < x1 - eps && y0 < o.y1 - eps && o.y0 < y1 - eps;
    }
    std::string Text() const {
        char line[200];
        std::snprintf(line, sizeof line, "%s [%.2f..%.2f]x[%.2f..%.2f]", what.c_str(), x0, x1, y0,
                      y1);
        return line;
    }
};

// Advance widths of DejaVu Sans (the widest common fallback for Arial), in em.
double TextWidthEm(const std::string& text) {
    double w = 0.0;
    for (char ch : text) {
        if (std::isdigit(static_cast<unsigned char>(ch))) {
            w += 0.636;
        } else if (std::strchr(" .:,()", ch) != nullptr) {
            w += 0.34;
        } else if (std::strchr("iljtf", ch) != nullptr) {
            w += 0.4;
        } else {
            w += 0.7; // every other letter at most as wide as a capital
        }
    }
    return w;
}

// The box of a text as its attributes place it: anchored at x, its em box around
// the dominant baseline.
Box TextBoxOf(const pugi::xml_node& text, const Affine& m, const std::string& what) {
    const double x = text.attribute("x").as_double();
    const double y = text.attribute("y").as_double();
    const double size = text.attribute("font-size").as_double();
    const std::string content = text.child_value();
    const double width = size * TextWidthEm(content);
    const std::string anchor = text.attribute("text-anchor").value();
    const std::string baseline = text.attribute("dominant-baseline").value();
    const double left = anchor == "end" ? x - width : (anchor == "middle" ? x - width / 2 : x);
    double top = y - 0.75 * size; // alphabetic: ascent above, descent below
    if (baseline == "middle") {
        top = y - 0.5 * size;
    } else if (baseline == "hanging") {
        top = y;
    }
    Box box{what + " \"" + content + "\""};
    for (double px : {left, left + width}) {
        for (double py : {top, top + size}) {
            double ox = 0, oy = 0;
            m.Apply(px, py, ox, oy);
            box.Add(ox, oy);
        }
    }
    return box;
}

// The points of path data made of M and L commands with x,y pairs.
void AddPathPoints(const std::string& d, const Affine& m, Box& box) {
    std::string text = d;
    for (char& ch : text) {
        if (std::isalpha(static_cast<unsigned char>(ch)) || ch == ',') {
            ch = ' ';
        }
    }
    std::istringstream in(text);
    double x = 0, y = 0;
    while (in >> x >> y) {
        double ox = 0, oy = 0;
        m.Apply(x, y, ox, oy);
        box.Add(ox, oy);
    }
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Collects the boxes of a written sheet while walking its element tree.
class SheetBoxes {
  public:
    explicit SheetBoxes(const pugi::xml_document& doc) {
        const pugi::xml_node clip = doc.select_node("//clipPath[@id='CANVAS']/rect").node();
        mapW_ = clip.attribute("width").as_double();
        mapH_ = clip.attribute("height").as_double();
        Walk(doc.document_element(), Affine{});
    }
    const std::vector<Box>& Boxes() const { return boxes_; }
    // Row labels whose text is wider than column A: what and by how much.
    const std::vector<std::string>& Spills() const { return spills_; }
    int Rows() const { return rows_; }

  private:
    void Walk(const pugi::xml_node& node, const Affine& outer) {
        const Affine m = outer.Then(ParseTransform(node.attribute("transform").value()));
        const std::string id = node.attribute("id").value();
        if (StartsWith(id, "solmap")) {
            Box box{id};
            double ox = 0, oy = 0;
            m.Apply(0, 0, ox, oy);
            box.Add(ox, oy);
            box.Add(ox + mapW_, oy + mapH_);
            boxes_.push_back(box);
            return; // the map itself is clipped to its box
        }
        if (id == "north-arrow") {
            Box box{"north arrow"};
            for (const pugi::xpath_node& p : node.select_nodes(".//path")) {
                AddPathPoints(p.node().attribute("d").value(), m, box);
            }
            boxes_.push_back(box);
            return;
        }
        if (StartsWith(id, "soldsc")) {
            Box box{id};
            for (const char* border : {"upper border", "lower border"}) {
                for (const pugi::xpath_node& g :
                     node.select_nodes((std::string(".//g[@id='") + border + "']").c_str())) {
                    const Affine inner =
                        m.Then(ParseTransform(g.node().parent().attribute("transform").value()));
                    rows_ += std::strcmp(border, "lower border") == 0 ? 1 : 0;
                    for (const pugi::xpath_node& p : g.node().select_nodes(".//path")) {
                        AddPathPoints(p.node().attribute("d").value(), inner, box);
                    }
                }
            }
            boxes_.push_back(box);
            CheckRowLabels(node);
            return;
        }
        if (std::strcmp(node.name(), "text") == 0) {
            const std::string content = node.child_value();
            if (StartsWith(content, "1 : ")) {
                boxes_.push_back(TextBoxOf(node, m, "scale label"));
            } else if (StartsWith(content, " Station")) {
                boxes_.push_back(TextBoxOf(node, m, "station label"));
            } else if (content.find(", ver. ") != std::string::npos) {
                boxes_.push_back(TextBoxOf(node, m, "credit line"));
            }
            return;
        }
        for (const pugi::xml_node& child : node.children()) {
            Walk(child, m);
        }
    }
    // Column A of a block: its label is centred in the first cell, as wide as high.
    void CheckRowLabels(const pugi::xml_node& block) {
        for (const pugi::xpath_node& t : block.select_nodes(".//text")) {
            const pugi::xml_node text = t.node();
            const std::string content = text.child_value();
            if (content.find('.') == std::string::npos || content.find('-') != std::string::npos) {
                continue;
            }
            const double cell = 2.0 * text.attribute("x").as_double();
            const double width = text.attribute("font-size").as_double() * TextWidthEm(content);
            if (width > cell) {
                spills_.push_back(content + " is " + std::to_string(width / cell) + " cells wide");
            }
        }
    }

    double mapW_ = 0, mapH_ = 0;
    int rows_ = 0;
    std::vector<Box> boxes_;
    std::vector<std::string> spills_;
};

class SolutionSheetLayoutTest : public test::RunEventTest {
  protected:
    // An event of stations 9 to 12 (one- and two-digit labels), each with the tasks.
    void MakeEvent(int tasks, bool compressed) {
        MakeRunEvent("solution-sheets", 12);
        Set(id::Event_MINSTAT, "9");
        Set(id::Event_TASKS, std::to_string(tasks));
        Set(id::Event_TITLE1, "Final");
        Set(id::Solutions_COMPRESSED, compressed ? "Yes" : "No");
        test::FixtureOptions options;
        options.tasks = tasks;
        for (int s = 9; s <= 12; ++s) {
            test::WriteFile(dir + "/Demo.S" + std::to_string(s) + ".svg",
                            test::FixtureMap(options));
        }
        test::WriteFile(dir + "/Demo.Courses.xml", test::FixtureCourses({9, 10, 11, 12}, tasks));
    }
};

TEST_F(SolutionSheetLayoutTest, NothingOverlapsForAnyTaskCountInEitherForm) {
    for (bool compressed : {false, true}) {
        for (int tasks = 1; tasks <= 15; ++tasks) {
            const std::string form = std::string(compressed ? "compressed" : "loose") + ", " +
                                     std::to_string(tasks) + " tasks";
            MakeEvent(tasks, compressed);
            {
                CKibSvg svg(doc);
                SolutionRun run(svg, App().Log(), test::TheStopCommand());
                ASSERT_TRUE(run.GenerateSolutionSvg(0)) << form;
            }
            int blocks = 0;
            for (const std::string& name : Files()) {
                pugi::xml_document xml;
                test::ParseDocument(xml, test::ReadFile(dir + "/out/" + name));
                const SheetBoxes sheet(xml);
                const std::vector<Box>& boxes = sheet.Boxes();
                int sheetBlocks = 0;
                for (std::size_t i = 0; i < boxes.size(); ++i) {
                    sheetBlocks += StartsWith(boxes[i].what, "soldsc") ? 1 : 0;
                    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                        EXPECT_FALSE(boxes[i].Overlaps(boxes[j]))
                            << form << ", " << name << ": " << boxes[i].Text() << " and "
                            << boxes[j].Text();
                    }
                }
                EXPECT_EQ(sheet.Rows(), sheetBlocks * tasks) << form << ": every task has its row";
                blocks += sheetBlocks;
                EXPECT_TRUE(sheet.Spills().empty())
                    << form << ": " << (sheet.Spills().empty() ? "" : sheet.Spills()[0]);
            }
            EXPECT_EQ(blocks, 4) << form;
            TearDown();
        }
    }
}

} // namespace
} // namespace kib
