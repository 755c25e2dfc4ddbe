#include "sheet/check_layout.h"
#include "sheet/kibage.h"
#include "sheet/layout_memo.h"
#include "support/event_builder.h"

#include "foundation/app_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace kib {
namespace {

class LayoutTest : public test::EventTest {
  protected:
    void SetUp() override { InstallHost(false); }

    bool Competition(int tasks = 5, int flags = 0, int scale = 0, int station = 3) {
        return surface.ComputeLayout(false, false, scale, station, tasks, flags);
    }

    CKibage surface{*cfg};
};

TEST_F(LayoutTest, DefaultCompetitionLayout) {
    EXPECT_TRUE(Competition());
    const CKibage& s = surface;
    EXPECT_EQ(s.canvasW, 206);
    EXPECT_EQ(s.canvasH, 144);
    EXPECT_EQ(s.sheetW, 210);
    EXPECT_EQ(s.sheetH, 297);
    EXPECT_EQ(s.canvasesPerSheet, 2);
    EXPECT_TRUE(s.tileRows);
    EXPECT_FALSE(s.tileColumns);
    EXPECT_EQ(s.tasks, 5);
    EXPECT_EQ(s.flags, 6);
    EXPECT_EQ(s.letterRange, "A-F");
    EXPECT_EQ(s.colBMode, 1);
    EXPECT_EQ(s.segRadius, 30);
    EXPECT_EQ(s.mapBoxW, 74);
    EXPECT_EQ(s.tabsW, 25);
    EXPECT_EQ(s.descRowH, 12);
    EXPECT_EQ(s.arrowBox, 30);
    EXPECT_EQ(s.boardH, 30);
    EXPECT_TRUE(s.circleShape);
    EXPECT_TRUE(s.arrowLinkMap);
    // Positions: the map in the middle of what the tabs, board and descriptions leave.
    EXPECT_EQ(s.mapCentreX, 90);
    EXPECT_EQ(s.mapCentreY, 51);
    EXPECT_EQ(s.descTop, 88);
    EXPECT_EQ(s.descCentreX, 90);
    EXPECT_EQ(s.arrowX, 50);
    EXPECT_EQ(s.arrowY, 51);
    EXPECT_EQ(s.headRight, 176);
    EXPECT_EQ(s.boardCellW, 27);
    EXPECT_EQ(s.boardLeft, 8);
    EXPECT_EQ(s.stationLabel, "Station: 3");
    EXPECT_EQ(s.timeLimit, 150);
    EXPECT_EQ(s.defaultFont, "Arial");
    EXPECT_EQ(s.headingFont.family, "Arial");
    EXPECT_EQ(s.headingFont.size, 5);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(LayoutTest, DebugLinesTellHowTheCanvasWasSized) {
    App().debugSwitch = true;
    EXPECT_TRUE(Competition());
    EXPECT_EQ(host.debug, (std::vector<std::string>{
                              "Layout of station 3 (competition sheets) computed.",
                              "Canvas height by map: 112=60+2*5+12+30",
                              "Canvas height by tabs: 135=15+5*15+15+30",
                              "Canvas final size: 206x144", "Sheet final size: 210x297"}));
}

// The layout check and the run of one command lay out a station once: a layout
// is taken from the memo when all it is computed from is the same, whatever the
// map scale's text and whatever the surface computed before; else it is
// computed anew.
TEST_F(LayoutTest, AMemoLaysOutEachStationOnce) {
    App().debugSwitch = true;
    LayoutMemo memo;
    CKibage check{*cfg};
    check.UseLayoutMemo(&memo);
    check.errorLead = "[** ERROR **] Layout of station 3 does not fit:";
    ASSERT_TRUE(check.ComputeLayout(false, false, 0, 3, 5, 0));
    ASSERT_TRUE(check.ComputeLayout(false, false, 0, 4, 3, 0));
    CKibage run{*cfg};
    run.UseLayoutMemo(&memo);
    host.debug.clear();
    ASSERT_TRUE(run.ComputeLayout(false, false, 4000, 3, 5, 0));
    EXPECT_EQ(host.debug, (std::vector<std::string>{
                              "Layout of station 3 (competition sheets) as computed before."}));
    ASSERT_TRUE(Competition(5, 0, 4000, 3)); // the same without a memo
    SheetLayout computed = surface;
    SheetLayout taken = run;
    EXPECT_EQ(taken.scaleText, "1 : 4 000");
    EXPECT_TRUE(taken.errorLead.empty());
    EXPECT_TRUE(taken == computed);

    // Other tasks, another form: computed anew.
    host.debug.clear();
    EXPECT_TRUE(run.ComputeLayout(false, false, 4000, 3, 4, 0));
    EXPECT_TRUE(run.ComputeLayout(false, true, 4000, 3, 5, 0));
    EXPECT_EQ(host.debug.front(), "Layout of station 3 (competition sheets) computed.");
    EXPECT_EQ(std::count(host.debug.begin(), host.debug.end(),
                         std::string("Layout of station 3 (solution sheets) computed.")),
              1);
}

TEST_F(LayoutTest, EachSizeCheckReportsItsOwnError) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::string>> values;
        int tasks;
        std::vector<std::string> errors;
    };
    const Case cases[] = {
        {"tabs too high",
         {},
         6,
         {"[** ERROR **] Insufficient canvas height (needed 150, set 144)! Increase configured "
          "canvas size or reduce size of order tabs and pointing board."}},
        {"map too high",
         {{id::OrderTabs_DRAW, "No"}, {id::MapSegment_SIZE, "130"}},
         6,
         {"[** ERROR **] Insufficient canvas height (needed 182, set 144)! Increase configured "
          "canvas size or reduce size of map, descriptions and pointing board."}},
        {"canvas too narrow, sheet too low",
         {{id::Target_CANVAS, "Other"},
          {id::Target_CANVASW, "150"},
          {id::Target_CANVASH, "300"},
          {id::MapSegment_SIZE, "200"}},
         0,
         {"[** ERROR **] Insufficient canvas width (needed 295, set 150)! Increase configured "
          "canvas size or reduce size of map and decorations.",
          "[** ERROR **] Insufficient sheet height (needed 600, set 297)! Increase configured "
          "sheet size or reduce canvas size."}},
        {"sheet too narrow",
         {{id::Target_CANVAS, "A4Landscape"}, {id::Target_SHEET, "A4Portrait"}},
         0,
         {"[** ERROR **] Insufficient sheet width (needed 292, set 210)! Increase configured "
          "sheet size or reduce canvas size."}},
    };
    for (const Case& c : cases) {
        CKibCfg local;
        local.UseServices(App().CurrentHost(), App().Log());
        for (const auto& [id, value] : c.values) {
            ASSERT_TRUE(local.Item(id).SetText(value)) << c.name;
        }
        host.Install();
        CKibage s(local);
        // The layout reports into the diagnostics it is handed: a tally over the log.
        DiagnosticsTally layout(&App().Log());
        s.ReportInto(layout);
        EXPECT_FALSE(s.ComputeLayout(false, false, 0, 1, c.tasks, 0)) << c.name;
        EXPECT_EQ(host.messages, c.errors) << c.name;
        ASSERT_EQ(host.debug.size(), c.errors.size()) << c.name;
        EXPECT_EQ(host.debug[0], c.errors[0].substr(14)) << c.name;
        ASSERT_EQ(host.boxes.size(), 1u) << c.name;
        EXPECT_EQ(host.boxes[0].text, "Configuration is not correct!");
        EXPECT_EQ(layout.Errors(), static_cast<int>(c.errors.size())) << c.name;
        host.Clear();
    }
}

