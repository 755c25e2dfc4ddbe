#include "app/analyse_run.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/run_control.h"
#include "map_input/document_exports.h"
#include "support/recording_host.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace kib;

namespace {

// The hand-made Sprint event of the map input tests: station 1 has a course and
// a map, station 2 a course but no map, station 3 neither.
class AnalyseRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        doc.UseServices(App().CurrentHost(), App().Log());
        CKibCfg& cfg = doc.NewConfig();
        doc.SetPathParts(test::TestData("map_input/event.cfg"));
        ASSERT_TRUE(cfg.Item(id::Event_NAME).SetText("Sprint"));
        ASSERT_TRUE(cfg.Item(id::Source_COURSE).SetText("S${STAT}"));
        ASSERT_TRUE(cfg.Item(id::Source_CHAIR).SetText("790.001"));
        ASSERT_TRUE(cfg.Item(id::Source_FLAG).SetText("790.002 790.003"));
        ASSERT_TRUE(cfg.Item(id::Source_LETTERS).SetText("791"));
        ASSERT_TRUE(cfg.Item(id::Event_TASKS).SetText("3"));
        ASSERT_TRUE(cfg.Item(id::Event_FLAGS).SetText("5"));
        ASSERT_TRUE(cfg.StationItem(1, id::Station_ANSWERS).SetText("ZZZ"));
        ReadCourseList(doc); // the map scale, as loading the configuration reads it
    }

    test::RecordingHost host;
    CKibDoc doc;
    std::vector<std::string> summary;
};

TEST_F(AnalyseRunTest, CleanStation) {
    EXPECT_EQ(AnalyseStations(doc, {1}, summary, App().Log()), 0);
    EXPECT_EQ(summary,
              (std::vector<std::string>{
                  "Station 1: 3 tasks, 5 flags, rotation 358, circle parts 4 matched / 0 "
                  "unmatched, no problem found",
                  "  task 1: key Z (ANSWERS of the station), map Z (no flag within 2.0 m of the "
                  "circle's centre (nearest B 225.7 m))",
                  "  task 2: key Z (ANSWERS of the station), map Z (no flag within 2.0 m of the "
                  "circle's centre (nearest B 124.3 m))",
                  "  task 3: key Z (ANSWERS of the station), map Z (no flag within 2.0 m of the "
                  "circle's centre (nearest A 123.3 m))"}));
    EXPECT_TRUE(host.HasMessage("Station #1: Viewing angle 85 (-40/#1:45/#5), rotation=358"));
    EXPECT_FALSE(RUNNING());
    EXPECT_EQ(host.statusTexts.back(), "Ready");
}

TEST_F(AnalyseRunTest, StationsThatCannotBeReadAreErrors) {
    EXPECT_EQ(AnalyseStations(doc, {2, 3, 1}, summary, App().Log()), 2);
    ASSERT_GE(summary.size(), 3u);
    EXPECT_EQ(summary[0], "Station 2: map not read, errors found");
    EXPECT_EQ(summary[1], "Station 3: courses file not read, errors found");
    EXPECT_EQ(summary[2].substr(0, 20), "Station 1: 3 tasks, ");
    EXPECT_EQ(summary.size(), 6u) << "and a line per task of the station read";
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Cannot find course 'S3' in the Courses.xml"));
}

TEST_F(AnalyseRunTest, MapThatEndsEarly) {
    const std::string dir = test::MakeTempDir("analyse");
    ASSERT_NE(dir, "");
    const std::string data = std::string(KIB_TEST_DATA_DIR) + "/map_input/";
    std::filesystem::copy_file(data + "Sprint.Courses.xml", dir + "/Sprint.Courses.xml");
    std::ifstream in(data + "Sprint.S1.svg", std::ios::binary);
    const std::string map(std::istreambuf_iterator<char>(in), {});
    std::ofstream(dir + "/Sprint.S1.svg", std::ios::binary) << map.substr(0, map.size() / 2);
    doc.SetPathParts(dir + "/event.cfg");
    EXPECT_EQ(AnalyseStations(doc, {1}, summary, App().Log()), 2);
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Map of station 1 could not be read completely!"));
    EXPECT_EQ(summary, (std::vector<std::string>{"Station 1: map not read, errors found"}));
    std::filesystem::remove_all(dir);
}

