#include "map_fixture.h"

#include "map_input/line_kind.h"
#include "map_input/symbol_id.h"
#include "map_input/text_scan.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

using namespace kib;
using kib::test::MapText;

namespace {

class MapReaderTest : public kib::test::MapFixture {};

TEST(LineKinds, ByFirstCharacters) {
    const struct {
        const char* text;
        LineKind kind;
    } cases[] = {
        {"<svg xmlns=\"x\">", LineKind::SvgOpen},
        {"</svg>", LineKind::SvgClose},
        {"<g>", LineKind::GroupOpen},
        {"<g id=\"Sym_1.0 x\">", LineKind::GroupOpen},
        {"</g>", LineKind::GroupClose},
        {"<gradient id=\"a\">", LineKind::OtherTag},
        {"<g1>", LineKind::OtherTag},
        {"<desc>OCAD</desc>", LineKind::DescOpen},
        {"</desc>", LineKind::DescClose},
        {"<defs>", LineKind::OtherTag},
        {"<circle cx=\"1\" cy=\"2\"/>", LineKind::CircleOpen},
        {"<circles>", LineKind::CircleOpen},
        {"<rect x=\"0\"/>", LineKind::RectOpen},
        {"<style>", LineKind::OtherTag},
        {"<clipPath id=\"c\">", LineKind::OtherTag},
        {"<path", LineKind::Plain},
        {"<text x=\"1\">", LineKind::Plain},
        {"<?xml version=\"1.0\"?>", LineKind::Plain},
        {"d=\"M1,2", LineKind::Plain},
        {" <g>", LineKind::Plain},
        {"<", LineKind::Plain},
        {"", LineKind::Plain},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyLine(c.text), c.kind) << c.text;
    }
}

TEST(SymbolIds, ParsedLikeTheConfiguredNumbers) {
    const struct {
        const char* text;
        int major;
        int minor;
        bool valid;
    } cases[] = {
        {"701", 701, -1, true},       {"790.1", 790, 1, true},
        {"790.001", 790, 1, true},    {" 790.002 ", 790, 2, true},
        {"0.0", 0, 0, true},          {"", 0, 0, false},
        {"701x3", 0, 0, false},       {"790.2 x", 0, 0, false},
        {"790.", 0, 0, false},        {"701 ", 0, 0, false},
        {".5", 0, 0, false},          {"abc", 0, 0, false},
        {"790.2 790.3", 0, 0, false}, {"99999999999.1", INT_MAX, 1, true},
    };
    for (const auto& c : cases) {
        const SymbolId id = ParseSymbolId(c.text);
        EXPECT_EQ(id.major, c.major) << c.text;
        EXPECT_EQ(id.minor, c.minor) << c.text;
        EXPECT_EQ(id.valid, c.valid) << c.text;
    }
}

TEST(TextScanInts, SaturateInsteadOfOverflowing) {
    int v = 0;
    TextScan big("123456789012345678901234567890");
    ASSERT_TRUE(big.Int(v));
    EXPECT_EQ(v, INT_MAX);
    TextScan small("-99999999999");
    ASSERT_TRUE(small.Int(v));
    EXPECT_EQ(v, INT_MIN);
    TextScan none("-x");
    EXPECT_FALSE(none.Int(v));
    EXPECT_EQ(TruncToInt(std::nan("")), INT_MIN);
    EXPECT_EQ(TruncToInt(1e30), INT_MAX);
    EXPECT_EQ(TruncToInt(-0.9), 0);
}

// TextScan::Float against std::sscanf("%f%n") at one place of a text: the same
// success, the same characters taken and the same float, bit for bit.
void ExpectFloatLikeScanf(const std::string& text, std::size_t pos) {
    float expected = 0.0f;
    int used = 0;
    const bool scanned = std::sscanf(text.c_str() + pos, "%f%n", &expected, &used) == 1;
    TextScan scan(text, pos);
    float value = 0.0f;
    const bool read = scan.Float(value);
    ASSERT_EQ(read, scanned) << "'" << text << "' at " << pos;
    if (read) {
        EXPECT_EQ(scan.Pos(), pos + static_cast<std::size_t>(used)) << "'" << text << "'";
        EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0)
            << "'" << text << "' at " << pos << ": " << value << " against " << expected;
    }
}

