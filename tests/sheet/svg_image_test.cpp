#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "foundation/file_stamp.h"
#include "sheet/svg_image.h"
#include "sheet/svg_text.h"
#include "support/recording_host.h"
#include "support/run_program.h"
#include "svg_check.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace kib {
namespace {

namespace fs = std::filesystem;

constexpr int kRed = MakeColour(255, 0, 0);

class SvgImageTest : public ::testing::Test {
  protected:
    SvgImageTest() { cfg.UseServices(App().CurrentHost(), App().Log()); }
    void SetUp() override {
        host.Install();
        image.SetStream(&out);
    }
    void TearDown() override { ResetAppState(); }

    // The text one call writes; the stream is emptied first.
    std::string Written(const std::function<void()>& call) {
        out.str("");
        call();
        return out.str();
    }

    test::RecordingHost host;
    CKibCfg cfg;
    CSvgImage image{cfg};
    std::ostringstream out;
};

TextCell MakeCell(int x1, int y1, int x2, int y2, const std::string& text, int fontSize,
                  int align) {
    TextCell cell;
    cell.x1 = x1;
    cell.y1 = y1;
    cell.x2 = x2;
    cell.y2 = y2;
    cell.colour = kRed;
    cell.text = text;
    cell.fontFamily = "Arial";
    cell.fontSize = fontSize;
    cell.align = align;
    return cell;
}

TEST_F(SvgImageTest, GroupsAndPathsWriteTheirExactText) {
    struct Case {
        const char* name;
        std::function<void()> call;
        const char* expected;
    };
    const Case cases[] = {
        {"group with id", [&] { image.BeginGroup("map-border", 10, kRed, false); },
         "<g id=\"map-border\" stroke=\"rgb(255,0,0)\" stroke-width=\"1.000000\">\r\n"},
        {"dashed group without id", [&] { image.BeginGroup(nullptr, 2, 0, true); },
         "  <g stroke=\"rgb(0,0,0)\" stroke-width=\"0.200000\" stroke-dasharray=\"2, 2\">\r\n"},
        {"end group", [&] { image.EndGroup(); }, "</g>\r\n"},
        {"begin path", [&] { image.BeginPath(); }, "    <path d=\""},
        {"end path", [&] { image.EndPath(); }, "\"/>\r\n"},
        {"int path", [&] { image.MoveTo(3, 4), image.LineTo(12, 0); },
         "    <path d=\"M3.0,4.0 L12.0,0.0"},
        {"double path", [&] { image.MoveTo(1.25, 2.0), image.LineTo(0.1234, 7.5); },
         "    <path d=\"M1.250,2.000 L0.123,7.500"},
        {"float path", [&] { image.MoveTo(1.5f, 2.25f), image.LineTo(3.0f, 4.0f); },
         "    <path d=\"M1.500,2.250 L3.000,4.000"},
        {"circle", [&] { image.CircleSubpath(10.0f, 20.0f, 5.0f); },
         " M5.000 20.000 a5.000,5.000 0 0,1 10.000,0 a5.000,5.000 0 0,1 -10.000,0z"},
        {"rectangle", [&] { image.RectSubpath(1.0f, 2.0f, 3.0f, 4.5f); },
         " M1.000 2.000 v4.500 h3.000 v-4.500z"},
        {"polygons",
         [&] {
             image.FillPolygons({{{0, -4}, {2, 3}, {-2, 3}}, {{1, 1}}}, kRed);
         },
         "    <g stroke=\"none\" fill=\"rgb(255,0,0)\">\r\n"
         "      <path d=\"M0.0,-4.0 L2.0,3.0 L-2.0,3.0z\"/>\r\n"
         "      <path d=\"M1.0,1.0z\"/>\r\n"
         "    </g>\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Written(c.call), c.expected) << c.name;
    }
}

TEST_F(SvgImageTest, HalfShiftMovesPathPointsButNotSubpaths) {
    image.halfShift = true;
    EXPECT_EQ(Written([&] { image.MoveTo(3, 4), image.LineTo(0, 12); }),
              "    <path d=\"M3.5,4.5 L0.5,12.5");
    EXPECT_EQ(Written([&] { image.MoveTo(1.0, 2.0), image.LineTo(1.25f, 0.0f); }),
              "    <path d=\"M1.500,2.500 L1.750,0.500");
    EXPECT_EQ(Written([&] { image.RectSubpath(1.0f, 2.0f, 3.0f, 4.0f); }),
              " M1.000 2.000 v4.000 h3.000 v-4.000z");
    // Below zero the half step still goes toward +0.5, not away from zero.
    EXPECT_EQ(Written([&] { image.LineTo(-3, 2); }), " L-2.5,2.5");
}

TEST_F(SvgImageTest, NorthArrowIsTheRotatedScaledShape) {
    image.arrowSize = 20;
    image.arrowColour = MakeColour(0, 0, 255);
    const std::string text = Written([&] { image.NorthArrow(40, 51, 300); });
    EXPECT_EQ(text.substr(0, text.find('\n') + 1),
              "<g id=\"north-arrow\" transform=\"rotate(300 40.0 51.0) translate(40.0,51.0) "
              "scale(0.200000)\">\r\n");
    EXPECT_NE(text.find("    <g stroke=\"none\" fill=\"rgb(0,0,255)\">\r\n"
                        "      <path d=\"M0.0,-45.0 L20.0,-20.0 L5.0,-20.0 L5.0,45.0 L-5.0,45.0 "
                        "L-5.0,-20.0 L-20.0,-20.0z\"/>\r\n"),
              std::string::npos);
    pugi::xml_document doc;
    test::ParseFragment(doc, text);
    EXPECT_EQ(doc.select_nodes("//g[@id='north-arrow']/g/path").size(), 4u);
}

TEST_F(SvgImageTest, TextLinePlacesBaselineByFontSize) {
    TextCell framed = MakeCell(10, 20, 50, 30, "Ab", 0, -1);
    framed.frameWidth = 5;
    EXPECT_EQ(Written([&] { image.TextLine(framed); }),
              "        <g>\r\n"
              "          <rect x=\"10.000\" y=\"20.000\" width=\"40.000\" height=\"10.000\" "
              "stroke=\"rgb(255,0,0)\" stroke-width=\"0.500000\"/>\r\n"
              "          <text x=\"10.000\" y=\"27.400\" text-anchor=\"start\" "
              "fill=\"rgb(255,0,0)\" font-size=\"6.000000\" font-family=\"Arial\">Ab</text>\r\n"
              "        </g>\r\n");

    struct Case {
        int fontSize, align;
        bool shift;
        const char* textElement;
    };
    const Case cases[] = {
        // 30 % of the height with baseline factor 0.8: 25 + 0.8 * 3.
        {-1, 0, false,
         "<text x=\"30.000\" y=\"27.400\" text-anchor=\"middle\" fill=\"rgb(255,0,0)\" "
         "font-size=\"3.000000\""},
        {35, 1, false,
         "<text x=\"50.000\" y=\"26.400\" text-anchor=\"end\" fill=\"rgb(255,0,0)\" "
         "font-size=\"3.500000\""},
        {0, 0, true,
         "<text x=\"30.500\" y=\"27.650\" text-anchor=\"middle\" fill=\"rgb(255,0,0)\" "
         "font-size=\"6.000000\""},
    };
    for (const Case& c : cases) {
        image.halfShift = c.shift;
        const std::string text =
            Written([&] { image.TextLine(MakeCell(10, 20, 50, 30, "x", c.fontSize, c.align)); });
        EXPECT_NE(text.find(c.textElement), std::string::npos) << text;
    }
    image.halfShift = false;
    EXPECT_EQ(Written([&] { image.TextLine(MakeCell(10, 20, 50, 30, "", 0, 0)); }),
              "        <g>\r\n        </g>\r\n");
}

TEST_F(SvgImageTest, TextBoxAnchorsOnNinePositions) {
    struct Case {
        int align;
        const char* position;
    };
    const Case cases[] = {
        {-11, "x=\"10.000\" y=\"20.000\" text-anchor=\"start\" dominant-baseline=\"hanging\""},
        {0, "x=\"30.000\" y=\"25.000\" text-anchor=\"middle\" dominant-baseline=\"middle\""},
        {11, "x=\"50.000\" y=\"30.000\" text-anchor=\"end\" dominant-baseline=\"auto\""},
        {9, "x=\"10.000\" y=\"30.000\" text-anchor=\"start\" dominant-baseline=\"auto\""},
        {-1, "x=\"10.000\" y=\"25.000\" text-anchor=\"start\" dominant-baseline=\"middle\""},
        {-9, "x=\"50.000\" y=\"20.000\" text-anchor=\"end\" dominant-baseline=\"hanging\""},
    };
    for (const Case& c : cases) {
        const std::string text =
            Written([&] { image.TextBox(MakeCell(10, 20, 50, 30, "T", 40, c.align)); });
        EXPECT_EQ(text, std::string("        <g>\r\n          <text ") + c.position +
                            " fill=\"rgb(255,0,0)\" font-size=\"4.000000\" "
                            "font-family=\"Arial\">T</text>\r\n        </g>\r\n")
            << c.align;
    }
    TextCellF word;
    word.x1 = 1.5f;
    word.y1 = 0.0f;
    word.x2 = 1.5f;
    word.y2 = 10.0f;
    word.text = "ZERO";
    word.noStroke = true;
    EXPECT_EQ(Written([&] { image.TextBox(word); }),
              "        <g>\r\n          <text x=\"1.500\" y=\"5.000\" text-anchor=\"middle\" "
              "dominant-baseline=\"middle\" stroke-width=\"0\" fill=\"rgb(0,0,0)\" "
              "font-size=\"6.000000\" font-family=\"\">ZERO</text>\r\n        </g>\r\n");
}

TEST_F(SvgImageTest, TextsFromTheConfigurationAreEscapedAndUtf8) {
    TextCell cell =
        MakeCell(0, 0, 100, 10, "Orienteering & Trail-O <Cup> \"2024\" Z\xFCrich", 50, -1);
    cell.fontFamily = "Fo&o \"Sans\"";
    const std::string text = Written([&] { image.TextLine(cell), image.TextBox(cell); });
    EXPECT_NE(
        text.find(">Orienteering &amp; Trail-O &lt;Cup&gt; &quot;2024&quot; Z\xC3\xBCrich</text>"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("font-family=\"Fo&amp;o &quot;Sans&quot;\""), std::string::npos);

    pugi::xml_document doc;
    test::ParseFragment(doc, text);
    const pugi::xpath_node_set texts = doc.select_nodes("//text");
    ASSERT_EQ(texts.size(), 2u);
    for (const pugi::xpath_node& node : texts) {
        EXPECT_STREQ(node.node().child_value(),
                     "Orienteering & Trail-O <Cup> \"2024\" Z\xC3\xBCrich");
        EXPECT_STREQ(node.node().attribute("font-family").value(), "Fo&o \"Sans\"");
    }
}

TEST_F(SvgImageTest, NothingIsWrittenWithoutAStream) {
    image.SetStream(nullptr);
    image.BeginGroup("x", 1, 0, false);
    image.TextLine(MakeCell(0, 0, 1, 1, "t", 0, 0));
    image.SetStream(&out);
    EXPECT_TRUE(out.str().empty());
}

class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "kib-logo-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir() { fs::remove_all(path_); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

TEST_F(SvgImageTest, PlaceLogoCopiesOnceAndWritesTheImageElement) {
    LogScope log;
    App().debugSwitch = true;
    TempDir dir;
    fs::create_directory(dir.path() + "/in");
    fs::create_directory(dir.path() + "/out");
    const std::string logo = dir.path() + "/in/logo & co.png";
    std::ofstream(logo) << "PNG";
    const std::string target = dir.path() + "/out/logo & co.png";
    image.sheetW = 200;
    image.logoW = 40;
    image.logoH = 10;
    image.logoTop = 3;
    image.rowH = 82;
    image.rowTop = 13;

    const std::string text = Written([&] { image.PlaceLogo(dir.path() + "/out", logo, 3); });
    EXPECT_EQ(text, "<image xlink:href=\"logo &amp; co.png\" width=\"40\" height=\"10\" x=\"80\" "
                    "y=\"180\" />\r\n");
    pugi::xml_document doc;
    test::ParseFragment(doc, text);
    EXPECT_STREQ(doc.select_node("//image").node().attribute("xlink:href").value(),
                 "logo & co.png");
    EXPECT_EQ(host.debug.back(), "Logo copied from " + logo + " to " + target + ".");
    EXPECT_EQ(CompareFileStamps(target, logo, App().Log()), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() + "/out"), fs::directory_iterator()),
              1)
        << "no temporary copy is left";

    image.PlaceLogo(dir.path() + "/out/", logo, 3);
    EXPECT_EQ(host.debug.back(), "Existing logo " + target + " used.");
    EXPECT_EQ(log.Errors(), 0);
}

TEST_F(SvgImageTest, PlaceLogoReportsAFailedCopyAndStillWritesTheElement) {
    LogScope log;
    TempDir dir;
    image.logoW = 40;
    const std::string text =
        Written([&] { image.PlaceLogo(dir.path() + "/missing", "nologo.png", 1); });
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"[** ERROR **] Cannot copy logo from nologo.png to " +
                                        dir.path() + "/missing/nologo.png (error 2)!"}));
    EXPECT_GT(log.Errors(), 0);
    pugi::xml_document doc;
    test::ParseFragment(doc, text);
    EXPECT_STREQ(doc.select_node("//image").node().attribute("xlink:href").value(), "nologo.png");

    EXPECT_EQ(Written([&] { image.PlaceLogo(dir.path(), "", 1); }), "");
}

