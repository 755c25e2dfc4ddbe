// The kind of a map export line, from its first characters.
#pragma once

#include <string_view>

namespace kib {

enum class LineKind {
    SvgOpen,
    SvgClose,
    GroupOpen,
    GroupClose,
    DescOpen,
    DescClose,
    CircleOpen,
    CircleClose,
    RectOpen,
    RectClose,
    OtherTag, // defs, style, clipPath and other tags beginning with c, d, g, r or s
    Plain,    // any other line: other tags, the XML declaration, path data
};

LineKind ClassifyLine(std::string_view text);

} // namespace kib
