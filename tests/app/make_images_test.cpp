// Make Raster Maps, Make Vector Solutions and Make Raster Solutions: which sheets
// the conversion loops convert and how, and how each command ends, with a
// stand-in Inkscape that records its calls.
#include "app/conversion_loop.h"
#include "app/inkscape.h"
#include "app/make_command.h"
#include "app/make_event.h"
#include "app/sample_files.h"
#include "app/script_dir.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/run_control.h"
#include "foundation/temp_files.h"
#include "sheet/event_fixture.h"
#include "support/recording_host.h"
#include "support/run_program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace kib {
namespace {

namespace fs = std::filesystem;
using testing::Contains;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

std::vector<std::string> Bases(const std::vector<SheetConversion>& sheets) {
    std::vector<std::string> bases;
    for (const auto& s : sheets) {
        bases.push_back(s.base);
    }
    return bases;
}

std::vector<std::string> Statuses(const std::vector<SheetConversion>& sheets) {
    std::vector<std::string> texts;
    for (const auto& s : sheets) {
        texts.push_back(s.statusText);
    }
    return texts;
}

TEST(ConversionLoopTest, MapImageSheetsForEachChoiceAndTiling) {
    CKibCfg cfg;
    ASSERT_TRUE(cfg.Item(id::Event_TASKS).SetText("5"));
    ASSERT_TRUE(cfg.StationItem(4, id::Station_TASKS).SetText("4"));
    ASSERT_TRUE(cfg.StationItem(6, id::Station_TASKS).SetText("6"));
    ConversionSettings prt{'P', "/o/", 600, OutputFormat::Pdf};
    ConversionSettings ant{'A', "/o/", 600, OutputFormat::Pdf};
    struct Case {
        const char* what;
        ConversionSettings settings;
        int station, choice, g;
        std::vector<std::string> bases, statuses;
    };
    const Case cases[] = {
        {"PRT, every task, pairs, T=5: every sheet starts with a cover or an even task",
         prt,
         3,
         -1,
         2,
         {"/o/prn-3.0-3.1", "/o/prn-3.2-3.3", "/o/prn-3.4-3.5"},
         {"Generating MAPs 3.0 - 3.1...", "Generating MAPs 3.2 - 3.3...",
          "Generating MAPs 3.4 - 3.5..."}},
        {"T=4: the last task alone on its sheet",
         prt,
         4,
         -1,
         2,
         {"/o/prn-4.0-4.1", "/o/prn-4.2-4.3", "/o/prn-4.4"},
         {"Generating MAPs 4.0 - 4.1...", "Generating MAPs 4.2 - 4.3...", "Generating MAP 4.4..."}},
        {"four canvases, T=6",
         prt,
         6,
         -1,
         4,
         {"/o/prn-6.0-6.3", "/o/prn-6.4-6.6"},
         {"Generating MAPs 6.0 - 6.3...", "Generating MAPs 6.4 - 6.6..."}},
        {"no tiling: the cover and every task",
         prt,
         1,
         -1,
         0,
         {"/o/map-1.0", "/o/map-1.1", "/o/map-1.2", "/o/map-1.3", "/o/map-1.4", "/o/map-1.5"},
         {"Generating MAP 1.0...", "Generating MAP 1.1...", "Generating MAP 1.2...",
          "Generating MAP 1.3...", "Generating MAP 1.4...", "Generating MAP 1.5..."}},
        {"ANT mode has no cover sheet",
         ant,
         4,
         -1,
         0,
         {"/o/map-4.1", "/o/map-4.2", "/o/map-4.3", "/o/map-4.4"},
         {"Generating MAP 4.1...", "Generating MAP 4.2...", "Generating MAP 4.3...",
          "Generating MAP 4.4..."}},
        {"task 3 with pairs: the sheet that holds it",
         prt,
         2,
         3,
         2,
         {"/o/prn-2.2-2.3"},
         {"Generating MAPs 2.2 - 2.3..."}},
        {"the cover alone", prt, 2, 0, 0, {"/o/map-2.0"}, {"Generating MAP 2.0..."}},
        {"a task beyond the station's tasks", prt, 4, 5, 0, {}, {}},
        {"no task: nothing to convert", prt, 2, -2, 2, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<SheetConversion> sheets =
            MapImageSheets(cfg, c.settings, c.station, c.choice, c.g);
        EXPECT_THAT(Bases(sheets), ElementsAreArray(c.bases));
        EXPECT_THAT(Statuses(sheets), ElementsAreArray(c.statuses));
        for (const auto& s : sheets) {
            EXPECT_EQ(s.dpi, 600);
            EXPECT_FALSE(s.zSuffix);
        }
    }

    const ConversionSettings web{'W', "/o/", 300, OutputFormat::Png};
    const std::vector<SheetConversion> sheets = MapImageSheets(cfg, web, 2, 1, 0);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].base, "/o/map-2.1");
    EXPECT_EQ(sheets[0].dpi, 450) << "WEB maps at one and a half times the resolution";
    EXPECT_TRUE(sheets[0].zSuffix);
}

