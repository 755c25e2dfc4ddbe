// The competition generation run on a fixture event written to disk: which
// sheets a run makes for each tiling and task choice, the second run that
// changes nothing, and the stations it skips.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "event_fixture.h"
#include "foundation/app_state.h"
#include "foundation/run_control.h"
#include "map_input/kib_svg.h"
#include "run_fixture.h"
#include "sheet/map_generation.h"
#include "support/recording_host.h"
#include "support/run_program.h"
#include "svg_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kib {
namespace {

namespace fs = std::filesystem;

class GenerationTest : public test::RunEventTest {
  protected:
    void SetUp() override {
        MakeRunEvent("generation", 2);
        Set(id::OrderTabs_SIZE, "10");
    }
    // Writes the maps of stations 1 and 2 and the courses file, with the tasks.
    void WriteEvent(int tasks) {
        Set(id::Event_TASKS, std::to_string(tasks));
        test::FixtureOptions options;
        options.tasks = tasks;
        for (int s : {1, 2}) {
            test::WriteFile(dir + "/Demo.S" + std::to_string(s) + ".svg",
                            test::FixtureMap(options));
        }
        test::WriteFile(dir + "/Demo.Courses.xml", test::FixtureCourses({1, 2}, tasks));
    }
    bool Run(std::uint32_t mask, int choice) {
        CKibSvg svg(doc);
        CompetitionRun run(svg, App().Log(), test::TheStopCommand());
        return run.GenerateCompetitionSvg(mask, choice);
    }
    // "map-1.0 map-1.1 prn-1.0-1.1" style list of the sheets of one station.
    std::string Sheets(int station) const {
        std::string list;
        const std::string mapPrefix = "map-" + std::to_string(station) + ".";
        const std::string prnPrefix = "prn-" + std::to_string(station) + ".";
        for (const std::string& name : Files()) {
            if (name.rfind(mapPrefix, 0) == 0 || name.rfind(prnPrefix, 0) == 0) {
                list += (list.empty() ? "" : " ") + name.substr(0, name.size() - 4);
            }
        }
        return list;
    }
};

struct SheetCase {
    const char* sheet; // Target.SHEET
    int tasks;
    int choice;
    const char* expected; // sheets of station 1
};

TEST_F(GenerationTest, SheetsOfEachTilingAndTaskChoice) {
    const SheetCase cases[] = {
        {"A4Tiled", 5, kTaskAll,
         "map-1.0 map-1.1 map-1.2 map-1.3 map-1.4 map-1.5 prn-1.0-1.1 prn-1.2-1.3 prn-1.4-1.5"},
        {"A4Tiled", 4, kTaskAll,
         "map-1.0 map-1.1 map-1.2 map-1.3 map-1.4 prn-1.0-1.1 prn-1.2-1.3 prn-1.4"},
        {"A4Tiled", 5, 3, "map-1.2 map-1.3 prn-1.2-1.3"},
        {"A4Tiled", 5, kTaskCover, "map-1.0 map-1.1 prn-1.0-1.1"},
        {"A3Tiled", 6, kTaskAll,
         "map-1.0 map-1.1 map-1.2 map-1.3 map-1.4 map-1.5 map-1.6 prn-1.0-1.3 prn-1.4-1.6"},
        {"A3Tiled", 4, kTaskAll, "map-1.0 map-1.1 map-1.2 map-1.3 map-1.4 prn-1.0-1.3 prn-1.4"},
        {"A4Portrait", 3, kTaskAll, "map-1.0 map-1.1 map-1.2 map-1.3"},
        {"A4Tiled", 5, kTaskNone, ""},
    };
    for (const SheetCase& c : cases) {
        SCOPED_TRACE(std::string(c.sheet) + " tasks " + std::to_string(c.tasks) + " choice " +
                     std::to_string(c.choice));
        fs::remove_all(dir + "/out");
        fs::create_directory(dir + "/out");
        Set(id::Target_SHEET, c.sheet);
        WriteEvent(c.tasks);
        EXPECT_TRUE(Run(0, c.choice));
        EXPECT_EQ(Sheets(1), c.expected);
        std::string second = c.expected;
        for (std::size_t at = second.find("-1."); at != std::string::npos;
             at = second.find("-1.", at)) {
            second.replace(at, 3, "-2.");
        }
        EXPECT_EQ(Sheets(2), second);
        EXPECT_EQ(doc.canvasesPerSheet, std::string(c.sheet) == "A3Tiled"   ? 4
                                        : std::string(c.sheet) == "A4Tiled" ? 2
                                                                            : 0);
    }
}

TEST_F(GenerationTest, EverySheetParsesAndASecondRunChangesNothing) {
    WriteEvent(3);
    ASSERT_TRUE(Run(0, kTaskAll));
    const std::vector<std::string> files = Files();
    ASSERT_EQ(files.size(), 2u * (4 + 2));
    for (const std::string& name : files) {
        SCOPED_TRACE(name);
        pugi::xml_document xml;
        test::ParseDocument(xml, test::ReadFile(dir + "/out/" + name));
        EXPECT_STREQ(xml.document_element().attribute("id").value(), "mainSheet");
    }
    host.Clear();
    CKibSvg svg(doc);
    CompetitionRun run(svg, App().Log(), test::TheStopCommand());
    const RunResult& again = run.Run(StationSet::Every(), kTaskAll);
    EXPECT_TRUE(again.completed);
    // Nothing the sheets are made from changed: every sheet is kept as it is.
    EXPECT_EQ(again.sheets.size(), files.size());
    for (const RunSheet& sheet : again.sheets) {
        EXPECT_FALSE(sheet.written) << sheet.svg;
    }
    EXPECT_EQ(Files(), files) << "no temporary file is left";
}

TEST_F(GenerationTest, MaskChoosesStations) {
    WriteEvent(3);
    EXPECT_TRUE(Run(1u << 2, kTaskAll));
    EXPECT_EQ(Sheets(1), "");
    EXPECT_NE(Sheets(2), "");
}

TEST_F(GenerationTest, StationWithBrokenMapFailsAndTheNextOneIsMade) {
    WriteEvent(3);
    std::string text = test::ReadFile(dir + "/Demo.S1.svg");
    test::WriteFile(dir + "/Demo.S1.svg", text.substr(0, text.size() / 2)); // cut off
    CKibSvg svg(doc);
    CompetitionRun run(svg, App().Log(), test::TheStopCommand());
    const RunResult& result = run.Run(StationSet::Every(), kTaskAll);
    EXPECT_EQ(Sheets(1), "");
    EXPECT_NE(Sheets(2), "");
    const std::string error = "[** ERROR **] Map of station 1 could not be read completely!";
    EXPECT_TRUE(host.HasMessage(error));
    // The failed station stays failed whatever the next one does.
    EXPECT_TRUE(result.completed);
    ASSERT_EQ(result.stations.size(), 2u);
    EXPECT_EQ(result.stations[0].outcome, StationOutcome::Failed);
    EXPECT_EQ(result.stations[0].Lines(), std::vector<std::string>{error});
    EXPECT_EQ(result.stations[1].outcome, StationOutcome::Made);
    EXPECT_EQ(result.GetVerdict(), Verdict::Errors);
    for (const RunSheet& sheet : result.sheets) {
        EXPECT_EQ(sheet.stations, std::vector<int>{2}) << sheet.svg;
    }
}

// The run reports into the diagnostics it is handed: a recording tally that
// passes nothing to the program's log decides the station's failure alone.
TEST_F(GenerationTest, AStationFailsThroughTheDiagnosticsTheRunIsHanded) {
    WriteEvent(3);
    std::string text = test::ReadFile(dir + "/Demo.S2.svg");
    test::WriteFile(dir + "/Demo.S2.svg", text.substr(0, text.size() / 2)); // cut off
    NullHost quiet;
    DiagnosticsTally recording;
    doc.UseServices(quiet, recording);
    CKibSvg svg(doc);
    NoStopRequest never;
    CompetitionRun run(svg, recording, never);
    const RunResult& result = run.Run(StationSet::Every(), kTaskAll);

    EXPECT_TRUE(host.messages.empty()) << "nothing went through the program's log";
    EXPECT_EQ(result.Station(1)->outcome, StationOutcome::Made);
    EXPECT_EQ(result.Station(2)->outcome, StationOutcome::Failed);
    EXPECT_FALSE(result.stopped);
    const auto failure =
        std::find_if(recording.Entries().begin(), recording.Entries().end(),
                     [](const Diagnostic& e) { return e.kind == DiagnosticKind::Error; });
    ASSERT_NE(failure, recording.Entries().end());
    EXPECT_EQ(failure->station, 2);
    EXPECT_EQ(failure->text, "Map of station 2 could not be read completely!");
    EXPECT_EQ(result.Station(2)->errors, 1);
    EXPECT_EQ(result.GetVerdict(), Verdict::Errors);
}

// A stop request ends the run before the next station, and the result says so.
TEST_F(GenerationTest, AStopIsInTheResult) {
    WriteEvent(3);
    struct StopAfterFirst : StopRequest {
        int polls = 0;
        bool Requested() override { return ++polls > 1; }
    } stop;
    CKibSvg svg(doc);
    CompetitionRun run(svg, App().Log(), stop);
    const RunResult& result = run.Run(StationSet::Every(), kTaskAll);
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.completed);
    ASSERT_EQ(result.stations.size(), 1u);
    EXPECT_NE(Sheets(1), "");
    EXPECT_EQ(Sheets(2), "");
}

