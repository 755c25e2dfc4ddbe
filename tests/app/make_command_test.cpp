// The shared steps of the Make commands and Make Vector Maps: what stops a
// command before its run, what the dialog is asked, and how the run ends.
#include "app/event_lock.h"
#include "app/make_command.h"
#include "app/make_event.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/file_stamp.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "map_input/document_exports.h"
#include "sheet/event_fixture.h"
#include "support/recording_host.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace kib {
namespace {

namespace fs = std::filesystem;

constexpr const char* kStatus = "Generating Competition Maps SVG files...";

class MakeCommandTest : public test::MakeEventTest {
  protected:
    void SetUp() override {
        MakeEvent("make-command");
        Set(id::Source_MODE, "OFF"); // no export stamps, except where a test wants them
    }

    // A dialog that records its request and answers with the choice.
    MakeDialog Dialog(std::optional<MakeChoice> choice) {
        return [this, choice](const MakeDialogRequest& request) {
            requests.push_back(request);
            statusDuringDialog = host.statusTexts.empty() ? "" : host.statusTexts.back();
            return choice;
        };
    }

    std::string statusDuringDialog;
};

TEST_F(MakeCommandTest, MapsAreMadeWithTheChoiceAndTheCommandEndsCleanly) {
    App().Log().Warning("before"); // a warning from before the command does not count
    std::string titleDuringRun;
    bool runningDuringRun = false;
    host.onPump = [&] {
        titleDuringRun = host.title;
        runningDuringRun = RUNNING();
    };
    MakeChoice choice;
    choice.stations = StationSet::Of({2});
    const MakeOutcome outcome = OnMakeMapSvgs(&doc, Dialog(choice));

    EXPECT_EQ(outcome.end, MakeEnd::Closed);
    EXPECT_TRUE(outcome.runSucceeded);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Make Competition Maps SVG Files");
    EXPECT_TRUE(requests[0].showTasks);
    EXPECT_FALSE(requests[0].showFormat);
    EXPECT_EQ(requests[0].minStation, 1);
    EXPECT_EQ(requests[0].maxStation, 2);
    EXPECT_EQ(requests[0].taskCount, 3);
    EXPECT_EQ(statusDuringDialog, kStatus);
    EXPECT_EQ(titleDuringRun, "Generating Competition Maps...");
    EXPECT_TRUE(runningDuringRun);

    EXPECT_EQ(LastBoxText(), "SVG files created.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Information);
    EXPECT_EQ(host.title, "Kib - event.cfg");
    EXPECT_FALSE(RUNNING());
    EXPECT_EQ(host.statusTexts.back(), "Ready");
    EXPECT_FALSE(fs::exists(dir + "/out/map-1.1.svg"));
    EXPECT_TRUE(fs::exists(dir + "/out/map-2.1.svg"));
    EXPECT_FALSE(doc.GetMapsMode()) << "competition maps mode";
}

TEST_F(MakeCommandTest, FailedRunAndRunWithErrorsGiveTheirBoxes) {
    fs::remove(dir + "/Demo.Courses.xml");
    MakeOutcome outcome = OnMakeMapSvgs(&doc, Dialog(MakeChoice{}));
    EXPECT_FALSE(outcome.runSucceeded);
    EXPECT_EQ(LastBoxText(), "SVG files creation failed!\nSee the Output Window for details.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Error);

    test::WriteFile(dir + "/Demo.Courses.xml", test::FixtureCourses({1, 2}, 3));
    Set(id::Descriptions_COLB, "Keep");
    test::FixtureOptions options;
    options.columnB = false;
    test::WriteFile(dir + "/Demo.S2.svg", test::FixtureMap(options));
    outcome = OnMakeMapSvgs(&doc, Dialog(MakeChoice{}));
    EXPECT_TRUE(outcome.runSucceeded);
    EXPECT_EQ(LastBoxText(),
              "SVG files created with some errors!\nSee the Output Window for details.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Error);
}

TEST_F(MakeCommandTest, CommandsThatEndBeforeTheirRun) {
    // No stations.
    Set(id::Event_MINSTAT, "3");
    EXPECT_EQ(OnMakeMapSvgs(&doc, Dialog(MakeChoice{})).end, MakeEnd::NoStations);
    EXPECT_EQ(LastBoxText(), "Number of stations unspecified.");
    EXPECT_EQ(host.boxes.back().icon, BoxIcon::Error);
    Set(id::Event_MINSTAT, "");
    host.Clear();

    // A choice outside the event (a station beyond MAXSTAT, a task beyond a
    // station's tasks) is refused before anything is made.
    for (const auto& [stations, task] :
         {std::pair{StationSet::Of({7}), -1}, std::pair{StationSet::Of({1}), 9}}) {
        host.Clear();
        EXPECT_EQ(OnMakeMapSvgs(&doc, Dialog(MakeChoice{stations, task})).end, MakeEnd::BadChoice);
        EXPECT_EQ(host.boxes.back().icon, BoxIcon::Error);
        EXPECT_FALSE(RUNNING());
        EXPECT_FALSE(fs::exists(dir + "/out/map-1.1.svg"));
    }
    host.Clear();

    // No document: nothing at all.
    EXPECT_EQ(OnMakeMapSvgs(nullptr, Dialog(MakeChoice{})).end, MakeEnd::NoDocument);
    EXPECT_TRUE(host.messages.empty());

    // Another run is active.
    SetRunning(true);
    EXPECT_EQ(OnMakeMapSvgs(&doc, Dialog(MakeChoice{})).end, MakeEnd::Forbidden);
    EXPECT_TRUE(host.HasMessage("[= WARNING =] Forbidden due to a running task!"));
    SetRunning(false);

    // Cancelled dialog: the status text goes back to Ready, no closing box.
    host.Clear();
    EXPECT_EQ(OnMakeMapSvgs(&doc, Dialog(std::nullopt)).end, MakeEnd::Cancelled);
    ASSERT_FALSE(host.statusTexts.empty());
    EXPECT_EQ(host.statusTexts.back(), "Ready");
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_FALSE(fs::exists(dir + "/out/map-1.1.svg"));

    // A layout that does not fit: the check has said why.
    host.Clear();
    Set(id::OrderTabs_SIZE, "40");
    const std::size_t shown = requests.size();
    EXPECT_EQ(OnMakeMapSvgs(&doc, Dialog(MakeChoice{})).end, MakeEnd::LayoutFailed);
    EXPECT_EQ(requests.size(), shown) << "the dialog is not shown";
    Set(id::OrderTabs_SIZE, "15");
}

// Every command that ends before its run leaves the window idle ("Ready", not the
// progress text of reading the courses and the map); a refused one changes
// nothing, neither the maps mode nor the running command's status text.
TEST_F(MakeCommandTest, EveryCommandEndsWithReadyAndARefusedOneChangesNothing) {
    using Command = MakeOutcome (*)(CKibDoc*, const MakeDialog&);
    const Command commands[] = {OnMakeMapSvgs, OnMakeMapImages, OnMakeSolSvgs, OnMakeSolImages};
    for (Command command : commands) {
        host.Clear();
        EXPECT_EQ(command(&doc, Dialog(std::nullopt)).end, MakeEnd::Cancelled);
        ASSERT_FALSE(host.statusTexts.empty());
        EXPECT_EQ(host.statusTexts.back(), "Ready");

        Set(id::Event_MINSTAT, "3");
        host.Clear();
        EXPECT_EQ(command(&doc, Dialog(MakeChoice{})).end, MakeEnd::NoStations);
        ASSERT_FALSE(host.statusTexts.empty());
        EXPECT_EQ(host.statusTexts.back(), "Ready");
        Set(id::Event_MINSTAT, "");

        doc.SetMapsMode(false);
        SetRunning(true);
        host.Clear();
        EXPECT_EQ(command(&doc, Dialog(MakeChoice{})).end, MakeEnd::Forbidden);
        EXPECT_FALSE(doc.GetMapsMode());
        EXPECT_TRUE(host.statusTexts.empty());
        SetRunning(false);
    }
}

TEST_F(MakeCommandTest, DeclinedExportCheckEndsTheCommand) {
    // Only the maps stamp exists: the check asks, and No ends the command.
    Set(id::Source_MODE, "STAT");
    test::WriteFile(doc.MapsStampPath(), "");
    host.answers.push_back(BoxAnswer::No);
    EXPECT_EQ(OnMakeMapSvgs(&doc, Dialog(MakeChoice{})).end, MakeEnd::ExportsDeclined);
    EXPECT_EQ(LastBoxText(), "Are you sure to have recently exported both maps and courses?");
    EXPECT_TRUE(requests.empty());
}

// How often a command opened the input file whose path ends with the name.
int Opens(const std::string& name) {
    int opens = 0;
    for (const auto& [path, count] : App().inputOpens.Counts()) {
        if (path.size() >= name.size() &&
            path.compare(path.size() - name.size(), name.size(), name) == 0) {
            opens += count;
        }
    }
    return opens;
}

// The load reads the courses list and the map zoom, the command its export check,
// the courses list and map zoom again, and the run the station's course and map:
// one read of each file serves them all while the file stays the same.
TEST_F(MakeCommandTest, ALoadAndACommandReadEachInputOnce) {
    Set(id::Source_MODE, "STAT");
    MakeChoice choice;
    choice.stations = StationSet::Of({1});
    App().inputOpens.Clear();
    ReadCourseList(doc);
    ReadMapZoom(doc);
    ASSERT_EQ(OnMakeMapSvgs(&doc, Dialog(choice)).end, MakeEnd::Closed);
    EXPECT_EQ(Opens("/Demo.S1.svg"), 1);
    EXPECT_EQ(Opens("/Demo.Courses.xml"), 1);
    EXPECT_EQ(Opens("/Demo.S2.svg"), 0);
    EXPECT_FLOAT_EQ(doc.mapZoom, 1.0f);

    // A file that changed is read anew, once, and what it now says is used.
    std::string map = test::FixtureMap(test::FixtureOptions{});
    const std::string one = "scale(1.000000)";
    map.replace(map.find(one), one.size(), "scale(2.000000)");
    test::WriteFile(dir + "/Demo.S1.svg", map);
    ASSERT_TRUE(SetFileStamp(dir + "/Demo.S1.svg", 1));
    test::WriteFile(dir + "/Demo.Courses.xml", test::FixtureCourses({1, 2}, 3) + "\n");
    App().inputOpens.Clear();
    host.answers.push_back(BoxAnswer::Yes); // the exports were exported again
    ASSERT_EQ(OnMakeMapSvgs(&doc, Dialog(choice)).end, MakeEnd::Closed);
    EXPECT_EQ(Opens("/Demo.S1.svg"), 1);
    EXPECT_EQ(Opens("/Demo.Courses.xml"), 1);
    EXPECT_FLOAT_EQ(doc.mapZoom, 2.0f);

    // A run that keeps the station's sheets digests its inputs from the command's
    // one read of each (none when the document's copy is still the file's).
    App().inputOpens.Clear();
    ASSERT_EQ(OnMakeMapSvgs(&doc, Dialog(choice)).end, MakeEnd::Closed);
    EXPECT_LE(Opens("/Demo.S1.svg"), 1);
    EXPECT_LE(Opens("/Demo.Courses.xml"), 1);
}

TEST_F(MakeCommandTest, AnEventBusyWithAnotherRunIsLeftAlone) {
    EventLock other; // another process's run, as far as the lock file can tell
    ASSERT_TRUE(other.Acquire(doc.GetPathName(), "Make Solution Maps SVG Files", 0));
    App().eventLockWaitMs = 300;
    int pumps = 0;
    host.onPump = [&] { ++pumps; };

    EXPECT_EQ(OnMakeMapSvgs(&doc, Dialog(MakeChoice{})).end, MakeEnd::EventBusy);
    EXPECT_GT(pumps, 0) << "the window stays alive while waiting";
    ASSERT_GE(host.messages.size(), 2u);
    const std::string holder =
        "Kib process " + std::to_string(::getpid()) + " (Make Solution Maps SVG Files) since ";
    EXPECT_EQ(host.messages[0].rfind("Waiting for another run of this event to end: " + holder, 0),
              0u);
    EXPECT_EQ(host.messages.back().rfind(
                  "[** ERROR **] Another run is working on this event: " + holder, 0),
              0u);
    EXPECT_NE(host.messages.back().find("(lock file " + dir +
                                        "/event.cfg.lock.kib). Try again "
                                        "when it has ended."),
              std::string::npos);
    EXPECT_EQ(LastBoxText(), "Another run is working on this event!\nSee the Output Window for "
                             "details.");
    EXPECT_TRUE(requests.empty());
    EXPECT_FALSE(fs::exists(dir + "/out/map-1.1.svg"));

    // Once the other run has ended, the command runs, names itself in the lock
    // file while it runs and removes the file at its end.
    other.Release();
    host.Clear();
    const std::string lockFile = dir + "/event.cfg.lock.kib";
    std::string holderDuringRun;
    host.onPump = [&] { holderDuringRun = test::ReadFile(lockFile); };
    EXPECT_EQ(OnMakeMapSvgs(&doc, Dialog(MakeChoice{})).end, MakeEnd::Closed);
    EXPECT_TRUE(fs::exists(dir + "/out/map-1.1.svg"));
    EXPECT_EQ(holderDuringRun.rfind("Kib process " + std::to_string(::getpid()) +
                                        " (Make Competition Maps SVG Files) since ",
                                    0),
              0u);
    EXPECT_FALSE(fs::exists(lockFile));
}

// A process id that no process has: a child that has ended.
pid_t EndedProcess() {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::_exit(0);
    }
    ::waitpid(pid, nullptr, 0);
    return pid;
}

TEST_F(MakeCommandTest, TemporaryFilesOfEndedRunsAreRemovedForTheWholeEvent) {
    // Left by killed runs: a sheet of another station, a conversion, a saved
    // configuration and a sheet of an earlier version without a process id.
    const std::string ended = std::to_string(EndedProcess());
    const std::string mine = std::to_string(::getpid());
    const std::vector<std::string> stale = {
        "out/map-1.2-tmp-" + ended + ".svg", "out/prn-1.0-1.1-tmp-" + ended + ".pdf",
        "event.cfg.~kib" + ended + "-0", "out/map-1.3-tmp.svg", "out/logo.png.~kib" + ended + "-1"};
    // Kept: this process's own, and files that are no temporary files of Kib.
    const std::vector<std::string> kept = {"out/map-1.1-tmp-" + mine + ".svg",
                                           "out/notes-tmp-" + ended + ".txt", "out/map-1.3.svg",
                                           "other.cfg~", "out/map-tmp-" + ended + ".svg"};
    for (const auto& name : stale) {
        test::WriteFile(dir + "/" + name, "");
    }
    for (const auto& name : kept) {
        test::WriteFile(dir + "/" + name, "");
    }
    MakeChoice choice;
    choice.stations = StationSet::Of({2}); // the run makes none of the stale sheets
    choice.taskChoice = -2;
    EXPECT_EQ(OnMakeMapSvgs(&doc, Dialog(choice)).end, MakeEnd::Closed);
    for (const auto& name : stale) {
        EXPECT_FALSE(fs::exists(dir + "/" + name)) << name;
    }
    for (const auto& name : kept) {
        EXPECT_TRUE(fs::exists(dir + "/" + name)) << name;
    }
}

TEST_F(MakeCommandTest, CommandTextsAndFormats) {
    EXPECT_STREQ(CommandTexts(MakeCommandKind::MapImages).dialogTitle,
                 "Make Competition Maps Image Files");
    EXPECT_TRUE(CommandTexts(MakeCommandKind::MapImages).showFormat);
    EXPECT_FALSE(CommandTexts(MakeCommandKind::SolSvgs).showTasks);
    EXPECT_TRUE(CommandTexts(MakeCommandKind::SolImages).solution);
    EXPECT_STREQ(CommandTexts(MakeCommandKind::SolSvgs).runTitle, "Generating Solution Maps...");
    EXPECT_EQ(OutputFormatOfExtension("png"), OutputFormat::Png);
    EXPECT_EQ(OutputFormatOfExtension("jpg"), OutputFormat::None);
}

} // namespace
} // namespace kib