TEST(ConversionLoopTest, SolutionSheetsAndSelectedStations) {
    CKibCfg cfg;
    ASSERT_TRUE(cfg.Item(id::Event_MAXSTAT).SetText("8"));
    EXPECT_THAT(SelectedStations(cfg, 0), ElementsAre(1, 2, 3, 4, 5, 6, 7, 8));
    EXPECT_THAT(SelectedStations(cfg, (1u << 2) | (1u << 4) | (1u << 9)), ElementsAre(2, 4));
    ASSERT_TRUE(cfg.Item(id::Event_MINSTAT).SetText("0"));
    EXPECT_THAT(SelectedStations(cfg, 1u), ElementsAre(0));

    const ConversionSettings prt{'P', "/o/", 600, OutputFormat::Pdf};
    EXPECT_THAT(Bases(SolutionImageSheets(prt, {2, 5, 7}, 4)), ElementsAre("/o/sol-2-7"));
    EXPECT_THAT(Bases(SolutionImageSheets(prt, {1, 2, 3, 4, 5}, 2)),
                ElementsAre("/o/sol-1-2", "/o/sol-3-4", "/o/sol-5-5"));
    EXPECT_THAT(Bases(SolutionImageSheets(prt, {}, 2)), IsEmpty());
    const ConversionSettings web{'W', "/o/", 600, OutputFormat::Png};
    const std::vector<SheetConversion> sheets = SolutionImageSheets(web, {3, 4}, 1);
    EXPECT_THAT(Bases(sheets), ElementsAre("/o/sol-3", "/o/sol-4"));
    EXPECT_EQ(sheets[0].dpi, 600) << "solutions are never enlarged";
    EXPECT_FALSE(sheets[0].zSuffix);
    EXPECT_TRUE(sheets[0].statusText.empty());
}

// A stand-in Inkscape 1.2 in the folder System.INKSCAPEPATH names: it writes a
// complete file under the name --export-filename gives and notes it in calls.txt;
// with fail.txt present it writes nothing and ends with exit code 3.
const std::string kFakeInkscape =
    test::kWriteCompleteFile +
    "if [ \"$1\" = --version ]; then echo 'Inkscape 1.2.2 (b0a8486541, 2022-12-01)'; exit 0; fi\n"
    "here=$(dirname \"$0\")\n"
    "for a in \"$@\"; do case \"$a\" in --export-filename=*) out=\"${a#--export-filename=}\";; "
    "esac; done\n"
    "echo \"$out $*\" >> \"$here/calls.txt\"\n"
    "if [ -e \"$here/fail.txt\" ]; then echo 'cannot export'; exit 3; fi\n"
    "complete \"$out\"\n";

