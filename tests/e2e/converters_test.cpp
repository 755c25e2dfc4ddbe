// The built-in converter against Inkscape on the demo event: PNG files that look
// the same, PDF pages of the same size, and text that stays text.
//
// The measure: both PNG files of a sheet have the same pixel size; over all
// pixels (on white) the root mean square of the channel differences is at most
// 0.01 of the full scale, and at most 0.2 % of the pixels differ in a channel by
// more than 10 % (26 of 255). Both converters place every shape on the same
// pixels (the page is stretched to whole pixels in each direction, as Inkscape
// does), so what remains are the edges of the letters: Inkscape turns texts into
// outlines, the built-in converter draws the fonts' glyphs. On the demo that
// leaves an RMSE of about 0.004 and 0.02 % of the pixels; a shape moved by a
// fifth of a pixel already gives 0.013 and 0.5 %.
#include "support/raster.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

constexpr int kDpi = 100;
constexpr double kMaxRmse = 0.01;
constexpr double kMaxShareOff = 0.002;
constexpr int kTenPercent = 26;

class ConvertersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (FindProgram("inkscape").empty() || !CanRender() || FindProgram("pdfinfo").empty() ||
            FindProgram("pdffonts").empty() || FindProgram("pdftotext").empty()) {
            GTEST_SKIP() << "needs inkscape, rsvg-convert, pngtopnm and poppler-utils";
        }
        dir = MakeTempDir("e2e-converters");
        for (const char* converter : {"inkscape", "builtin"}) {
            const std::string to = dir + "/" + converter;
            fs::create_directory(to);
            const std::string demo = std::string(KIB_SOURCE_DIR) + "/examples/demo/";
            for (const char* name : {"Demo.Courses.xml", "Demo.S1.svg", "Demo.S2.svg",
                                     "Demo.S3.svg", "Demo.S4.svg", "demo.cfg"}) {
                fs::copy_file(demo + name, to + "/" + name);
            }
            WriteFile(to + "/demo.cfg", ReadFile(to + "/demo.cfg") +
                                            "\r\n[Target]\r\nDPI=" + std::to_string(kDpi) + "\r\n");
        }
    }
    void TearDown() override {
        if (!dir.empty()) {
            fs::remove_all(dir);
        }
    }

    void Convert(const std::string& verb, const std::string& format,
                 const std::vector<std::string>& extra = {}) {
        for (const char* converter : {"inkscape", "builtin"}) {
            std::vector<std::string> args = {
                KibBinary(), "--quiet", verb,          dir + "/" + converter + "/demo.cfg",
                "--format",  format,    "--converter", converter};
            args.insert(args.end(), extra.begin(), extra.end());
            const ProgramResult r = RunProgram(args);
            ASSERT_EQ(r.status, 0) << verb << " " << converter << ": " << r.err;
        }
    }
    std::vector<std::string> Made(const std::string& extension) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir + "/inkscape")) {
            if (entry.path().extension() == extension) {
                names.push_back(entry.path().filename().string());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string PageSize(const std::string& pdf) {
        const ProgramResult info = RunProgram({FindProgram("pdfinfo"), pdf});
        const std::size_t at = info.out.find("Page size:");
        return at == std::string::npos ? "" : info.out.substr(at, info.out.find('\n', at) - at);
    }

    std::string dir;
};

TEST_F(ConvertersTest, PngFilesOfBothConvertersLookTheSame) {
    Convert("images", "png");
    Convert("solution-images", "png");
    const std::vector<std::string> pngs = Made(".png");
    ASSERT_GE(pngs.size(), 13u) << "the demo's print sheets and its solution sheet";
    for (const std::string& name : pngs) {
        SCOPED_TRACE(name);
        Raster inkscape;
        Raster builtin;
        ASSERT_TRUE(LoadPng(dir + "/inkscape/" + name, inkscape));
        ASSERT_TRUE(LoadPng(dir + "/builtin/" + name, builtin));
        ASSERT_EQ(builtin.width, inkscape.width);
        ASSERT_EQ(builtin.height, inkscape.height);
        const RasterDifference d = Compare(inkscape, builtin, kTenPercent);
        const double share = double(d.pixels) / (double(inkscape.width) * inkscape.height);
        EXPECT_LE(d.rmse, kMaxRmse);
        EXPECT_LE(share, kMaxShareOff);
    }
}

TEST_F(ConvertersTest, PdfPagesOfTheSameSizeWithTheirFontsEmbedded) {
    Convert("images", "pdf", {"--stations", "1"});
    const std::vector<std::string> pdfs = Made(".pdf");
    ASSERT_EQ(pdfs.size(), 3u);
    for (const std::string& name : pdfs) {
        SCOPED_TRACE(name);
        const std::string page = PageSize(dir + "/inkscape/" + name);
        EXPECT_NE(page, "");
        EXPECT_EQ(PageSize(dir + "/builtin/" + name), page);

        const std::string pdf = dir + "/builtin/" + name;
        const ProgramResult fonts = RunProgram({FindProgram("pdffonts"), pdf});
        std::istringstream lines(fonts.out);
        std::string line;
        int listed = 0;
        for (int k = 0; std::getline(lines, line); ++k) {
            if (k >= 2) { // after the heading and its rule
                ++listed;
                EXPECT_NE(line.find(" yes "), std::string::npos) << "not embedded: " << line;
            }
        }
        EXPECT_GE(listed, 1);
        const ProgramResult text = RunProgram({FindProgram("pdftotext"), pdf, "-"});
        EXPECT_NE(text.out.find("Station: 1"), std::string::npos) << text.out;
    }
}

} // namespace
} // namespace kib::test
