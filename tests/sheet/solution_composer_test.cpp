// The solution map composer on a small fixture station: where the map and the
// description block of each place of the sheet go, the map transform around
// chair, circles and flags, the upright special symbols and control numbers,
// the description rows and the answers. Every composed sheet is parsed as XML.
#include "composer_fixture.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "event_fixture.h"
#include "foundation/app_state.h"
#include "foundation/format.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "sheet/sheet_frame.h"
#include "sheet/solution_composer.h"
#include "sheet/svg_image.h"
#include "sheet/svg_text.h"
#include "support/recording_host.h"
#include "svg_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <sstream>

namespace kib {
namespace {

using test::FixtureOptions;

// The fixture map with stroke widths on its circles and, on request, a control
// number beside the first circle.
std::string SolutionFixtureMap(const FixtureOptions& options, bool controlNumber) {
    std::string text = test::FixtureMap(options);
    for (std::size_t at = text.find("r=\"2.500\"/>"); at != std::string::npos;
         at = text.find("r=\"2.500\"/>", at + 1)) {
        text.replace(at, 11, "r=\"2.500\" stroke-width=\"0.35\"/>");
    }
    if (controlNumber) {
        const std::string number = "<g id=\"Sym_704.0 Control number\">\n"
                                   "<g fill=\"rgb(166,38,255)\" stroke=\"none\">\n"
                                   "<g>\n<path\nd=\"M62.000,45.000\nL64.000,47.000\"/>\n</g>\n"
                                   "</g>\n</g>\n";
        text.insert(text.find("<g id=\"Sym_790.1 Chair\">"), number);
    }
    return text;
}

class SolutionComposerTest : public test::ComposerFixture {
  protected:
    void SetUp() override {
        MakeStation();
        Set(id::Solutions_SCALE, "2000");
        doc.mapScale = 4000;
        surface = std::make_unique<CSvgImage>(*cfg);
    }
    void TearDown() override {
        surface->SetStream(nullptr);
        ResetAppState();
    }

    // Reads the fixture map (three tasks) and gives circle part p the task p + 1.
    CKibMap& Load(const FixtureOptions& options = {}, bool controlNumber = false) {
        return LoadMap(SolutionFixtureMap(options, controlNumber), 0);
    }

    // Lays the sheet out and composes the loaded map at the position into the
    // sheet text, which starts empty for a new sheet.
    bool Compose(int position, int station = 1) {
        EXPECT_TRUE(surface->ComputeLayout(true, true, 4000, station, 0, 0));
        surface->SetStream(&sheet);
        return ComposeSolutionMap(*map, *surface, sheet, station, position);
    }
    // The finished sheet, parsed into xml.
    std::string Finish() {
        WriteSheetClosing(sheet);
        const std::string text = sheet.str();
        test::ParseDocument(xml, text);
        return text;
    }
    // Column H letters of the description block: row number -> letter.
    std::map<int, std::string> ColumnH() const {
        std::map<int, std::string> letters;
        for (const pugi::xpath_node& node :
             xml.select_nodes("//*[@id='soldsc1']//*[local-name()='text']")) {
            if (std::string(node.node().attribute("x").value()) == "37.500") {
                const double y = node.node().attribute("y").as_double();
                letters[static_cast<int>(y / 5.0) + 1] = node.node().child_value();
            }
        }
        return letters;
    }

