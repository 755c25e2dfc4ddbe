// Whole runs of `kib maps` and `kib check` on the demo event: every sheet the
// rules name and nothing else, well-formed documents, a second run that leaves
// every file alone, and rendered sheets that look right to a person.
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/app_state.h"
#include "sheet/kibage.h"
#include "support/demo_inputs.h"
#include "support/recording_host.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

std::set<std::string> FileNames(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The full path of a program on PATH, empty when there is none.
std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const fs::path candidate = fs::path(dir) / name;
        if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return {};
}

// A rendered sheet: 8-bit RGB pixels, kPixelsPerMm to the millimetre.
constexpr int kPixelsPerMm = 4;

struct Rgb {
    int r = 0, g = 0, b = 0;
};

class Picture {
  public:
    // Reads a binary PPM (P6, maximum 255) as pngtopnm writes it.
    bool Load(const std::string& ppm) {
        std::istringstream in(ppm);
        std::string magic;
        int max = 0;
        in >> magic >> width_ >> height_ >> max;
        in.get();
        if (magic != "P6" || max != 255 || width_ <= 0 || height_ <= 0) {
            return false;
        }
        pixels_.resize(static_cast<size_t>(width_) * height_ * 3);
        in.read(reinterpret_cast<char*>(pixels_.data()),
                static_cast<std::streamsize>(pixels_.size()));
        return in.gcount() == static_cast<std::streamsize>(pixels_.size());
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * width_ + x) * 3;
        return {pixels_[i], pixels_[i + 1], pixels_[i + 2]};
    }
    // Visits every pixel whose centre lies within the sheet rectangle (mm).
    template <typename F> void ForEach(double x0, double y0, double x1, double y1, F visit) const {
        for (int y = std::max(0, int(y0 * kPixelsPerMm));
             y < std::min(height_, int(y1 * kPixelsPerMm)); ++y) {
            for (int x = std::max(0, int(x0 * kPixelsPerMm));
                 x < std::min(width_, int(x1 * kPixelsPerMm)); ++x) {
                visit((x + 0.5) / kPixelsPerMm, (y + 0.5) / kPixelsPerMm, At(x, y));
            }
        }
    }

  private:
    int width_ = 0, height_ = 0;
    std::vector<unsigned char> pixels_;
};

// Colours a person tells apart on a sheet.
bool IsWhite(Rgb c) {
    return c.r > 245 && c.g > 245 && c.b > 245;
}
bool IsPurple(Rgb c) { // the control circle, rgb(166,38,255), also where it is anti-aliased
    return c.b > 180 && c.r > 100 && c.g + 60 < c.b && c.g + 30 < c.r;
}
bool IsArrowBlue(Rgb c) {
    return c.b > 200 && c.r < 90 && c.g < 90;
}
// Colours of the map itself: vegetation greens, browns and yellows, water blue.
bool IsMapColour(Rgb c) {
    const bool green = c.g - std::max(c.r, c.b) > 60;
    const bool brownOrYellow = c.r - c.b > 80 && c.g - c.b > 30;
    const bool water = c.b - c.r > 80 && c.g - c.r > 80;
    return green || brownOrYellow || water;
}

class MapsCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        doc.UseServices(App().CurrentHost(), App().Log());
        dir = CopyDemoToTempDir("e2e-maps");
        cfg = dir + "/demo.cfg";
        // With the debugging switch on, the debug log tells what each sheet write did.
        WriteFile(cfg, ReadFile(cfg) + "\r\n[System]\r\nDEBUGGING=Yes\r\n");
        debugLog = dir + ".debug.log";
        ASSERT_TRUE(doc.OnOpenDocument(cfg));
    }
    void TearDown() override {
        fs::remove_all(dir);
        fs::remove(debugLog);
        ResetAppState();
    }

    ProgramResult Maps(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args = {KibBinary(), "--debug-log", debugLog, "maps", cfg};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunProgram(args);
    }
    // The layout Kib computes for a station of the demo.
    SheetLayout Layout(int station) const {
        CKibage layout(*doc.GetConfig());
        layout.ComputeLayout(true, false, 0, station, doc.GetConfig()->GetTasks(station), 0);
        return static_cast<const SheetLayout&>(layout);
    }
    // Every sheet the rules name for the demo: the map of each task and cover, and
    // the print sheet of each group of tiled canvases.
    std::set<std::string> NamedSheets() const {
        const CKibCfg& c = *doc.GetConfig();
        std::set<std::string> names;
        for (int s = c.GetMinStation(); s <= c.GetMaxStation(); ++s) {
            const int tasks = c.GetTasks(s);
            const int g = Layout(s).canvasesPerSheet;
            for (int t = 0; t <= tasks; ++t) {
                names.insert(fs::path(MakeOutputName(c, dir, s, t, 0, "svg")).filename());
                if (g != 0 && t % g == 0) {
                    names.insert(fs::path(MakeOutputName(c, dir, s, t, g, "svg")).filename());
                }
            }
        }
        return names;
    }
    // Renders a sheet with rsvg-convert and reads it back through pngtopnm.
    bool Render(const std::string& sheet, Picture& picture) {
        const std::string rsvg = FindProgram("rsvg-convert");
        const std::string pngtopnm = FindProgram("pngtopnm");
        if (rsvg.empty() || pngtopnm.empty()) {
            return false;
        }
        const std::string dpi = std::to_string(25.4 * kPixelsPerMm);
        const std::string png = dir + "/" + sheet + ".png";
        const ProgramResult r = RunProgram(
            {rsvg, "-f", "png", "-d", dpi, "-p", dpi, "-o", png, dir + "/" + sheet + ".svg"});
        EXPECT_EQ(r.status, 0) << r.err;
        const ProgramResult ppm = RunProgram({pngtopnm, png});
        EXPECT_EQ(ppm.status, 0) << ppm.err;
        EXPECT_TRUE(picture.Load(ppm.out));
        // A person would look at it too.
        fs::copy_file(png, fs::path(KIB_BINARY_DIR) / ("e2e-" + sheet + ".png"),
                      fs::copy_options::overwrite_existing);
        return true;
    }
    // What a person checks on the canvas of one task whose map centre lies at
    // (cx, cy) on the sheet, within the canvas rectangle.
    void CheckTaskCanvas(const Picture& p, const SheetLayout& k, double left, double top) {
        const double cx = left + k.mapCentreX, cy = top + k.mapCentreY;
        const double inner = k.segRadius - 1.0;
        const double outer = k.segRadius + k.borderWidth + k.borderGap + 1.0;
        int inside = 0, mapInside = 0, purple = 0, outside = 0, whiteOutside = 0, mapOutside = 0;
        double purpleX = 0.0, purpleY = 0.0;
        p.ForEach(left, top, left + k.canvasW, top + k.canvasH, [&](double x, double y, Rgb c) {
            const double d = std::hypot(x - cx, y - cy);
            if (d < inner) {
                ++inside;
                mapInside += !IsWhite(c);
            }
            if (d < 6.0 && IsPurple(c)) {
                ++purple;
                purpleX += x;
                purpleY += y;
            }
            if (d > outer) {
                ++outside;
                whiteOutside += IsWhite(c);
                mapOutside += IsMapColour(c);
            }
        });
        EXPECT_GT(mapInside, inside / 20) << "the map segment shows the map";
        ASSERT_GT(purple, 20) << "the control circle at the map centre";
        EXPECT_NEAR(purpleX / purple, cx, 0.5);
        EXPECT_NEAR(purpleY / purple, cy, 0.5);
        EXPECT_EQ(mapOutside, 0) << "no map outside the segment";
        EXPECT_GT(whiteOutside, outside * 8 / 10) << "outside the segment the canvas is white";
        int blue = 0;
        const double ax = cx - k.arrowX, ay = top + k.arrowY, half = k.arrowSize / 2.0;
        p.ForEach(ax - half, ay - half, ax + half, ay + half,
                  [&](double, double, Rgb c) { blue += IsArrowBlue(c); });
        EXPECT_GT(blue, 50) << "the north arrow is blue";
    }

    RecordingHost host;
    CKibDoc doc;
    std::string dir;
    std::string cfg;
    std::string debugLog;
};

TEST_F(MapsCommandTest, MakesEveryNamedSheetOnceAndASecondRunChangesNothing) {
    const std::set<std::string> before = FileNames(dir);
    const ProgramResult first = Maps();
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_NE(first.err.find("info: SVG files created."), std::string::npos) << first.err;

    const std::set<std::string> sheets = NamedSheets();
    std::set<std::string> expected = before;
    expected.insert(sheets.begin(), sheets.end());
    expected.insert({"demo.cfg.lc.kib", "demo.cfg.lm.kib", "kib-maps.record"});
    EXPECT_EQ(FileNames(dir), expected);
    // The sheets get another time, so the record no longer vouches for them: the
    // second run composes them again and finds their bytes unchanged.
    for (const std::string& name : sheets) {
        SCOPED_TRACE(name);
        pugi::xml_document xml;
        const std::string text = ReadFile(dir + "/" + name);
        const pugi::xml_parse_result parsed = xml.load_buffer(text.data(), text.size());
        ASSERT_TRUE(parsed) << parsed.description() << " at " << parsed.offset;
        EXPECT_STREQ(xml.document_element().attribute("id").value(), "mainSheet");
        struct utimbuf old {
            1000000000, 1000000000
        };
        ::utime((dir + "/" + name).c_str(), &old);
    }

    const ProgramResult second = Maps();
    ASSERT_EQ(second.status, 0) << second.out << second.err;
    EXPECT_EQ(FileNames(dir), expected) << "no temporary file is left";
    const std::string log = ReadFile(debugLog);
    for (const std::string& name : sheets) {
        EXPECT_NE(log.find("File " + dir + "/" + name + " not changed.\n"), std::string::npos)
            << name;
        struct stat info {};
        ::stat((dir + "/" + name).c_str(), &info);
        EXPECT_EQ(info.st_mtime, 1000000000) << name << " was written again";
    }
}

