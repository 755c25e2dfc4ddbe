// Rendered sheets for the tests that look at them: an SVG file drawn by
// rsvg-convert, a PNG file decoded by pngtopnm, and the pixels compared.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kib::test {

// 8-bit RGB pixels, row by row.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// The full path of a program on PATH, empty when there is none.
std::string FindProgram(const std::string& name);

// Whether rsvg-convert and pngtopnm are installed.
bool CanRender();

// Decodes a PNG file; false (with a test failure) when it cannot.
bool LoadPng(const std::string& png, Raster& raster);

// Draws an SVG file at the resolution into png (removed afterwards unless keep)
// and decodes it.
bool RenderSvg(const std::string& svg, double dpi, Raster& raster, bool keep = false);

// How two rasters of the same size differ.
struct RasterDifference {
    long long pixels = 0; // pixels whose largest channel difference is above the tolerance
    double rmse = 0.0;    // root mean square of the channel differences, 0 .. 1
    int largest = 0;      // largest channel difference, 0 .. 255
};
RasterDifference Compare(const Raster& a, const Raster& b, int tolerance = 0);

} // namespace kib::test