TEST_F(GenerationTest, TheResultListsTheSheetsWrittenAndKept) {
    WriteEvent(3);
    CKibSvg svg(doc);
    CompetitionRun run(svg, App().Log(), test::TheStopCommand());
    RunResult first = run.Run(StationSet::Of({1}), 3);
    ASSERT_EQ(first.stations.size(), 1u);
    EXPECT_EQ(first.stations[0].outcome, StationOutcome::Made);
    ASSERT_EQ(first.sheets.size(), 3u) << "map-1.2, map-1.3 and their print sheet";
    EXPECT_EQ(first.sheets[2].svg, dir + "/out/prn-1.2-1.3.svg");
    EXPECT_EQ(first.sheets[2].firstTask, 2);
    EXPECT_EQ(first.sheets[2].lastTask, 3);
    const std::vector<const RunSheet*> print = first.PrintSheets();
    ASSERT_EQ(print.size(), 1u) << "a tiled layout prints its print sheets only";
    EXPECT_EQ(print[0]->kind, SheetKind::Print);
    EXPECT_TRUE(print[0]->written);

    const RunResult& again = run.Run(StationSet::Of({1}), 3);
    EXPECT_EQ(again.stations[0].outcome, StationOutcome::Unchanged);
    ASSERT_EQ(again.sheets.size(), 3u);
    EXPECT_FALSE(again.sheets[2].written);
    EXPECT_EQ(again.GetVerdict(), Verdict::Warnings)
        << "the fixture's column H warning, and its map's 2 flags under the event's 6";
    EXPECT_EQ(again.stations[0].warnings, 2);

    // A task beyond those of the station's map fails the station.
    const RunResult& beyond = run.Run(StationSet::Of({1}), 4);
    EXPECT_EQ(beyond.stations[0].outcome, StationOutcome::Failed);
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Station 1 has no task 4: its map gives 3 tasks."));
}

