// The competition map composer on a small fixture station: which circle shows,
// the map transform, the description row, column B, colours, corners and the
// cover canvas. Every composed document is parsed as XML.
#include "composer_fixture.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "event_fixture.h"
#include "foundation/app_state.h"
#include "foundation/format.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "sheet/competition_composer.h"
#include "sheet/map_adjust.h"
#include "sheet/sheet_frame.h"
#include "sheet/svg_image.h"
#include "sheet/svg_text.h"
#include "support/recording_host.h"
#include "svg_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>

namespace kib {
namespace {

using test::FixtureOptions;

class ComposerTest : public test::ComposerFixture {
  protected:
    void SetUp() override {
        MakeStation();
        surfacePtr = std::make_unique<CSvgImage>(*cfg);
    }

    // Reads the fixture map and gives circle part p the task p + 1.
    CKibMap& Load(const FixtureOptions& options = {}) {
        return LoadMap(test::FixtureMap(options), 30);
    }

    // Composes one canvas into a whole document and parses it.
    std::string Compose(int task, int corner = kCornerAlone, bool* ok = nullptr) {
        EXPECT_TRUE(surface().ComputeLayout(true, false, 4000, 1, map->tasks, 6));
        std::ostringstream out;
        surface().SetStream(&out);
        WriteSheetHeader(out, surface(), map->FirstLine(), corner != kCornerAlone);
        const bool composed = ComposeCompetitionMap(*map, surface(), out, 1, task, corner);
        if (ok) {
            *ok = composed;
        }
        WriteSheetClosing(out);
        surface().SetStream(nullptr);
        const std::string text = out.str();
        if (composed) {
            pugi::xml_document xml;
            test::ParseDocument(xml, text);
        }
        return text;
    }

    static std::string CircleLine(int task) {
        return Format("<circle cx=\"%.3f\" cy=\"50.000\" r=\"2.500\"/>",
                      static_cast<double>(test::CircleX(task)));
    }
    bool HasMessage(const std::string& prefix) const {
        return std::any_of(host.messages.begin(), host.messages.end(),
                           [&](const std::string& m) { return m.rfind(prefix, 0) == 0; });
    }