// The heading's titles run across the canvas above the map, which is centred in
// the height above the descriptions and the board: the canvas must be high
// enough for the map's border to stay below the titles (13 mm from the top).
TEST_F(LayoutTest, HeadingTitlesGetRoomAboveTheMap) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, std::string>> values;
        bool fits;
        int canvasH; // of a fitting layout
    };
    const Case cases[] = {
        {"default map under a title", {{id::Event_TITLE1, "Final"}}, true, 144},
        {"big map without titles", {{id::MapSegment_SIZE, "80"}}, true, 144},
        {"big map under a title",
         {{id::Event_TITLE2, "Day 2"}, {id::MapSegment_SIZE, "80"}},
         false,
         0},
        {"open canvas grows for the title",
         {{id::Event_TITLE1, "Final"}, {id::Target_CANVAS, "Other"}},
         true,
         2 * (13 + 32) + 12 + 30},
    };
    for (const Case& c : cases) {
        CKibCfg local;
        local.UseServices(App().CurrentHost(), App().Log());
        for (const auto& [id, value] : c.values) {
            ASSERT_TRUE(local.Item(id).SetText(value)) << c.name;
        }
        host.Install();
        CKibage s(local);
        EXPECT_EQ(s.ComputeLayout(false, false, 0, 1, 4, 0), c.fits) << c.name;
        if (c.fits) {
            EXPECT_EQ(s.canvasH, c.canvasH) << c.name;
            if (!s.title1.empty() || !s.title2.empty()) {
                EXPECT_GE(s.mapCentreY - s.segRadius - s.borderGap - s.borderWidth,
                          s.headTop - s.headingFont.size / 2)
                    << c.name;
            }
        } else {
            EXPECT_EQ(host.messages,
                      (std::vector<std::string>{
                          "[** ERROR **] Insufficient canvas height (needed 152, set 144)! "
                          "Increase configured canvas size or reduce size of map, heading and "
                          "pointing board."}))
                << c.name;
        }
    }
}