TEST_F(AnalyseRunTest, WarningsOfAStation) {
    ASSERT_TRUE(doc.GetConfig()->Item(id::Source_LETTERS).SetText(""));
    ASSERT_TRUE(doc.GetConfig()->Item(id::Event_TASKS).SetText(""));
    EXPECT_EQ(AnalyseStations(doc, {1}, summary, App().Log()), 1);
    EXPECT_TRUE(host.HasMessage("[= WARNING =] Number of tasks undefined for station 1"));
    EXPECT_EQ(summary.front().substr(summary.front().size() - 16), ", warnings found");
}

TEST_F(AnalyseRunTest, StopEndsTheRun) {
    host.onPump = [] { OnStop(); };
    EXPECT_EQ(AnalyseStations(doc, {1, 2}, summary, App().Log()), 2);
    EXPECT_EQ(summary, (std::vector<std::string>{"Station 1: not analysed, the run was stopped"}));
    EXPECT_TRUE(host.HasMessage("[= WARNING =] STOP button pressed"));
}

TEST_F(AnalyseRunTest, TasksWithoutCircleAreNamed) {
    ASSERT_TRUE(doc.GetConfig()->StationItem(1, id::Station_TASKS).SetText("4"));
    EXPECT_EQ(AnalyseStations(doc, {1}, summary, App().Log()), 1);
    EXPECT_EQ(summary.front(),
              "Station 1: 4 tasks, 5 flags, rotation 358, circle parts 4 matched / "
              "0 unmatched, no circle for task 4, warnings found");
    EXPECT_EQ(summary.back(), "  task 4: key ?, map ? (no control circle of the task in the map)");
    EXPECT_TRUE(host.HasMessage("[= WARNING =] Station 1: TASKS=4 of the station, but its map "
                                "holds 3 tasks (3 description rows, 3 course controls)"));
}

// The answer key against the map: a task whose key differs names both letters;
// tasks without a key are named; both are warnings (exit status 1).
TEST_F(AnalyseRunTest, AnswerKeyAgainstTheMap) {
    const struct {
        const char* answers;
        std::string warning;
    } cases[] = {
        {"ZAZ", "[= WARNING =] Station 1, task 2: the answer key says A (ANSWERS of the station), "
                "but the map says Z (no flag within 2.0 m of the circle's centre (nearest B "
                "124.3 m))"},
        {"Z", "[= WARNING =] Station 1: no answer key for task 2, 3 (column H holds none and "
              "ANSWERS of the station is not set)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers);
        host.Clear();
        summary.clear();
        ASSERT_TRUE(doc.GetConfig()->StationItem(1, id::Station_ANSWERS).SetText(c.answers));
        EXPECT_EQ(AnalyseStations(doc, {1}, summary, App().Log()), 1);
        EXPECT_TRUE(host.HasMessage(c.warning));
    }
    // A larger distance on the ground takes in flag B for task 2 (124.3 m away).
    ASSERT_TRUE(doc.GetConfig()->Item(id::Source_ANSWERDIST).SetText("125"));
    ASSERT_TRUE(doc.GetConfig()->StationItem(1, id::Station_ANSWERS).SetText("ZBA"));
    summary.clear();
    EXPECT_EQ(AnalyseStations(doc, {1}, summary, App().Log()), 0);
    EXPECT_EQ(summary[2],
              "  task 2: key B (ANSWERS of the station), map B (flag B 124.3 m from the "
              "circle's centre)");
    // Two flags within the distance: the map's answer is ambiguous, whatever the key.
    ASSERT_TRUE(doc.GetConfig()->Item(id::Source_ANSWERDIST).SetText("250"));
    summary.clear();
    host.Clear();
    EXPECT_EQ(AnalyseStations(doc, {1}, summary, App().Log()), 1);
    EXPECT_TRUE(host.HasMessage(
        "[= WARNING =] Station 1, task 1: the answer key says Z (ANSWERS of the station), but the "
        "map's answer is ambiguous (flags B 225.7 m, A 229.4 m, C 237.5 m within 250.0 m of the "
        "circle's centre)"));
    EXPECT_EQ(summary[1], "  task 1: key Z (ANSWERS of the station), map ambiguous (flags B 225.7 "
                          "m, A 229.4 m, C 237.5 m within 250.0 m of the circle's centre) - "
                          "DIFFERENT");
}

} // namespace
