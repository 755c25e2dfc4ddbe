#include "map_fixture.h"

using namespace kib;
using kib::test::MapText;

namespace {

// A description table drawn with the 18-based symbols (D0 .. D5 = 13, 16, 17,
// 18, 19, 20): top 100, row height 6, left 10, eight columns of 6 units; the
// inner vertical lines give c1 = 16, c2 = 22, c4 = 34, c5 = 40 and c7 = 52.
class DescriptionTest : public kib::test::MapFixture {
  protected:
    MapText Table(float fifthLineShift = 0.0f) {
        MapText text;
        text.Symbol(702, 0, "Control circle").EndSymbol();
        text.Symbol(18, 1, "Horizontal line");
        text.Segment(10, 100, 58, 100).Segment(10, 106, 58, 106).EndSymbol();
        text.Symbol(18, 2, "Vertical line",
                    "<g stroke=\"rgb(166, 38, 255)\" stroke-width=\"0.2\">");
        for (float x : {16.0f, 22.0f, 34.0f, 40.0f}) {
            text.Segment(x, 100, x, 106);
        }
        text.Segment(52, 100 + fifthLineShift, 52, 106);
        return text.EndSymbol();
    }
    // One symbol per point, all of major.minor.
    static void Symbols(MapText& text, int major, int minor, std::vector<MapPoint> points) {
        text.Symbol(major, minor, "Description symbol");
        for (MapPoint p : points) {
            text.Circle(p.x, p.y);
        }
        text.EndSymbol();
    }
    // The description symbols of major kept in the row, in order.
    std::vector<SymbolInstance*> RowOf(int row, int major) const {
        std::vector<SymbolInstance*> found;
        for (int k = 1; k <= map->RowEntryCount(row); ++k) {
            if (map->RowEntry(row, k)->major == major) {
                found.push_back(map->RowEntry(row, k));
            }
        }
        return found;
    }
};

TEST_F(DescriptionTest, TableGeometryAndColumnEdges) {
    MapText text = Table();
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    m.AnalyseDescriptions(1);
    EXPECT_FLOAT_EQ(m.descFrame.left, 10);
    EXPECT_FLOAT_EQ(m.descFrame.top, 100);
    EXPECT_FLOAT_EQ(m.descFrame.width, 48);
    EXPECT_FLOAT_EQ(m.descFrame.rowHeight, 6);
    EXPECT_TRUE(HasDebug("Descr: 48.000x6.000+10.000+100.000"));
    EXPECT_TRUE(HasDebug("Descr: 10.000, 16.000, 22.000, 28.000, 34.000, 40.000, 46.000, 52.000, "
                         "58.000, 59.200"));
    EXPECT_EQ(Warnings(), 0);
}

TEST_F(DescriptionTest, RowsAndColumns) {
    MapText text = Table();
    // Rows by y: 103 -> 1, 110 -> 2, 97 -> 0, 93 -> 0 (toward zero), 88 -> out of range.
    Symbols(text, 5, 1, {{25, 103}, {25, 110}, {25, 97}, {25, 93}, {25, 88}});
    // Columns by x: left of the table, A, B, C, H, right of the table.
    Symbols(text, 6, 1, {{9, 115}, {12, 115}, {20, 115}, {25, 115}, {55, 115}, {60, 115}});
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    m.AnalyseDescriptions(1);
    EXPECT_EQ(RowOf(1, 5).size(), 1u);
    EXPECT_EQ(RowOf(2, 5).size(), 1u);
    EXPECT_EQ(RowOf(0, 5).size(), 2u);
    EXPECT_TRUE(HasDebug("Symbol 5.1#5 (25.000, 88.000): Row #-1 out of range!"));
    const std::vector<SymbolInstance*> row3 = RowOf(3, 6);
    ASSERT_EQ(row3.size(), 4u); // the ones left and right of the table are taken back
    EXPECT_EQ(row3[0]->column, 1);
    EXPECT_EQ(row3[1]->column, 2);
    EXPECT_EQ(row3[2]->column, 3);
    EXPECT_EQ(row3[3]->column, 8);
    const SymbolSet& six = *m.FindSet(6, 1);
    EXPECT_EQ(six.instances[0].column, 0);
    EXPECT_EQ(six.instances[5].column, 9);
    EXPECT_EQ(CountMessages("[= WARNING =] Control description column H is not empty; check and "
                            "set SOURCE.ANSWERS configuration."),
              1);
}

TEST_F(DescriptionTest, ZeroToleranceRightOfTheTableStaysCounted) {
    Set(id::Source_ZEROTOL, "19.5");
    MapText text = Table();
    Symbols(text, 19, 5, {{60, 115}});
    Symbols(text, 5, 2, {{60, 115}});
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    m.AnalyseDescriptions(1);
    EXPECT_EQ(RowOf(3, 19).size(), 1u);
    EXPECT_EQ(RowOf(3, 5).size(), 0u);
    EXPECT_EQ(m.rowCount[3], 1);
}

TEST_F(DescriptionTest, LeftOutSetsAndMarkers) {
    MapText text = Table();
    Symbols(text, 14, 1, {{25, 115}}); // between D0 and D1
    Symbols(text, 19, 1, {{20, 115}}); // D4 other than minor 5
    Symbols(text, 19, 5, {{20, 115}});
    Symbols(text, 20, 2, {{25, 115}}); // D5: not counted
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    m.AnalyseDescriptions(1);
    EXPECT_TRUE(RowOf(3, 14).empty());
    EXPECT_TRUE(RowOf(3, 20).empty());
    const std::vector<SymbolInstance*> d4 = RowOf(3, 19);
    ASSERT_EQ(d4.size(), 1u);
    EXPECT_EQ(d4[0]->minor, 5);
}

TEST_F(DescriptionTest, TaskEstimateIsTheFirstRunOfControlRows) {
    MapText text = Table();
    // Row 1 (title): column A only; rows 2 .. 4 and 6: a column-D symbol; row 5: a
    // D2.3 marker and a column-D symbol; row 8: another control row after a gap.
    Symbols(text, 5, 1,
            {{12, 103}, {37, 109}, {37, 115}, {37, 121}, {37, 127}, {37, 133}, {37, 145}});
    Symbols(text, 17, 3, {{12, 127}});
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    m.AnalyseDescriptions(4);
    EXPECT_EQ(m.taskEstimate, 3);
    EXPECT_EQ(m.tasks, 3);
    EXPECT_TRUE(HasDebug("Row 1: count=1, control=no"));
    EXPECT_TRUE(HasDebug("Row 4: count=1, control=yes"));
    EXPECT_TRUE(HasDebug("Row 5: count=1, control=no"));
    EXPECT_TRUE(HasDebug("Row 6: count=1, control=no"));
    EXPECT_TRUE(HasDebug("Symbol 17.3#1 (12.000, 127.000): Row #5"));
    EXPECT_EQ(CountMessages("Number of tasks at station 4 estimated by control description to 3."),
              1);
}

TEST_F(DescriptionTest, TaskCountFromConfigurationAndEstimate) {
    const struct {
        const char* stationTasks;
        const char* eventTasks;
        int rows; // control rows drawn
        int tasks;
        const char* message;
    } cases[] = {
        {"", "6", 4, 4, "Number of tasks at station 2 estimated by control description to 4."},
        {"", "6", 7, 6, nullptr},
        {"", "", 8, 8,
         "[= WARNING =] Number of tasks at station 2 estimated by control description to 8."},
        {"", "", 2, 2,
         "[= WARNING =] Number of tasks at station 2 estimated by control description to 2."},
        {"2", "6", 4, 2, nullptr},
        {"", "5", 0, 5, nullptr},
    };
    for (const auto& c : cases) {
        SetUp();
        SetStation(2, id::Station_TASKS, c.stationTasks);
        Set(id::Event_TASKS, c.eventTasks);
        MapText text = Table();
        std::vector<MapPoint> points;
        for (int row = 2; row < 2 + c.rows; ++row) {
            points.push_back({37, 100.0f + 6.0f * static_cast<float>(row) - 3.0f});
        }
        Symbols(text, 5, 1, points);
        CKibMap& m = Parse(text.Text(), 2);
        ASSERT_TRUE(parsed);
        host.Clear();
        m.AnalyseDescriptions(2);
        EXPECT_EQ(m.tasks, c.tasks) << c.rows;
        EXPECT_EQ(host.messages.size(), c.message ? 1u : 0u) << c.rows;
        if (c.message) {
            EXPECT_EQ(CountMessages(c.message), 1) << c.rows;
        }
    }
}

TEST_F(DescriptionTest, IncompleteTableMeansNoClassification) {
    MapText text = Table(0.001f);
    Symbols(text, 5, 1, {{37, 109}, {37, 115}, {37, 121}});
    Set(id::Event_TASKS, "5");
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    m.AnalyseDescriptions(1);
    EXPECT_EQ(CountMessages("[= WARNING =] Control descriptions seems to be missing or incomplete "
                            "in the map!"),
              1);
    EXPECT_EQ(m.RowEntryCount(2), 0);
    EXPECT_EQ(m.taskEstimate, 0);
    EXPECT_EQ(m.tasks, 5);
}

TEST_F(DescriptionTest, NoTableLines) {
    CKibMap& m = Parse(MapText().Symbol(702, 0, "Control circle").EndSymbol().Text());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(m.descMajors[3], -1);
    m.AnalyseDescriptions(1);
    EXPECT_TRUE(HasDebug("No control description lines found!"));
    EXPECT_EQ(Warnings(), 1);
}

TEST_F(DescriptionTest, RowWithMoreThanTwoHundredSymbols) {
    MapText text = Table();
    std::vector<MapPoint> points(205, MapPoint{37, 109});
    Symbols(text, 5, 1, points);
    CKibMap& m = Parse(text.Text());
    ASSERT_TRUE(parsed);
    m.AnalyseDescriptions(1);
    EXPECT_EQ(CountMessages("[** ERROR **] Too many symbols in row #2 (more than 200)"), 1);
    EXPECT_EQ(m.rowCount[2], 206); // with the lower table line
    EXPECT_EQ(m.RowEntryCount(2), 200);
    EXPECT_EQ(m.RowEntry(2, 201), nullptr);
    EXPECT_EQ(m.RowEntry(31, 1), nullptr);
}

} // namespace