// A huge configured length is read as 100 m: the layout's sums cannot overflow
// and the canvas checks fail.
TEST_F(LayoutTest, HugeSizesFailTheSizeChecksWithoutOverflow) {
    struct Case {
        int id;
        const char* value;
        const char* firstError; // none: the layout may fit, but nothing overflows
        const char* canvas = "A5Cut";
    };
    const char* height = "[** ERROR **] Insufficient canvas height";
    const Case cases[] = {
        {id::MapSegment_SIZE, "2147483647", height},
        {id::MapSegment_MARGIN, "1073741823", height},
        {id::MapBorder_WIDTH, "2147483647", height},
        {id::MapBorder_PAD, "2147483647", height},
        {id::Descriptions_SIZE, "2147483647", height},
        {id::Descriptions_MARGIN, "2147483647", height},
        {id::NorthArrow_SIZE, "2147483647", height},
        {id::OrderTabs_SIZE, "2147483647", height},
        {id::PointBoard_MARGIN, "2147483647", height},
        {id::Target_CANVASH, "2147483647", "[** ERROR **] Insufficient sheet height", "Other"},
        {id::Heading_FONTSIZE, "2147483647", nullptr},
        {id::MapSegment_SIZE, "-2147483648", nullptr},
    };
    for (const Case& c : cases) {
        CKibCfg local;
        local.UseServices(App().CurrentHost(), App().Log());
        ASSERT_TRUE(local.Item(c.id).SetText(c.value)) << c.value;
        ASSERT_TRUE(local.Item(id::Event_TITLE1).SetText("Final"));
        ASSERT_TRUE(local.Item(id::Target_CANVAS).SetText(c.canvas));
        host.Clear();
        CKibage s(local);
        const bool fits = s.ComputeLayout(false, false, 0, 1, 5, 0);
        const std::string name = local.Item(c.id).GetKey() + "=" + c.value;
        for (int v : {s.canvasW, s.canvasH, s.mapCentreX, s.mapCentreY, s.descTop, s.arrowX,
                      s.boardLeft, s.mapBoxW, s.headRight}) {
            EXPECT_LE(std::abs(v), 20 * kMaxLength) << name;
        }
        if (c.firstError != nullptr) {
            EXPECT_FALSE(fits) << name;
            ASSERT_FALSE(host.messages.empty()) << name;
            EXPECT_EQ(host.messages[0].rfind(c.firstError, 0), 0u) << host.messages[0];
        }
    }
    // The map's vertical shift of a station is bounded the same way.
    EXPECT_EQ(BoundedLength(2147483647), kMaxLength);
    EXPECT_EQ(BoundedLength(-2147483647 - 1), -kMaxLength);
    EXPECT_EQ(BoundedLength(-35), -35);
}