class MakeImagesTest : public test::MakeEventTest {
  protected:
    void SetUp() override {
        MakeEvent("make-images");
        inkscape.Script("bin/inkscape", kFakeInkscape);
        Set(id::System_INKSCAPEPATH, inkscape.Path());
    }
    MakeDialog Dialog(MakeChoice choice) {
        return [this, choice](const MakeDialogRequest& request) {
            requests.push_back(request);
            return std::optional<MakeChoice>(choice);
        };
    }
    static MakeChoice Choice(std::uint32_t mask, int task, OutputFormat format) {
        MakeChoice c;
        c.stationMask = mask;
        c.taskChoice = task;
        c.outputFormat = format;
        return c;
    }
    // The files Inkscape was asked to write, in order.
    std::vector<std::string> Calls() const {
        std::vector<std::string> calls;
        std::istringstream in(test::ReadFile(inkscape.Path() + "bin/calls.txt"));
        std::string line;
        while (std::getline(in, line)) {
            calls.push_back(line.substr(0, line.find(' ')));
        }
        return calls;
    }

    test::ScriptDir inkscape;
};

// Both stages of a raster command report "sheet n of N" and the station, each
// count complete at its end, the progress taken away after each stage.
TEST_F(MakeImagesTest, EveryStageReportsSheetNOfNAndTheStation) {
    const MakeOutcome outcome = OnMakeMapImages(&doc, Dialog(Choice(0, -1, OutputFormat::Pdf)));
    ASSERT_TRUE(outcome.runSucceeded);
    std::vector<std::vector<RunProgress>> stages(1);
    for (const RunProgress& p : host.progress) {
        if (p.sheets == 0) {
            stages.emplace_back();
        } else {
            stages.back().push_back(p);
        }
    }
    ASSERT_EQ(stages.size(), 3u) << "the SVG run and the conversion, each ended";
    EXPECT_TRUE(stages[2].empty());
    int mapSheets = 0;
    for (const auto& entry : fs::directory_iterator(dir + "/out")) {
        const std::string name = entry.path().filename().string();
        mapSheets += name.rfind("map-", 0) == 0 && entry.path().extension() == ".svg" ? 1 : 0;
    }
    const int made[2] = {mapSheets, static_cast<int>(Calls().size())};
    for (int stage = 0; stage < 2; ++stage) {
        const std::vector<RunProgress>& seen = stages[static_cast<std::size_t>(stage)];
        ASSERT_FALSE(seen.empty());
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].sheet, static_cast<int>(i) + 1) << "stage " << stage;
            EXPECT_GE(seen[i].station, i == 0 ? 1 : seen[i - 1].station);
        }
        EXPECT_EQ(seen.back().sheet, made[stage]) << "stage " << stage;
        EXPECT_EQ(seen.back().sheets, made[stage]) << "stage " << stage;
        EXPECT_EQ(seen.back().station, seen.back().stations) << "stage " << stage;
        EXPECT_GT(seen.back().stations, 1);
    }
}

TEST_F(MakeImagesTest, MapImagesConvertEverySheetOfTheChosenStationOnce) {
    Set(id::System_DEBUGGING, "Yes");
    const MakeOutcome outcome =
        OnMakeMapImages(&doc, Dialog(Choice(1u << 2, -1, OutputFormat::Pdf)));

    ASSERT_EQ(outcome.end, MakeEnd::Closed);
    EXPECT_TRUE(outcome.runSucceeded);
    EXPECT_EQ(LastBoxText(), "Image files created.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Information);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Make Competition Maps Image Files");
    EXPECT_TRUE(requests[0].showFormat);
    EXPECT_TRUE(requests[0].showTasks);
    EXPECT_EQ(App().lastFormat, "pdf");

    // The fixture's canvases tile two to a sheet: tasks 0 to 3 on two print sheets.
    ASSERT_EQ(doc.canvasesPerSheet, 2);
    const std::string out = dir + "/out/";
    EXPECT_THAT(Calls(), ElementsAre(SheetTemporaryPath(out + "prn-2.0-2.1", "pdf"),
                                     SheetTemporaryPath(out + "prn-2.2-2.3", "pdf")));
    EXPECT_TRUE(test::ReadFile(out + "prn-2.0-2.1.pdf").starts_with("%PDF-"));
    EXPECT_TRUE(test::ReadFile(out + "prn-2.2-2.3.pdf").starts_with("%PDF-"));
    EXPECT_FALSE(fs::exists(out + "prn-1.0-1.1.pdf"));
    EXPECT_THAT(
        host.statusTexts,
        testing::IsSupersetOf({"Generating Competition Maps SVG files...",
                               "Generating Competition Maps Image Files...",
                               "Generating MAPs 2.0 - 2.1...", "Generating MAPs 2.2 - 2.3..."}));
    EXPECT_EQ(host.statusTexts.back(), "Ready");
    EXPECT_TRUE(host.HasMessage("Image files creation completed."));
    EXPECT_THAT(host.debug, Contains("Selected creation of files with extension 'pdf'."));
    EXPECT_EQ(host.title, "Kib - event.cfg");
    EXPECT_FALSE(RUNNING());

    // Again: the SVG sheets are unchanged, so every converted file is newer.
    const MakeOutcome again = OnMakeMapImages(&doc, Dialog(Choice(1u << 2, -1, OutputFormat::Pdf)));
    EXPECT_EQ(LastBoxText(), "Image files created.");
    EXPECT_EQ(Calls().size(), 2u) << "nothing converted again";
    EXPECT_THAT(host.debug, Contains("Converting '" + out + "prn-2.0-2.1.svg' to '" + out +
                                     "prn-2.0-2.1.pdf' skipped due to file times"));
    EXPECT_EQ(requests[1].lastOutputFormat, OutputFormat::Pdf)
        << "the format chosen last is offered";
    EXPECT_TRUE(again.runSucceeded);
}

