// The check line for true scale: a new event's cover canvases carry a 100 mm
// line with its words, the converted PDF holds it at exactly 100 mm (measured
// between the centres of its end marks on the page drawn by pdftocairo), and a
// configuration that does not ask for it has none.
#include "generator.h"
#include "support/raster.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

// The check line of a sheet in the sheet's millimetres: its two ends and its
// height, with every translation of the groups around it.
struct CheckLine {
    double x0 = 0, x1 = 0, y = 0;
    std::string words;
};

bool FindCheckLine(const std::string& svg, CheckLine& line) {
    pugi::xml_document xml;
    EXPECT_TRUE(xml.load_file(svg.c_str())) << svg;
    const pugi::xml_node group = xml.select_node("//*[@id='scale-check']").node();
    if (!group) {
        return false;
    }
    double dx = 0, dy = 0;
    for (pugi::xml_node n = group.parent(); n; n = n.parent()) {
        double tx = 0, ty = 0;
        if (std::sscanf(n.attribute("transform").value(), "translate(%lf,%lf)", &tx, &ty) == 2) {
            dx += tx;
            dy += ty;
        }
    }
    const pugi::xml_node path = group.child("path");
    double y1 = 0;
    EXPECT_EQ(std::sscanf(path.attribute("d").value(), "M%lf,%lf L%lf,%lf", &line.x0, &line.y,
                          &line.x1, &y1),
              4);
    EXPECT_EQ(y1, line.y);
    line.x0 += dx;
    line.x1 += dx;
    line.y += dy;
    line.words = group.next_sibling().child("text").text().get();
    return true;
}

// The distance in millimetres between the two end marks of the line, drawn from
// the PDF at 2400 dots per inch: a strip 1 mm below the line crosses only the
// marks, each of whose dark pixels' mean column is its centre.
double MeasuredLength(const std::string& pdf, const CheckLine& line, const std::string& dir) {
    const double dpi = 2400.0;
    const auto px = [dpi](double mm) { return static_cast<int>(mm / 25.4 * dpi); };
    const int left = px(line.x0 - 3.0);
    const int top = px(line.y + 1.0);
    const std::string png = dir + "/strip";
    const ProgramResult r = RunProgram(
        {FindProgram("pdftocairo"), "-png", "-singlefile", "-r", "2400", "-x", std::to_string(left),
         "-y", std::to_string(top), "-W", std::to_string(px(106.0)), "-H", "4", pdf, png});
    EXPECT_EQ(r.status, 0) << r.err;
    Raster strip;
    if (r.status != 0 || !LoadPng(png + ".png", strip)) {
        return -1.0;
    }
    std::vector<double> centres;
    double sum = 0;
    int count = 0;
    for (int x = 0; x <= strip.width; ++x) {
        const bool dark = x < strip.width && strip.rgb[static_cast<std::size_t>(x) * 3] < 128;
        if (dark) {
            sum += x + 0.5;
            ++count;
        } else if (count > 0) {
            centres.push_back(sum / count);
            sum = 0;
            count = 0;
        }
    }
    EXPECT_EQ(centres.size(), 2u);
    return centres.size() == 2 ? (centres[1] - centres[0]) * 25.4 / dpi : -1.0;
}

class ScaleCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (FindProgram("pdftocairo").empty() || FindProgram("pngtopnm").empty()) {
            GTEST_SKIP() << "needs pdftocairo (poppler-utils) and pngtopnm (netpbm)";
        }
        dir = MakeTempDir("e2e-scalecheck");
        gen::Options o;
        o.seed = 5;
        o.outDir = dir;
        o.eventName = "Ev";
        o.stations = 2;
        o.tasks = {3};
        o.objects = 40;
        o.quiet = true;
        std::string summary, error;
        ASSERT_TRUE(gen::GenerateEvent(o, summary, error)) << error;
    }
    void TearDown() override {
        if (!dir.empty()) {
            fs::remove_all(dir);
        }
    }
    ProgramResult Kib(std::vector<std::string> args) {
        args.insert(args.begin(), KibBinary());
        return RunProgram(args);
    }

    std::string dir;
};