TEST(TextScanFloats, SameCharactersAndValuesAsScanf) {
    const char* cases[] = {
        "0",
        "-0",
        "12.5",
        "-12.345,7",
        "205.925,80.494",
        ".5",
        "-.5",
        "5.",
        "-",
        ".",
        "-.",
        "+3.25",
        "  \t7.125 x",
        "1e3",
        "1E-2,",
        "2.5e",
        "2.5e+",
        "0x1p4",
        "-0X1A",
        "0x",
        "inf",
        "-Infinity",
        "nan",
        "nan(12)",
        "1.5.5",
        "123456789012345678901234567890",
        "340282356779733661637539395458142568448",
        "0.000000000000000000000000000000000000000001",
        "0.1000000000000000055511151231257827",
        "16777217",
        "3.4028235e38",
        "1e39",
        "0.00000000000000000000000000000000000000000000140129846432",
        "x1",
        "",
        "\"1\"",
    };
    for (const char* c : cases) {
        ExpectFloatLikeScanf(c, 0);
    }
    // Random texts of number characters, at every place.
    std::mt19937 random(11);
    const std::string alphabet = "0123456789.-+eExXinfaNIF ,\t\"";
    for (int k = 0; k < 4000; ++k) {
        std::string text(random() % 12, ' ');
        for (char& ch : text) {
            ch = alphabet[random() % alphabet.size()];
        }
        for (std::size_t pos = 0; pos < text.size(); ++pos) {
            ExpectFloatLikeScanf(text, pos);
        }
    }
}

TEST(TextScanFloats, EveryNumberOfTheDemoMapsAsScanfReadsIt) {
    for (int station = 1; station <= 4; ++station) {
        std::ifstream in(std::string(KIB_SOURCE_DIR) + "/examples/demo/Demo.S" +
                         std::to_string(station) + ".svg");
        ASSERT_TRUE(in) << station;
        std::string line;
        while (std::getline(in, line)) {
            for (std::size_t pos = 0; pos < line.size(); ++pos) {
                const char c = line[pos];
                if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
                    ExpectFloatLikeScanf(line, pos);
                }
            }
        }
    }
}

TEST_F(MapReaderTest, GroupLinesWithAndWithoutSymPrefix) {
    MapText text;
    text.Symbol(702, 0, "Control circle").Circle(10, 20).EndSymbol();
    text.Line("<g id=\"702.0 Control circle\">").Line("<g stroke=\"rgb(0, 0, 0)\">");
    text.Circle(30, 40).EndSymbol();
    text.Line("<g id=\"702.0\">").Line("<g>").Circle(50, 60).EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(HasDebug("Symbols 702.0 (Control circle) of type 0x10 starting from line #5"));
    EXPECT_TRUE(HasDebug("Symbols 702.0 (Control circle) of type 0x10 starting from line #10"));
    const SymbolSet* set = m.FindSet(702, 0);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->count, 2); // the group without a name is ignored
    EXPECT_TRUE(set->repeated);
    EXPECT_TRUE(HasDebug("Symbol 702.0#1 (7..7): PTS=1 PT=10.000,20.000 REF=10.000,20.000 "
                         "CENT=10.000,20.000"));
    EXPECT_EQ(m.circleMajor, 702);
    EXPECT_EQ(m.circleFollower1, 703);
    EXPECT_EQ(m.circleFollower2, 704);
    EXPECT_EQ(m.circleId, (SymbolId{702, 0, true}));
}