TEST_F(LayoutTest, QuietLayoutKeepsErrorsInTheDebugPane) {
    LogScope log;
    EXPECT_FALSE(surface.ComputeLayout(true, false, 0, 3, 6, 0));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_EQ(log.Errors(), 0);
    EXPECT_EQ(host.debug, (std::vector<std::string>{
                              "Insufficient canvas height (needed 150, set 144)! Increase "
                              "configured canvas size or reduce size of order tabs and pointing "
                              "board."}));
    // The computation still completed.
    EXPECT_EQ(surface.mapCentreY, 51);
}

TEST_F(LayoutTest, SheetFormsChooseTheTiling) {
    struct Case {
        const char* sheet;
        const char* canvas;
        int sheetW, sheetH, perSheet;
        bool columns, rows;
    };
    const Case cases[] = {
        {"A3Tiled", "A5Full", 420, 297, 2, true, false},
        {"A3Tiled", "A5Cut", 420, 297, 4, true, true},
        {"a4tiled", "A5Cut", 210, 297, 2, false, true},
        {"A4M", "A5Cut", 210, 297, 2, false, true},
        {"A4Landscape", "A5Cut", 297, 210, 0, false, false},
        {"A4Portrait", "A4Portrait", 210, 297, 0, false, false},
        {"A5", "A5Cut", 210, 148, 0, false, false},
    };
    for (const Case& c : cases) {
        Set(id::Target_SHEET, c.sheet);
        Set(id::Target_CANVAS, c.canvas);
        EXPECT_TRUE(Competition(0)) << c.sheet << " " << c.canvas;
        EXPECT_EQ(surface.sheetW, c.sheetW) << c.sheet;
        EXPECT_EQ(surface.sheetH, c.sheetH) << c.sheet;
        EXPECT_EQ(surface.canvasesPerSheet, c.perSheet) << c.sheet;
        EXPECT_EQ(surface.tileColumns, c.columns) << c.sheet;
        EXPECT_EQ(surface.tileRows, c.rows) << c.sheet;
    }
}

TEST_F(LayoutTest, CanvasFormsAndAnOpenCanvasTakeTheNeededSize) {
    struct Case {
        const char* canvas;
        int w, h;
    };
    const Case cases[] = {{"A4Landscape", 292, 206},
                          {"A4Portrait", 206, 292},
                          {"a5full", 210, 148},
                          {"A5Cut", 206, 144},
                          {"Other", 155, 112}};
    Set(id::Target_SHEET, "A3Tiled");
    for (const Case& c : cases) {
        Set(id::Target_CANVAS, c.canvas);
        Competition(0);
        EXPECT_EQ(surface.canvasW, c.w) << c.canvas;
        EXPECT_EQ(surface.canvasH, c.h) << c.canvas;
    }
}

TEST_F(LayoutTest, ScaleTexts) {
    const std::pair<int, const char*> formats[] = {{0, ""},
                                                   {50, "1 : 050"},
                                                   {500, "1 : 500"},
                                                   {4000, "1 : 4 000"},
                                                   {15000, "1 : 15 000"},
                                                   {1234567, "1 : 1234 567"}};
    for (const auto& [scale, text] : formats) {
        EXPECT_EQ(FormatScale(scale), text) << scale;
    }
    struct Case {
        const char* equid;
        int scale;
        const char* line;
    };
    const Case lines[] = {{"2.5", 4000, "1 : 4 000, 2.5 m"},
                          {"5m", 4000, "1 : 4 000, 5m"},
                          {"", 4000, "1 : 4 000"},
                          {"5", 0, "5 m"},
                          {"", 0, ""}};
    for (const Case& c : lines) {
        Set(id::Event_EQUID, c.equid);
        Competition(5, 0, c.scale);
        EXPECT_EQ(surface.scaleLine, c.line) << c.equid << " " << c.scale;
    }
    Set(id::Event_SCALE, "10000");
    Competition(5, 0, 0);
    EXPECT_EQ(surface.scaleText, "1 : 10 000");
    Competition(5, 0, 4000);
    EXPECT_EQ(surface.scaleText, "1 : 4 000");
}

