#include "sheet/svg_image.h"
#include "support/event_builder.h"
#include "svg_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace kib {
namespace {

// A text element as written: position, anchor and content.
struct Text {
    std::string x, y, anchor, content;
    bool operator==(const Text&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Text& t) {
    return os << "(" << t.x << ", " << t.y << ", " << t.anchor << ", '" << t.content << "')";
}

class DecorationsTest : public test::EventTest {
  protected:
    void SetUp() override {
        InstallHost(false);
        surface.SetStream(&out);
    }

    void Competition(int tasks = 5) { surface.ComputeLayout(true, false, 4000, 3, tasks, 0); }
    void Solution() { surface.ComputeLayout(true, true, 4000, 3, 5, 0); }

    // Runs one drawing, parses what it wrote and keeps the document in svg.
    void Draw(const std::function<void()>& call) {
        out.str("");
        call();
        written = out.str();
        test::ParseFragment(svg, written);
        EXPECT_FALSE(surface.halfShift);
    }
    std::vector<Text> Texts() const {
        std::vector<Text> texts;
        for (const pugi::xpath_node& n : svg.select_nodes("//text")) {
            const pugi::xml_node t = n.node();
            texts.push_back({t.attribute("x").value(), t.attribute("y").value(),
                             t.attribute("text-anchor").value(), t.child_value()});
        }
        return texts;
    }
    std::vector<std::string> Values(const char* xpath, const char* attribute) const {
        std::vector<std::string> values;
        for (const pugi::xpath_node& n : svg.select_nodes(xpath)) {
            values.push_back(n.node().attribute(attribute).value());
        }
        return values;
    }

