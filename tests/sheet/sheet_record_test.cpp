// The record of the generation runs: a re-run keeps exactly the stations (and
// solution sheets) whose configuration, map export, courses file, program
// version and sheets did not change, logs their lines again, and leaves the same
// bytes as a run that makes everything.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/station_set.h"
#include "event_fixture.h"
#include "foundation/app_state.h"
#include "foundation/file_stamp.h"
#include "map_input/kib_svg.h"
#include "run_fixture.h"
#include "sheet/map_generation.h"
#include "sheet/sheet_record.h"
#include "sheet/solution_run.h"
#include "sheet/task_range.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

namespace kib {
namespace {

namespace fs = std::filesystem;

class SheetRecordTest : public test::RunEventTest {
  public:
    // For the changes of the table.
    using test::RunEventTest::dir;
    using test::RunEventTest::Set;
    std::string MapPath(int s) const { return dir + "/Demo.S" + std::to_string(s) + ".svg"; }
    static void Append(const std::string& path, const std::string& text) {
        test::WriteFile(path, test::ReadFile(path) + text);
    }

  protected:
    void SetUp() override {
        MakeRunEvent("sheet-record", 3);
        Set(id::OrderTabs_SIZE, "10");
        Set(id::Event_TASKS, "3");
        for (int s : {1, 2, 3}) {
            test::WriteFile(MapPath(s), test::FixtureMap(test::FixtureOptions{}));
        }
        test::WriteFile(dir + "/Demo.Courses.xml", test::FixtureCourses({1, 2, 3}, 3));
    }
    // A competition run of every station; the stations it composed.
    std::set<int> RunMaps(RunResult* result = nullptr) {
        host.Clear();
        CKibSvg svg(doc);
        CompetitionRun run(svg, App().Log(), test::TheStopCommand());
        const RunResult& made = run.Run(StationSet::Every(), kTaskAll);
        EXPECT_TRUE(made.completed);
        if (result) {
            *result = made;
        }
        std::set<int> composed;
        for (const std::string& line : host.debug) {
            int s = 0;
            int t = 0;
            if (std::sscanf(line.c_str(), "==== Making MAP %d.%d", &s, &t) == 2) {
                composed.insert(s);
            }
        }
        return composed;
    }
    // Every sheet's bytes by name.
    std::map<std::string, std::string> Sheets() const {
        std::map<std::string, std::string> sheets;
        for (const std::string& name : Files()) {
            sheets[name] = test::ReadFile(dir + "/out/" + name);
        }
        return sheets;
    }
    // The sheets a run that makes everything anew writes for the event as it is now.
    std::map<std::string, std::string> FullRunSheets() {
        fs::remove_all(dir + "/out");
        fs::create_directory(dir + "/out");
        RunMaps();
        return Sheets();
    }
};

TEST_F(SheetRecordTest, ARunRecomposesExactlyWhatAChangeReaches) {
    struct Case {
        const char* change;
        std::function<void(SheetRecordTest&)> apply;
        std::set<int> recomposed;
    };
    const std::vector<Case> cases = {
        {"nothing", [](SheetRecordTest&) {}, {}},
        {"a setting",
         [](SheetRecordTest& t) { t.Set(id::NorthArrow_COLOR, "255 0 0"); },
         {1, 2, 3}},
        {"station 2's map export", [](SheetRecordTest& t) { Append(t.MapPath(2), "\n"); }, {2}},
        {"station 3's map export written again with the same content",
         [](SheetRecordTest& t) {
             const std::string text = test::ReadFile(t.MapPath(3));
             fs::remove(t.MapPath(3));
             test::WriteFile(t.MapPath(3), text);
         },
         {}},
        {"the courses file",
         [](SheetRecordTest& t) { Append(t.dir + "/Demo.Courses.xml", "\n"); },
         {1, 2, 3}},
        {"the program's version",
         [](SheetRecordTest& t) {
             const std::string path = t.dir + "/out/" + kMapsRecordName;
             std::string text = test::ReadFile(path);
             const std::size_t at = text.find("\nprogram ");
             ASSERT_NE(at, std::string::npos);
             text.insert(at + 9, "0.");
             test::WriteFile(path, text);
         },
         {1, 2, 3}},
        {"a sheet of station 2 deleted",
         [](SheetRecordTest& t) { fs::remove(t.dir + "/out/map-2.1.svg"); },
         {2}},
        {"a sheet of station 3 edited by hand",
         [](SheetRecordTest& t) { Append(t.dir + "/out/prn-3.2-3.3.svg", "<!-- -->"); },
         {3}},
        {"the record cut off",
         [](SheetRecordTest& t) {
             const std::string path = t.dir + "/out/" + kMapsRecordName;
             const std::string text = test::ReadFile(path);
             test::WriteFile(path, text.substr(0, text.size() / 2));
         },
         {1, 2, 3}},
    };
    RunResult first;
    EXPECT_EQ(RunMaps(&first), (std::set<int>{1, 2, 3}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        c.apply(*this);
        RunResult again;
        EXPECT_EQ(RunMaps(&again), c.recomposed);
        // The same sheets, results and lines as a run that makes everything.
        ASSERT_EQ(again.stations.size(), 3u);
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_NE(again.stations[k].outcome, StationOutcome::Failed);
            EXPECT_EQ(again.stations[k].Lines(), first.stations[k].Lines());
            EXPECT_EQ(again.stations[k].warnings, first.stations[k].warnings);
        }
        EXPECT_EQ(again.GetVerdict(), first.GetVerdict());
        ASSERT_EQ(again.sheets.size(), first.sheets.size());
        for (std::size_t k = 0; k < first.sheets.size(); ++k) {
            EXPECT_EQ(again.sheets[k].svg, first.sheets[k].svg);
            EXPECT_EQ(again.sheets[k].toPrint, first.sheets[k].toPrint);
            if (c.recomposed.empty()) {
                EXPECT_FALSE(again.sheets[k].written) << again.sheets[k].svg;
            }
        }
        const std::map<std::string, std::string> kept = Sheets();
        EXPECT_EQ(kept, FullRunSheets());
    }
    EXPECT_EQ(first.GetVerdict(), Verdict::Warnings)
        << "the fixture's warnings are logged again by the stations that are kept";
}

TEST_F(SheetRecordTest, AKeptStationIsStillReadForWhoWantsItsMap) {
    RunMaps();
    host.Clear();
    CKibSvg svg(doc);
    CompetitionRun run(svg, App().Log(), test::TheStopCommand());
    std::vector<int> read;
    run.OnStationRead([&](int s, CKibMap&) { read.push_back(s); });
    const RunResult& again = run.Run(StationSet::Every(), kTaskAll);
    EXPECT_EQ(read, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(std::any_of(host.debug.begin(), host.debug.end(), [](const std::string& line) {
        return line.rfind("==== Making MAP", 0) == 0;
    })) << "nothing composed";
    ASSERT_EQ(again.stations.size(), 3u);
    EXPECT_EQ(again.stations[0].outcome, StationOutcome::Unchanged);
    EXPECT_EQ(again.stations[0].warnings, 2) << "read and composing warnings, each once";
}

TEST_F(SheetRecordTest, ATaskChoiceRecomposesItsStation) {
    RunMaps();
    host.Clear();
    CKibSvg svg(doc);
    CompetitionRun run(svg, App().Log(), test::TheStopCommand());
    run.Run(StationSet::Of({2}), 3);
    EXPECT_NE(std::find(host.debug.begin(), host.debug.end(), "==== Making MAP 2.3..."),
              host.debug.end());
    EXPECT_EQ(RunMaps(), (std::set<int>{2})) << "all tasks again after one task";
    EXPECT_EQ(RunMaps(), (std::set<int>{}));
}

TEST_F(SheetRecordTest, SolutionSheetsKeepWhatDidNotChange) {
    Set(id::Event_MAXSTAT, "3");
    doc.SetMapsMode(true);
    const auto runSolutions = [this](RunResult& result) {
        host.Clear();
        CKibSvg svg(doc);
        SolutionRun run(svg, App().Log(), test::TheStopCommand());
        result = run.Run(StationSet::Every());
        std::set<int> composed;
        for (const std::string& line : host.debug) {
            int s = 0;
            if (std::sscanf(line.c_str(), "==== Making SOL %d", &s) == 1) {
                composed.insert(s);
            }
        }
        return composed;
    };
    RunResult first;
    RunResult again;
    EXPECT_EQ(runSolutions(first), (std::set<int>{1, 2, 3}));
    const std::map<std::string, std::string> made = Sheets();
    EXPECT_EQ(runSolutions(again), (std::set<int>{}));
    ASSERT_EQ(again.sheets.size(), first.sheets.size());
    EXPECT_FALSE(again.sheets[0].written);
    EXPECT_EQ(again.GetVerdict(), first.GetVerdict());
    for (std::size_t k = 0; k < first.stations.size(); ++k) {
        EXPECT_EQ(again.stations[k].Lines(), first.stations[k].Lines());
    }
    Append(MapPath(2), "\n");
    EXPECT_EQ(runSolutions(again), (std::set<int>{1, 2, 3})) << "the sheet of station 2";
    EXPECT_EQ(Sheets(), made);
}

// Inputs are compared by their content: a new export of the same size whose
// time equals the recorded one (copied with its time, OCAD's fixed-precision
// coordinates) makes its station again. Each run reads each input once.
TEST_F(SheetRecordTest, AnInputIsComparedByItsContentWhateverItsSizeAndTime) {
    // The opens of the input file of that name, whatever separators its path has.
    const auto opens = [](const std::string& name) {
        int n = 0;
        for (const auto& [path, count] : App().inputOpens.Counts()) {
            const bool named = path.size() > name.size() &&
                               path.compare(path.size() - name.size(), name.size(), name) == 0 &&
                               (path[path.size() - name.size() - 1] == '/' ||
                                path[path.size() - name.size() - 1] == '\\');
            n += named ? count : 0;
        }
        return n;
    };
    // Each command starts without the last one's copies of the inputs.
    const auto command = [this] {
        doc.mapExport.reset();
        doc.coursesFile.reset();
        App().inputOpens.Clear();
    };
    RunMaps();
    command();
    EXPECT_EQ(RunMaps(), (std::set<int>{}));
    for (int s : {1, 2, 3}) {
        EXPECT_EQ(opens("Demo.S" + std::to_string(s) + ".svg"), 1) << "station " << s;
    }
    EXPECT_EQ(opens("Demo.Courses.xml"), 1);

    // An area moved by a digit: the same size, the time set back as it was.
    FileStamp stamp = 0;
    ASSERT_TRUE(GetFileStamp(MapPath(2), stamp, App().Log()));
    std::string text = test::ReadFile(MapPath(2));
    const std::size_t style = text.find('\n', text.find("Vegetation"));
    const std::size_t digit = text.find_first_of("123456789", text.find('\n', style + 1));
    ASSERT_NE(digit, std::string::npos);
    text[digit] = text[digit] == '9' ? '8' : static_cast<char>(text[digit] + 1);
    test::WriteFile(MapPath(2), text);
    ASSERT_TRUE(SetFileStamp(MapPath(2), stamp));
    command();
    EXPECT_EQ(RunMaps(), (std::set<int>{2}));

    // Written again with the same bytes and a new time: read, found the same, kept.
    test::WriteFile(MapPath(2), test::ReadFile(MapPath(2)));
    ASSERT_TRUE(SetFileStamp(MapPath(2), 1));
    command();
    EXPECT_EQ(RunMaps(), (std::set<int>{}));
}

} // namespace
} // namespace kib