// With no output folder the logo goes beside the sheets in the working folder;
// a logo that lies there already is used as it is, and a copy that fails keeps
// the old copy.
TEST_F(SvgImageTest, PlaceLogoNeverLosesTheLogoBesideTheSheets) {
    LogScope log;
    App().debugSwitch = true;
    TempDir dir;
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    const std::string name = "kib-logo-" + fs::path(dir.path()).filename().string() + ".png";
    fs::create_directory("art");
    std::ofstream("art/" + name) << "PNG";

    Written([&] { image.PlaceLogo("", dir.path() + "/art/" + name, 1); });
    EXPECT_EQ(test::ReadFile(dir.path() + "/" + name), "PNG") << "copied into the working folder";
    EXPECT_FALSE(fs::exists("/" + name));

    Written([&] { image.PlaceLogo("", name, 1); });
    EXPECT_EQ(host.debug.back(), "Existing logo " + name + " used.");
    EXPECT_EQ(test::ReadFile(dir.path() + "/" + name), "PNG");

    fs::remove("art/" + name);
    Written([&] { image.PlaceLogo(dir.path(), dir.path() + "/art/" + name, 1); });
    EXPECT_GT(log.Errors(), 0);
    EXPECT_EQ(test::ReadFile(dir.path() + "/" + name), "PNG") << "the old copy is kept";
    fs::current_path(before);
}

} // namespace
} // namespace kib