    CSvgImage surface{*cfg};
    std::ostringstream out;
    std::string written;
    pugi::xml_document svg;
};

TEST_F(DecorationsTest, CompetitionHeadingShowsTitlesOnTheCoverOnly) {
    Set(id::Event_TITLE1, "Orienteering & Trail-O Cup");
    Set(id::Event_TITLE2, "Day 1");
    Set(id::Event_CLASS, "Elite");
    Set(id::Event_EQUID, "5");
    Competition();
    const std::vector<Text> stationAndScale = {{"15.000", "19.500", "start", "Station: 3 (Elite)"},
                                               {"176.000", "19.500", "end", "1 : 4 000, 5 m"}};
    Draw([&] { surface.DrawHeading(false); });
    EXPECT_EQ(Texts(), stationAndScale);

    Draw([&] { surface.DrawHeading(true); });
    std::vector<Text> all = {{"15.000", "12.500", "start", "Orienteering & Trail-O Cup"},
                             {"176.000", "12.500", "end", "Day 1"}};
    all.insert(all.end(), stationAndScale.begin(), stationAndScale.end());
    EXPECT_EQ(Texts(), all);
    EXPECT_EQ(Values("//text", "font-size"), std::vector<std::string>(4, "5.000000"));

    Set(id::Heading_COVERONLY, "No");
    Competition();
    Draw([&] { surface.DrawHeading(false); });
    EXPECT_EQ(Texts(), all);

    Set(id::Target_MODE, "ANT");
    Competition();
    Draw([&] { surface.DrawHeading(true); });
    EXPECT_TRUE(written.empty());
}

TEST_F(DecorationsTest, SolutionHeadingLines) {
    Set(id::Event_TITLE1, "Cup");
    Set(id::Event_TITLE2, "Sprint");
    Set(id::Event_CLASS, "Open");
    Set(id::Event_DATE, "2024-05-01");
    Solution();
    Draw([&] { surface.DrawHeading(true); });
    EXPECT_EQ(Texts(), (std::vector<Text>{{"100.000", "4.500", "middle", "Cup"},
                                          {"2.000", "13.000", "start", "Open"},
                                          {"100.000", "11.000", "middle", "Sprint"},
                                          {"198.000", "13.000", "end", "2024-05-01"}}));
    EXPECT_EQ(Values("//text", "dominant-baseline"),
              (std::vector<std::string>{"middle", "auto", "middle", "auto"}));
    Draw([&] { surface.DrawHeading(false); });
    EXPECT_TRUE(written.empty());

    Set(id::Solutions_COMPRESSED, "Yes");
    Solution();
    Draw([&] { surface.DrawHeading(true); });
    EXPECT_EQ(Texts(), (std::vector<Text>{{"2.000", "7.000", "start", "Open"},
                                          {"100.000", "4.500", "middle", "Cup"},
                                          {"198.000", "7.000", "end", "2024-05-01"}}));
    EXPECT_EQ(Values("//text", "font-size"),
              (std::vector<std::string>{"4.000000", "5.000000", "4.000000"}));
}

TEST_F(DecorationsTest, CoverInfoListsTheStationData) {
    Set(id::Event_EQUID, "5");
    Competition();
    Draw([&] { surface.DrawCoverInfo(); });
    EXPECT_EQ(Texts(), (std::vector<Text>{{"90.000", "41.400", "middle", "Station: 3"},
                                          {"90.000", "49.400", "middle", "Tasks: 5"},
                                          {"90.000", "57.400", "middle", "Limit: 150 s"},
                                          {"90.000", "65.400", "middle", "1 : 4 000, 5 m"}}));
    Set(id::Event_LIMIT, "100");
    Competition();
    Draw([&] { surface.DrawCoverInfo(); });
    EXPECT_EQ(Texts()[2].content, "Limit: 100 s");

    surface.modeWeb = true;
    Draw([&] { surface.DrawCoverInfo(); });
    EXPECT_EQ(written, "<g id=\"control\" stroke=\"rgb(179,0,255)\" stroke-width=\"0.300000\">\r\n"
                       "    <path d=\" M87.000 51.000 a3.000,3.000 0 0,1 6.000,0 a3.000,3.000 0 "
                       "0,1 -6.000,0z\"/>\r\n"
                       "</g>\r\n");
}

TEST_F(DecorationsTest, CuttingLineStepsInAboveTheTaskTab) {
    Competition();
    struct Case {
        int task;
        bool cover;
        const char* path;
    };
    const Case cases[] = {
        {0, false, "M0.0,144.0 L206.0,144.0 L206.0,99.0 L180.0,99.0 L180.0,0.0"},
        {2, false, "M0.0,144.0 L206.0,144.0 L206.0,69.0 L180.0,69.0 L180.0,0.0"},
        {2, true, "M0.0,144.0 L206.0,144.0 L206.0,54.0 L180.0,54.0 L180.0,0.0"},
        {5, false, "M0.0,144.0 L206.0,144.0 L206.0,0.0"}, // the last task: straight cut
    };
    for (const Case& c : cases) {
        Set(id::OrderTabs_COVER, c.cover ? "Yes" : "No");
        Competition();
        Draw([&] { surface.DrawCuttingLine(c.task); });
        EXPECT_EQ(Values("//g[@id='cutting-line']/path", "d"), std::vector<std::string>{c.path})
            << c.task;
        EXPECT_EQ(test::AttrOf(svg, "//g[@id='cutting-line']", "stroke-dasharray"), "2, 2");
    }
}

TEST_F(DecorationsTest, OrderTabsCrossOutTheEarlierTasks) {
    Competition();
    Draw([&] { surface.DrawOrderTabs(3, 2); });
    // Square of task 1 crossed out at the bottom of the column, task 2 above it.
    EXPECT_EQ(Values("//g[@id='order-tabs']//rect", "y"),
              (std::vector<std::string>{"84.500", "69.500"}));
    EXPECT_EQ(Values("//g[@id='order-tabs']//rect", "x"),
              (std::vector<std::string>{"186.500", "186.500"}));
    EXPECT_EQ(Values("//g[@id='order-tabs']//path", "d"),
              (std::vector<std::string>{"M186.5,84.5 L201.5,99.5", "M201.5,84.5 L186.5,99.5"}));
    EXPECT_EQ(Texts(), (std::vector<Text>{{"194.000", "80.350", "middle", "2"}}));

    Draw([&] { surface.DrawOrderTabs(3, 0); });
    EXPECT_TRUE(svg.select_nodes("//g[@id='order-tabs']/*").empty());

    Set(id::OrderTabs_COVER, "Yes");
    Competition();
    Draw([&] { surface.DrawOrderTabs(3, 0); });
    EXPECT_EQ(Texts(), (std::vector<Text>{{"194.000", "95.350", "middle", "0"}}));
}

TEST_F(DecorationsTest, OrderTabsWithStationNumbers) {
    Set(id::OrderTabs_STATNUM, "Yes");
    Competition();
    Draw([&] { surface.DrawOrderTabs(12, 3); });
    EXPECT_EQ(Values("//g[@id='order-tabs']//rect", "y"),
              (std::vector<std::string>{"84.500", "69.500", "54.500"}));
    EXPECT_EQ(Texts(), (std::vector<Text>{{"193.500", "65.350", "end", "12:"},
                                          {"193.500", "65.350", "start", "3"}}));
    Draw([&] { surface.DrawOrderTabs(123, 3); });
    EXPECT_EQ(Texts()[0].content, "123"); // cut after three characters
    Set(id::OrderTabs_STATNUM, "No");
    Set(id::OrderTabs_SIZE, "1");
    Competition();
    Draw([&] { surface.DrawOrderTabs(3, 123); });
    EXPECT_EQ(Texts().back().content, "12"); // at most two characters
}

TEST_F(DecorationsTest, PointingBoardKeepsZeroInTheSeventhPlace) {
    Set(id::Event_FLAGS, "4");
    Competition();
    Draw([&] { surface.DrawPointingBoard(); });
    EXPECT_EQ(Values("//g[@id='pointing-board']//rect", "x"),
              (std::vector<std::string>{"8.500", "35.500", "62.500", "89.500", "170.500"}));
    EXPECT_EQ(Values("//g[@id='pointing-board']//rect", "y"),
              std::vector<std::string>(5, "118.500"));
    EXPECT_EQ(Values("//g[@id='pointing-board']//rect", "width"),
              std::vector<std::string>(5, "27.000"));
    std::vector<std::string> letters;
    for (const Text& t : Texts()) {
        letters.push_back(t.content);
    }
    EXPECT_EQ(letters, (std::vector<std::string>{"A", "B", "C", "D", "Z"}));

    Set(id::Event_ZERO, "No");
    Set(id::PointBoard_FULLWORDS, "Yes");
    Competition();
    Draw([&] { surface.DrawPointingBoard(); });
    EXPECT_EQ(Values("//g[@id='pointing-board']//rect", "x").size(), 4u);
    const std::vector<Text> texts = Texts();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[0], (Text{"22.000", "130.090", "middle", "A"}));
    EXPECT_EQ(texts[1], (Text{"22.000", "136.690", "middle", "ALFA"}));
    EXPECT_EQ(texts[7].content, "DELTA");
    EXPECT_EQ(Values("//text[@stroke-width='0']", "x").size(), 4u); // the words only
}

TEST_F(DecorationsTest, MapBorderFollowsTheSegmentShape) {
    Competition();
    Draw([&] { surface.DrawMapBorder(); });
    EXPECT_EQ(written, "<g id=\"map-border\" stroke=\"rgb(0,0,0)\" stroke-width=\"1.000000\">\r\n"
                       "    <path d=\" M58.500 51.000 a31.500,31.500 0 0,1 63.000,0 a31.500,31.500 "
                       "0 0,1 -63.000,0z\"/>\r\n"
                       "</g>\r\n");
    Set(id::MapSegment_SHAPE, "Square");
    Competition();
    Draw([&] { surface.DrawMapBorder(); });
    EXPECT_EQ(test::AttrOf(svg, "//path", "d"), " M58.500 19.500 v63.000 h63.000 v-63.000z");
    surface.modeWeb = true;
    Draw([&] { surface.DrawMapBorder(); });
    EXPECT_EQ(test::AttrOf(svg, "//path", "d"), " M58.500 0.000 v60.000 h63.000 v-60.000z");
    surface.borderWidth = 0;
    Draw([&] { surface.DrawMapBorder(); });
    EXPECT_TRUE(written.empty());
}

TEST_F(DecorationsTest, NorthArrowsBesideTheMap) {
    Competition();
    Draw([&] { surface.DrawNorthArrows(30, 0); });
    EXPECT_EQ(
        Values("//g[@id='north-arrow']", "transform"),
        (std::vector<std::string>{"rotate(30 40.0 51.0) translate(40.0,51.0) scale(0.200000)",
                                  "rotate(30 140.0 51.0) translate(140.0,51.0) scale(0.200000)"}));
    EXPECT_TRUE(svg.select_nodes("//g[@id='additional-north-lines']").empty());
    Set(id::NorthArrow_SIDE, "Right");
    Competition();
    Draw([&] { surface.DrawNorthArrows(30, 0); });
    EXPECT_EQ(
        Values("//g[@id='north-arrow']", "transform"),
        (std::vector<std::string>{"rotate(30 140.0 51.0) translate(140.0,51.0) scale(0.200000)"}));
}

TEST_F(DecorationsTest, NorthLinesRunParallelToNorthFromTheBorderCircle) {
    Set(id::NorthArrow_LINES, "Yes");
    Competition();
    Draw([&] { surface.DrawNorthArrows(30, 0); });
    EXPECT_EQ(test::AttrOf(svg, "//g[@id='additional-north-lines']", "stroke"), "rgb(0,0,128)");
    const std::vector<std::string> paths = Values("//g[@id='additional-north-lines']/path", "d");
    ASSERT_EQ(paths.size(), 4u);
    const double radius = 31.5;
    const double theta = 30 * M_PI / 180;
    const double nx = std::sin(theta), ny = -std::cos(theta);
    const double ex = std::cos(theta), ey = std::sin(theta);
    const int sides[4][2] = {{-1, 1}, {-1, -1}, {1, 1}, {1, -1}}; // east, north sign
    for (int i = 0; i < 4; ++i) {
        double x0, y0, x1, y1;
        ASSERT_EQ(std::sscanf(paths[i].c_str(), "M%lf,%lf L%lf,%lf", &x0, &y0, &x1, &y1), 4);
        const double sx = x0 - 90, sy = y0 - 51, tx = x1 - 90, ty = y1 - 51;
        EXPECT_NEAR(std::hypot(sx, sy), radius, 0.002) << i; // on the circle
        EXPECT_NEAR(sx * ex + sy * ey, sides[i][0] * radius * std::cos(0.6981317400932312), 0.002);
        EXPECT_NEAR(tx * nx + ty * ny, sides[i][1] * radius, 0.002) << i; // on the tangent
        EXPECT_NEAR(tx * ex + ty * ey, sx * ex + sy * ey, 0.002) << i;    // parallel to north
    }
    Set(id::MapSegment_SHAPE, "Square");
    Competition();
    Draw([&] { surface.DrawNorthArrows(30, 0); });
    EXPECT_TRUE(svg.select_nodes("//g[@id='additional-north-lines']").empty());
}

TEST_F(DecorationsTest, SolutionArrowsAndLabelsFollowTheMapColumn) {
    Solution();
    Draw([&] {
        surface.DrawNorthArrows(0, 1);
        surface.DrawNorthArrows(0, 4);
    });
    EXPECT_EQ(
        Values("//g[@id='north-arrow']", "transform"),
        (std::vector<std::string>{"rotate(0 38.0 88.0) translate(38.0,88.0) scale(0.100000)",
                                  "rotate(0 162.0 170.0) translate(162.0,170.0) scale(0.100000)"}));
    Draw([&] {
        surface.DrawSolutionStationLabel(7, 2);
        surface.DrawSolutionScaleLabel(1, 4000);
        surface.DrawSolutionScaleLabel(2, 0);
    });
    EXPECT_EQ(Texts(), (std::vector<Text>{{"125.000", "88.000", "start", " Station: 7"},
                                          {"75.000", "88.000", "end", "1 : 4 000 "}}));

    Set(id::Solutions_COMPRESSED, "Yes");
    Solution();
    Draw([&] {
        surface.DrawNorthArrows(0, 1);
        surface.DrawNorthArrows(0, 2);
    });
    EXPECT_EQ(
        Values("//g[@id='north-arrow']", "transform"),
        (std::vector<std::string>{"rotate(0 81.0 41.0) translate(81.0,41.0) scale(0.100000)",
                                  "rotate(0 119.0 41.0) translate(119.0,41.0) scale(0.100000)"}));
    Draw([&] {
        surface.DrawSolutionStationLabel(7, 1);
        surface.DrawSolutionScaleLabel(1, 4000);
        surface.DrawSolutionScaleLabel(2, 4000);
    });
    EXPECT_EQ(Texts(), (std::vector<Text>{{"86.000", "38.000", "start", "1 : 4 000"},
                                          {"114.000", "44.000", "end", "1 : 4 000"}}));
    EXPECT_EQ(Values("//text", "font-size"), std::vector<std::string>(2, "3.000000"));
}

} // namespace
} // namespace kib
