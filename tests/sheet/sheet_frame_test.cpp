#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "map_input/map_line.h"
#include "sheet/sheet_frame.h"
#include "sheet/svg_image.h"
#include "support/recording_host.h"
#include "svg_check.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>
#include <vector>

namespace kib {
namespace {

// The opening lines of an OCAD map export, with one line the reader hid.
const std::vector<ExportLineRef> kExport = {
    {"<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>", false},
    {"<!-- Generator: OCAD export -->", false},
    {"<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
     "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\" [",
     false},
    {"<!ENTITY stR \"stroke-linecap:round;stroke-linejoin:round\">", false},
    {"<!-- hidden by the reader -->", true},
    {"]>", false},
    {"<svg version=\"1.1\" viewBox=\"0 0 800 600\" xmlns=\"http://www.w3.org/2000/svg\">", false},
    {"<g id=\"scaleTransform\" transform=\"scale(0.1)\">", false},
};

class SheetFrameTest : public ::testing::Test {
  protected:
    SheetFrameTest() { cfg.UseServices(App().CurrentHost(), App().Log()); }
    void SetUp() override { host.Install(); }
    void TearDown() override { ResetAppState(); }

    std::string Document(bool printSheet) {
        std::ostringstream out;
        EXPECT_TRUE(WriteSheetHeader(out, surface, kExport, printSheet));
        out << "<g stroke-width=\"0.50\" style=\"&stR;\"/>\r\n";
        WriteSheetClosing(out);
        return out.str();
    }

    test::RecordingHost host;
    CKibCfg cfg;
    CSvgImage surface{cfg};
};

TEST_F(SheetFrameTest, MapSheetHeaderCarriesTheExportPrologue) {
    ASSERT_TRUE(surface.ComputeLayout(false, false, 0, 1, 5, 0));
    const std::string text = Document(false);
    EXPECT_EQ(
        text,
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
        "<!-- Generator: Kib - Quillomat - ver. 4.2.5(1), Copyright (c) Kib developers -->\r\n"
        "<!-- Attributes: DPI=600 -->\r\n"
        "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
        "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\" [\r\n"
        "<!ENTITY stR \"stroke-linecap:round;stroke-linejoin:round\">\r\n"
        "]>\r\n"
        "<svg id=\"mainSheet\" width=\"21.000cm\" height=\"29.700cm\" viewBox=\"0 0 210 297\" "
        "style=\"fill:none;stroke-width:0;fill-rule:evenodd\" "
        "xmlns:xlink=\"http://www.w3.org/1999/xlink\" xmlns=\"http://www.w3.org/2000/svg\" "
        ">\r\n"
        "<desc>Sheet</desc>\r\n"
        "<g><rect id=\"sheetBg\" x=\"0\" y=\"0\" width=\"210\" height=\"297\" "
        "fill=\"white\"/></g>\r\n"
        "<g transform=\"translate(0,0)\">\r\n"
        "<g stroke-width=\"0.50\" style=\"&stR;\"/>\r\n"
        "</g></svg>\r\n");
    pugi::xml_document doc;
    test::ParseDocument(doc, text);
    EXPECT_STREQ(doc.document_element().attribute("id").value(), "mainSheet");
}

TEST_F(SheetFrameTest, PrintSheetGetsTheCanvasClipAndTheMarginShift) {
    ASSERT_TRUE(cfg.Item(id::Target_MARGIN).SetText("4"));
    ASSERT_TRUE(cfg.Item(id::Target_DPI).SetText("300"));
    ASSERT_TRUE(surface.ComputeLayout(false, false, 0, 1, 5, 0));
    const std::string text = Document(true);
    EXPECT_NE(text.find("<!-- Attributes: DPI=300 -->\r\n"), std::string::npos);
    EXPECT_NE(text.find("<desc>Sheet</desc>\r\n"
                        "<defs>\r\n"
                        "  <clipPath id=\"CANVAS\">\r\n"
                        "    <rect x=\"0\" y=\"0\" width=\"206\" height=\"144\" />\r\n"
                        "  </clipPath>\r\n"
                        "</defs>\r\n"
                        "<g><rect id=\"sheetBg\""),
              std::string::npos);
    EXPECT_NE(text.find("<g transform=\"translate(-4,-4)\">\r\n"), std::string::npos);
    pugi::xml_document doc;
    test::ParseDocument(doc, text);
    EXPECT_EQ(test::AttrOf(doc, "//clipPath[@id='CANVAS']/rect", "width"), "206");
}

TEST_F(SheetFrameTest, SolutionSheetClipsToTheMapBox) {
    ASSERT_TRUE(surface.ComputeLayout(false, true, 0, 1, 5, 0));
    const std::string text = Document(false);
    pugi::xml_document doc;
    test::ParseDocument(doc, text);
    EXPECT_EQ(test::AttrOf(doc, "/svg", "viewBox"), "0 0 200 287");
    EXPECT_EQ(test::AttrOf(doc, "/svg", "width"), "20.000cm");
    EXPECT_EQ(test::AttrOf(doc, "//clipPath[@id='CANVAS']/rect", "width"), "73");
    EXPECT_EQ(test::AttrOf(doc, "//clipPath[@id='CANVAS']/rect", "height"), "64");
    EXPECT_NE(text.find("<g transform=\"translate(0,0)\">\r\n"), std::string::npos);
}

TEST_F(SheetFrameTest, HiddenFirstLineAndShortExportsAreLeftOut) {
    ASSERT_TRUE(surface.ComputeLayout(false, false, 0, 1, 5, 0));
    std::vector<ExportLineRef> lines = kExport;
    lines[0].hidden = true;
    std::ostringstream out;
    WriteSheetHeader(out, surface, lines, false);
    EXPECT_EQ(out.str().rfind("<!-- Generator: Kib", 0), 0u);

    // An export that starts with its svg line has no prologue to copy.
    std::ostringstream bare;
    WriteSheetHeader(bare, surface, std::span(kExport).subspan(6), false);
    WriteSheetClosing(bare);
    EXPECT_EQ(bare.str().rfind("<!-- Generator: Kib", 0), 0u);
    pugi::xml_document doc;
    test::ParseDocument(doc, bare.str());
}

TEST_F(SheetFrameTest, MapLineListGivesTheSameHeader) {
    ASSERT_TRUE(surface.ComputeLayout(false, false, 0, 1, 5, 0));
    std::deque<MapLine> lines;
    for (const ExportLineRef& ref : kExport) {
        MapLine& line = lines.emplace_back();
        line.lineNo = static_cast<int>(lines.size());
        line.text = std::string(ref.text);
        line.hidden = ref.hidden;
        if (lines.size() > 1) {
            lines[lines.size() - 2].next = &line;
        }
    }
    std::ostringstream fromSpan, fromList;
    WriteSheetHeader(fromSpan, surface, kExport, true);
    EXPECT_TRUE(WriteSheetHeader(fromList, surface, &lines.front(), true));
    EXPECT_EQ(fromList.str(), fromSpan.str());
    WriteSheetClosing(fromList);
    pugi::xml_document doc;
    test::ParseDocument(doc, fromList.str());
}

} // namespace
} // namespace kib