TEST_F(MapsCommandTest, ChosenStationsAndTask) {
    const ProgramResult r = Maps({"--stations", "2,4", "--task", "1"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    std::set<std::string> made;
    for (const std::string& name : FileNames(dir)) {
        if (StartsWith(name, "map-") || StartsWith(name, "prn-")) {
            made.insert(name);
        }
    }
    EXPECT_EQ(made, (std::set<std::string>{"map-2.0.svg", "map-2.1.svg", "prn-2.0-2.1.svg",
                                           "map-4.0.svg", "map-4.1.svg", "prn-4.0-4.1.svg"}));

    const ProgramResult none = Maps({"--task", "none"});
    EXPECT_EQ(none.status, 0) << none.err;
}

TEST_F(MapsCommandTest, BadChoicesAreUsageErrors) {
    for (const std::vector<std::string>& extra : {std::vector<std::string>{"--stations", "3-1"},
                                                  {"--stations", "9"},
                                                  {"--task", "x"},
                                                  {"--task", "16"}}) {
        const ProgramResult r = Maps(extra);
        EXPECT_EQ(r.status, 64) << extra[0] << " " << extra[1] << ": " << r.err;
        EXPECT_NE(r.err.find("error: " + extra[0] + ": "), std::string::npos) << r.err;
    }
    EXPECT_EQ(FileNames(dir).count("map-1.1.svg"), 0u);
}

TEST_F(MapsCommandTest, RenderedCanvasAndPrintSheetLookRight) {
    ASSERT_EQ(Maps().status, 0);
    const SheetLayout k = Layout(1);
    Picture map;
    if (!Render("map-1.1", map)) {
        GTEST_SKIP() << "rsvg-convert or pngtopnm is not installed";
    }
    EXPECT_EQ(map.Width(), k.sheetW * kPixelsPerMm);
    {
        SCOPED_TRACE("competition canvas map-1.1");
        CheckTaskCanvas(map, k, 0.0, 0.0);
        int mapBeyond = 0; // below the canvas on its sheet
        map.ForEach(0, k.canvasH + 2, k.sheetW, k.sheetH,
                    [&](double, double, Rgb c) { mapBeyond += IsMapColour(c); });
        EXPECT_EQ(mapBeyond, 0) << "no map beyond the canvas";
    }

    ASSERT_EQ(k.canvasesPerSheet, 2);
    Picture sheet;
    ASSERT_TRUE(Render("prn-1.0-1.1", sheet));
    const double m = k.printMargin;
    SCOPED_TRACE("print sheet prn-1.0-1.1, task 1 below the cover");
    CheckTaskCanvas(sheet, k, -m, k.canvasH + 1 - m);
    int mapOnCover = 0;
    sheet.ForEach(0, 0, k.canvasW - m, k.canvasH - m - 1,
                  [&](double, double, Rgb c) { mapOnCover += IsMapColour(c); });
    EXPECT_EQ(mapOnCover, 0) << "the cover canvas shows no map";
}

TEST_F(MapsCommandTest, CheckRunsTheLayoutCheck) {
    ProgramResult r = RunProgram({KibBinary(), "check", cfg});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    std::string text = ReadFile(cfg);
    const size_t at = text.find("SIZE=14");
    ASSERT_NE(at, std::string::npos);
    WriteFile(dir + "/tight.cfg", text.replace(at, 7, "SIZE=40"));
    r = RunProgram({KibBinary(), "check", dir + "/tight.cfg"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("[** ERROR **] Insufficient canvas height"), std::string::npos) << r.out;
}

// Station 3 of the demo has six tasks; with a cover tab its tabs need more than
// the canvas, while the event's five tasks (station 0's fall-back) still fit.
TEST_F(MapsCommandTest, EveryStationIsCheckedBeforeAnySheetIsWritten) {
    std::string text = ReadFile(cfg);
    const size_t at = text.find("SIZE=14");
    ASSERT_NE(at, std::string::npos);
    WriteFile(cfg, text.replace(at, 7, "SIZE=14\r\nCOVER=Yes\r\nSTATNUM=Yes"));

    ProgramResult r = RunProgram({KibBinary(), "check", cfg});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("[** ERROR **] Layout of station 3 does not fit:\n[** ERROR **] "
                         "Insufficient canvas height (needed 158, set 144)!"),
              std::string::npos)
        << r.out;
    r = Maps();
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_NE(r.out.find("Layout of station 3 does not fit"), std::string::npos) << r.out;
    for (const std::string& name : FileNames(dir)) {
        EXPECT_FALSE(StartsWith(name, "map-") || StartsWith(name, "prn-")) << name;
    }
}

} // namespace
} // namespace kib::test
