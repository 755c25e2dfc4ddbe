// The built-in converter: each format at the page size and resolution of the
// Inkscape route, the rules for file times and for replacing a target, and PNG
// bands that join without a seam.
#include "app/builtin_convert.h"
#include "app/inkscape.h"

#include "app/script_dir.h"
#include "app/text_baselines.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "foundation/file_stamp.h"
#include "support/raster.h"
#include "support/recording_host.h"
#include "support/run_program.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace kib {
namespace {

namespace fs = std::filesystem;
using testing::Contains;
using testing::StartsWith;

constexpr FileStamp kHour = 36000000000ULL;
constexpr FileStamp kNoon = 133500000000000000ULL; // a day in 2024

// An A4 sheet as the SVG surface writes it, with text and a curve across it.
const char* kSheet =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
    "<svg id=\"mainSheet\" width=\"21.000cm\" height=\"29.700cm\" viewBox=\"0 0 210 297\" "
    "style=\"fill:none;stroke-width:0;fill-rule:evenodd\" xmlns=\"http://www.w3.org/2000/svg\" "
    ">\r\n"
    "<g><rect id=\"sheetBg\" x=\"0\" y=\"0\" width=\"210\" height=\"297\" fill=\"white\"/></g>\r\n"
    "<path d=\"M5,5 C200,20 10,280 205,292\" stroke=\"rgb(166,38,255)\" stroke-width=\"1.5\"/>\r\n"
    "<text x=\"105\" y=\"150\" text-anchor=\"middle\" font-size=\"12\" font-family=\"Arial\" "
    "fill=\"rgb(0,0,0)\">Station: 7</text>\r\n"
    "</svg>\r\n";

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return v;
}

// Every pixel of a PNG file as 8-bit RGBA, decoded by libpng; empty when it
// cannot be read.
std::vector<png_byte> RgbaPixels(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return {};
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        return {};
    }
    return pixels;
}

class BuiltInConvertTest : public testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        App().debugSwitch = true;
        base = dir.Path() + "map-1.1";
        test::WriteFile(base + ".svg", kSheet);
    }
    void TearDown() override { ResetAppState(); }

    test::RecordingHost host;
    test::ScriptDir dir;
    std::string base;
};

TEST(ConverterChoiceTest, ConfiguredByTheFirstLetter) {
    CKibCfg cfg;
    cfg.UseServices(App().CurrentHost(), App().Log());
    EXPECT_EQ(ConfiguredConverter(cfg), Converter::Inkscape) << "the default";
    for (const char* value : {"Builtin", "builtin", "B"}) {
        ASSERT_TRUE(cfg.Item(id::System_CONVERTER).SetText(value));
        EXPECT_EQ(ConfiguredConverter(cfg), Converter::BuiltIn) << value;
    }
    for (const char* value : {"Inkscape", "", "cairo"}) {
        ASSERT_TRUE(cfg.Item(id::System_CONVERTER).SetText(value));
        EXPECT_EQ(ConfiguredConverter(cfg), Converter::Inkscape) << value;
    }
}

TEST(TextBaselinesTest, TextBoxesGetTheOffsetOfTheirBaseline) {
    // DejaVu Sans (what fontconfig gives for Arial without Microsoft's fonts):
    // x-height 1120 and typographic ascent 1556, descent 492 of 2048 units.
    const double middle = BaselineHeight("DejaVu Sans", "middle");
    const double hanging = BaselineHeight("DejaVu Sans", "hanging");
    EXPECT_NEAR(middle, 0.5 * 1120 / 2048, 1e-4);
    EXPECT_NEAR(hanging, 0.8 * 1556 / (1556 + 492), 1e-4);
    EXPECT_EQ(BaselineHeight("DejaVu Sans", "auto"), 0.0);

    const std::string text =
        "<svg>\r\n"
        "<text x=\"1\" y=\"2\" text-anchor=\"middle\" dominant-baseline=\"middle\" "
        "font-size=\"5.000000\" font-family=\"DejaVu Sans\">A</text>\r\n"
        "<text x=\"1\" y=\"2\" dominant-baseline=\"hanging\" font-size=\"10\" "
        "font-family=\"DejaVu Sans\">B</text>\r\n"
        "<text x=\"1\" y=\"2\" dominant-baseline=\"auto\" font-size=\"10\" "
        "font-family=\"DejaVu Sans\">C</text>\r\n"
        "<text x=\"1\" y=\"2\" dy=\"3\" dominant-baseline=\"middle\" font-size=\"10\" "
        "font-family=\"DejaVu Sans\">D</text>\r\n"
        "<text x=\"1\" y=\"2\" dominant-baseline=\"middle\">E</text>\r\n"
        "<text x=\"1\" dominant-baseline=\"middle\"\r\n font-size=\"5\" "
        "font-family=\"F\">F</text>\r\n"
        "</svg>\r\n";
    char a[64];
    char b[64];
    std::snprintf(a, sizeof a, " dy=\"%.4f\"", 5 * middle);
    std::snprintf(b, sizeof b, " dy=\"%.4f\"", 10 * hanging);
    std::string expected = text;
    const std::string middleAttribute = " dominant-baseline=\"middle\"";
    const std::string hangingAttribute = " dominant-baseline=\"hanging\"";
    expected.replace(expected.find(middleAttribute), middleAttribute.size(), a);
    expected.replace(expected.find(hangingAttribute), hangingAttribute.size(), b);
    EXPECT_EQ(PlaceTextBaselines(text), expected)
        << "auto, an own dy, no font size or a tag over two lines stay as they are";
}

