#include "map_fixture.h"

using namespace kib;
using kib::test::MapText;

namespace {

class GroupingFactorTest : public kib::test::MapFixture {};

// A flag drawn as a pole and a circle: every occurrence is a path then a circle.
MapText& Flag(MapText& text, float x, float y) {
    return text.Segment(x, y, x, y - 4).Circle(x, y - 4);
}

TEST_F(GroupingFactorTest, ConsecutiveObjectsOfOneOccurrenceFormABundle) {
    MapText text;
    text.Symbol(790, 2, "Flag");
    Flag(text, 10, 10);
    Flag(text, 20, 15);
    Flag(text, 35, 12);
    text.EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    SymbolSet& set = *m.FindSet(790, 2);
    EXPECT_EQ(set.Bundles(App().Log()), 3);
    EXPECT_EQ(set.groupingFactor, 2);
    EXPECT_TRUE(HasDebug("Symbol 790.2: Found grouping factor 2, bundles 3"));
}

TEST_F(GroupingFactorTest, FactorsByShapeOfTheList) {
    const struct {
        const char* name;
        std::vector<float> lengths; // 0: a circle, else a horizontal line of that length
        int factor;
    } cases[] = {
        {"single", {2}, 1},
        {"all circles", {0, 0, 0, 0}, 1},
        {"same lines", {3, 3, 3}, 1},
        {"unrelated", {1, 2, 3, 4, 5, 6}, 6},
        {"period that does not divide the count", {0, 5, 0, 5, 0}, 5},
        {"first pair matches, a later one not", {0, 0, 0, 5}, 4},
        {"period three", {0, 5, 7, 0, 5, 7}, 3},
    };
    for (const auto& c : cases) {
        MapText text;
        text.Symbol(790, 2, "Flag");
        float x = 0;
        for (float length : c.lengths) {
            x += 20;
            if (length == 0) {
                text.Circle(x, 5);
            } else {
                text.Segment(x, 5, x + length, 5);
            }
        }
        text.EndSymbol();
        CKibMap& m = Parse(text.Text());
        ASSERT_TRUE(parsed) << c.name;
        SymbolSet& set = *m.FindSet(790, 2);
        set.ComputeGroupingFactor(App().Log());
        EXPECT_EQ(set.groupingFactor, c.factor) << c.name;
        EXPECT_EQ(set.Bundles(App().Log()), static_cast<int>(c.lengths.size()) / c.factor)
            << c.name;
    }
}

TEST_F(GroupingFactorTest, MulticolourSpecialSymbolIsNotBundled) {
    Set(id::Source_FLAG, "790.002");
    MapText text;
    text.Symbol(790, 2, "Flag");
    Flag(text, 10, 10);
    Flag(text, 20, 10);
    text.EndSymbol();
    text.Symbol(790, 2, "Flag");
    Flag(text, 10, 10);
    Flag(text, 20, 10);
    text.EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(CountMessages("[= WARNING =] Multicolor special symbols (790.2) cannot be rotated!"),
              1);
    SymbolSet& set = *m.FindSet(790, 2);
    EXPECT_EQ(set.count, 8);
    EXPECT_EQ(set.Bundles(App().Log()), 8);
    EXPECT_EQ(set.groupingFactor, 1);
    EXPECT_EQ(set.instances[4].index, 5);
    EXPECT_EQ(set.instances[3].next, &set.instances[4]);
}

TEST_F(GroupingFactorTest, CountBundlesOverARangeOfMinors) {
    MapText text;
    text.Symbol(19, 21, "Answer A").Circle(1, 1).EndSymbol();
    text.Symbol(19, 23, "Answer C").Circle(2, 2).Circle(3, 3).EndSymbol();
    text.Symbol(19, 28, "Beyond").Circle(4, 4).EndSymbol();
    // 19.x are description symbols: the layer must have started.
    CKibMap& m = Parse(MapText().Symbol(702, 0, "Control circle").EndSymbol().Text(false) +
                       text.Text().substr(text.Text().find("<g id=\"Sym_")));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(m.CountBundles(19, 21, 7), 3);
    EXPECT_EQ(m.CountBundles(19, 21, 8), 4);
    EXPECT_EQ(m.CountBundles(19, -5, 100), 4);
    EXPECT_EQ(m.CountBundles(19, 990, 1000000), 0);
    EXPECT_EQ(m.CountBundles(1000, 0, 5), 0);
    EXPECT_EQ(m.CountBundles(792, 0, 8), 0);
}

} // namespace