TEST_F(ScaleCheckTest, ANewEventsCoverHoldsA100MmLineAtTrueScaleInThePdf) {
    const std::string cfg = dir + "/ev.cfg";
    ProgramResult r = Kib({"new", dir, "-o", cfg});
    ASSERT_LE(r.status, 1) << r.out << r.err;
    EXPECT_NE(ReadFile(cfg).find("SCALECHECK=Yes\r\n"), std::string::npos);

    std::vector<std::string> converters = {"builtin"};
    if (!FindProgram("inkscape").empty()) {
        converters.push_back("inkscape");
    }
    for (const std::string& converter : converters) {
        SCOPED_TRACE(converter);
        r = Kib({"images", cfg, "--format", "pdf", "--task", "cover", "--converter", converter});
        ASSERT_EQ(r.status, 0) << r.out << r.err;
        for (int s = 1; s <= 2; ++s) {
            SCOPED_TRACE(s);
            CheckLine alone;
            ASSERT_TRUE(FindCheckLine(dir + "/map-" + std::to_string(s) + ".0.svg", alone));
            EXPECT_EQ(alone.x1 - alone.x0, 100.0);
            EXPECT_EQ(alone.words, "100 mm at true scale");
            // The cover on its print sheet, as it prints.
            const std::string sheet =
                dir + "/prn-" + std::to_string(s) + ".0-" + std::to_string(s) + ".1";
            CheckLine printed;
            ASSERT_TRUE(FindCheckLine(sheet + ".svg", printed));
            EXPECT_NEAR(MeasuredLength(sheet + ".pdf", printed, dir), 100.0, 0.1);
            fs::remove(sheet + ".pdf"); // the next converter makes it anew
        }
        // The canvases of the tasks have none.
        CheckLine none;
        EXPECT_FALSE(FindCheckLine(dir + "/map-1.1.svg", none));
    }
}

TEST_F(ScaleCheckTest, AConfigurationWithoutTheKeyHasNoCheckLine) {
    const std::string cfg = dir + "/ev.cfg";
    ASSERT_LE(Kib({"new", dir, "-o", cfg}).status, 1);
    std::string text = ReadFile(cfg);
    text.erase(text.find("SCALECHECK=Yes\r\n"), 16);
    WriteFile(cfg, text);
    const ProgramResult r = Kib({"maps", cfg, "--task", "cover"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    CheckLine none;
    EXPECT_FALSE(FindCheckLine(dir + "/map-1.0.svg", none));
    EXPECT_FALSE(FindCheckLine(dir + "/prn-1.0-1.1.svg", none));
}

TEST_F(ScaleCheckTest, ACoverWithoutRoomWarnsOnceAndDrawsNoLine) {
    const std::string cfg = dir + "/ev.cfg";
    ASSERT_LE(Kib({"new", dir, "-o", cfg}).status, 1);
    // No title lines and a canvas exactly as high as the map, its description row
    // and the pointing board need: nothing lies between the row and the board.
    const std::string made =
        std::regex_replace(ReadFile(cfg), std::regex("TITLE[12]=[^\r]*\r\n"), "");
    WriteFile(cfg, made + "\r\n[Target]\r\nCANVAS=Other\r\nCANVASH=1\r\n");
    ProgramResult r = Kib({"check", cfg});
    std::smatch needed;
    ASSERT_TRUE(
        std::regex_search(r.out, needed, std::regex("canvas height \\(needed (\\d+), set 1\\)")))
        << r.out;
    WriteFile(cfg, made + "\r\n[Target]\r\nCANVAS=Other\r\nCANVASH=" + needed[1].str() + "\r\n");
    r = Kib({"maps", cfg, "--stations", "1", "--task", "cover"});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    const std::string warning = "[= WARNING =] No room for the check line for true scale on the "
                                "cover of station 1 (Target.SCALECHECK)";
    const std::size_t at = r.out.find(warning);
    EXPECT_NE(at, std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(warning, at + 1), std::string::npos) << "once\n" << r.out;
    CheckLine none;
    EXPECT_FALSE(FindCheckLine(dir + "/map-1.0.svg", none));
}

TEST_F(ScaleCheckTest, ANarrowCoverGetsTheLongestWhole10MmThatFits) {
    const std::string cfg = dir + "/ev.cfg";
    ASSERT_LE(Kib({"new", dir, "-o", cfg}).status, 1);
    // The heading's left margin moved far right: 87 mm between the margins.
    WriteFile(cfg, ReadFile(cfg) + "\r\n[Heading]\r\nLMARGIN=90\r\n");
    const ProgramResult r = Kib({"maps", cfg, "--stations", "1", "--task", "cover"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    CheckLine line;
    ASSERT_TRUE(FindCheckLine(dir + "/map-1.0.svg", line));
    EXPECT_EQ(line.x0, 90.0);
    EXPECT_EQ(line.x1 - line.x0, 80.0);
    EXPECT_EQ(line.words, "80 mm at true scale");
}

} // namespace
} // namespace kib::test