TEST_F(MapReaderTest, UnreadableGroupLinesChangeNothing) {
    const std::string longName(100, 'n');
    const std::string maxName(99, 'n');
    MapText text;
    text.Symbol(702, 0, "Control circle").EndSymbol();
    for (const std::string& id : std::vector<std::string>{
             "1000.0 Too big", "702.1000 Too big", "99999999999.0 Huge", "-1.0 Negative",
             "702 No minor", "702.3 " + longName, "702.x Letters"}) {
        text.Line("<g id=\"Sym_" + id + "\">").Line("<g>").Circle(1, 1).EndSymbol();
    }
    text.Symbol(702, 4, maxName).EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(m.FindSet(702, 0)->count, 0);
    EXPECT_EQ(m.FindSet(702, 3), nullptr);
    EXPECT_NE(m.FindSet(702, 4), nullptr);
    EXPECT_EQ(m.FindSet(999, 0), nullptr);
    EXPECT_EQ(m.HighestMinor(702), 4);
}

TEST_F(MapReaderTest, AmpersandsReplacedOnce) {
    MapText text;
    text.Symbol(702, 0, "Circle & more & even more").EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(m.FindSet(702, 0)->groupLine->text, "<g id=\"Sym_702.0 Circle + more + even more\">");
    EXPECT_EQ(std::count(host.debug.begin(), host.debug.end(),
                         "Replaced '&' symbol in line #5 of the map for 1.1!"),
              1);
}

TEST_F(MapReaderTest, FirstContentLine) {
    CKibMap& scaled = Parse(MapText("<g id=\"scaleTransform\" transform=\"scale(2.5)\">").Text());
    EXPECT_TRUE(parsed);
    EXPECT_FLOAT_EQ(scaled.zoom, 2.5f);
    EXPECT_EQ(scaled.layout, CKibMap::kLayoutScaleGroup);
    EXPECT_EQ(scaled.firstContentLine->lineNo, 4); // after the desc line

    CKibMap& pattern = Parse(MapText("<pattern id=\"p1\" width=\"2\">").Text());
    EXPECT_TRUE(parsed);
    EXPECT_FLOAT_EQ(pattern.zoom, 1.0f);
    EXPECT_EQ(pattern.layout, CKibMap::kLayoutPattern);

    Parse(MapText("<g id=\"layer\">").Text());
    EXPECT_FALSE(parsed);
    EXPECT_EQ(CountMessages("[** ERROR **] Unrecognized map first line '<g id=\"layer\">' in "
                            "line #4 of the map for 1.1!"),
              1);

    // A zoom out of range once printed the scale 1 : -2147483648 on every sheet.
    for (const char* zoom : {"1e-30", "0", "-2", "5000", "inf", "nan"}) {
        SCOPED_TRACE(zoom);
        host.Clear();
        Parse(MapText(std::string("<g id=\"scaleTransform\" transform=\"scale(") + zoom + ")\">")
                  .Text());
        EXPECT_FALSE(parsed);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].rfind("[** ERROR **] Map zoom ", 0), 0u);
        EXPECT_TRUE(host.messages[0].ends_with(
            " in line #4 of the map for 1.1 is out of range (0.001 .. 1000)!"));
    }
    for (const char* zoom : {"0.001", "1000"}) {
        Parse(MapText(std::string("<g id=\"scaleTransform\" transform=\"scale(") + zoom + ")\">")
                  .Text());
        EXPECT_TRUE(parsed) << zoom;
    }
}

TEST_F(MapReaderTest, SvgTagWithoutViewBoxStopsTheRead) {
    CKibMap& m = Parse("<?xml?>\n<svg width=\"1\" viewBox=\"1 0 2 2\">\n<g>\n</svg>\n", 3, 2);
    EXPECT_FALSE(parsed);
    EXPECT_EQ(m.lineCount, 2);
    EXPECT_EQ(CountMessages("[** ERROR **] Unrecognized format of SVG tag '<svg width=\"1\" "
                            "viewBox=\"1 0 2 2\">' in line #2 of the map for 3.2!"),
              1);
}

