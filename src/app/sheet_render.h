// Pictures of written sheets for the organiser's checks: an SVG sheet rendered
// into a PNG file of a chosen width, in-process with librsvg and cairo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kib {

// Renders the sheet onto white, widthPx pixels wide and as high as its page
// ratio asks. The picture is written under a temporary name and renamed into
// place, so a failed render leaves no partial file. With drawnPartOnly the
// picture shows only the part of the page that is drawn on (a canvas at the top
// of an otherwise empty sheet), widthPx wide. False with the reason in error
// when the sheet cannot be read or the picture cannot be written.
bool RenderSheetPng(const std::string& svgPath, const std::string& pngPath, int widthPx,
                    std::string& error, bool drawnPartOnly = false);

// A rendered sheet in memory: width × height pixels, rows top down, each pixel
// 0xRRGGBB (the top byte unused), for a window to show.
struct SheetPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Renders the sheet as RenderSheetPng does, into memory.
bool RenderSheetPicture(const std::string& svgPath, int widthPx, bool drawnPartOnly,
                        SheetPicture& picture, std::string& error);

} // namespace kib