TEST_F(MakeImagesTest, WebModeMakesEnlargedZFiles) {
    Set(id::Target_MODE, "WEB");
    Set(id::Target_DPI, "100");
    OnMakeMapImages(&doc, Dialog(Choice(1u << 1, 1, OutputFormat::Png)));
    EXPECT_EQ(LastBoxText(), "Image files created.");
    const std::string out = dir + "/out/";
    ASSERT_THAT(Calls(), ElementsAre(SheetTemporaryPath(out + "map-1.1", "png")));
    EXPECT_TRUE(fs::exists(out + "map-1.1z.png"));
    const std::string call = test::ReadFile(inkscape.Path() + "bin/calls.txt");
    EXPECT_NE(call.find("--export-id=mainSheet --export-dpi=150 "), std::string::npos) << call;
}

TEST_F(MakeImagesTest, HowRasterCommandsEndWhenSomethingGoesWrong) {
    // The SVG run fails: nothing is converted. (Without the export check, which
    // would ask about a courses file that went and came back.)
    Set(id::Source_MODE, "OFF");
    fs::rename(dir + "/Demo.Courses.xml", dir + "/courses.bak");
    MakeOutcome outcome = OnMakeMapImages(&doc, Dialog(Choice(0, -1, OutputFormat::Pdf)));
    EXPECT_EQ(LastBoxText(), "SVG files creation failed.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Error);
    EXPECT_FALSE(outcome.runSucceeded);
    EXPECT_THAT(Calls(), IsEmpty());
    EXPECT_FALSE(RUNNING());
    fs::rename(dir + "/courses.bak", dir + "/Demo.Courses.xml");

    // An Inkscape whose version cannot be told.
    {
        test::ScriptDir broken;
        broken.Script("bin/inkscape", "echo 'no version here'\n");
        Set(id::System_INKSCAPEPATH, broken.Path());
        outcome = OnMakeMapImages(&doc, Dialog(Choice(1u << 1, 1, OutputFormat::Pdf)));
        EXPECT_EQ(LastBoxText(), "Image files creation failed.");
        EXPECT_EQ(outcome.closingIcon, BoxIcon::Error);
        EXPECT_THAT(Calls(), IsEmpty());
        Set(id::System_INKSCAPEPATH, inkscape.Path());
    }

    // Inkscape fails on a sheet: the next is still tried and the box says to look.
    test::WriteFile(inkscape.Path() + "bin/fail.txt", "");
    host.Clear();
    outcome = OnMakeMapImages(&doc, Dialog(Choice(1u << 1, -1, OutputFormat::Pdf)));
    EXPECT_EQ(LastBoxText(), "Image files creation failed!\nSee the Output Window for details.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Error);
    EXPECT_EQ(Calls().size(), 2u);
    EXPECT_TRUE(host.HasMessage("cannot export"));
    fs::remove(inkscape.Path() + "bin/fail.txt");
    fs::remove(inkscape.Path() + "bin/calls.txt");

    // Stop after the first conversion: the next poll ends the loop.
    host.Clear();
    host.onPump = [this] {
        if (RUNNING() && !Calls().empty()) {
            OnStop();
        }
    };
    outcome = OnMakeMapImages(&doc, Dialog(Choice(1u << 1, -1, OutputFormat::Pdf)));
    host.onPump = nullptr;
    // A stop is the user's choice: the box informs, the outcome says it.
    EXPECT_EQ(LastBoxText(), "Image files creation stopped.\nThe files made before the stop are "
                             "kept; run the command again for the rest.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Information);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_FALSE(outcome.runSucceeded);
    EXPECT_EQ(Calls().size(), 1u);
    EXPECT_TRUE(host.HasMessage("[= WARNING =] STOP button pressed"));
    EXPECT_FALSE(host.HasMessage("Image files creation completed."));
    EXPECT_FALSE(RUNNING());
    EXPECT_EQ(host.title, "Kib - event.cfg");
    EXPECT_EQ(host.statusTexts.back(), "Ready");

    // A format that names no file type makes nothing.
    fs::remove_all(dir + "/out");
    fs::create_directory(dir + "/out");
    host.Clear();
    outcome = OnMakeMapImages(&doc, Dialog(Choice(0, -1, static_cast<OutputFormat>(7))));
    EXPECT_EQ(LastBoxText(), "Image files creation failed.");
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Output format 7 is unknown."));
    EXPECT_FALSE(fs::exists(dir + "/out/map-1.1.svg"));
    EXPECT_FALSE(RUNNING());
}

TEST_F(MakeImagesTest, WithoutInkscapeTheBuiltInConverterConvertsAfterOneInfoLine) {
    const std::string nowhere = inkscape.Path() + "nowhere";
    test::PathOverride path(nowhere);
    Set(id::System_INKSCAPEPATH, nowhere);
    const MakeOutcome outcome =
        OnMakeMapImages(&doc, Dialog(Choice(1u << 1, 1, OutputFormat::Pdf)));
    EXPECT_EQ(LastBoxText(), "Image files created.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Information);
    const std::string info = "Inkscape is not installed (not in " + nowhere +
                             " nor on PATH): the built-in converter converts the sheets.";
    EXPECT_EQ(std::count(host.messages.begin(), host.messages.end(), info), 1);
    EXPECT_FALSE(host.HasMessage("[** ERROR **] Cannot find inkscape in path " + nowhere +
                                 ". Check setting of System.INKSCAPEPATH."));
    EXPECT_THAT(Calls(), IsEmpty());
    EXPECT_EQ(test::ReadFile(dir + "/out/prn-1.0-1.1.pdf").substr(0, 5), "%PDF-");
}

TEST_F(MakeImagesTest, TheConverterComesFromTheCommandElseFromTheConfiguration) {
    Set(id::System_CONVERTER, "Builtin");
    OnMakeMapImages(&doc, Dialog(Choice(1u << 1, 1, OutputFormat::Ps)));
    EXPECT_EQ(LastBoxText(), "Image files created.");
    EXPECT_THAT(Calls(), IsEmpty());
    EXPECT_EQ(test::ReadFile(dir + "/out/prn-1.0-1.1.ps").substr(0, 4), "%!PS");

    // The command's choice wins: Inkscape converts the solution sheet.
    MakeChoice choice = Choice(0, -1, OutputFormat::Pdf);
    choice.converter = Converter::Inkscape;
    OnMakeSolImages(&doc, Dialog(choice));
    EXPECT_EQ(LastBoxText(), "Image files created.");
    EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(MakeImagesTest, StopEndsBuiltInConversionsBeforeTheNextSheet) {
    Set(id::System_CONVERTER, "Builtin");
    host.onPump = [this] {
        if (RUNNING() && fs::exists(dir + "/out/prn-1.0-1.1.pdf")) {
            OnStop();
        }
    };
    const MakeOutcome outcome =
        OnMakeMapImages(&doc, Dialog(Choice(1u << 1, -1, OutputFormat::Pdf)));
    host.onPump = nullptr;
    EXPECT_EQ(LastBoxText().rfind("Image files creation stopped.", 0), 0u);
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Information);
    EXPECT_TRUE(outcome.stopped);
    EXPECT_TRUE(host.HasMessage("[= WARNING =] STOP button pressed"));
    EXPECT_TRUE(fs::exists(dir + "/out/prn-1.0-1.1.pdf")) << "the sheet drawn before the stop";
    EXPECT_FALSE(fs::exists(dir + "/out/prn-1.2-1.3.pdf"));
    EXPECT_FALSE(fs::exists(dir + "/out/prn-1.0-1.1-tmp.pdf"));
    EXPECT_FALSE(RUNNING());
}

TEST_F(MakeImagesTest, WarningsOfTheSvgRunStillCountErrorsNoLonger) {
    // An error while the SVG sheets are made (an empty column B that must be kept).
    Set(id::Descriptions_COLB, "Keep");
    test::FixtureOptions noColumnB;
    noColumnB.columnB = false;
    test::WriteFile(dir + "/Demo.S2.svg", test::FixtureMap(noColumnB));
    OnMakeMapImages(&doc, Dialog(Choice(1u << 2, 1, OutputFormat::Pdf)));
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Column B of control description is empty in "
                                "task 2.1!"));
    EXPECT_EQ(LastBoxText(), "Image files created.");

    // Station 2's TASKS is 0: the SVG run warns, the conversion loop warns too.
    ASSERT_TRUE(cfg->StationItem(2, id::Station_TASKS).SetText("0"));
    const MakeOutcome outcome = OnMakeMapImages(&doc, Dialog(Choice(0, -1, OutputFormat::Pdf)));
    EXPECT_TRUE(host.HasMessage("[= WARNING =] Task number undefined for station 2"));
    EXPECT_EQ(LastBoxText(),
              "Image files created with some warnings!\nSee the Output Window for details.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Warning);
}

TEST_F(MakeImagesTest, SolutionSheetsAsSvgAndAsImages) {
    MakeOutcome outcome = OnMakeSolSvgs(&doc, Dialog(Choice(0, -1, OutputFormat::None)));
    EXPECT_EQ(outcome.end, MakeEnd::Closed);
    EXPECT_EQ(LastBoxText(), "SVG files created.");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "Make Solution Maps SVG Files");
    EXPECT_FALSE(requests[0].showTasks);
    EXPECT_FALSE(requests[0].showFormat);
    EXPECT_TRUE(doc.GetMapsMode()) << "solution maps mode";
    EXPECT_THAT(host.statusTexts, Contains("Generating Solution Maps SVG files..."));
    const std::string out = dir + "/out/";
    EXPECT_TRUE(fs::exists(out + "sol-1-2.svg"));
    EXPECT_THAT(Calls(), IsEmpty());

    host.Clear();
    outcome = OnMakeSolImages(&doc, Dialog(Choice(0, -1, OutputFormat::Png)));
    EXPECT_EQ(LastBoxText(), "Image files created.");
    EXPECT_EQ(requests[1].title, "Make Solution Maps Image Files");
    EXPECT_THAT(Calls(), ElementsAre(SheetTemporaryPath(out + "sol-1-2", "png")));
    EXPECT_TRUE(fs::exists(out + "sol-1-2.png"));
    EXPECT_THAT(host.statusTexts, Contains("Generating Solution Maps Image Files..."));
    EXPECT_EQ(host.statusTexts.back(), "Ready");
    EXPECT_FALSE(RUNNING());

    // One station chosen: its own sheet.
    OnMakeSolImages(&doc, Dialog(Choice(1u << 2, -1, OutputFormat::Pdf)));
    EXPECT_EQ(Calls().back(), SheetTemporaryPath(out + "sol-2-2", "pdf"));
    EXPECT_TRUE(fs::exists(out + "sol-2-2.svg"));
}

} // namespace
} // namespace kib
