// Make Raster Maps, Make Vector Solutions and Make Raster Solutions: which sheets
// the conversion loops convert and how, and how each command ends, with a
// stand-in Inkscape that records its calls.
#include "app/builtin_convert.h"
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
#include "support/raster.h"
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
using testing::IsEmpty;

TEST(ConversionLoopTest, EachSheetOfARunIsConvertedAsItsKindAsks) {
    const ConversionSettings prt{'P', "/o/", 600, OutputFormat::Pdf};
    const ConversionSettings web{'W', "/o/", 300, OutputFormat::Png};
    struct Case {
        const char* what;
        RunSheet sheet;
        ConversionSettings settings;
        const char* base;
        const char* status;
        int dpi;
        bool zSuffix;
    };
    const auto sheet = [](SheetKind kind, const char* svg, std::vector<int> stations, int a,
                          int b) {
        RunSheet r;
        r.kind = kind;
        r.svg = svg;
        r.stations = std::move(stations);
        r.firstTask = a;
        r.lastTask = b;
        r.toPrint = true;
        return r;
    };
    const Case cases[] = {
        {"a pair", sheet(SheetKind::Print, "/o/prn-3.0-3.1.svg", {3}, 0, 1), prt, "/o/prn-3.0-3.1",
         "Generating MAPs 3.0 - 3.1...", 600, false},
        {"the last task alone", sheet(SheetKind::Print, "/o/prn-4.4.svg", {4}, 4, 4), prt,
         "/o/prn-4.4", "Generating MAP 4.4...", 600, false},
        {"a map sheet of an untiled layout", sheet(SheetKind::Map, "/o/map-1.2.svg", {1}, 2, 2),
         prt, "/o/map-1.2", "Generating MAP 1.2...", 600, false},
        {"WEB maps at one and a half times the resolution",
         sheet(SheetKind::Map, "/o/map-2.1.svg", {2}, 1, 1), web, "/o/map-2.1",
         "Generating MAP 2.1...", 450, true},
        {"solutions are never enlarged", sheet(SheetKind::Solution, "/o/sol-3.svg", {3}, 0, 0), web,
         "/o/sol-3", "", 300, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SheetConversion conversion = ConversionOf(c.sheet, c.settings);
        EXPECT_EQ(conversion.base, c.base);
        EXPECT_EQ(conversion.statusText, c.status);
        EXPECT_EQ(conversion.dpi, c.dpi);
        EXPECT_EQ(conversion.zSuffix, c.zSuffix);
    }
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
        c.stations = StationSet::FromMask(mask);
        c.taskChoice = task;
        c.outputFormat = format;
        return c;
    }
    // The sheets Inkscape was asked to convert, in order, each named by its SVG
    // file with the extension of the file Inkscape wrote ("out/prn-1.0-1.1.pdf").
    std::vector<std::string> Calls() const {
        std::vector<std::string> calls;
        std::istringstream in(test::ReadFile(inkscape.Path() + "bin/calls.txt"));
        std::string line;
        while (std::getline(in, line)) {
            const std::string written = line.substr(0, line.find(' '));
            const std::string svg = line.substr(line.rfind(' ') + 1);
            calls.push_back(svg.substr(0, svg.rfind('.')) + written.substr(written.rfind('.')));
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
    EXPECT_THAT(Calls(), ElementsAre(out + "prn-2.0-2.1.pdf", out + "prn-2.2-2.3.pdf"));
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
    ASSERT_THAT(Calls(), ElementsAre(out + "map-1.1.png"));
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

// The stop poll comes before each sheet is handed to a worker: a stop at the
// conversion's second poll, after the first sheet was handed out, converts that
// sheet alone, however many workers draw (builtin_workers_test.cpp).
TEST_F(MakeImagesTest, StopEndsBuiltInConversionsBeforeTheNextSheet) {
    Set(id::System_CONVERTER, "Builtin");
    int polls = 0;
    host.onPump = [this, &polls] {
        const bool converting =
            std::find(host.statusTexts.begin(), host.statusTexts.end(),
                      "Generating Competition Maps Image Files...") != host.statusTexts.end();
        if (RUNNING() && converting && ++polls == 2) {
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

TEST_F(MakeImagesTest, ErrorsOfTheSvgRunCountAsMuchAsThoseOfTheConversion) {
    // An error while the first station's sheets are made (an empty column B that
    // must be kept): the sheets are converted, and the command ends with errors;
    // the clean last station does not hide the first one.
    Set(id::Descriptions_COLB, "Keep");
    test::FixtureOptions noColumnB;
    noColumnB.columnB = false;
    test::WriteFile(dir + "/Demo.S1.svg", test::FixtureMap(noColumnB));
    MakeOutcome outcome = OnMakeMapImages(&doc, Dialog(Choice(0, 1, OutputFormat::Pdf)));
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Column B of control description is empty in "
                                "task 1.1!"));
    EXPECT_EQ(LastBoxText(),
              "Image files created with some errors!\nSee the Output Window for details.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Error);
    EXPECT_EQ(Calls().size(), 2u);

    // The first station alone.
    outcome = OnMakeMapImages(&doc, Dialog(Choice(1u << 1, 1, OutputFormat::Pdf)));
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Error);

    // Station 2's TASKS is 0: the SVG run warns.
    ASSERT_TRUE(cfg->StationItem(2, id::Station_TASKS).SetText("0"));
    outcome = OnMakeMapImages(&doc, Dialog(Choice(1u << 2, -1, OutputFormat::Pdf)));
    EXPECT_TRUE(host.HasMessage("[= WARNING =] Number of tasks undefined for station 2"));
    EXPECT_EQ(LastBoxText(),
              "Image files created with some warnings!\nSee the Output Window for details.");
    EXPECT_EQ(outcome.closingIcon, BoxIcon::Warning);
}

TEST_F(MakeImagesTest, TheConversionTakesExactlyTheSheetsTheRunWrote) {
    // The configuration says five tasks, the maps' description rows give three
    // (the fixture's): the run writes the sheets of tasks 0 to 3, and only those
    // are converted; a sheet of the configured fourth and fifth task was never
    // written.
    Set(id::Event_TASKS, "5");
    const MakeOutcome outcome =
        OnMakeMapImages(&doc, Dialog(Choice(1u << 1, -1, OutputFormat::Pdf)));
    EXPECT_NE(outcome.closingIcon, BoxIcon::Error) << LastBoxText();
    const std::string out = dir + "/out/";
    EXPECT_THAT(Calls(), ElementsAre(out + "prn-1.0-1.1.pdf", out + "prn-1.2-1.3.pdf"));
    EXPECT_FALSE(host.HasMessage("prn-1.4-1.5"));
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
    EXPECT_THAT(Calls(), ElementsAre(out + "sol-1-2.png"));
    EXPECT_TRUE(fs::exists(out + "sol-1-2.png"));
    EXPECT_THAT(host.statusTexts, Contains("Generating Solution Maps Image Files..."));
    EXPECT_EQ(host.statusTexts.back(), "Ready");
    EXPECT_FALSE(RUNNING());

    // One station chosen: its own sheet.
    OnMakeSolImages(&doc, Dialog(Choice(1u << 2, -1, OutputFormat::Pdf)));
    EXPECT_EQ(Calls().back(), out + "sol-2-2.pdf");
    EXPECT_TRUE(fs::exists(out + "sol-2-2.svg"));
}

// The pictures of the proof page and the map view are drawn by the converter's
// renderer: the picture of a solution sheet is the page of its PDF, texts on
// their baselines included (a renderer of its own drew them 1.2 mm higher).
// (The text rows themselves are compared in builtin_convert_test.cpp.)
TEST_F(MakeImagesTest, ThePictureOfASolutionSheetIsThePageOfItsPdf) {
    const std::string pdftoppm = test::FindProgram("pdftoppm");
    if (pdftoppm.empty() || test::FindProgram("pngtopnm").empty()) {
        GTEST_SKIP() << "pdftoppm or pngtopnm is not installed";
    }
    MakeChoice choice = Choice(0, -1, OutputFormat::Pdf);
    choice.converter = Converter::BuiltIn;
    OnMakeSolImages(&doc, Dialog(choice));
    ASSERT_EQ(LastBoxText(), "Image files created.");
    const std::string sheet = dir + "/out/sol-1-2";
    constexpr int kWidth = 1200;
    std::string error;
    ASSERT_TRUE(RenderSheetPng(sheet + ".svg", sheet + "-picture.png", kWidth, error)) << error;
    test::Raster picture;
    ASSERT_TRUE(test::LoadPng(sheet + "-picture.png", picture));
    const test::ProgramResult page = test::RunProgram(
        {pdftoppm, "-png", "-singlefile", "-scale-to-x", std::to_string(picture.width),
         "-scale-to-y", std::to_string(picture.height), sheet + ".pdf", sheet + "-page"});
    ASSERT_EQ(page.status, 0) << page.err;
    test::Raster pdf;
    ASSERT_TRUE(test::LoadPng(sheet + "-page.png", pdf));
    ASSERT_EQ(pdf.width, picture.width);
    ASSERT_EQ(pdf.height, picture.height);
    // Poppler's own rasterizer draws thin lines otherwise than cairo (it snaps
    // them to whole pixels): the same PDF drawn by pdftoppm and by pdftocairo
    // differs by an RMSE of 0.030 here, 0.025 of it without any text. A picture
    // of another renderer or with its texts moved differs by more.
    EXPECT_LE(test::Compare(picture, pdf).rmse, 0.035);

    // The same picture in memory, as the map view shows it.
    SheetPicture shown;
    ASSERT_TRUE(RenderSheetPicture(sheet + ".svg", kWidth, false, shown, error)) << error;
    ASSERT_EQ(shown.width, picture.width);
    ASSERT_EQ(shown.height, picture.height);
    const std::size_t middle = shown.pixels.size() / 2 + static_cast<std::size_t>(kWidth / 2);
    const std::uint32_t rgb = shown.pixels[middle];
    EXPECT_EQ((rgb >> 16) & 0xFF, picture.rgb[middle * 3]);
    EXPECT_EQ((rgb >> 8) & 0xFF, picture.rgb[middle * 3 + 1]);
    EXPECT_EQ(rgb & 0xFF, picture.rgb[middle * 3 + 2]);

    // Drawn by cairo, the PDF's page is the picture: without texts to 0.0002,
    // with them to 0.010, the edges of the glyphs (the PDF carries them as
    // outlines of embedded fonts, the picture draws them from the fonts).
    const std::string pdftocairo = test::FindProgram("pdftocairo");
    if (pdftocairo.empty()) {
        return;
    }
    auto cairoPage = [&](const std::string& base, test::Raster& raster) {
        const test::ProgramResult drawn = test::RunProgram(
            {pdftocairo, "-png", "-singlefile", "-scale-to-x", std::to_string(picture.width),
             "-scale-to-y", std::to_string(picture.height), base + ".pdf", base + "-cairo"});
        return drawn.status == 0 && test::LoadPng(base + "-cairo.png", raster);
    };
    test::Raster cairo;
    ASSERT_TRUE(cairoPage(sheet, cairo));
    EXPECT_LE(test::Compare(picture, cairo).rmse, 0.012);
    std::string lines = test::ReadFile(sheet + ".svg");
    for (std::size_t at = lines.find("<text"); at != std::string::npos;
         at = lines.find("<text", at)) {
        lines.erase(at, lines.find("</text>", at) + 7 - at);
    }
    const std::string bare = dir + "/out/bare";
    test::WriteFile(bare + ".svg", lines);
    ASSERT_TRUE(RenderSheet(bare + ".svg", bare + ".pdf", OutputFormat::Pdf, 300));
    ASSERT_TRUE(RenderSheetPng(bare + ".svg", bare + "-picture.png", kWidth, error)) << error;
    test::Raster barePicture;
    test::Raster bareCairo;
    ASSERT_TRUE(test::LoadPng(bare + "-picture.png", barePicture));
    ASSERT_TRUE(cairoPage(bare, bareCairo));
    EXPECT_LE(test::Compare(barePicture, bareCairo).rmse, 0.002);
}

} // namespace
} // namespace kib