TEST_F(BuiltInConvertTest, EachFormatAtThePageSizeAndResolution) {
    ASSERT_TRUE(ConvertBuiltIn(base, OutputFormat::Pdf, 600, false));
    const std::string pdf = test::ReadFile(base + ".pdf");
    EXPECT_THAT(pdf, StartsWith("%PDF-"));
    const std::size_t box = pdf.find("/MediaBox");
    ASSERT_NE(box, std::string::npos);
    double x0 = -1, y0 = -1, x1 = 0, y1 = 0;
    ASSERT_EQ(std::sscanf(pdf.c_str() + box, "/MediaBox [ %lf %lf %lf %lf", &x0, &y0, &x1, &y1), 4);
    EXPECT_NEAR(x1 - x0, 210 * 72 / 25.4, 0.01);
    EXPECT_NEAR(y1 - y0, 297 * 72 / 25.4, 0.01);

    ASSERT_TRUE(ConvertBuiltIn(base, OutputFormat::Ps, 600, false));
    EXPECT_THAT(test::ReadFile(base + ".ps"), StartsWith("%!PS-Adobe-3.0\n"));
    ASSERT_TRUE(ConvertBuiltIn(base, OutputFormat::Eps, 600, false));
    EXPECT_THAT(test::ReadFile(base + ".eps"), StartsWith("%!PS-Adobe-3.0 EPSF-3.0"));

    // PNG: whole pixels of the page at the resolution, which the file records.
    ASSERT_TRUE(ConvertBuiltIn(base, OutputFormat::Png, 150, true));
    const std::string png = test::ReadFile(base + "z.png");
    ASSERT_GT(png.size(), 60u);
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian32(png, 16), std::lround(210 * 150 / 25.4)); // 1240
    EXPECT_EQ(BigEndian32(png, 20), std::lround(297 * 150 / 25.4)); // 1754
    const std::size_t phys = png.find("pHYs");
    ASSERT_NE(phys, std::string::npos);
    EXPECT_EQ(BigEndian32(png, phys + 4), 5906u) << "150 dpi in pixels per metre";

    for (const char* extension : {"pdf", "ps", "eps", "png"}) {
        EXPECT_FALSE(fs::exists(MakeConversionFiles(base, extension, false).temporary))
            << extension;
    }
    EXPECT_EQ(host.messages.size(), 0u) << "no error";
    EXPECT_THAT(host.debug, Contains("Converting '" + base + ".svg' to '" +
                                     MakeConversionFiles(base, "pdf", false).temporary +
                                     "' with the built-in converter..."));
}

TEST_F(BuiltInConvertTest, TargetsNewerThanTheirSvgAreSkipped) {
    test::WriteFile(base + ".pdf", "newer");
    ASSERT_TRUE(SetFileStamp(base + ".svg", kNoon));
    ASSERT_TRUE(SetFileStamp(base + ".pdf", kNoon + kHour));
    EXPECT_TRUE(ConvertBuiltIn(base, OutputFormat::Pdf, 600, false));
    EXPECT_EQ(test::ReadFile(base + ".pdf"), "newer");
    EXPECT_THAT(host.debug, Contains("Converting '" + base + ".svg' to '" + base +
                                     ".pdf' skipped due to file times"));

    // A target of the same time as its SVG is made again.
    ASSERT_TRUE(SetFileStamp(base + ".pdf", kNoon));
    EXPECT_TRUE(ConvertBuiltIn(base, OutputFormat::Pdf, 600, false));
    EXPECT_THAT(test::ReadFile(base + ".pdf"), StartsWith("%PDF-"));
}

