// The solutions run on a fixture event written to disk: how stations are
// grouped into sheets, the credit line and the logo, WEB sheets, a second run
// that changes nothing, and the stations and runs that fail.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "event_fixture.h"
#include "foundation/app_state.h"
#include "foundation/format.h"
#include "foundation/run_control.h"
#include "map_input/kib_svg.h"
#include "run_fixture.h"
#include "sheet/solution_run.h"
#include "sheet/svg_text.h"
#include "support/recording_host.h"
#include "support/run_program.h"
#include "svg_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kib {
namespace {

namespace fs = std::filesystem;

class SolutionRunTest : public test::RunEventTest {
  protected:
    void SetUp() override {
        MakeRunEvent("solutions", 5);
        Set(id::Event_TASKS, "3");
        Set(id::Solutions_MAPHEIGHT, "100"); // two rows of maps per sheet
        for (int s = 1; s <= 5; ++s) {
            test::WriteFile(MapFile(s), test::FixtureMap({}));
        }
        test::WriteFile(dir + "/Demo.Courses.xml", test::FixtureCourses({1, 2, 3, 4, 5}, 3));
    }
    std::string MapFile(int s) const { return dir + "/Demo.S" + std::to_string(s) + ".svg"; }
    bool Run(std::uint32_t mask = 0) {
        CKibSvg svg(doc);
        SolutionRun run(svg, App().Log(), test::TheStopCommand());
        const bool ok = run.GenerateSolutionSvg(mask);
        perSheet = run.StationsPerSheet();
        return ok;
    }
    // The sheet parsed, with the ids of its station maps in order.
    std::string Maps(const std::string& name) {
        const std::string text = test::ReadFile(dir + "/out/" + name);
        pugi::xml_document xml;
        test::ParseDocument(xml, text);
        std::string ids;
        for (const pugi::xpath_node& n : xml.select_nodes("//*[starts-with(@id,'solmap')]")) {
            ids += (ids.empty() ? "" : " ") + std::string(n.node().attribute("id").value());
        }
        return ids;
    }
    std::string Sheet(const std::string& name) const {
        return test::ReadFile(dir + "/out/" + name);
    }
    static bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    int perSheet = 0;
};

TEST_F(SolutionRunTest, StationsAreGroupedTwoPerRowWithCreditAndLogoOnEverySheet) {
    test::WriteFile(dir + "/logo.png", "not really a picture");
    Set(id::Solutions_LOGO, "logo.png");
    Set(id::Solutions_LOGOWIDTH, "20");
    Set(id::Solutions_LOGOHEIGHT, "10");
    ASSERT_TRUE(Run());
    EXPECT_EQ(perSheet, 4);
    EXPECT_EQ(Files(), (std::vector<std::string>{"logo.png", "sol-1-4.svg", "sol-5-5.svg"}));
    EXPECT_EQ(Maps("sol-1-4.svg"), "solmap1 solmap2 solmap3 solmap4");
    EXPECT_EQ(Maps("sol-5-5.svg"), "solmap5");
    for (const char* name : {"sol-1-4.svg", "sol-5-5.svg"}) {
        const std::string text = Sheet(name);
        const std::size_t credit = text.find(">Kib, ver. 4.2.5(1)</text>");
        ASSERT_NE(credit, std::string::npos) << name;
        EXPECT_GT(credit, text.rfind("<g id=\"solmap")) << "after the last map";
        // Below the last row of the sheet: rows 118 high from 13.
        const int rows = std::string(name) == "sol-1-4.svg" ? 2 : 1;
        EXPECT_TRUE(Has(text, Format("<image xlink:href=\"logo.png\" width=\"20\" "
                                     "height=\"10\" x=\"90\" y=\"%d\" />",
                                     rows * 118 + 13)))
            << name;
    }
}

TEST_F(SolutionRunTest, MaskChoosesStationsAndTheSheetIsNamedAfterItsFirstAndLast) {
    ASSERT_TRUE(Run((1u << 2) | (1u << 3) | (1u << 5)));
    EXPECT_EQ(Files(), (std::vector<std::string>{"sol-2-5.svg"}));
    EXPECT_EQ(Maps("sol-2-5.svg"), "solmap2 solmap3 solmap5");
    EXPECT_FALSE(Run(1u << 9)) << "no station chosen";
}

// Rows are as high as the station with the most tasks needs, whichever comes last.
TEST_F(SolutionRunTest, RowsFitTheLongestDescription) {
    ASSERT_TRUE(cfg->StationItem(1, id::Station_TASKS).SetText("10"));
    ASSERT_TRUE(Run((1u << 1) | (1u << 2) | (1u << 3)));
    // Two blocks of 10 rows of 5 mm, a ruler's height between them, the arrow box
    // below them and the ruler above: 100 + 4 + 14 + 4.
    EXPECT_TRUE(Has(Sheet("sol-1-3.svg"), "<g id=\"solmap3\" transform=\"translate(2,139)\""))
        << "rows of 122 from 13, the map under the ruler of 4";
}

TEST_F(SolutionRunTest, SecondRunChangesNothing) {
    ASSERT_TRUE(Run());
    const std::vector<std::string> files = Files();
    host.Clear();
    ASSERT_TRUE(Run());
    // Nothing the sheets are made from changed: each is kept without composing it.
    for (const char* name : {"sol-1-4.svg", "sol-5-5.svg"}) {
        EXPECT_NE(std::find(host.debug.begin(), host.debug.end(),
                            "==== Sheet " + std::string(name) +
                                ": nothing it is made from changed, it is kept."),
                  host.debug.end())
            << name;
    }
    EXPECT_EQ(Files(), files) << "no temporary file is left";
}

TEST_F(SolutionRunTest, WebModeMakesOneBareSheetPerStation) {
    Set(id::Target_MODE, "WEB");
    ASSERT_TRUE(Run((1u << 1) | (1u << 2)));
    EXPECT_EQ(perSheet, 1);
    EXPECT_EQ(Files(), (std::vector<std::string>{"sol-1.svg", "sol-2.svg"}));
    EXPECT_EQ(Maps("sol-2.svg"), "solmap2");
    const std::string text = Sheet("sol-1.svg");
    for (const char* absent : {"id=\"ruler\"", "Station: ", ">Kib, ver. ", "<image"}) {
        EXPECT_FALSE(Has(text, absent)) << absent;
    }
}

// A station that cannot be read leaves its place empty and fails; its sheet is
// still finished, and a sheet without any station is not written at all.
TEST_F(SolutionRunTest, UnreadableStationsLeaveTheirPlacesEmpty) {
    for (int s : {4, 5}) {
        const std::string text = test::ReadFile(MapFile(s));
        test::WriteFile(MapFile(s), text.substr(0, text.size() / 2));
    }
    EXPECT_FALSE(Run()) << "stations 4 and 5 failed";
    EXPECT_EQ(Files(), (std::vector<std::string>{"sol-1-4.svg"}));
    EXPECT_EQ(Maps("sol-1-4.svg"), "solmap1 solmap2 solmap3");
    EXPECT_TRUE(Has(Sheet("sol-1-4.svg"), ">Kib, ver. "));
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Map of station 4 could not be read completely!"));
}

TEST_F(SolutionRunTest, FailedRuns) {
    {
        SCOPED_TRACE("courses file missing");
        fs::rename(dir + "/Demo.Courses.xml", dir + "/away.xml");
        EXPECT_FALSE(Run());
        EXPECT_TRUE(Files().empty());
        fs::rename(dir + "/away.xml", dir + "/Demo.Courses.xml");
    }
    {
        SCOPED_TRACE("stop requested");
        SetRunning(false);
        EXPECT_FALSE(Run());
        EXPECT_TRUE(Files().empty());
        SetRunning(true);
    }
    {
        SCOPED_TRACE("a row higher than the sheet");
        Set(id::Solutions_MAPHEIGHT, "300");
        host.Clear();
        EXPECT_FALSE(Run());
        EXPECT_TRUE(Files().empty());
        EXPECT_TRUE(host.HasMessage("[** ERROR **] Insufficient sheet height for a row of solution "
                                    "maps (needed 333, set 287)!"));
    }
}

} // namespace
} // namespace kib
