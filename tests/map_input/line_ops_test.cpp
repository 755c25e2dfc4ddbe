#include "map_input/line_ops.h"

#include "foundation/app_state.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>
#include <string>
#include <vector>

using namespace kib;

namespace {

class LineOpsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        App().debugSwitch = true;
    }
    // Appends linked lines numbered from 1.
    MapLine* Lines(const std::vector<std::string>& texts) {
        for (const auto& text : texts) {
            MapLine& line = lines.emplace_back();
            line.lineNo = static_cast<int>(lines.size());
            line.text = text;
            if (lines.size() > 1) {
                lines[lines.size() - 2].next = &line;
            }
        }
        return &lines.front();
    }
    // Instances over line ranges, linked in order, with their boxes.
    SymbolInstance& Instance(int first, int last, MapPoint min, MapPoint max) {
        SymbolInstance& inst = instances.emplace_back();
        inst.index = static_cast<int>(instances.size());
        inst.major = 790;
        inst.minor = 2;
        inst.firstLine = &lines[static_cast<std::size_t>(first - 1)];
        inst.lastLine = &lines[static_cast<std::size_t>(last - 1)];
        inst.min = min;
        inst.max = max;
        inst.ref = min;
        if (instances.size() > 1) {
            instances[instances.size() - 2].next = &inst;
        }
        return inst;
    }
    bool HasDebug(const std::string& line) const {
        for (const auto& d : host.debug) {
            if (d == line) {
                return true;
            }
        }
        return false;
    }

    kib::test::RecordingHost host;
    std::deque<MapLine> lines;
    std::deque<SymbolInstance> instances;
};

TEST_F(LineOpsTest, RecolourReplacesTheFirstColourOnly) {
    Lines({"<g stroke=\"rgb(0, 0, 0)\" fill=\"rgb(1, 2, 3)\">", "<g fill=\"none\">",
           "<g stroke=\"rgb(0, 0, 0\">"});
    Recolour(lines[0], "rgb(255,0,0)", App().Log());
    EXPECT_EQ(lines[0].text, "<g stroke=\"rgb(255,0,0)\" fill=\"rgb(1, 2, 3)\">");
    EXPECT_TRUE(HasDebug("Coloring line 1:\"<g stroke=\"rgb(255,0,0)\" fill=\"rgb(1, 2, 3)\">\""));
    Recolour(lines[1], "rgb(255,0,0)", App().Log());
    EXPECT_EQ(lines[1].text, "<g fill=\"none\">");
    Recolour(lines[2], "rgb(255,0,0)", App().Log());
    EXPECT_EQ(lines[2].text, "<g stroke=\"rgb(0, 0, 0\">");
    EXPECT_TRUE(HasDebug("Cannot color line 3 (rgb not closed):\"<g stroke=\"rgb(0, 0, 0\">\""));
    EXPECT_EQ(host.debug.size(), 2u);
}

TEST_F(LineOpsTest, ThinWritesSixDecimals) {
    Lines({"<g stroke=\"rgb(1, 1, 1)\" stroke-width=\"0.35\" fill=\"none\">", "<g>",
           "<g stroke-width=\"0.35>", "stroke-width"});
    Thin(Instance(1, 1, {}, {}), 0.15f, App().Log());
    EXPECT_EQ(lines[0].text, "<g stroke=\"rgb(1, 1, 1)\" stroke-width=\"0.150000\" fill=\"none\">");
    EXPECT_TRUE(HasDebug("Thining line 1:\"" + lines[0].text + "\""));
    Thin(Instance(2, 2, {}, {}), 0.15f, App().Log());
    EXPECT_TRUE(HasDebug("Cannot thin line 2 (missing stroke-width):\"<g>\""));
    Thin(Instance(3, 3, {}, {}), 0.15f, App().Log());
    EXPECT_TRUE(HasDebug("Cannot thin line 3 (stroke-width not closed):\"<g "
                         "stroke-width=\"0.35>\""));
    Thin(Instance(4, 4, {}, {}), 0.15f, App().Log()); // the value would start beyond the line
    EXPECT_EQ(lines[3].text, "stroke-width");
}

