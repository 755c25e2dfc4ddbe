// The demo event (examples/demo, made by kibgen) read and analysed station by station:
// every station is clean, every task has its control circle, and the rotation is the
// one the generator intended (examples/demo/expected.txt).
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "map_input/document_exports.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

namespace kib {
namespace {

const std::string kDemo = std::string(KIB_SOURCE_DIR) + "/examples/demo/";

struct Intended {
    int tasks = 0;
    int rotation = -1;
};

// "station N course ...: tasks T, ... rotation R (...)" lines of expected.txt.
std::map<int, Intended> ReadIntended() {
    std::map<int, Intended> stations;
    std::ifstream in(kDemo + "expected.txt");
    std::string line;
    while (std::getline(in, line)) {
        int station = 0;
        Intended s;
        const std::size_t rotation = line.find(", rotation ");
        if (std::sscanf(line.c_str(), "station %d course %*s tasks %d", &station, &s.tasks) == 2 &&
            rotation != std::string::npos &&
            std::sscanf(line.c_str() + rotation, ", rotation %d", &s.rotation) == 1) {
            stations[station] = s;
        }
    }
    return stations;
}

// Opens the demo's configuration and reads its courses list and map zoom, as a
// Make command does before its run.
void OpenDemo(CKibDoc& doc) {
    ASSERT_TRUE(doc.OnOpenDocument(kDemo + "demo.cfg"));
    ReadCourseList(doc);
    ReadMapZoom(doc);
}

bool IsProblem(const std::string& line) {
    return line.rfind("[** ERROR **]", 0) == 0 || line.rfind("[= WARNING =]", 0) == 0;
}

TEST(DemoEventTest, EveryStationIsCleanWithItsCirclesAndRotation) {
    test::RecordingHost host;
    host.Install();
    CKibDoc doc;
    doc.UseServices(App().CurrentHost(), App().Log());
    OpenDemo(doc);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    EXPECT_EQ(doc.mapScale, 4000);
    EXPECT_FLOAT_EQ(doc.mapZoom, 1.0f);
    const std::map<int, Intended> intended = ReadIntended();
    ASSERT_EQ(intended.size(), 4u);
    CKibSvg svg(doc);
    for (const auto& [station, want] : intended) {
        SCOPED_TRACE("station " + std::to_string(station));
        host.Clear();
        ASSERT_TRUE(svg.ReadCourses(station));
        ASSERT_TRUE(svg.ReadMap(station, 1));
        const CKibMap& map = *svg.GetMap();
        EXPECT_EQ(map.tasks, want.tasks);
        EXPECT_EQ(map.rotation, want.rotation);
        for (int t = 1; t <= want.tasks; ++t) {
            bool drawn = false;
            for (int p = 0; p < map.partCount; ++p) {
                drawn = drawn || map.PartHasTask(p, t);
            }
            EXPECT_TRUE(drawn) << "task " << t;
        }
        for (const std::string& line : host.messages) {
            EXPECT_FALSE(IsProblem(line)) << line;
        }
    }
}

// The reads of one command take each kept map instead of parsing it again, while
// the kept maps fit their budget; a map beyond it is parsed again, to the same
// analysis.
TEST(DemoEventTest, KeptMapsStayWithinTheirBudget) {
    for (const std::size_t budget : {kKeptMapsBudget, std::size_t{0}}) {
        SCOPED_TRACE("budget " + std::to_string(budget));
        test::RecordingHost host;
        host.Install();
        CKibDoc doc;
        doc.UseServices(App().CurrentHost(), App().Log());
        OpenDemo(doc);
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        CKibSvg svg(doc);
        svg.KeepMaps(budget);
        std::map<int, int> rotations;
        App().debugSwitch = true;
        host.Clear();
        for (int pass = 0; pass < 2; ++pass) {
            for (int station = 1; station <= 4; ++station) {
                ASSERT_TRUE(svg.ReadCourses(station));
                ASSERT_TRUE(svg.ReadMap(station, 1));
                const int rotation = svg.GetMap()->rotation;
                if (pass == 0) {
                    rotations[station] = rotation;
                }
                EXPECT_EQ(rotation, rotations[station]) << "station " << station;
            }
        }
        // Each parse of an export says so on the Debug pane; a kept map is not
        // parsed again, but it reports what its read reported: the viewing angle
        // of the three stations whose rotation comes from the chair (station 3's
        // sector is set), each time it is read.
        std::size_t parsed = 0;
        std::size_t angles = 0;
        for (const std::string& line : host.debug) {
            parsed += line.rfind("Parsing map export ", 0) == 0 ? 1 : 0;
        }
        for (const std::string& line : host.messages) {
            angles += line.find(": Viewing angle ") != std::string::npos ? 1 : 0;
        }
        EXPECT_EQ(parsed, budget == 0 ? 8u : 4u);
        EXPECT_EQ(angles, 6u);
    }
}

} // namespace
} // namespace kib