TEST_F(BuiltInConvertTest, AFailedConversionNeverReplacesAGoodFile) {
    LogScope log;
    for (OutputFormat format : {OutputFormat::Pdf, OutputFormat::Png}) {
        const std::string extension = format == OutputFormat::Pdf ? "pdf" : "png";
        SCOPED_TRACE(extension);
        host.Clear();
        test::WriteFile(base + ".svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"2");
        test::WriteFile(base + "." + extension, "good");
        ASSERT_TRUE(SetFileStamp(base + "." + extension, kNoon));
        EXPECT_FALSE(ConvertBuiltIn(base, format, 100, false));
        EXPECT_EQ(test::ReadFile(base + "." + extension), "good");
        EXPECT_FALSE(fs::exists(base + "-tmp." + extension));
        EXPECT_THAT(host.messages,
                    Contains(StartsWith("[** ERROR **] Cannot read '" + base + ".svg'")));
        EXPECT_THAT(host.messages,
                    Contains("[** ERROR **] Converting '" + base +
                             ".svg' was not completed: its partial file was deleted, '" + base +
                             "." + extension + "' was not replaced."));
        EXPECT_GT(log.Errors(), 0);
    }

    // A page without a size cannot be converted either.
    host.Clear();
    test::WriteFile(base + ".svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    EXPECT_FALSE(ConvertBuiltIn(base, OutputFormat::Pdf, 100, false));
    EXPECT_THAT(host.messages, Contains("[** ERROR **] Cannot convert '" + base +
                                        ".svg': it gives no page size."));
    EXPECT_EQ(test::ReadFile(base + ".pdf"), "good");
}

// The converter's drawing of files, as it wrote it.
bool PlaceDrawing(const ConversionFiles& files, const std::string& drawing) {
    AtomicFile file;
    return file.BeginAt(files.target, files.temporary) && file.Write(drawing) &&
           PlaceDrawnFile(files, file, true);
}

TEST_F(BuiltInConvertTest, AnEmptyOrMissingDrawingIsNotPlaced) {
    const ConversionFiles files = MakeConversionFiles(base, "pdf", false);
    test::WriteFile(files.target, "good");
    EXPECT_FALSE(PlaceDrawing(files, ""));
    EXPECT_FALSE(fs::exists(files.temporary));
    EXPECT_EQ(test::ReadFile(files.target), "good");
    EXPECT_THAT(host.messages,
                Contains("[** ERROR **] The built-in converter wrote an empty file "
                         "converting '" +
                         files.source + "': '" + files.target + "' was not replaced."));

    // A drawing cut off is not placed either; a complete one is.
    EXPECT_FALSE(PlaceDrawing(files, "%PDF-1.5 cut off"));
    EXPECT_EQ(test::ReadFile(files.target), "good");
    const std::string whole = "%PDF-1.5\nxref\n0 1\ntrailer\nstartxref\n9\n%%EOF\n";
    EXPECT_TRUE(PlaceDrawing(files, whole));
    EXPECT_EQ(test::ReadFile(files.target), whole);
}

TEST_F(BuiltInConvertTest, PngBandsJoinWithoutASeam) {
    if (!test::CanRender()) {
        GTEST_SKIP() << "pngtopnm is not installed";
    }
    ASSERT_TRUE(RenderPngInBands(base + ".svg", base + "-whole.png", 120, 100000));
    ASSERT_TRUE(RenderPngInBands(base + ".svg", base + "-bands.png", 120, 37));
    test::Raster whole;
    test::Raster bands;
    ASSERT_TRUE(test::LoadPng(base + "-whole.png", whole));
    ASSERT_TRUE(test::LoadPng(base + "-bands.png", bands));
    EXPECT_EQ(whole.height, 1403);
    const test::RasterDifference d = test::Compare(whole, bands);
    EXPECT_EQ(d.pixels, 0) << "largest difference " << d.largest;
}

// A picture for the proof page or the map view places a text by its dominant
// baseline as the converted PDF does: the rows of its ink are those of the page
// of the PDF (the pictures' renderer of old drew such a text 1.2 mm higher).
TEST_F(BuiltInConvertTest, PicturesPlaceTextsAsThePrintedPage) {
    const std::string pdftoppm = test::FindProgram("pdftoppm");
    if (pdftoppm.empty() || test::FindProgram("pngtopnm").empty()) {
        GTEST_SKIP() << "pdftoppm or pngtopnm is not installed";
    }
    const std::string sheet =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
        "<svg id=\"mainSheet\" width=\"10.000cm\" height=\"4.000cm\" viewBox=\"0 0 100 40\" "
        "xmlns=\"http://www.w3.org/2000/svg\">\r\n"
        "<text x=\"50\" y=\"20\" text-anchor=\"middle\" dominant-baseline=\"middle\" "
        "font-size=\"12\" font-family=\"DejaVu Sans\" fill=\"rgb(0,0,0)\">Station: 7</text>\r\n"
        "</svg>\r\n";
    test::WriteFile(base + ".svg", sheet);
    ASSERT_TRUE(ConvertBuiltIn(base, OutputFormat::Pdf, 600, false));
    std::string error;
    ASSERT_TRUE(RenderSheetPng(base + ".svg", base + "-picture.png", 1000, error)) << error;
    test::Raster picture;
    ASSERT_TRUE(test::LoadPng(base + "-picture.png", picture));
    ASSERT_EQ(picture.height, 400);
    const test::ProgramResult page =
        test::RunProgram({pdftoppm, "-png", "-singlefile", "-scale-to-x", "1000", "-scale-to-y",
                          "400", base + ".pdf", base + "-page"});
    ASSERT_EQ(page.status, 0) << page.err;
    test::Raster pdf;
    ASSERT_TRUE(test::LoadPng(base + "-page.png", pdf));
    // The first and last row with ink, in both.
    const auto inkRows = [](const test::Raster& r) {
        int first = -1;
        int last = -1;
        for (int y = 0; y < r.height; ++y) {
            for (int x = 0; x < r.width; ++x) {
                if (r.rgb[static_cast<std::size_t>(y * r.width + x) * 3] < 128) {
                    first = first < 0 ? y : first;
                    last = y;
                    break;
                }
            }
        }
        return std::pair{first, last};
    };
    const auto [top, bottom] = inkRows(picture);
    const auto [pdfTop, pdfBottom] = inkRows(pdf);
    ASSERT_GE(top, 0);
    EXPECT_NEAR(top, pdfTop, 1);
    EXPECT_NEAR(bottom, pdfBottom, 1);
}

} // namespace
} // namespace kib

