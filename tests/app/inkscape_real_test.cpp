// One conversion by the real Inkscape program, when it is installed.
#include "app/inkscape.h"

#include "app/script_dir.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "support/recording_host.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace kib {
namespace {

bool InkscapeOnPath() {
    return std::system("command -v inkscape >/dev/null 2>&1") == 0;
}

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return v;
}

TEST(RealInkscapeTest, ConvertsASheetToPdfAndPng) {
    LogScope log;
    if (!InkscapeOnPath()) {
        GTEST_SKIP() << "inkscape is not installed";
    }
    test::RecordingHost host;
    host.Install();
    App().running = true;
    test::ScriptDir dir;

    // A 70 mm x 40 mm sheet; the PNG is made from its group mainSheet.
    const std::string svg =
        dir.Write("out/sol-1-2.svg",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"70mm\" height=\"40mm\" "
                  "viewBox=\"0 0 70 40\">\n"
                  "<g id=\"mainSheet\"><rect x=\"5\" y=\"5\" width=\"20\" height=\"10\" "
                  "fill=\"rgb(255,0,0)\"/><text x=\"5\" y=\"30\" font-size=\"6\">Station "
                  "1</text></g>\n</svg>\n");
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(svg.c_str()));
    ASSERT_STREQ(doc.child("svg").child("g").attribute("id").value(), "mainSheet");

    CKibCfg cfg; // System.INKSCAPEPATH: its default folder
    ASSERT_TRUE(DetectInkscape(cfg));
    EXPECT_NE(App().inkscapeKind, InkscapeKind::Unknown);

    const std::string base = dir.Path() + "out/sol-1-2";
    ASSERT_TRUE(ConvertSheet(base, OutputFormat::Pdf, 600, false));
    const std::string pdf = test::ReadFile(base + ".pdf");
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);

    const int dpi = 150;
    ASSERT_TRUE(ConvertSheet(base, OutputFormat::Png, dpi, false));
    const std::string png = test::ReadFile(base + ".png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(static_cast<long>(BigEndian32(png, 16)), std::lround(70 * dpi / 25.4)); // 413
    EXPECT_EQ(static_cast<long>(BigEndian32(png, 20)), std::lround(40 * dpi / 25.4)); // 236
    EXPECT_EQ(log.Errors(), 0);
}

} // namespace
} // namespace kib
