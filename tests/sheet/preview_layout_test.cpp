// The preview of a document's sheet layout, written by the SVG surface: what it
// shows for the competition and the solution layout, the station it shows, and
// the quiet layout check.
#include "sheet/preview_layout.h"
#include "sheet/svg_check.h"
#include "sheet/svg_image.h"
#include "support/event_builder.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <sstream>
#include <string>

namespace kib {
namespace {

class PreviewLayoutTest : public test::EventTest {
  protected:
    void SetUp() override {
        InstallHost(false);
        Set(id::Event_MAXSTAT, "2");
        Set(id::Event_TASKS, "5");
    }

    // Lays out and draws the preview on the SVG surface; false when nothing is drawn.
    bool Draw(pugi::xml_document& svg) {
        CSvgImage surface(*cfg);
        std::ostringstream out;
        surface.SetStream(&out);
        if (!LayOutPreview(surface, doc)) {
            return false;
        }
        DrawPreviewSheet(surface, doc);
        test::ParseFragment(svg, out.str());
        return true;
    }
    static int Count(const pugi::xml_document& svg, const char* xpath) {
        return static_cast<int>(svg.select_nodes(xpath).size());
    }
    static bool HasText(const pugi::xml_document& svg, const std::string& text) {
        return svg.select_node(("//text[text()='" + text + "']").c_str()) != nullptr;
    }
};

TEST_F(PreviewLayoutTest, CompetitionLayoutOfTheHighestStation) {
    Set(id::Event_TITLE1, "Title");
    pugi::xml_document svg;
    ASSERT_TRUE(Draw(svg));
    EXPECT_EQ(doc.canvasesPerSheet, 2); // A5 canvases tiled on A4
    EXPECT_EQ(Count(svg, "//g[@id='map-outline']/path"), 1);
    EXPECT_NE(test::AttrOf(svg, "//g[@id='map-outline']/path", "d").find(" a"), std::string::npos)
        << "a circular map segment";
    for (const char* id : {"map-border", "cutting-line", "order-tabs", "pointing-board"}) {
        EXPECT_EQ(Count(svg, ("//g[@id='" + std::string(id) + "']").c_str()), 1) << id;
    }
    // Without angles the arrows are turned by -45 degrees.
    ASSERT_GE(Count(svg, "//g[@id='north-arrow']"), 1);
    EXPECT_EQ(test::AttrOf(svg, "//g[@id='north-arrow']", "transform").rfind("rotate(-45 ", 0), 0u);
    // The description frame and one schematic row of eight cells.
    EXPECT_EQ(Count(svg, "//rect[@stroke='rgb(179,0,255)']"), 9);
    EXPECT_TRUE(HasText(svg, "1"));
    EXPECT_TRUE(HasText(svg, "A-F"));
    EXPECT_EQ(Count(svg, "//g[@id='ruler']"), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(PreviewLayoutTest, ArrowsTurnByTheRotationOfTheShownStation) {
    SetStation(2, id::Station_MINANGLE, "30");
    SetStation(1, id::Station_MINANGLE, "100"); // not shown
    pugi::xml_document svg;
    ASSERT_TRUE(Draw(svg));
    EXPECT_EQ(test::AttrOf(svg, "//g[@id='north-arrow']", "transform").rfind("rotate(330 ", 0), 0u);
}

TEST_F(PreviewLayoutTest, SolutionLayoutShowsEveryStationOfTheSheet) {
    doc.SetMapsMode(true);
    doc.mapScale = 4000;
    Set(id::Event_MAXSTAT, "3");
    Set(id::Event_TASKS, "2");
    Set(id::Solutions_LOGOWIDTH, "40");
    Set(id::Solutions_LOGOHEIGHT, "10");
    pugi::xml_document svg;
    ASSERT_TRUE(Draw(svg));
    EXPECT_EQ(Count(svg, "//g[@id='map-outline']/path"), 3);
    EXPECT_EQ(Count(svg, "//g[@id='ruler']"), 2); // rows of stations 1 and 2, and 3
    for (const char* label : {" Station: 1", " Station: 2", " Station: 3"}) {
        EXPECT_TRUE(HasText(svg, label)) << label;
    }
    EXPECT_TRUE(HasText(svg, "1 : 4 000 "));
    // Two schematic rows of eight cells for each station.
    EXPECT_EQ(Count(svg, "//rect[@stroke='rgb(179,0,255)']"), 3 * 2 * 8);
    EXPECT_TRUE(HasText(svg, "Logo"));
    EXPECT_EQ(Count(svg, "//g[@id='map-border']"), 0);
}

TEST_F(PreviewLayoutTest, WebSolutionShowsOneMapAndNoDescriptions) {
    doc.SetMapsMode(true);
    Set(id::Target_MODE, "WEB");
    pugi::xml_document svg;
    ASSERT_TRUE(Draw(svg));
    EXPECT_EQ(Count(svg, "//g[@id='map-outline']/path"), 1);
    EXPECT_EQ(Count(svg, "//g[@id='ruler']"), 0);
    EXPECT_EQ(Count(svg, "//g[@id='control']"), 1); // the cover's control marker
    EXPECT_EQ(Count(svg, "//rect[@stroke='rgb(179,0,255)']"), 0);
}

TEST_F(PreviewLayoutTest, ALayoutThatDoesNotFitIsDrawnAndReportedOnlyInTheDebugPane) {
    Set(id::Target_CANVAS, "Other");
    Set(id::Target_CANVASW, "60");
    Set(id::Target_CANVASH, "60");
    pugi::xml_document svg;
    EXPECT_TRUE(Draw(svg));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_FALSE(host.debug.empty());

    Set(id::Target_CANVASW, "1"); // no canvas to draw on
    pugi::xml_document none;
    EXPECT_FALSE(Draw(none));
}

} // namespace
} // namespace kib