TEST_F(LineOpsTest, RotateBundlesTurnsEachBundleAboutItsCentre) {
    Lines({"<g>", "d=\"M0,0", "</g>", "<circle cx=\"4\" cy=\"4\"/>", "<g>", "d=\"M20,20", "</g>",
           "<circle cx=\"30\" cy=\"30\"/>"});
    SymbolInstance& first = Instance(1, 3, {0, 0}, {2, 2});
    Instance(4, 4, {3, 3}, {4, 4});
    Instance(5, 7, {20, 20}, {22, 22});
    Instance(8, 8, {29, 29}, {30, 30});
    EXPECT_TRUE(RotateBundles(&first, -30, 2, App().Log()));
    EXPECT_EQ(lines[0].text, "<g transform=\"rotate(-30 2.000 2.000)\"><g>");
    EXPECT_EQ(lines[2].text, "</g></g>");
    EXPECT_EQ(lines[3].text,
              "<g transform=\"rotate(-30 2.000 2.000)\"><circle cx=\"4\" cy=\"4\"/></g>");
    EXPECT_EQ(lines[4].text, "<g transform=\"rotate(-30 25.000 25.000)\"><g>");
    EXPECT_EQ(lines[7].text,
              "<g transform=\"rotate(-30 25.000 25.000)\"><circle cx=\"30\" cy=\"30\"/></g>");
    EXPECT_TRUE(HasDebug("Rotating symbol on line 4:\"" + lines[3].text + "\""));
    EXPECT_TRUE(
        HasDebug("Rotating symbol on lines 1 .. 3:\"" + lines[0].text + "\" .. \"</g></g>\""));
    EXPECT_TRUE(HasDebug("Map point coordinates: 20.000, 20.000 (Dup)"));
}

TEST_F(LineOpsTest, RotateAllAboutFirstUsesItsReferencePoint) {
    Lines({"<circle cx=\"1\" cy=\"1\"/>", "<circle cx=\"2\" cy=\"2\"/>"});
    SymbolInstance& chair = Instance(1, 1, {5, 6}, {7, 8});
    Instance(2, 2, {9, 9}, {9, 9});
    RotateAllAboutFirst(&chair, 45, App().Log());
    EXPECT_TRUE(
        HasDebug("Rotating all symbols 790.2: \"<g transform=\"rotate(45 5.000 6.000)\">\""));
    EXPECT_EQ(lines[1].text,
              "<g transform=\"rotate(45 5.000 6.000)\"><circle cx=\"2\" cy=\"2\"/></g>");
    RotateAllAboutFirst(&chair, 45, App().Log()); // wrapped twice: two nested groups
    EXPECT_EQ(lines[0].text.find("<g transform=\"rotate(45 5.000 6.000)\"><g transform"), 0u);
}

TEST_F(LineOpsTest, HideShowAndWriteRanges) {
    Lines({"a", "b", "c", "d"});
    HideLines(&lines[1], &lines[2], App().Log());
    EXPECT_FALSE(lines[0].hidden);
    EXPECT_TRUE(lines[1].hidden);
    EXPECT_TRUE(lines[2].hidden);
    EXPECT_FALSE(lines[3].hidden);
    EXPECT_TRUE(HasDebug("Hiding lines 2 .. 3:\"b\" .. \"c\""));
    SetLinesHidden(&lines[1], &lines[1], false, App().Log());
    EXPECT_FALSE(lines[1].hidden);
    EXPECT_TRUE(HasDebug("Unhiding lines 2 .. 2:\"b\" .. \"b\""));
    HideLines(&lines[3], &lines[0], App().Log()); // a range given backwards hides nothing
    EXPECT_FALSE(lines[3].hidden);
    EXPECT_FALSE(lines[0].hidden);

    std::ostringstream out;
    WriteLines(Instance(2, 4, {}, {}), "  ", out);
    EXPECT_EQ(out.str(), "  b\r\n  c\r\n  d\r\n");
}

TEST_F(LineOpsTest, TracePointLabels) {
    TracePoint({1.5f, -2.25f}, "Center", App().Log());
    EXPECT_TRUE(HasDebug("Map point coordinates: 1.500, -2.250 (Center)"));
}

} // namespace
