// The programs that convert SVG sheets into PDF, PS, EPS or PNG files.
#pragma once

namespace kib {

enum class Converter {
    Inkscape, // the Inkscape program, one process per sheet
    BuiltIn,  // librsvg and cairo in this process
};

} // namespace kib
