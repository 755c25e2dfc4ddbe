// Trimming a map to its segment: objects that can show in the segment stay,
// objects that cannot are left out, and objects the reader cannot measure stay.
#include "map_input/map_fixture.h"
#include "sheet/map_adjust.h"
#include "sheet/sheet_layout.h"

#include <string>
#include <vector>

namespace kib::test {
namespace {

// The control point of the tests, in map units (zoom 1: a map unit is a millimetre).
constexpr float kX = 100.0f;
constexpr float kY = 100.0f;

struct TrimCase {
    const char* name;
    const char* style; // the symbol's style group
    std::vector<std::string> object;
    bool visible;
};

const char* kThinLine = "<g fill=\"none\" stroke=\"rgb(0,0,0)\" stroke-width=\"0.1\">";
const char* kThickLine = "<g fill=\"none\" stroke=\"rgb(0,0,0)\" stroke-width=\"10\">";
const char* kArea = "<g fill=\"rgb(0,168,232)\" stroke=\"none\">";

std::vector<std::string> Path(const std::vector<std::string>& data) {
    std::vector<std::string> lines = {"<g>", "<path"};
    for (std::size_t k = 0; k < data.size(); ++k) {
        lines.push_back((k == 0 ? "d=\"" : "") + data[k] + (k + 1 == data.size() ? "\"/>" : ""));
    }
    lines.push_back("</g>");
    return lines;
}

class MapTrimTest : public MapFixture {
  protected:
    // Reads one symbol per case and trims the map around (kX, kY); true for
    // every case whose object was left in.
    std::vector<bool> Trim(const std::vector<TrimCase>& cases, const SheetLayout& layout,
                           bool forceSquare = false, int offset = 0) {
        Set(id::Target_REDUCESIZE, "Yes");
        MapText text;
        for (std::size_t k = 0; k < cases.size(); ++k) {
            text.Symbol(301, static_cast<int>(k), cases[k].name, cases[k].style);
            for (const std::string& line : cases[k].object) {
                text.Line(line);
            }
            text.EndSymbol();
        }
        CKibMap& m = Parse(text.Text());
        EXPECT_TRUE(parsed);
        ReduceToSegment(m, layout, kX, kY, forceSquare, offset);
        std::vector<bool> kept;
        for (std::size_t k = 0; k < cases.size(); ++k) {
            const SymbolSet* set = m.FindSet(301, static_cast<int>(k));
            kept.push_back(set && !set->First()->firstLine->hidden);
        }
        return kept;
    }
    void Expect(const std::vector<TrimCase>& cases, const std::vector<bool>& kept) {
        for (std::size_t k = 0; k < cases.size(); ++k) {
            EXPECT_EQ(kept[k], cases[k].visible)
                << cases[k].name << (cases[k].visible ? " was left out" : " was kept");
        }
    }
};

SheetLayout CircleSegment() {
    SheetLayout k;
    k.circleShape = true;
    k.segRadius = 30;
    k.segW = k.segH = 60;
    k.segMargin = 5; // the segment reaches 30 + 5 + 1 = 36 mm from the control
    return k;
}

TEST_F(MapTrimTest, ObjectsThatCanTouchTheSegmentStayTheOthersGo) {
    const std::vector<TrimCase> cases = {
        {"straight line just outside", kThinLine, Path({"M136.5,60", "L136.5,140"}), false},
        {"straight line touching", kThinLine, Path({"M135.9,60", "L135.9,140"}), true},
        {"straight line crossing", kThinLine, Path({"M0,100", "L200,100"}), true},
        {"diagonal line passing just outside", kThinLine, Path({"M200,155", "L155,200"}), false},
        // The end points lie 150 below the control, the curve comes up to 25 above
        // it: only its control points tell.
        {"curve bulging in from outside", kThinLine, Path({"M95,250", "C95,-50 105,-50 105,250"}),
         true},
        {"curve bulging away from the segment", kThinLine,
         Path({"M95,150", "C95,250 105,250 105,150"}), false},
        // Its middle is 39 from the control, its edge 34.
        {"thick line beside the segment", kThickLine, Path({"M139,60", "L139,140"}), true},
        {"thin line at the same place", kThinLine, Path({"M139,60", "L139,140"}), false},
        {"area around the segment", kArea, Path({"M0,0", "L200,0", "200,200", "0,200", "Z"}), true},
        {"area far away", kArea, Path({"M0,0", "L20,0", "20,20", "0,20", "Z"}), false},
        {"circle reaching in with its radius",
         kArea,
         {"<circle cx=\"150\" cy=\"100\" r=\"15\"/>"},
         true},
        {"small circle outside", kArea, {"<circle cx=\"150\" cy=\"100\" r=\"1\"/>"}, false},
        // Written in a form the reader does not read: no point, its extent unknown.
        {"path without a point read",
         kThinLine,
         {"<g>", "<path d=\"m95,95 l10,10\"/>", "</g>"},
         true},
        {"object moved by a transform",
         kThinLine,
         {"<g transform=\"translate(-150,0)\">", "<path", "d=\"M240,100", "L245,100\"/>", "</g>"},
         true},
    };
    Expect(cases, Trim(cases, CircleSegment()));
}

TEST_F(MapTrimTest, SegmentReachFollowsTheShapeAndTheMapOffset) {
    // A line 45 below the control, 5 wide.
    const std::vector<TrimCase> below = {
        {"line 45 below", kThinLine, Path({"M98,145", "L102,145"}), true}};
    // A circular segment whose map was moved 20 up: the hole now reaches 50
    // below the control.
    Expect(below, Trim(below, CircleSegment(), false, -20));
    const std::vector<TrimCase> beyond = {
        {"line 45 below", kThinLine, Path({"M98,145", "L102,145"}), false}};
    Expect(beyond, Trim(beyond, CircleSegment(), false, 0));

    // The web page's square segment runs from the top of the canvas (where the
    // control is, MapSegment.TOP 0) 60 down.
    SheetLayout web = CircleSegment();
    web.circleShape = false;
    web.modeWeb = true;
    web.mapCentreY = 0;
    const std::vector<TrimCase> webCases = {
        {"line near the bottom corner", kThinLine, Path({"M120,158", "L125,158"}), true},
        {"line far above the control", kThinLine, Path({"M120,20", "L125,20"}), false},
    };
    Expect(webCases, Trim(webCases, web));
}

} // namespace
} // namespace kib::test