    std::unique_ptr<CSvgImage> surface;
    std::ostringstream sheet;
    pugi::xml_document xml;
};

// Default A4 solution layout: maps 73 x 64 in the columns at 2 and 125, the
// description column at 80, rows 82 high from 13, rulers 4 high.
TEST_F(SolutionComposerTest, FourPlacesOfTwoRowsOnOneSheet) {
    struct Place {
        int position;
        const char* map;
        const char* descriptions;
        const char* ruler;
    };
    const Place places[] = {
        {1, "translate(2,17)", "translate(80,17.000)", "M2.0,15.0 L198.0,15.0"},
        {2, "translate(125,17)", "translate(80,66.000)", "M2.0,15.0 L198.0,15.0"},
        {3, "translate(2,99)", "translate(80,99.000)", "M2.0,97.0 L198.0,97.0"},
        {4, "translate(125,99)", "translate(80,148.000)", "M2.0,97.0 L198.0,97.0"},
    };
    for (const Place& place : places) {
        Load();
        EXPECT_TRUE(Compose(place.position, place.position));
    }
    EXPECT_EQ(surface->mapBoxW, 73);
    EXPECT_EQ(surface->rowH, 82);
    const std::string text = Finish();
    for (const Place& place : places) {
        SCOPED_TRACE(place.position);
        EXPECT_TRUE(Has(text, Format("<g id=\"solmap%d\" transform=\"%s\" "
                                     "clip-path=\"url(#CANVAS)\">\r\n",
                                     place.position, place.map)));
        EXPECT_TRUE(Has(text, Format("<g id=\"soldsc%d\" transform=\"%s\">\r\n", place.position,
                                     place.descriptions)));
        EXPECT_TRUE(Has(text, place.ruler));
        EXPECT_TRUE(Has(text, Format(">1 : 2 000 </text>")));
    }
    // One header and one heading for the whole sheet; the map box is the clip path.
    EXPECT_EQ(xml.select_nodes("//*[@id='mainSheet']").size(), 1u);
    EXPECT_EQ(test::AttrOf(xml, "//*[@id='CANVAS']/*", "width"), "73");
    EXPECT_EQ(test::AttrOf(xml, "//*[@id='CANVAS']/*", "height"), "64");
    EXPECT_EQ(xml.select_nodes("//*[local-name()='text'][.=' Station: 3']").size(), 1u);
}

struct ViewCase {
    int rotation;
    const char* assignments[3];
    const char* middle; // the map point put at the centre of the map box
};

// The map is turned by the station's rotation about the middle of the box that
// holds the chair, the first circle of every task and the flags, seen turned.
TEST_F(SolutionComposerTest, TransformCentresChairCirclesAndFlags) {
    const ViewCase cases[] = {
        {0, {":1:", ":2:", ":3:"}, "65.000 50.000"},
        {45, {":1:", ":2:", ":3:"}, "60.000 50.000"},
        {0, {":1:", ":1:2:", ":2:"}, "60.000 50.000"}, // the third circle is no first circle
    };
    for (const ViewCase& c : cases) {
        SCOPED_TRACE(c.rotation);
        sheet.str("");
        Load();
        map->rotation = c.rotation;
        for (int p = 0; p < 3; ++p) {
            map->assignments[static_cast<std::size_t>(p)] = c.assignments[p];
        }
        ASSERT_TRUE(Compose(1));
        const std::string text = Finish();
        const std::string middle = c.middle;
        const std::string negative =
            "-" + middle.substr(0, middle.find(' ')) + " -" + middle.substr(middle.find(' ') + 1);
        EXPECT_TRUE(Has(text, Format("  <g transform=\"translate(36 32) scale(2.000) "
                                     "translate(%s) rotate(%d %s) scale(1.000)\">\r\n",
                                     negative.c_str(), c.rotation, middle.c_str())))
            << text.substr(text.find("solmap1"), 200);
    }
}

// A flag drawn as a degenerate curve has a centre that is no number (or an
// infinite one): it is left out of the view, and no bearing of it becomes an
// undefined integer.
TEST_F(SolutionComposerTest, DegenerateFlagsAreLeftOutOfTheView) {
    Load();
    map->FindSet(790, 2)->instances[0].centre = {std::nanf(""), std::nanf("")};
    map->FindSet(790, 3)->instances[0].centre = {std::numeric_limits<float>::infinity(), 30.0f};
    ASSERT_TRUE(Compose(1));
    const std::string text = Finish();
    // The box of the chair and the circles alone.
    EXPECT_TRUE(Has(text, "translate(36 32) scale(2.000) translate(-65.000 -60.000) rotate(0 "
                          "65.000 60.000) scale(1.000)"))
        << text.substr(text.find("solmap1"), 200);
    for (const std::string& line : host.debug) {
        EXPECT_EQ(line.find("-2147483648"), std::string::npos) << line;
    }
}

TEST_F(SolutionComposerTest, SpecialSymbolsStayUprightAndCirclesAreThinned) {
    Set(id::Solutions_CIRCLEW, "0.2");
    Load();
    map->rotation = 45;
    ASSERT_TRUE(Compose(1));
    const std::string text = Finish();
    // The chair turns about its first point, each flag about its own middle.
    EXPECT_TRUE(Has(text, "<g transform=\"rotate(-45 50.000 70.000)\"><g>"));
    EXPECT_TRUE(Has(text, "<g transform=\"rotate(-45 60.000 30.000)\"><circle cx=\"60.000\""));
    EXPECT_TRUE(Has(text, "<g transform=\"rotate(-45 70.000 30.000)\"><circle cx=\"70.000\""));
    EXPECT_EQ(xml.select_nodes("//*[local-name()='circle'][@stroke-width='0.200000']").size(), 3u)
        << "every control circle, and nothing else";
    // The north arrow shows the turned north.
    EXPECT_TRUE(Has(text, "<g id=\"north-arrow\" transform=\"rotate(45 "));
}

TEST_F(SolutionComposerTest, ControlNumbersKeepTheirSizeAndStayUpright) {
    for (const char* tasknums : {"Yes", "No"}) {
        SCOPED_TRACE(tasknums);
        Set(id::Solutions_TASKNUMS, tasknums);
        sheet.str("");
        Load({}, true);
        map->rotation = 30;
        ASSERT_TRUE(Compose(1));
        const std::string text = Finish();
        const bool shown = tasknums[0] == 'Y';
        EXPECT_EQ(Has(text, "        <g transform=\"translate(63.000000 46.000000) scale(0.500000) "
                            "rotate(-30) translate(-63.000000 -46.000000)\">\r\n"
                            "          <g>\r\n"),
                  shown);
        EXPECT_EQ(xml.select_nodes("//*[@id='Control numbers']/*").size(), shown ? 1u : 0u);
    }
}

// Task t of the block carries the symbols of the export's row r0 + t - 1, where
// r0 is the first control row of the export; without control rows row t + 1.
TEST_F(SolutionComposerTest, DescriptionRowsFollowTheFirstControlRow) {
    struct RowCase {
        bool titleRow;
        bool literal;
        double dy; // translation of every copied symbol
    };
    const RowCase cases[] = {{true, false, -105.0}, {false, false, -100.0}, {true, true, -105.0}};
    for (const RowCase& c : cases) {
        SCOPED_TRACE(std::string(c.titleRow ? "title row" : "no title row") +
                     (c.literal ? ", literal rows" : ""));
        sheet.str("");
        FixtureOptions options;
        options.titleRow = c.titleRow;
        Load(options);
        if (c.literal) {
            map->firstControlRow = -1;
        }
        ASSERT_TRUE(Compose(1));
        const std::string text = Finish();
        for (int t = 1; t <= 3; ++t) {
            EXPECT_TRUE(Has(
                text, Format("<g id=\"3.1#%d\" transform=\"translate(-150.000 %.3f)\">", t, c.dy)))
                << t;
            EXPECT_EQ(
                xml.select_nodes(
                       Format("//*[@id='soldsc1']//*[local-name()='text'][.='1.%d']", t).c_str())
                    .size(),
                1u);
        }
        // The export's horizontal table line never comes along; its vertical lines do.
        EXPECT_FALSE(Has(text, "<g id=\"16.1#"));
        EXPECT_EQ(Has(text, "<g id=\"16.2#1\""), !c.titleRow);
        EXPECT_EQ(xml.select_nodes("//*[@id='lower border']").size(), 3u);
        EXPECT_TRUE(Has(text, "M0.000,15.000 L40.000,15.000")) << "the last row's border";
    }
}

// Column H: the export's answer letters where configured, else the station's
// ANSWERS, one letter per row; a row without either stays empty.
TEST_F(SolutionComposerTest, AnswersFromTheConfigurationAndFromColumnH) {
    struct AnswerCase {
        const char* answersSymbol;
        const char* answers;
        std::map<int, std::string> letters;
    };
    const AnswerCase cases[] = {
        {"", "BZ", {{1, "B"}, {2, "Z"}}},
        {"5.1", "", {}},
        {"5.1", "BZA", {{2, "Z"}, {3, "A"}}},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(std::string(c.answersSymbol) + " / " + c.answers);
        sheet.str("");
        xml.reset();
        Set(id::Source_ANSWERS, c.answersSymbol);
        ASSERT_TRUE(cfg->StationItem(1, id::Station_ANSWERS).SetText(c.answers));
        Load();
        ASSERT_TRUE(Compose(1));
        const std::string text = Finish();
        EXPECT_EQ(ColumnH(), c.letters);
        EXPECT_TRUE(Has(text, "<g id=\"5.1#1\"")) << "column H symbols are copied";
        if (*c.answersSymbol) {
            EXPECT_FALSE(map->FindSet(5, 1)->First()->firstLine->hidden)
                << "the answer letters are shown again";
        }
    }
}

TEST_F(SolutionComposerTest, ColumnBLetterRangeFollowsTheStationsFlags) {
    Set(id::Descriptions_COLB, "Make");
    Set(id::Event_FLAGS, "6");
    ASSERT_TRUE(cfg->StationItem(2, id::Station_FLAGS).SetText("4"));
    // One layout for the sheet, laid out for station 1.
    ASSERT_TRUE(surface->ComputeLayout(true, true, 4000, 1, 0, 0));
    surface->SetStream(&sheet);
    Load();
    ASSERT_TRUE(ComposeSolutionMap(*map, *surface, sheet, 1, 1));
    Load();
    ASSERT_TRUE(ComposeSolutionMap(*map, *surface, sheet, 2, 2));
    const std::string text = Finish();
    EXPECT_EQ(xml.select_nodes("//*[@id='soldsc1']//*[local-name()='text'][.='A-F']").size(), 3u);
    EXPECT_EQ(xml.select_nodes("//*[@id='soldsc2']//*[local-name()='text'][.='A-D']").size(), 3u);
    EXPECT_FALSE(Has(text, "<g id=\"17.5#")) << "Make replaces the exported column B";
}

TEST_F(SolutionComposerTest, StationWithoutChairOrCirclesLeavesItsPlaceEmpty) {
    Load();
    map->chairId = SymbolId{790, 9, true};
    EXPECT_FALSE(Compose(1));
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Chair position not defined for station 1!"));
    Load();
    for (int p = 0; p < 3; ++p) {
        map->assignments[static_cast<std::size_t>(p)] = ":";
    }
    host.Clear();
    EXPECT_FALSE(Compose(2));
    EXPECT_TRUE(host.messages.empty()) << "no circle at all ends the station silently";
    const std::string text = Finish();
    EXPECT_EQ(xml.select_nodes("//*[@id='mainSheet']").size(), 1u) << "the sheet itself is begun";
    EXPECT_FALSE(Has(text, "solmap"));
}

TEST_F(SolutionComposerTest, UnknownMapScaleDrawsTheMapAsExported) {
    doc.mapScale = 0;
    Load();
    ASSERT_TRUE(Compose(1));
    const std::string text = Finish();
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Unknown original map scale!"));
    EXPECT_TRUE(Has(text, "translate(36 32) scale(1.000) translate(-65.000 -50.000)"));
    EXPECT_FALSE(Has(text, "1 : ")) << "no scale label";
}

TEST_F(SolutionComposerTest, RedKibSymbols) {
    Set(id::Solutions_KIBSYMCOLOR, "Red");
    Load();
    ASSERT_TRUE(Compose(1));
    const std::string text = Finish();
    EXPECT_TRUE(Has(text, "<g fill=\"none\" stroke=\"rgb(255,0,0)\" stroke-width=\"0.5\">"))
        << "the chair";
    EXPECT_EQ(xml.select_nodes("//*[@fill='rgb(255,0,0)'][@stroke='none']").size(), 2u)
        << "both flags";
}

TEST_F(SolutionComposerTest, SolutionScaleFallsBackToTheMapScale) {
    EXPECT_EQ(SolutionScale(doc, 1, 1.0f), 2000);
    ASSERT_TRUE(cfg->StationItem(1, id::Station_SOLSCALE).SetText("1:1 500"));
    EXPECT_EQ(SolutionScale(doc, 1, 1.0f), 1500);
    Set(id::Solutions_SCALE, "");
    EXPECT_EQ(SolutionScale(doc, 2, 0.5f), 8000);
}

} // namespace
} // namespace kib
