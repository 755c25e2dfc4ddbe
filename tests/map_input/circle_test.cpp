#include "map_fixture.h"

using namespace kib;
using kib::test::MapText;

namespace {

// Maps with a start 701.0 and control circles 702.0; the course data is given
// in map coordinates and stored as the courses reader does (file y points up).
class CircleTest : public kib::test::MapFixture {
  protected:
    void Course(MapPoint start, const std::vector<MapPoint>& controls) {
        svg->codes[0] = "S1";
        svg->startPosition = {start.x, -start.y};
        svg->offsets[0] = {0, 0};
        svg->controlCount = static_cast<int>(controls.size());
        for (std::size_t i = 1; i <= controls.size(); ++i) {
            const MapPoint c = controls[i - 1];
            svg->codes[i] = std::to_string(30 + i);
            svg->positions[i] = {c.x, -c.y};
            svg->offsets[i] = {svg->positions[i].x - svg->startPosition.x,
                               svg->startPosition.y - svg->positions[i].y};
        }
    }
    CKibMap& Analyse(const std::optional<MapPoint>& start, const std::vector<MapPoint>& circles,
                     int tasks) {
        MapText text;
        if (start) {
            text.Symbol(701, 0, "Start").Circle(start->x, start->y).EndSymbol();
        }
        text.Symbol(702, 0, "Control circle");
        for (MapPoint c : circles) {
            text.Circle(c.x, c.y);
        }
        text.EndSymbol();
        CKibMap& m = Parse(text.Text());
        EXPECT_TRUE(parsed);
        m.tasks = tasks;
        host.Clear();
        m.AnalyseCircles(1, 1);
        return m;
    }
    std::vector<std::string> Assignments(const CKibMap& m) const {
        return {m.assignments.begin(), m.assignments.begin() + m.partCount};
    }
};

TEST_F(CircleTest, OneCirclePerTask) {
    Course({50, 50}, {{60, 40}, {80, 45}, {70, 70}});
    CKibMap& m = Analyse(MapPoint{50, 50}, {{60, 40}, {80, 45}, {70, 70}}, 3);
    EXPECT_EQ(Assignments(m), (std::vector<std::string>{":1:", ":2:", ":3:"}));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(m.PartHasTask(1, 2));
    EXPECT_FALSE(m.PartHasTask(1, 1));
    EXPECT_EQ(m.Part(2), &m.FindSet(702, 0)->instances[2]);
    EXPECT_TRUE(HasDebug("Start symbol position: 50.000 50.000 (scaled: 50.000 50.000)"));
    EXPECT_TRUE(HasDebug("Control base: 50.000 50.000 (scaled: 50.000 50.000)"));
    EXPECT_TRUE(HasDebug("Control circle offset #1: 30.000 -5.000"));
    EXPECT_TRUE(HasDebug("Control circle part #2 assigned to course control #2 (32) (dist=0.000)"));
    EXPECT_TRUE(HasDebug("Course control #1 (31) position: 60.000, -40.000 ~ 10.000 -10.000"));
}

// Tasks whose codes the courses file does not define have no position: no circle
// matches them, they are at no place together, and the later tasks keep their circles.
TEST_F(CircleTest, TasksWithoutPosition) {
    Course({50, 50}, {{60, 40}, {0, 0}, {0, 0}, {70, 70}});
    svg->noPosition[2] = true;
    svg->noPosition[3] = true;
    CKibMap& m = Analyse(MapPoint{50, 50}, {{60, 40}, {70, 70}}, 4);
    EXPECT_EQ(Assignments(m), (std::vector<std::string>{":1:", ":4:"}));
    EXPECT_EQ(
        host.messages,
        (std::vector<std::string>{
            "[= WARNING =] Wrong number of circle parts (0) for course control 1.2 (32)!\n",
            "[= WARNING =] Wrong number of circle parts (0) for course control 1.3 (33)!\n"}));
    EXPECT_TRUE(HasDebug("Course control #2 (32) has no position"));
}

TEST_F(CircleTest, CircleJustOutsideTheTolerance) {
    Course({50, 50}, {{60, 40}});
    CKibMap& m = Analyse(MapPoint{50, 50}, {{60.3f, 40}}, 1);
    EXPECT_EQ(Assignments(m), (std::vector<std::string>{":"}));
    EXPECT_EQ(CountMessages("Control circle part #1 seems to be very close to course control 1.1 "
                            "(31) (dist=0.300).\n"),
              1);
    EXPECT_EQ(CountMessages("[= WARNING =] Control circle part #1 of station 1 map unmatched."), 1);
    EXPECT_EQ(CountMessages("[= WARNING =] Wrong number of circle parts (0) for course control "
                            "1.1 (31)!\n"),
              1);
    EXPECT_EQ(m.unmatchedParts, 1);
}

TEST_F(CircleTest, CoincidingControlsShareTheirCircles) {
    Course({50, 50}, {{60, 40}, {60.1f, 40}});
    CKibMap& m = Analyse(MapPoint{50, 50}, {{60, 40}, {60.05f, 40}, {60, 40.05f}, {60.1f, 40}}, 2);
    EXPECT_EQ(CountMessages("Course control 1.2 (32) seems to be at the same place as #1 (31) "
                            "(dist=0.100)."),
              1);
    EXPECT_TRUE(HasDebug("# 1 (2): [        *    0.100]"));
    EXPECT_TRUE(HasDebug("# 2 (2): [    0.100        *]"));
    EXPECT_EQ(Assignments(m), (std::vector<std::string>{":1:2:", ":1:2:", ":", ":"}));
    EXPECT_TRUE(HasDebug("Control circle part #3 released"));
    EXPECT_TRUE(HasDebug("Control circle part #4 released"));
    EXPECT_EQ(m.releasedParts, 2);
    EXPECT_EQ(Warnings(), 0);
}

TEST_F(CircleTest, CountThatDoesNotDivideAmongCoincidingControls) {
    Course({50, 50}, {{60, 40}, {60.1f, 40}});
    CKibMap& m = Analyse(MapPoint{50, 50}, {{60, 40}, {60.05f, 40}, {60, 40.05f}}, 2);
    EXPECT_EQ(Assignments(m), (std::vector<std::string>{":1:2:", ":1:2:", ":1:2:"}));
    EXPECT_EQ(CountMessages("[= WARNING =] Wrong number of circle parts (3) for course control "
                            "1.1 (31)!\n"),
              1);
    EXPECT_EQ(CountMessages("[= WARNING =] Wrong number of circle parts (3) for course control "
                            "1.2 (32)!\n"),
              1);
}

TEST_F(CircleTest, CloseButNotCoincidingControls) {
    Course({50, 50}, {{60, 40}, {60.4f, 40}});
    Analyse(MapPoint{50, 50}, {{60, 40}, {60.4f, 40}}, 2);
    EXPECT_EQ(CountMessages("Course control 1.2 (32) seems to be very close to #1 (31) "
                            "(dist=0.400).\n"),
              1);
    EXPECT_EQ(Warnings(), 0);
}

TEST_F(CircleTest, WithoutStartTheBaseIsTheCornerOfTheCircles) {
    Course({50, 50}, {{60, 40}, {80, 45}});
    CKibMap& m = Analyse(std::nullopt, {{60, 40}, {80, 45}}, 2);
    EXPECT_EQ(CountMessages("[= WARNING =] Cannot find start  (symbol 701.0) for station 1 in the "
                            "map!"),
              1);
    EXPECT_TRUE(HasDebug("Control base: 60.000 40.000 (scaled: 60.000 40.000)"));
    EXPECT_EQ(Assignments(m), (std::vector<std::string>{":", ":"}));
}

TEST_F(CircleTest, NoCirclesAndTasksBeyondTheCourse) {
    Course({50, 50}, {{60, 40}});
    MapText text;
    text.Symbol(701, 0, "Start").Circle(50, 50).EndSymbol();
    CKibMap& m = Parse(text.Text());
    m.circleMajor = 702;
    m.tasks = 2;
    host.Clear();
    m.AnalyseCircles(1, 1);
    EXPECT_EQ(m.partCount, 0);
    EXPECT_EQ(m.firstPart, nullptr);
    EXPECT_EQ(
        CountMessages("[= WARNING =] Cannot find control circles (symbol 702.0) for station 1 "
                      "in the map!"),
        1);
    EXPECT_EQ(CountMessages("[= WARNING =] Wrong number of circle parts (0) for course control "
                            "1.1 (31)!\n"),
              1);
    EXPECT_EQ(CountMessages("[= WARNING =] Wrong number of circle parts (0) for course control "
                            "1.2 ()!\n"),
              1);
}

TEST_F(CircleTest, NoCircleSymbolGuessedLooksUpNothing) {
    Course({50, 50}, {{60, 40}});
    MapText text;
    text.Symbol(702, 0, "Control circle").EndSymbol(); // starts the course-setting layer
    text.Symbol(0, 0, "Description symbol").Circle(60, 40).EndSymbol();
    CKibMap& m = Parse(text.Text());
    ASSERT_NE(m.FindSet(0, 0), nullptr);
    m.circleMajor = 0;
    m.tasks = 1;
    host.Clear();
    m.AnalyseCircles(1, 1);
    EXPECT_EQ(m.partCount, 0);
    EXPECT_EQ(CountMessages("[= WARNING =] Cannot find control circles (symbol 0.0) for station 1 "
                            "in the map!"),
              1);
}

TEST_F(CircleTest, AtMostOneHundredParts) {
    for (int count : {100, 101}) {
        Course({0, 0}, {{1, 1}});
        std::vector<MapPoint> circles(static_cast<std::size_t>(count), MapPoint{1, 1});
        CKibMap& m = Analyse(MapPoint{0, 0}, circles, 1);
        EXPECT_EQ(m.partCount, 100) << count;
        EXPECT_EQ(Errors(), count == 101 ? 1 : 0) << count;
        if (count == 101) {
            EXPECT_EQ(CountMessages("[** ERROR **] Exceeded limit for circle parts (101 > 100)"),
                      1);
        }
        EXPECT_EQ(m.Part(100), nullptr);
        EXPECT_FALSE(m.PartHasTask(100, 1));
    }
}

TEST_F(CircleTest, ToleranceFromTheConfiguration) {
    Set(id::Source_DELTA, "0.5");
    Course({50, 50}, {{60, 40}});
    CKibMap& m = Analyse(MapPoint{50, 50}, {{60.3f, 40}}, 1);
    EXPECT_EQ(Assignments(m), (std::vector<std::string>{":1:"}));
}

} // namespace