TEST_F(LayoutTest, TasksFlagsAndTheLetterRange) {
    Competition(5, 0);
    EXPECT_EQ(surface.flags, 6);
    EXPECT_EQ(surface.letterRange, "A-F");
    Competition(5, 2);
    EXPECT_EQ(surface.letterRange, "A-B");
    Set(id::Event_FLAGS, "4");
    Competition(5, 2);
    EXPECT_EQ(surface.letterRange, "A-D");
    SetStation(3, id::Station_FLAGS, "3");
    SetStation(3, id::Station_TASKS, "2");
    Set(id::Event_TASKS, "4");
    Competition(5, 0);
    EXPECT_EQ(surface.letterRange, "A-C");
    EXPECT_EQ(surface.tasks, 2);
    Competition(5, 0, 0, 4);
    EXPECT_EQ(surface.tasks, 4);
    EXPECT_EQ(surface.flags, 4);
    Set(id::Descriptions_COLB, "Keep");
    Competition();
    EXPECT_EQ(surface.colBMode, 0);
    EXPECT_EQ(surface.letterRange, "");
    Set(id::Descriptions_COLB, "make");
    Competition();
    EXPECT_EQ(surface.colBMode, 2);
    EXPECT_EQ(surface.letterRange, "A-C");
}

TEST_F(LayoutTest, ArrowsLinkedToDescriptionsWidenTheRow) {
    Set(id::NorthArrow_LINKAGE, "Descriptions");
    Set(id::Event_CLASS, "Elite");
    Set(id::Heading_FONTNAME, "Verdana");
    Set(id::Target_CANVAS, "Other");
    EXPECT_TRUE(Competition());
    EXPECT_EQ(surface.descRowH, 30);
    // The description column 64 + 2 * (2 + 30) is wider than the map column 70.
    EXPECT_EQ(surface.canvasW, 128 + 25);
    EXPECT_EQ(surface.arrowX, (64 + 30) / 2 + 2);
    EXPECT_EQ(surface.arrowY, 4 + surface.descTop);
    EXPECT_EQ(surface.stationClassLabel, "Station: 3 (Elite)");
    EXPECT_EQ(surface.headingFont.family, "Verdana");
    EXPECT_EQ(surface.tabsFont.family, "Arial");
}

TEST_F(LayoutTest, WebCompetitionLayout) {
    Set(id::Target_MODE, "WEB");
    EXPECT_TRUE(Competition());
    EXPECT_TRUE(surface.modeWeb);
    EXPECT_FALSE(surface.drawTabs);
    EXPECT_FALSE(surface.drawBoard);
    EXPECT_EQ(surface.borderWidth, 0);
    EXPECT_EQ(surface.arrowSide, 1);
    EXPECT_EQ(surface.canvasW, 64 + 2 * (5 + 2) + 60);
    EXPECT_EQ(surface.canvasH, 40);
    EXPECT_EQ(surface.sheetW, surface.canvasW);
    EXPECT_EQ(surface.mapCentreX, 5 + 4 + 30 + 64);
    EXPECT_EQ(surface.mapCentreY, 20);
    EXPECT_EQ(surface.descTop, 40 - 12);
}

