// The pairing of a station's tasks with its course controls, circles and
// description rows: which courses, maps and task counts pair, and what the
// error names when they do not.
#include "map_fixture.h"
#include "map_input/task_pairing.h"

using namespace kib;
using kib::test::MapText;

namespace {

// A course S1 with its start at (50, 50) and controls 31, 32, ... in map
// coordinates (stored as the courses reader does: file y points up), a map with
// the start and the circles, and the description rows and tasks the station has.
struct PairingCase {
    const char* what;
    std::vector<MapPoint> controls;
    int finishes; // the last controls that are of type Finish
    std::vector<MapPoint> circles;
    int rows; // control rows of the description table, 0: none found
    int tasks;
    std::string error; // empty: the tasks pair
};

class TaskPairingTest : public kib::test::MapFixture {
  protected:
    void Course(const std::vector<MapPoint>& controls, int finishes) {
        svg->courseName = "S1";
        svg->codes[0] = "S1";
        svg->startPosition = {50, -50};
        svg->controlCount = static_cast<int>(controls.size());
        svg->finishCount = finishes;
        for (std::size_t i = 1; i <= controls.size(); ++i) {
            const MapPoint c = controls[i - 1];
            svg->codes[i] = i + finishes > controls.size() ? "F1" : std::to_string(30 + i);
            svg->finish[i] = i + finishes > controls.size();
            svg->positions[i] = {c.x, -c.y};
            svg->offsets[i] = {c.x - 50, c.y - 50};
        }
        // The courses file defines one more control, which no course names.
        svg->definedControls = {{"99", {90, -40}}};
    }
    CKibMap& Analyse(const PairingCase& c) {
        Course(c.controls, c.finishes);
        MapText text;
        text.Symbol(701, 0, "Start").Circle(50, 50).EndSymbol();
        text.Symbol(702, 0, "Control circle");
        for (MapPoint p : c.circles) {
            text.Circle(p.x, p.y);
        }
        text.EndSymbol();
        CKibMap& m = Parse(text.Text());
        EXPECT_TRUE(parsed);
        m.tasks = c.tasks;
        m.taskEstimate = c.rows;
        m.AnalyseCircles(1, 1);
        host.Clear();
        return m;
    }
};

TEST_F(TaskPairingTest, EveryTaskOnItsOwnControlCircleAndRow) {
    const MapPoint a{60, 40}, b{80, 45}, c{70, 70}, d{90, 40};
    const PairingCase cases[] = {
        {"one to one", {a, b, c}, 0, {a, b, c}, 3, 3, ""},
        {"the finish is no task", {a, b, c, {50, 52}}, 1, {a, b, c}, 3, 3, ""},
        {"fewer tasks configured", {a, b, c}, 0, {a, b, c}, 3, 2, ""},
        {"two tasks at one place", {a, a, b}, 0, {a, b}, 3, 3, ""},
        {"a course that lacks a control",
         {a, c},
         0,
         {a, b, c},
         3,
         3,
         "[** ERROR **] Course S1 has 2 controls for 3 description rows; the circle at 80.0, "
         "-45.0 has no control in the course"},
        {"a circle where the file defines a control that no course names",
         {a, b},
         0,
         {a, b, d},
         3,
         3,
         "[** ERROR **] Course S1 has 2 controls for 3 description rows; the circle at 90.0, "
         "-40.0 (control 99 in the courses file) has no control in the course"},
        {"a course with one control too many",
         {a, d, b, c},
         0,
         {a, b, c},
         3,
         3,
         "[** ERROR **] Course S1 has 4 controls for 3 description rows; control 32 has no "
         "circle in the map"},
        {"a control too many before the finish",
         {a, b, d, c, {50, 52}},
         1,
         {a, b, c},
         3,
         3,
         "[** ERROR **] Course S1 has 4 controls for 3 description rows; control 33 has no "
         "circle in the map"},
        {"no description table, more tasks than controls",
         {a, b, c},
         0,
         {a, b, c},
         0,
         4,
         "[** ERROR **] Course S1 has 3 controls for 4 tasks"},
        {"a circle away from its control",
         {a, b, c},
         0,
         {a, {85, 45}, c},
         3,
         3,
         "[** ERROR **] Course S1: control 32 of task 1.2 has no circle in the map; the circle "
         "at 85.0, -45.0 has no control in the course"},
        {"many circles away: five are named",
         {a, b, c},
         0,
         {a, b, c, {20, 20}, {21, 20}, {22, 20}, {23, 20}, {24, 20}, {25, 20}, {26, 20}},
         0,
         4,
         "[** ERROR **] Course S1 has 3 controls for 4 tasks; the circle at 20.0, -20.0, the "
         "circle at 21.0, -20.0, the circle at 22.0, -20.0, the circle at 23.0, -20.0, the "
         "circle at 24.0, -20.0 and 2 more have no control in the course"},
        {"two circles missing",
         {a, b, c},
         0,
         {a},
         3,
         3,
         "[** ERROR **] Course S1: control 32 of task 1.2 and control 33 of task 1.3 have no "
         "circle in the map"},
    };
    for (const PairingCase& c : cases) {
        SCOPED_TRACE(c.what);
        CKibMap& m = Analyse(c);
        EXPECT_EQ(CheckTaskPairing(*svg, m, 1), c.error.empty());
        if (c.error.empty()) {
            EXPECT_TRUE(host.messages.empty()) << host.messages.front();
        } else {
            EXPECT_EQ(host.messages, std::vector<std::string>{c.error});
        }
    }
}

} // namespace