namespace kib {
namespace {

// The PNG files are written with a faster encoding than libpng's own choice:
// the same pixels, transparency included, and the same recorded resolution.
TEST_F(BuiltInConvertTest, PngEncodingKeepsEveryPixel) {
    std::string sheet = kSheet;
    const std::string background = "<g><rect id=\"sheetBg\"";
    sheet.replace(sheet.find(background), background.size(),
                  "<g><rect id=\"none\" opacity=\"0.3\"");
    test::WriteFile(base + ".svg", sheet);
    ASSERT_TRUE(
        RenderPngInBands(base + ".svg", base + "-libpng.png", 100, 0, LibpngDefaultEncoding()));
    ASSERT_TRUE(RenderPngInBands(base + ".svg", base + "-sheet.png", 100, 0));
    const std::vector<png_byte> libpng = RgbaPixels(base + "-libpng.png");
    const std::vector<png_byte> kib = RgbaPixels(base + "-sheet.png");
    ASSERT_FALSE(libpng.empty());
    EXPECT_TRUE(libpng == kib);
    EXPECT_NE(std::count(libpng.begin(), libpng.end(), 0), 0) << "transparent pixels drawn";
    const std::string a = test::ReadFile(base + "-libpng.png");
    const std::string b = test::ReadFile(base + "-sheet.png");
    ASSERT_NE(a.find("pHYs"), std::string::npos);
    EXPECT_EQ(a.substr(a.find("pHYs"), 13), b.substr(b.find("pHYs"), 13)) << "100 dpi";
}

} // namespace
} // namespace kib