    std::unique_ptr<CSvgImage> surfacePtr;
    CSvgImage& surface() { return *surfacePtr; }
};

TEST_F(ComposerTest, OnlyTheTasksCircleIsDrawnAndTheMapTurnsAroundIt) {
    Load();
    std::string text = Compose(2);
    EXPECT_TRUE(Has(text, CircleLine(2)));
    EXPECT_FALSE(Has(text, CircleLine(1)));
    EXPECT_FALSE(Has(text, CircleLine(3)));
    // Chair and flags are never shown to the competitor.
    EXPECT_FALSE(Has(text, "<circle cx=\"60.000\" cy=\"30.000\""));
    EXPECT_FALSE(Has(text, "d=\"M50.000,70.000"));
    const std::string transform =
        Format("<g id=\"scaleTransform\" transform=\"rotate(30 %d %d) translate(%.3f %.3f) "
               "scale(1.000000)\">\r\n",
               surface().mapCentreX, surface().mapCentreY, surface().mapCentreX - 70.0,
               surface().mapCentreY - 50.0);
    EXPECT_TRUE(Has(text, transform)) << transform;
    EXPECT_EQ(std::count(host.debug.begin(), host.debug.end(),
                         "Control circle original scaled position: 70.000 50.000"),
              1);

    // The next task of the same station shows its own circle again.
    text = Compose(1);
    EXPECT_TRUE(Has(text, CircleLine(1)));
    EXPECT_FALSE(Has(text, CircleLine(2)));
}

TEST_F(ComposerTest, PartsSharedByTasksAreMatchedByWholeNumbers) {
    Load();
    map->assignments[0] = ":3:";
    map->assignments[1] = ":13:";
    map->assignments[2] = ":1:3:";
    const std::string text = Compose(3);
    EXPECT_TRUE(Has(text, CircleLine(1)));
    EXPECT_FALSE(Has(text, CircleLine(2)));
    EXPECT_TRUE(Has(text, CircleLine(3)));
    EXPECT_TRUE(Has(text, Format("translate(%.3f ", surface().mapCentreX - 60.0)))
        << "the position comes from the first matching part";
}

TEST_F(ComposerTest, TaskWithoutCircleFails) {
    Load();
    map->assignments[1] = ":";
    bool ok = true;
    const std::string text = Compose(2, kCornerAlone, &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Found no control circle for task 1.2!"));
    EXPECT_FALSE(Has(text, "scaleTransform\" transform=\"rotate"));
}

TEST_F(ComposerTest, MapLinesAreCopiedByteForByteWithoutTheExportsOwnFrame) {
    Load();
    map->firstContentLine->text += "<!-- the export's scale group -->";
    for (MapLine* line = map->FirstLine(); line; line = line->next) {
        if (line->text.rfind("<g fill=\"rgb(61,255,23)\"", 0) == 0) {
            line->text += " \t<!-- & -->";
        }
    }
    const std::string text = Compose(1);
    EXPECT_TRUE(Has(text, "\r\n<g fill=\"rgb(61,255,23)\" stroke=\"none\"> \t<!-- & -->\r\n"));
    EXPECT_FALSE(Has(text, "the export's scale group"));
    EXPECT_EQ(text.find("</svg>"), text.size() - 8) << "only the document's own closing line";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'),
              std::count(text.begin(), text.end(), '\r'))
        << "every written line ends with CR LF";
}

// The description row of a task is found from the first control row of the
// export, with and without the title row, and moved to the canvas's row.
TEST_F(ComposerTest, DescriptionRowOfTheTaskWithAndWithoutTitleRow) {
    for (bool titleRow : {true, false}) {
        SCOPED_TRACE(titleRow ? "title row" : "no title row");
        FixtureOptions options;
        options.titleRow = titleRow;
        Load(options);
        const int r0 = test::FirstTaskRow(options);
        EXPECT_EQ(map->firstControlRow, r0);
        EXPECT_EQ(TaskDescriptionRow(*map, 2, 2), r0 + 1);
        const std::string text = Compose(2);
        const double dy = -100.0 - (r0 + 1 - 1) * 5.0;
        EXPECT_TRUE(
            Has(text, Format("<g id=\"3.1#2\" transform=\"translate(-150.000 %.3f)\">", dy)))
            << text.substr(text.find("control-descriptions"));
        EXPECT_FALSE(Has(text, "<g id=\"3.1#1\""));
        EXPECT_FALSE(Has(text, "<g id=\"3.1#3\""));
        // The scale makes one exported row one description cell high.
        EXPECT_TRUE(Has(text, Format("<g stroke=\"rgb(166,38,255)\" transform=\"scale(%.3f)\">",
                                     surface().descCell / 5.0)));
    }
}

TEST_F(ComposerTest, WithoutControlRowsTheLiteralRowIsUsed) {
    Load();
    map->firstControlRow = -1;
    EXPECT_EQ(TaskDescriptionRow(*map, 2, 2), 2);
    EXPECT_EQ(TaskDescriptionRow(*map, 2, 3), 3);
    const std::string text = Compose(2);
    EXPECT_TRUE(Has(text, "<g id=\"3.1#1\" transform=\"translate(-150.000 -105.000)\">"));
}

TEST_F(ComposerTest, ColumnHSymbolsAreLeftOut) {
    Load();
    const std::string text = Compose(1);
    EXPECT_FALSE(Has(text, "<g id=\"5.1#1\""));
    EXPECT_TRUE(std::count(host.debug.begin(), host.debug.end(),
                           "Control description: 5.1#1 skipped (Column H)") == 1);
}

struct ColumnBCase {
    const char* colb;
    bool filled;
    bool symbolCopied;
    bool letterRange;
    bool error;
};

TEST_F(ComposerTest, ColumnBModes) {
    LogScope log;
    const ColumnBCase cases[] = {
        {"Keep", true, true, false, false}, {"Keep", false, false, false, true},
        {"Auto", true, true, false, false}, {"Auto", false, false, true, false},
        {"Make", true, false, true, false}, {"Make", false, false, true, false},
    };
    for (const ColumnBCase& c : cases) {
        SCOPED_TRACE(std::string(c.colb) + (c.filled ? " filled" : " empty"));
        host.Clear();
        log.Clear();
        Set(id::Descriptions_COLB, c.colb);
        FixtureOptions options;
        options.columnB = c.filled;
        Load(options);
        const std::string text = Compose(1);
        EXPECT_EQ(Has(text, "<g id=\"17.5#1\""), c.symbolCopied);
        EXPECT_EQ(Has(text, ">A-F</text>"), c.letterRange);
        EXPECT_EQ(host.HasMessage("[** ERROR **] Column B of control description is empty in "
                                  "task 1.1!"),
                  c.error);
    }
}

TEST_F(ComposerTest, MissingDescriptionGraphicsStillGiveTheNumberCell) {
    Load();
    map->descFrame = DescFrame{};
    map->rowCount.fill(0);
    const std::string text = Compose(2);
    EXPECT_TRUE(host.HasMessage(
        "[= WARNING =] Cannot find control description graphics for station 1, task 2!"));
    EXPECT_TRUE(Has(text, ">2</text>"));
    EXPECT_FALSE(Has(text, "inf")) << "an unmeasured table must not give an infinite scale";
}

TEST_F(ComposerTest, PurpleColourAndDarkenedGreens) {
    Set(id::MapColors_PURPLEMODE, "Defined");
    Set(id::MapColors_PURPLECOLOR, "10 20 30");
    Set(id::MapColors_GREENDARKEN, "150");
    Load();
    const std::string text = Compose(1);
    EXPECT_TRUE(Has(text, "<g fill=\"none\" stroke=\"rgb(10,20,30)\" stroke-width=\"0.35\">"));
    EXPECT_TRUE(Has(text, "<g fill=\"rgb(0,0,0)\" stroke=\"none\">"));
    EXPECT_FALSE(Has(text, "rgb(61,255,23)"));
}

TEST_F(ComposerTest, DarkenGreensChangesOnlyTheExactGreens) {
    Load();
    MapLine* line = map->FirstLine();
    line->text = "a rgb(36,255,23) b rgb(36, 255, 23) c rgb(194,255,186) rgb(61,255,230)";
    DarkenGreens(*map, 50);
    EXPECT_EQ(line->text, "a rgb(18,127,11) b rgb(36, 255, 23) c rgb(97,127,93) rgb(61,255,230)");
    DarkenGreens(*map, 50);
    EXPECT_EQ(line->text, "a rgb(18,127,11) b rgb(36, 255, 23) c rgb(97,127,93) rgb(61,255,230)")
        << "darkened greens are not darkened again";
}

TEST_F(ComposerTest, PrintSheetCornersAreTranslatedAndClipped) {
    Load();
    const std::string text = Compose(1, 3);
    EXPECT_TRUE(Has(text, Format("<g id=\"lower-left\" transform=\"translate(0,%d)\" "
                                 "clip-path=\"url(#CANVAS)\">\r\n",
                                 surface().canvasH + 1)));
    EXPECT_TRUE(Has(text, Format(" M0.0 0.0 h%d.0 v%d.0 h-%d.0z", surface().canvasW,
                                 surface().canvasH, surface().canvasW)))
        << "a print-sheet canvas is screened to its own size";
    const std::string alone = Compose(1);
    EXPECT_FALSE(Has(alone, "clip-path=\"url(#CANVAS)\">\r\n<g id"));
    EXPECT_TRUE(Has(alone, Format(" M0.0 0.0 h%d.0 v%d.0 h-%d.0z", surface().sheetW + 1,
                                  surface().sheetH + 1, surface().sheetW + 1)))
        << "a stand-alone map document is screened over its whole sheet";
}

TEST_F(ComposerTest, CoverCanvasHasNoMapButTheCreditLine) {
    Load();
    const std::string text = Compose(0);
    EXPECT_FALSE(Has(text, "<g id=\"scaleTransform\" transform=\"rotate"));
    EXPECT_FALSE(Has(text, "control-descriptions"));
    EXPECT_TRUE(Has(text, ">Formatted by Kib, ver. 4.2.5(1)</text>"));
    EXPECT_TRUE(Has(text, ">Station: 1</text>")) << "the cover block with the station data";
    // No hole in the screening cut of a print-mode cover.
    EXPECT_FALSE(Has(text, " a30.000,30.000 0 0,1 60.000,0"));
}

TEST_F(ComposerTest, WebCoverCanvasShowsThePlaceholderThroughAHole) {
    Set(id::Target_MODE, "WEB");
    Load();
    const std::string text = Compose(0);
    EXPECT_TRUE(Has(text, "<g id=\"map\" fill=\"lightgreen\">\r\n"));
    const size_t cut = text.find("<g id=\"screening-cut\"");
    ASSERT_NE(cut, std::string::npos);
    EXPECT_NE(text.find(" a", cut), std::string::npos) << "the segment hole";
}

TEST_F(ComposerTest, DescriptionBordersReferToTheLineStyleOnlyWhenDeclared) {
    Load();
    EXPECT_FALSE(Has(Compose(1), "&stR;"));
    FixtureOptions options;
    options.doctype = true;
    Load(options);
    const std::string text = Compose(1);
    EXPECT_TRUE(Has(text, "<!ENTITY stR "));
    EXPECT_TRUE(Has(text, "        <g stroke-width=\"0.50\" style=\"&stR;\">\r\n"));
}

TEST_F(ComposerTest, TextsFromTheConfigurationAreEscaped) {
    Set(id::Text_STATION, "Post <A&B>");
    Set(id::Event_TITLE1, "\"Cup\" & more");
    Load();
    for (int task : {0, 1}) {
        const std::string text = Compose(task); // parsed as XML
        EXPECT_TRUE(Has(text, ">Post &lt;A&amp;B&gt;: 1</text>"));
    }
}

TEST_F(ComposerTest, NoStationRotationDrawsTheMapUnturned) {
    Load();
    map->rotation = -1;
    const std::string text = Compose(1);
    EXPECT_TRUE(Has(
        text, Format("transform=\"rotate(0 %d %d)", surface().mapCentreX, surface().mapCentreY)));
    EXPECT_FALSE(Has(text, "rotate(-1"));
}

TEST_F(ComposerTest, ReducedMapHidesFarObjectsButNeverShowsHiddenSymbols) {
    Set(id::Target_REDUCESIZE, "Yes");
    FixtureOptions options;
    options.nearDescriptionSymbol = true;
    Load(options);
    const std::string text = Compose(1);
    EXPECT_TRUE(Has(text, "d=\"M40.000,45.000")) << "the green area around the control stays";
    EXPECT_FALSE(Has(text, "d=\"M5.000,140.000")) << "the far object is left out";
    EXPECT_FALSE(Has(text, "d=\"M61.000,50.000"))
        << "a symbol of the description layer stays hidden however near";
}

} // namespace
} // namespace kib