TEST_F(MapReaderTest, TruncatedFileIsReadButFails) {
    MapText text;
    text.Symbol(702, 0, "Control circle").Circle(1, 2).Circle(3, 4).EndSymbol();
    CKibMap& m = Parse(text.Text(false));
    EXPECT_FALSE(parsed);
    EXPECT_EQ(m.lineCount, 10);
    EXPECT_EQ(m.FindSet(702, 0)->count, 2);
    EXPECT_EQ(Errors(), 0);
}

TEST_F(MapReaderTest, ClosingTagWithoutContentIsNoMap) {
    Parse("</svg>\n");
    EXPECT_FALSE(parsed);
}

TEST_F(MapReaderTest, BadCircleInStyleGroupStopsSilently) {
    MapText text;
    text.Symbol(702, 0, "Control circle").Circle(1, 2).Line("<circle r=\"3\"/>").Circle(5, 6);
    text.EndSymbol();
    CKibMap& m = Parse(text.Text());
    EXPECT_FALSE(parsed);
    EXPECT_EQ(m.lineCount, 8);
    EXPECT_EQ(m.FindSet(702, 0)->count, 1);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(MapReaderTest, CarriageReturnsAreNotPartOfLines) {
    std::string text = MapText().Symbol(702, 0, "C").Circle(1, 2).EndSymbol().Text();
    std::string crlf;
    for (char c : text) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    CKibMap& m = Parse(crlf);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(m.FindSet(702, 0)->groupLine->text, "<g id=\"Sym_702.0 C\">");
}

struct PathCase {
    const char* name;
    std::vector<std::string> data;
    int points;
    MapPoint ref;
    MapPoint centre;
    MapPoint min;
    MapPoint max;
    bool straightSecond;
};

TEST_F(MapReaderTest, PathPointsGiveReferenceCentreAndBox) {
    const PathCase cases[] = {
        {"straight then continuation",
         {"M10,10", "L20,10", "30,20"},
         3,
         {20.0f, 13.333333f},
         {20.0f, 13.333333f},
         {10, 10},
         {30, 20},
         true},
        {"quarter circle",
         {"M1,0", "C1,0.55 0.55,1 0,1"},
         2,
         {0.775f, 0.5f},
         {0, 0},
         {0, 0},
         {1, 1},
         false},
        {"two-point line", {"M5,5", "L5,9"}, 2, {5, 7}, {5, 7}, {5, 5}, {5, 9}, true},
        {"minus and blank lines ignored",
         {"M2,2", "-1,3", " L4,4", "Z", "L4,2"},
         2,
         {3, 2},
         {3, 2},
         {2, 2},
         {4, 2},
         true},
    };
    for (const auto& c : cases) {
        MapText text;
        text.Symbol(702, 0, "P").Path(c.data).EndSymbol();
        CKibMap& m = Parse(text.Text());
        ASSERT_TRUE(parsed) << c.name;
        const SymbolInstance& inst = *m.FindSet(702, 0)->First();
        EXPECT_EQ(inst.points, c.points) << c.name;
        EXPECT_NEAR(inst.ref.x, c.ref.x, 1e-4) << c.name;
        EXPECT_NEAR(inst.ref.y, c.ref.y, 1e-4) << c.name;
        EXPECT_NEAR(inst.centre.x, c.centre.x, 1e-4) << c.name;
        EXPECT_NEAR(inst.centre.y, c.centre.y, 1e-4) << c.name;
        EXPECT_FLOAT_EQ(inst.min.x, c.min.x) << c.name;
        EXPECT_FLOAT_EQ(inst.min.y, c.min.y) << c.name;
        EXPECT_FLOAT_EQ(inst.max.x, c.max.x) << c.name;
        EXPECT_FLOAT_EQ(inst.max.y, c.max.y) << c.name;
        EXPECT_EQ(inst.straightSecond, c.straightSecond) << c.name;
        EXPECT_EQ(inst.firstLine->text, "<g stroke-linecap=\"round\">") << c.name;
        EXPECT_EQ(inst.lastLine->text, "</g>") << c.name;
    }
}

// What trimming a map needs of an object: everything it draws lies within its
// drawn extent, and an object the reader does not fully understand has none.
TEST_F(MapReaderTest, DrawnExtentHoldsControlPointsRadiusAndStroke) {
    const char* stroke = "<g stroke=\"rgb(0, 0, 0)\" stroke-width=\"0.4\" fill=\"none\">";
    const char* fill = "<g fill=\"rgb(0,168,232)\" stroke=\"none\">";
    const float reach = 0.2f * 4.0f; // half the width times the default miter limit
    const struct {
        const char* name;
        const char* style;
        std::vector<std::string> lines; // inside the style group
        bool known;
        MapPoint min;
        MapPoint max;
    } cases[] = {
        {"a curve bulging beyond its end points",
         fill,
         {"<g>", "<path", "d=\"M0,0", "C10,-30 20,-30 30,0", "Z\"/>", "</g>"},
         true,
         {0, -30},
         {30, 0}},
        {"a stroked line",
         stroke,
         {"<g>", "<path", "d=\"M10,10", "L20,30\"/>", "</g>"},
         true,
         {10 - reach, 10 - reach},
         {20 + reach, 30 + reach}},
        {"a stroke width and miter limit of the object's own group",
         fill,
         {"<g stroke=\"red\" stroke-width=\"2\" stroke-miterlimit=\"1\">", "<path", "d=\"M10,10",
          "L20,10\"/>", "</g>"},
         true,
         {10 - 1.4142135f, 10 - 1.4142135f},
         {20 + 1.4142135f, 10 + 1.4142135f}},
        {"a circle with its radius",
         fill,
         {"<circle cx=\"5\" cy=\"6\" r=\"2\"/>"},
         true,
         {3, 4},
         {7, 8}},
        {"several commands on one line",
         fill,
         {"<g>", "<path", "d=\"M1,1 L9,2 C3,-4 4,5 6,6 Z\"/>", "</g>"},
         true,
         {1, -4},
         {9, 6}},
        {"no point read", fill, {"<g>", "<path", "</g>"}, false, {}, {}},
        {"a relative command",
         fill,
         {"<g>", "<path", "d=\"M1,1", "l50,50\"/>", "</g>"},
         false,
         {},
         {}},
        {"an element other than a path",
         fill,
         {"<g>", "<path", "d=\"M1,1", "L2,2\"/>", "<text x=\"1\" y=\"1\">far</text>", "</g>"},
         false,
         {},
         {}},
        {"a transform on the object",
         fill,
         {"<g transform=\"translate(100,0)\">", "<path", "d=\"M1,1", "L2,2\"/>", "</g>"},
         false,
         {},
         {}},
        {"a circle without a radius", fill, {"<circle cx=\"5\" cy=\"6\"/>"}, false, {}, {}},
        {"a circle with a transform",
         fill,
         {"<circle cx=\"5\" cy=\"6\" r=\"1\" transform=\"scale(9)\"/>"},
         false,
         {},
         {}},
        {"a style group with markers",
         "<g stroke=\"red\" marker-end=\"url(#m)\">",
         {"<g>", "<path", "d=\"M1,1", "L2,2\"/>", "</g>"},
         false,
         {},
         {}},
    };
    for (const auto& c : cases) {
        MapText text;
        text.Symbol(301, 0, "Object", c.style);
        for (const std::string& line : c.lines) {
            text.Line(line);
        }
        text.EndSymbol();
        Set(id::Target_REDUCESIZE, "Yes");
        CKibMap& m = Parse(text.Text());
        ASSERT_TRUE(parsed) << c.name;
        ASSERT_NE(m.FindSet(301, 0), nullptr) << c.name;
        const SymbolInstance& inst = *m.FindSet(301, 0)->First();
        EXPECT_EQ(inst.drawnKnown, c.known) << c.name;
        if (c.known) {
            EXPECT_NEAR(inst.drawnMin.x, c.min.x, 1e-4) << c.name;
            EXPECT_NEAR(inst.drawnMin.y, c.min.y, 1e-4) << c.name;
            EXPECT_NEAR(inst.drawnMax.x, c.max.x, 1e-4) << c.name;
            EXPECT_NEAR(inst.drawnMax.y, c.max.y, 1e-4) << c.name;
        }
    }
}

TEST_F(MapReaderTest, GroupsThatMayMoveTheirContentLeaveItsExtentUnknown) {
    Set(id::Target_REDUCESIZE, "Yes");
    MapText text;
    text.Line("<g id=\"Layer 1\" transform=\"translate(50,0)\">");
    text.Symbol(301, 0, "Moved").Segment(1, 1, 2, 2).EndSymbol();
    text.Line("</g>");
    text.Symbol(301, 1, "In place").Segment(1, 1, 2, 2).EndSymbol();
    text.Line("<g id=\"Sym_301.2 Moved too\" transform=\"rotate(90)\">")
        .Line("<g fill=\"red\">")
        .Line("<circle cx=\"1\" cy=\"1\" r=\"1\"/>")
        .EndSymbol();
    text.Line("<g transform=\"scale(2)\"/>"); // wraps nothing
    text.Symbol(301, 3, "After an empty group").Segment(1, 1, 2, 2).EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    EXPECT_FALSE(m.FindSet(301, 0)->First()->drawnKnown);
    EXPECT_TRUE(m.FindSet(301, 1)->First()->drawnKnown);
    EXPECT_FALSE(m.FindSet(301, 2)->First()->drawnKnown);
    EXPECT_TRUE(m.FindSet(301, 3)->First()->drawnKnown);
}

TEST_F(MapReaderTest, CircleFromFourArcs) {
    // A full circle of radius 2 around (10, 10), as OCAD writes it: four arcs.
    const float k = 0.5523f * 2;
    MapText text;
    text.Symbol(702, 0, "Control circle")
        .Path({MapText::Point("M", 12, 10),
               "C12," + std::to_string(10 + k) + " " + std::to_string(10 + k) + ",12 10,12",
               "C" + std::to_string(10 - k) + ",12 8," + std::to_string(10 + k) + " 8,10",
               "C8," + std::to_string(10 - k) + " " + std::to_string(10 - k) + ",8 10,8",
               "C" + std::to_string(10 + k) + ",8 12," + std::to_string(10 - k) + " 12,10"})
        .EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    const SymbolInstance& inst = *m.FindSet(702, 0)->First();
    EXPECT_EQ(inst.points, 5);
    EXPECT_NEAR(inst.centre.x, 10.0f, 1e-3);
    EXPECT_NEAR(inst.centre.y, 10.0f, 1e-3);
    EXPECT_FLOAT_EQ(inst.min.x, 8.0f);
    EXPECT_FLOAT_EQ(inst.max.y, 12.0f);
}

TEST_F(MapReaderTest, ParallelEndTangentsGiveNoFiniteCentre) {
    MapText text;
    text.Symbol(702, 0, "P").Path({"M0,0", "C0,1 1,1 1,0"}).EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    const SymbolInstance& inst = *m.FindSet(702, 0)->First();
    EXPECT_FALSE(std::isfinite(inst.centre.x) && std::isfinite(inst.centre.y));
}

TEST_F(MapReaderTest, HiddenGroupsAndFirstTableLine) {
    Set(id::Source_HIDE, "793");
    MapText text;
    text.Symbol(701, 0, "Start").Circle(1, 1).EndSymbol();          // lines 5 .. 9
    text.Symbol(702, 0, "Control circle").Circle(2, 2).EndSymbol(); // lines 10 .. 14
    text.Symbol(793, 0, "Extra").Circle(3, 3).EndSymbol();          // lines 15 .. 19
    text.Symbol(18, 1, "Horizontal line", "<g stroke=\"rgb(1, 2, 3)\">");
    text.Segment(0, 0, 80, 0).Segment(0, 10, 80, 10).EndSymbol();
    text.Symbol(18, 2, "Vertical line", "<g stroke=\"rgb(166, 38, 255)\" stroke-width=\"0.2\">");
    text.Segment(0, 0, 0, 10).EndSymbol();
    text.Symbol(20, 1, "Frame").Segment(0, 0, 1, 1).Segment(2, 2, 3, 3).EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    for (int line = 5; line <= 19; ++line) {
        EXPECT_EQ(m.Line(line)->hidden, line < 10 || line > 14) << line;
    }
    EXPECT_EQ(m.descColour, 166 + 256 * 38 + 65536 * 255);
    EXPECT_EQ(m.descMajors, (std::array<int, 6>{13, 16, 17, 18, 19, 20}));
    EXPECT_TRUE(HasDebug("Control description color: rgb(166, 38, 255)"));
    // Description symbols are hidden as whole groups; 20.1 is course-setting (0x30).
    const SymbolSet* frame = m.FindSet(20, 1);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->type, 0x30u);
    EXPECT_TRUE(frame->groupLine->hidden);
    EXPECT_TRUE(frame->instances[0].lastLine->hidden);
    EXPECT_TRUE(frame->instances[1].firstLine->hidden);
}

