// A small stroke font (digits, capital letters, a few signs) for the texts that OCAD
// exports as outlines: control numbers, flag tags, description numbers and answers.
#pragma once

#include "svg_out.h"

#include <string>

namespace kib::gen {

// Glyph cells are 4 wide and 6 high; the advance is 5.5.
inline constexpr double kGlyphWidth = 4.0;
inline constexpr double kGlyphHeight = 6.0;
inline constexpr double kGlyphAdvance = 5.5;

// Width of text drawn with the given letter height.
double TextWidth(const std::string& text, double height);
// The strokes of the text, centred on the given point, as one path.
PathData TextPath(const std::string& text, Pt centre, double height);

} // namespace kib::gen
