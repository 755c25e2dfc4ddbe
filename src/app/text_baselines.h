// Text placed by its dominant baseline, for the built-in converter: librsvg
// (2.54, Debian 12) draws every text on its alphabetic baseline, while Inkscape
// and the browsers honour the dominant-baseline of the sheets' text boxes
// ("hanging" for text hanging from the top of its cell, "middle" for text centred
// in it). The built-in converter hands librsvg the same placement as a vertical
// offset dy, computed from the font's own metrics the way Inkscape computes them.
#pragma once

#include <string>

namespace kib {

// The height of a baseline above the alphabetic one, in ems of the font family
// (as fontconfig resolves it): "hanging" 0.8 ascent, "middle" half the x-height,
// "central" the middle of the em box, each as Inkscape defines them; 0 for
// "auto", "alphabetic" and any other name.
double BaselineHeight(const std::string& family, const std::string& baseline);

// The sheet's text with every text element line that names a dominant-baseline,
// its font-size and font-family, and no dy of its own, given the dy that puts it
// where that baseline would; every other text is left as it is.
std::string PlaceTextBaselines(const std::string& svg);

} // namespace kib