TEST_F(MapReaderTest, ClassificationOfSymbolGroups) {
    Set(id::Source_CHAIR, "790.001");
    Set(id::Source_FLAG, "790.002 790.003");
    Set(id::Source_LETTERS, "791");
    Set(id::Source_ANSWERS, "792.001");
    Set(id::Source_HIDE, "793 794.2");
    Set(id::Source_ZEROTOL, "19.5");
    MapText text;
    text.Symbol(301, 0, "Regular before layer").EndSymbol();
    text.Symbol(5, 1, "Low before layer").EndSymbol();
    text.Symbol(701, 0, "Start").EndSymbol();
    text.Symbol(701, 1, "Start 2").EndSymbol();
    text.Symbol(702, 0, "Control circle").EndSymbol();
    text.Symbol(703, 0, "Control number").EndSymbol();
    text.Symbol(704, 0, "Course line").EndSymbol();
    text.Symbol(760, 0, "Other").EndSymbol();
    text.Symbol(790, 1, "Chair").EndSymbol();
    text.Symbol(790, 2, "Flag").EndSymbol();
    text.Symbol(791, 3, "Letter C").EndSymbol();
    text.Symbol(792, 7, "Answer G").EndSymbol();
    text.Symbol(792, 8, "Not an answer").EndSymbol();
    text.Symbol(793, 5, "Hidden group").EndSymbol();
    text.Symbol(794, 2, "Hidden one").EndSymbol();
    text.Symbol(794, 3, "Not hidden").EndSymbol();
    text.Symbol(19, 5, "Zero tolerance").EndSymbol();
    text.Symbol(14, 1, "Description").EndSymbol();
    text.Symbol(105, 1, "Map symbol after layer").EndSymbol();
    text.Symbol(105, 2, "Another one").EndSymbol();
    text.Symbol(40, 0, "Middle range").EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(m.FindSet(301, 0), nullptr); // REDUCESIZE No
    EXPECT_EQ(m.FindSet(5, 1), nullptr);
    const struct {
        int major;
        int minor;
        unsigned type;
    } cases[] = {
        {701, 0, 0x11}, {701, 1, 0x10}, {702, 0, 0x10}, {703, 0, 0x12}, {704, 0, 0x01},
        {760, 0, 0x01}, {790, 1, 0x14}, {790, 2, 0x14}, {791, 3, 0x14}, {792, 7, 0x66},
        {792, 8, 0x00}, {793, 5, 0x01}, {794, 2, 0x01}, {794, 3, 0x00}, {19, 5, 0x24},
        {14, 1, 0x20},  {105, 1, 0x20}, {105, 2, 0x20}, {40, 0, 0x00},
    };
    for (const auto& c : cases) {
        const SymbolSet* set = m.FindSet(c.major, c.minor);
        ASSERT_NE(set, nullptr) << c.major << "." << c.minor;
        EXPECT_EQ(set->type, c.type) << c.major << "." << c.minor;
    }
    EXPECT_EQ(CountMessages("[= WARNING =] Symbol 5.1 (Low before layer) considered regular map "
                            "one."),
              1);
    EXPECT_TRUE(HasDebug("Symbol 5.1 (Low before layer) considered regular map one."));
    // The warning was already given once: the later description symbols only trace.
    EXPECT_EQ(CountMessagesStartingWith("[= WARNING =] Symbol 105."), 0);
    EXPECT_TRUE(HasDebug("Symbol 105.2 (Another one) considered control description one."));
    EXPECT_TRUE(HasDebug("Course setting layer started at line 13 by 701.0 (Start) symbol."));
    EXPECT_TRUE(HasDebug("Control circle symbol guessed from line #21: 702 (Control circle)."));
}

