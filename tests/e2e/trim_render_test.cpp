// Sheets of a generated event made with Target.REDUCESIZE Yes leave out most of
// the map and look exactly like the sheets that carry all of it: every
// competition map, print sheet and solution sheet rendered and compared pixel by
// pixel, for a circular segment and for a square one on a zoomed export.
#include "generator.h"
#include "support/raster.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

constexpr double kDpi = 4 * 25.4; // four pixels to the millimetre

struct Variant {
    const char* name;
    double zoom;
    const char* extraConfig; // appended to the generated configuration
};

class TrimRenderTest : public ::testing::TestWithParam<Variant> {
  protected:
    void SetUp() override { dir = MakeTempDir("e2e-trim"); }
    void TearDown() override { fs::remove_all(dir); }

    // The event, once with the whole map on every sheet, once trimmed.
    void MakeEvent(const Variant& v) {
        gen::Options o;
        o.seed = 5;
        o.outDir = dir + "/full";
        o.eventName = "Trim";
        o.stations = 2;
        o.tasks = {3, 2};
        o.objects = 400;
        o.zoom = v.zoom;
        o.cfgName = "trim.cfg";
        o.quiet = true;
        std::string summary;
        std::string error;
        ASSERT_TRUE(gen::GenerateEvent(o, summary, error)) << error;
        const std::string cfg = dir + "/full/trim.cfg";
        WriteFile(cfg, ReadFile(cfg) + v.extraConfig);
        fs::copy(dir + "/full", dir + "/trim");
        WriteFile(dir + "/trim/trim.cfg", ReadFile(cfg) + "\r\n[Target]\r\nREDUCESIZE=Yes\r\n");
    }
    void Make(const std::string& folder) {
        for (const char* verb : {"maps", "solutions"}) {
            const ProgramResult r =
                RunProgram({KibBinary(), "--quiet", verb, folder + "/trim.cfg"});
            ASSERT_LE(r.status, 1) << verb << " in " << folder << ": " << r.err;
        }
    }
    std::vector<std::string> Sheets(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() == ".svg" && name.rfind("Trim.", 0) != 0) {
                names.push_back(name);
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir;
};

TEST_P(TrimRenderTest, TrimmedSheetsAreSmallerAndRenderTheSame) {
    if (!CanRender()) {
        GTEST_SKIP() << "rsvg-convert or pngtopnm is not installed";
    }
    MakeEvent(GetParam());
    Make(dir + "/full");
    Make(dir + "/trim");
    const std::vector<std::string> sheets = Sheets(dir + "/full");
    ASSERT_EQ(Sheets(dir + "/trim"), sheets);
    ASSERT_GE(sheets.size(), 10u);
    std::uintmax_t fullBytes = 0;
    std::uintmax_t trimBytes = 0;
    for (const std::string& name : sheets) {
        SCOPED_TRACE(name);
        const std::string full = dir + "/full/" + name;
        const std::string trim = dir + "/trim/" + name;
        fullBytes += fs::file_size(full);
        trimBytes += fs::file_size(trim);
        pugi::xml_document xml;
        ASSERT_TRUE(xml.load_file(trim.c_str()));
        Raster a;
        Raster b;
        ASSERT_TRUE(RenderSvg(full, kDpi, a));
        ASSERT_TRUE(RenderSvg(trim, kDpi, b));
        const RasterDifference d = Compare(a, b);
        EXPECT_EQ(d.pixels, 0) << "largest difference " << d.largest;
    }
    EXPECT_LT(trimBytes * 3, fullBytes) << "the trimmed sheets carry much less map";
}

INSTANTIATE_TEST_SUITE_P(Segments, TrimRenderTest,
                         ::testing::Values(Variant{"circle", 1.0, ""},
                                           Variant{"square_zoomed", 2.0,
                                                   "\r\n[MapSegment]\r\nSHAPE=Square\r\n"
                                                   "\r\n[Station 2]\r\nMAPOFFSET=-20\r\n"}),
                         [](const ::testing::TestParamInfo<Variant>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace kib::test
