// The shared steps of the Make commands and Make Vector Maps: what stops a
// command before its run, what the dialog is asked, and how the run ends.
#include "app/make_command.h"
#include "app/make_event.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/run_control.h"
#include "sheet/event_fixture.h"
#include "support/recording_host.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    App().warningFlag = true; // a warning from before the command does not count
    std::string titleDuringRun;
    bool runningDuringRun = false;
    host.onPump = [&] {
        titleDuringRun = host.title;
        runningDuringRun = RUNNING();
    };
    MakeChoice choice;
    choice.stationMask = 1u << 2;
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
    EXPECT_EQ(OnMakeMapSvgs(&doc, Dialog(MakeChoice{})).end, MakeEnd::LayoutFailed);
    EXPECT_TRUE(requests.size() == 1u) << "the dialog is not shown";
    Set(id::OrderTabs_SIZE, "15");
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