TEST_F(GenerationTest, MissingCoursesFileFailsTheRun) {
    WriteEvent(3);
    fs::remove(dir + "/Demo.Courses.xml");
    EXPECT_FALSE(Run(0, kTaskAll));
    EXPECT_TRUE(Files().empty());
}

TEST_F(GenerationTest, LayoutThatDoesNotFitEndsTheRun) {
    Set(id::OrderTabs_SIZE, "30");
    WriteEvent(3);
    EXPECT_FALSE(Run(0, kTaskAll));
    EXPECT_TRUE(Files().empty());
    EXPECT_TRUE(std::any_of(host.messages.begin(), host.messages.end(), [](const std::string& m) {
        return m.rfind("[** ERROR **] Insufficient canvas height", 0) == 0;
    }));
}

TEST_F(GenerationTest, StopEndsTheRunBeforeTheNextStation) {
    WriteEvent(3);
    SetRunning(true);
    int polls = 0;
    host.onPump = [&polls] {
        if (++polls == 2) {
            OnStop();
        }
    };
    EXPECT_FALSE(Run(0, kTaskAll));
    EXPECT_NE(Sheets(1), "");
    EXPECT_EQ(Sheets(2), "");
    EXPECT_EQ(host.statusTexts.back(), "Ready");
}

} // namespace
} // namespace kib