TEST_F(MapReaderTest, ReduceSizeKeepsMapSymbolsAndFirstDescriptionWarningOnce) {
    Set(id::Target_REDUCESIZE, "Yes");
    MapText text;
    text.Symbol(301, 0, "Regular").EndSymbol();
    text.Symbol(702, 0, "Control circle").EndSymbol();
    text.Symbol(702, 1, "Control circle, second colour").EndSymbol();
    text.Symbol(105, 1, "Map symbol").EndSymbol();
    text.Symbol(105, 2, "Map symbol").EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    ASSERT_NE(m.FindSet(301, 0), nullptr);
    EXPECT_EQ(m.FindSet(301, 0)->type, 0u);
    EXPECT_EQ(CountMessages("[= WARNING =] Symbol 105.1 (Map symbol) considered control "
                            "description one."),
              1);
    EXPECT_EQ(CountMessagesStartingWith("[= WARNING =] Symbol 105.2"), 0);
    EXPECT_EQ(CountMessages("[= WARNING =] Symbol 702.1 (Control circle, second colour) repeated "
                            "in line #13, possible multicolor symbol."),
              1);
}

TEST_F(MapReaderTest, FlagBundlesCountBothFlagSymbols) {
    Set(id::Source_CHAIR, "790.001");
    Set(id::Source_FLAG, "790.002  790.003 ");
    MapText text;
    text.Symbol(790, 2, "Correct flag").Circle(1, 1).Circle(2, 2).Circle(3, 3).EndSymbol();
    text.Symbol(790, 3, "False flag").Circle(4, 4).Circle(5, 5).EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(m.correctFlagId, (SymbolId{790, 2, true}));
    EXPECT_EQ(m.falseFlagId, (SymbolId{790, 3, true}));
    EXPECT_EQ(m.flagBundles, 5);
}

TEST_F(MapReaderTest, StatisticsReadUsesTheStandardSymbols) {
    Set(id::Source_CHAIR, "800.001");
    Parse(MapText().Text(), 2, 0);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(map->chairId, (SymbolId{790, 1, true}));
    EXPECT_EQ(map->correctFlagId, (SymbolId{790, 2, true}));
    EXPECT_EQ(map->falseFlagId, (SymbolId{790, 3, true}));
    EXPECT_EQ(map->zeroId, (SymbolId{790, 4, true}));
    EXPECT_EQ(map->lettersId, (SymbolId{791, 1, true}));
    EXPECT_FALSE(map->answersId.valid);
}

TEST_F(MapReaderTest, MajorOnlyIdsFindNoSet) {
    Set(id::Source_FLAG, "790");
    MapText text;
    text.Symbol(790, 2, "Flag").Circle(1, 1).EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(m.correctFlagId, (SymbolId{790, -1, true}));
    EXPECT_EQ(m.FindSet(m.correctFlagId), nullptr);
    EXPECT_EQ(m.FindSet(SymbolId{}), nullptr);
    EXPECT_EQ(m.flagBundles, 0);
}

} // namespace