TEST_F(LayoutTest, DefaultSolutionLayout) {
    App().debugSwitch = true;
    EXPECT_TRUE(surface.ComputeLayout(false, true, 0, 3, 5, 0));
    const CKibage& s = surface;
    EXPECT_EQ(s.sheetW, 200);
    EXPECT_EQ(s.sheetH, 287);
    EXPECT_EQ(s.canvasW, 200);
    EXPECT_EQ(s.segW, 73);
    EXPECT_EQ(s.segH, 64);
    EXPECT_EQ(s.descTableW, 40);
    EXPECT_EQ(s.descMargin, 5);
    EXPECT_EQ(s.arrowBox, 14);
    EXPECT_EQ(s.rowTop, 13);
    EXPECT_EQ(s.rowH, 82);
    EXPECT_EQ(s.rowsPerSheet, 3);
    EXPECT_EQ(s.leftX, 2);
    EXPECT_EQ(s.rightX, 198);
    EXPECT_EQ(s.descCentreX, 100);
    EXPECT_EQ(s.mapCentreX, 36);
    EXPECT_EQ(s.mapCentreY, 32);
    EXPECT_FALSE(s.drawTabs);
    EXPECT_FALSE(s.statNum);
    EXPECT_EQ(host.debug, (std::vector<std::string>{
                              "Layout of station 3 (solution sheets) computed.",
                              "Used map size 73x64", "Column widths: 210=5/2/73/5/40/5/73/2/5",
                              "Map row height: 82=4/64|68/14", "Row heights: 271=5/2/11/3*82/0/2/5",
                              "Canvas final size: 200x287", "Sheet final size: 200x287"}));

    Set(id::Solutions_COMPRESSED, "Yes");
    Set(id::Solutions_SHEET, "A4Landscape");
    EXPECT_TRUE(surface.ComputeLayout(false, true, 0, 3, 5, 0));
    EXPECT_EQ(surface.sheetW, 287);
    EXPECT_EQ(surface.sheetH, 200);
    EXPECT_EQ(surface.arrowBox, 12);
    EXPECT_EQ(surface.rowTop, 7);
    // max(64, 50 + 4 + 10) + 4: the arrows' band between the blocks is as high as an arrow
    EXPECT_EQ(surface.rowH, 68);
}

class CheckLayoutTest : public LayoutTest {};

// The check lays out every station of the range with its own tasks, and names
// the first one that does not fit; station 0 (the event's defaults) fits here.
TEST_F(CheckLayoutTest, ChecksEveryStationOfTheRangeAndNamesTheFirstThatDoesNotFit) {
    CKibCfg& c = doc.NewConfig();
    ASSERT_TRUE(c.Item(id::Event_MAXSTAT).SetText("4"));
    ASSERT_TRUE(c.Item(id::Event_TASKS).SetText("5"));
    ASSERT_TRUE(c.Item(id::OrderTabs_SIZE).SetText("14"));
    ASSERT_TRUE(c.Item(id::OrderTabs_COVER).SetText("Yes"));
    ASSERT_TRUE(c.Item(id::OrderTabs_STATNUM).SetText("Yes"));
    ASSERT_TRUE(c.StationItem(3, id::Station_TASKS).SetText("6"));
    ASSERT_TRUE(c.StationItem(4, id::Station_TASKS).SetText("7"));
    EXPECT_FALSE(CheckLayout(doc, true));
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{
                  "[** ERROR **] Layout of station 3 does not fit:",
                  "[** ERROR **] Insufficient canvas height (needed 158, set 144)! Increase "
                  "configured canvas size or reduce size of order tabs and pointing board."}));
    EXPECT_EQ(host.boxes.size(), 1u);

    // A solution sheet must hold one row of the station with the most tasks.
    host.Clear();
    ASSERT_TRUE(c.StationItem(3, id::Station_TASKS).SetText("2"));
    ASSERT_TRUE(c.StationItem(4, id::Station_TASKS).SetText("15"));
    ASSERT_TRUE(c.Item(id::Solutions_DESCWIDTH).SetText("120"));
    doc.SetMapsMode(true);
    EXPECT_FALSE(CheckLayout(doc, false));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0], "[** ERROR **] Layout of station 4 does not fit:");
    EXPECT_EQ(host.messages[1].rfind("[** ERROR **] Insufficient sheet height for a row of "
                                     "solution maps (needed ",
                                     0),
              0u)
        << host.messages[1];
}

TEST_F(CheckLayoutTest, ChecksBothKindsForStationZeroAndUpdatesTheDebugSwitch) {
    CKibCfg& c = *cfg; // the document's

    EXPECT_TRUE(CheckLayout(doc, true));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(App().debugSwitch);

    ASSERT_TRUE(c.Item(id::System_DEBUGGING).SetText("Yes"));
    ASSERT_TRUE(c.Item(id::Event_TASKS).SetText("6"));
    EXPECT_FALSE(CheckLayout(doc, true));
    // The solution layout is not checked once the competition one failed.
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.boxes.size(), 1u);
    EXPECT_TRUE(App().debugSwitch);

    host.Clear();
    doc.SetMapsMode(true);
    EXPECT_TRUE(CheckLayout(doc, false));
    EXPECT_TRUE(host.messages.empty());
}

} // namespace
} // namespace kib
