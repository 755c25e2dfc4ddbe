// The map body a sheet copies: every content line of the export that is not
// hidden, whether the objects around it are shown, left out whole (and jumped
// over through the index of their line ranges) or hidden in part.
#include "map_input/line_ops.h"
#include "map_input/map_fixture.h"
#include "sheet/export_body.h"
#include "sheet/map_adjust.h"
#include "sheet/sheet_layout.h"

#include <random>
#include <sstream>
#include <string>

namespace kib::test {
namespace {

class MapBodyTest : public MapFixture {
  protected:
    // Three symbols: paths of several lines each, circles of one line each, and
    // paths again, so that objects follow objects and the symbols' own group
    // lines stand between them.
    CKibMap& ReadObjects() {
        Set(id::Target_REDUCESIZE, "Yes");
        MapText text;
        text.Symbol(301, 0, "Paths");
        for (int k = 0; k < 5; ++k) {
            const float x = 20.0f + 30.0f * static_cast<float>(k);
            text.Path({MapText::Point("M", x, 20.0f), MapText::Point("L", x + 5.0f, 25.0f),
                       MapText::Point("", x + 10.0f, 20.0f)});
        }
        text.EndSymbol();
        text.Symbol(302, 0, "Dots", "<g fill=\"rgb(0,0,0)\" stroke=\"none\">");
        for (int k = 0; k < 4; ++k) {
            text.Circle(30.0f + 40.0f * static_cast<float>(k), 150.0f);
        }
        text.EndSymbol();
        text.Symbol(303, 0, "Lines");
        for (int k = 0; k < 3; ++k) {
            text.Segment(10.0f, 60.0f + 20.0f * static_cast<float>(k), 190.0f, 70.0f);
        }
        text.EndSymbol();
        CKibMap& m = Parse(text.Text());
        EXPECT_TRUE(parsed);
        return m;
    }

    static std::string Body(const CKibMap& m) {
        std::ostringstream out;
        WriteMapBody(m, out);
        return out.str();
    }

    // What the body must be: every line between the scale group line and the
    // closing lines that is not hidden, looked at one by one.
    static std::string ShownLines(const CKibMap& m) {
        std::string text;
        for (const MapLine& line : m.Lines()) {
            if (line.lineNo > m.firstContentLine->lineNo && line.lineNo < m.lineCount - 1 &&
                !line.hidden) {
                text += line.text + "\r\n";
            }
        }
        return text;
    }
};

TEST_F(MapBodyTest, EveryObjectHasABlockOfItsLines) {
    CKibMap& m = ReadObjects();
    ASSERT_EQ(m.Blocks().size(), 12u);
    for (const SymbolSet* set : {m.FindSet(301, 0), m.FindSet(302, 0), m.FindSet(303, 0)}) {
        ASSERT_NE(set, nullptr);
        for (const SymbolInstance& inst : set->instances) {
            ASSERT_NE(inst.firstLine->block, nullptr);
            EXPECT_EQ(inst.firstLine->block->first, inst.firstLine->lineNo);
            EXPECT_EQ(inst.firstLine->block->last, inst.lastLine->lineNo);
            EXPECT_EQ(inst.lastLine->block, inst.firstLine->block);
        }
    }
    EXPECT_EQ(m.FindSet(301, 0)->groupLine->block, nullptr) << "a symbol's own line is no object";
    EXPECT_EQ(Body(m), ShownLines(m));
}

TEST_F(MapBodyTest, HiddenWholeOrInPartTheBodyHoldsEveryShownLine) {
    CKibMap& m = ReadObjects();
    const SymbolSet& paths = *m.FindSet(301, 0);
    const SymbolSet& dots = *m.FindSet(302, 0);
    struct Step {
        const char* what;
        int first;
        int last;
        bool hidden;
    };
    const int p1 = paths.instances[1].firstLine->lineNo;
    const int p1End = paths.instances[1].lastLine->lineNo;
    const int p4End = paths.instances[4].lastLine->lineNo;
    const int d0 = dots.instances[0].firstLine->lineNo;
    const Step steps[] = {
        {"an object hidden whole", p1, p1End, true},
        {"one line of it shown again", p1 + 2, p1 + 2, false},
        {"the middle of an object", paths.instances[2].firstLine->lineNo + 1,
         paths.instances[2].lastLine->lineNo - 1, true},
        {"from inside an object over the symbol lines into a circle", p4End - 1, d0, true},
        {"everything", 1, m.lineCount, true},
        {"an object shown in a hidden map", p1, p1End, false},
        {"everything shown again", 1, m.lineCount, false},
    };
    for (const Step& step : steps) {
        SetLinesHidden(m.Line(step.first), m.Line(step.last), step.hidden, App().Log());
        EXPECT_EQ(Body(m), ShownLines(m)) << step.what;
    }
    // Hiding and showing at random, each block's count has to follow.
    std::mt19937 random(7);
    for (int k = 0; k < 300; ++k) {
        std::uniform_int_distribution<int> lineNo(1, m.lineCount);
        int a = lineNo(random);
        int b = lineNo(random);
        if (a > b) {
            std::swap(a, b);
        }
        SetLinesHidden(m.Line(a), m.Line(b), (random() & 1) != 0, App().Log());
        ASSERT_EQ(Body(m), ShownLines(m)) << "after " << k + 1 << " random changes";
    }
}

TEST_F(MapBodyTest, TrimmedAroundEachControlTheBodyHoldsEveryShownLine) {
    CKibMap& m = ReadObjects();
    SheetLayout layout;
    layout.circleShape = true;
    layout.segRadius = 15;
    layout.segW = layout.segH = 30;
    layout.segMargin = 2;
    const std::string whole = Body(m);
    for (const MapPoint at : {MapPoint{20.0f, 20.0f}, MapPoint{150.0f, 150.0f},
                              MapPoint{100.0f, 70.0f}, MapPoint{20.0f, 20.0f}}) {
        ReduceToSegment(m, layout, at.x, at.y, false);
        const std::string body = Body(m);
        EXPECT_EQ(body, ShownLines(m)) << at.x << "," << at.y;
        EXPECT_LT(body.size(), whole.size()) << "objects far from the control are left out";
    }
}

} // namespace
} // namespace kib::test
