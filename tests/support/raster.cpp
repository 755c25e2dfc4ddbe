#include "support/raster.h"

#include "support/run_program.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace kib::test {

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(dir) / name;
        if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return {};
}

bool CanRender() {
    return !FindProgram("rsvg-convert").empty() && !FindProgram("pngtopnm").empty();
}

bool LoadPng(const std::string& png, Raster& raster) {
    const ProgramResult ppm = RunProgram({FindProgram("pngtopnm"), png});
    EXPECT_EQ(ppm.status, 0) << png << ": " << ppm.err;
    std::istringstream in(ppm.out);
    std::string magic;
    int max = 0;
    in >> magic >> raster.width >> raster.height >> max;
    in.get();
    if (magic != "P6" || max != 255 || raster.width <= 0 || raster.height <= 0) {
        ADD_FAILURE() << png << " is not an 8-bit RGB picture (" << magic << ")";
        return false;
    }
    raster.rgb.resize(static_cast<std::size_t>(raster.width) * raster.height * 3);
    in.read(reinterpret_cast<char*>(raster.rgb.data()),
            static_cast<std::streamsize>(raster.rgb.size()));
    return in.gcount() == static_cast<std::streamsize>(raster.rgb.size());
}

bool RenderSvg(const std::string& svg, double dpi, Raster& raster, bool keep) {
    const std::string png = svg.substr(0, svg.rfind('.')) + "-render.png";
    const std::string d = std::to_string(dpi);
    const ProgramResult r =
        RunProgram({FindProgram("rsvg-convert"), "-f", "png", "-d", d, "-p", d, "-o", png, svg});
    EXPECT_EQ(r.status, 0) << svg << ": " << r.err;
    const bool loaded = r.status == 0 && LoadPng(png, raster);
    if (!keep) {
        std::remove(png.c_str());
    }
    return loaded;
}

RasterDifference Compare(const Raster& a, const Raster& b, int tolerance) {
    RasterDifference d;
    if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) {
        d.pixels = -1;
        return d;
    }
    double sum = 0.0;
    for (std::size_t i = 0; i < a.rgb.size(); i += 3) {
        int most = 0;
        for (std::size_t c = 0; c < 3; ++c) {
            const int diff = std::abs(int(a.rgb[i + c]) - int(b.rgb[i + c]));
            most = std::max(most, diff);
            sum += double(diff) * diff;
        }
        d.largest = std::max(d.largest, most);
        d.pixels += most > tolerance ? 1 : 0;
    }
    d.rmse = a.rgb.empty() ? 0.0 : std::sqrt(sum / double(a.rgb.size())) / 255.0;
    return d;
}

} // namespace kib::test