namespace kib {
namespace {

// The proof's thumbnail is shrunk from its full-size picture, drawn once: it has
// the size and the look of the sheet drawn directly at its width (only the edges
// of the shapes differ a little), and both files are there.
TEST_F(BuiltInConvertTest, AThumbnailShrunkFromTheFullPictureLooksLikeOneDrawnDirectly) {
    if (test::FindProgram("pngtopnm").empty()) {
        GTEST_SKIP() << "pngtopnm is not installed";
    }
    test::WriteFile(base + ".svg", kSheet);
    std::vector<PicturePng> pictures{PicturePng{base + "-full.png", 1400, {}},
                                     PicturePng{base + "-small.png", 360, {}}};
    ASSERT_TRUE(RenderSheetPngs(base + ".svg", pictures, true))
        << pictures[0].error << pictures[1].error;
    std::string error;
    ASSERT_TRUE(RenderSheetPng(base + ".svg", base + "-direct.png", 360, error, true)) << error;
    test::Raster full;
    test::Raster small;
    test::Raster direct;
    ASSERT_TRUE(test::LoadPng(base + "-full.png", full));
    ASSERT_TRUE(test::LoadPng(base + "-small.png", small));
    ASSERT_TRUE(test::LoadPng(base + "-direct.png", direct));
    EXPECT_EQ(full.width, 1400);
    ASSERT_EQ(small.width, direct.width);
    ASSERT_EQ(small.height, direct.height);
    const test::RasterDifference difference = test::Compare(small, direct, 48);
    EXPECT_LT(difference.rmse, 0.03);
    EXPECT_LT(difference.pixels, static_cast<long long>(small.width) * small.height / 50);
    // A picture that cannot be written is named alone; the other one is made.
    fs::remove(base + "-small.png");
    fs::create_directory(base + "-small.png");
    EXPECT_FALSE(RenderSheetPngs(base + ".svg", pictures, true));
    EXPECT_EQ(pictures[0].error, "");
    EXPECT_THAT(pictures[1].error, testing::HasSubstr(base + "-small.png"));
}

// A sheet's pictures drawn from the text a run is putting in place at its name
// (not there yet) are those its file gives once it is there, byte for byte.
TEST_F(BuiltInConvertTest, PicturesOfAComposedTextAreThoseOfItsFile) {
    std::vector<PicturePng> composed{PicturePng{base + "-text.png", 500, {}},
                                     PicturePng{base + "-text-small.png", 120, {}}};
    const std::string text = kSheet;
    fs::remove(base + ".svg");
    ASSERT_TRUE(RenderSheetPngs(base + ".svg", composed, true, &text))
        << composed[0].error << composed[1].error;
    test::WriteFile(base + ".svg", kSheet);
    std::vector<PicturePng> file{PicturePng{base + "-file.png", 500, {}},
                                 PicturePng{base + "-file-small.png", 120, {}}};
    ASSERT_TRUE(RenderSheetPngs(base + ".svg", file, true)) << file[0].error << file[1].error;
    for (std::size_t k = 0; k < file.size(); ++k) {
        EXPECT_EQ(test::ReadFile(composed[k].png), test::ReadFile(file[k].png)) << file[k].png;
    }
}

// A band of pixels kept from one sheet to the next leaves nothing of the first
// in the second: a small sheet on a transparent page drawn after a large dark
// one in the same band is the file a fresh band gives.
TEST_F(BuiltInConvertTest, ABandKeptFromSheetToSheetLeavesNothingBehind) {
    const std::string dark =
        "<svg width=\"8cm\" height=\"8cm\" viewBox=\"0 0 80 80\" "
        "xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"80\" height=\"80\" "
        "fill=\"rgb(10,20,30)\"/></svg>\r\n";
    const std::string small =
        "<svg width=\"3cm\" height=\"2cm\" viewBox=\"0 0 30 20\" "
        "xmlns=\"http://www.w3.org/2000/svg\"><circle cx=\"15\" cy=\"10\" r=\"6\" "
        "stroke=\"rgb(166,38,255)\" stroke-width=\"1\" fill=\"none\"/></svg>\r\n";
    test::WriteFile(base + "-dark.svg", dark);
    test::WriteFile(base + "-small.svg", small);
    std::vector<std::string> errors;
    PixelBand band;
    const auto draw = [&](const std::string& svg, const std::string& png, PixelBand* memory) {
        AtomicFile file;
        return file.Begin(png) &&
               DrawSheetFile(svg, file, OutputFormat::Png, 150, SheetPngEncoding(), errors,
                             memory) &&
               file.Commit();
    };
    ASSERT_TRUE(draw(base + "-dark.svg", base + "-dark.png", &band));
    ASSERT_TRUE(draw(base + "-small.svg", base + "-kept.png", &band));
    ASSERT_TRUE(draw(base + "-small.svg", base + "-fresh.png", nullptr));
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(test::ReadFile(base + "-kept.png"), test::ReadFile(base + "-fresh.png"));
}

} // namespace
} // namespace kib
