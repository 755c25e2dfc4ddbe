#include "map_input/drawn_extent.h"

#include "map_input/path_geometry.h"
#include "map_input/text_scan.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kib {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

// Attributes that neither move a drawing nor paint beyond its stroke.
constexpr const char* kPlainAttributes[] = {
    "id",
    "fill",
    "fill-rule",
    "fill-opacity",
    "stroke-dasharray",
    "stroke-dashoffset",
    "stroke-linecap",
    "stroke-linejoin",
    "stroke-opacity",
    "opacity",
    "clip-path",
    "clip-rule",
    "display",
    "visibility",
};

bool IsPlainAttribute(std::string_view name) {
    for (const char* plain : kPlainAttributes) {
        if (name == plain) {
            return true;
        }
    }
    return false;
}

bool ReadNumber(std::string_view value, float& number) {
    TextScan scan(value);
    return scan.Float(number) && std::isfinite(number) && number >= 0.0f;
}

// One attribute name="value" (or 'value') from pos; false at anything else.
bool NextAttribute(std::string_view line, std::size_t& pos, std::string_view& name,
                   std::string_view& value) {
    const std::size_t start = pos;
    while (pos < line.size() && line[pos] != '=' && !IsBlank(line[pos]) && line[pos] != '>' &&
           line[pos] != '/') {
        ++pos;
    }
    if (pos == start || pos + 1 >= line.size() || line[pos] != '=') {
        return false;
    }
    name = line.substr(start, pos - start);
    const char quote = line[pos + 1];
    if (quote != '"' && quote != '\'') {
        return false;
    }
    const std::size_t close = line.find(quote, pos + 2);
    if (close == std::string_view::npos) {
        return false;
    }
    value = line.substr(pos + 2, close - pos - 2);
    pos = close + 1;
    return true;
}

void ApplyAttribute(std::string_view name, std::string_view value, StrokeStyle& style) {
    if (name == "stroke") {
        style.stroked = value == "none" ? 0 : 1;
    } else if (name == "stroke-width") {
        style.understood = style.understood && ReadNumber(value, style.width);
    } else if (name == "stroke-miterlimit") {
        style.understood = style.understood && ReadNumber(value, style.miterLimit);
    } else if (!IsPlainAttribute(name)) {
        style.understood = false;
    }
}

// Calls visit(name, value) for every attribute from pos up to the closing ">"
// or "/>", which only blanks may follow; false when the line has another form.
template <typename F> bool ForEachAttribute(std::string_view line, std::size_t pos, F visit) {
    for (;;) {
        const std::size_t next = SkipBlanks(line, pos);
        if (next < line.size() && line[next] == '>') {
            return SkipBlanks(line, next + 1) == line.size();
        }
        if (line.compare(next, 2, "/>") == 0) {
            return SkipBlanks(line, next + 2) == line.size();
        }
        std::string_view name;
        std::string_view value;
        if (next == pos) {
            return false; // attributes are separated by blanks
        }
        pos = next;
        if (!NextAttribute(line, pos, name, value)) {
            return false;
        }
        visit(name, value);
    }
}

} // namespace

StrokeStyle ReadStrokeStyle(std::string_view line, std::size_t from) {
    StrokeStyle style;
    style.understood = ForEachAttribute(line, from,
                                        [&](std::string_view name, std::string_view value) {
                                            ApplyAttribute(name, value, style);
                                        }) &&
                       style.understood;
    return style;
}

StrokeStyle ReadCircleStyle(std::string_view line, std::size_t from, float& radius) {
    StrokeStyle style;
    bool haveRadius = false;
    const bool whole =
        ForEachAttribute(line, from, [&](std::string_view name, std::string_view value) {
            if (name == "r") {
                haveRadius = ReadNumber(value, radius);
            } else if (name != "cx" && name != "cy") {
                ApplyAttribute(name, value, style);
            }
        });
    style.understood = whole && haveRadius && style.understood;
    return style;
}

StrokeStyle Inherit(const StrokeStyle& outer, const StrokeStyle& inner) {
    StrokeStyle style = outer;
    style.understood = outer.understood && inner.understood;
    if (inner.stroked >= 0) {
        style.stroked = inner.stroked;
    }
    if (inner.width >= 0.0f) {
        style.width = inner.width;
    }
    if (inner.miterLimit >= 0.0f) {
        style.miterLimit = inner.miterLimit;
    }
    return style;
}

float StrokeReach(const StrokeStyle& style) {
    if (!style.understood) {
        return -1.0f;
    }
    if (style.stroked != 1) {
        return 0.0f;
    }
    const float width = style.width >= 0.0f ? style.width : 1.0f;
    const float miter = style.miterLimit >= 0.0f ? style.miterLimit : 4.0f;
    return width / 2.0f * std::max(miter, std::sqrt(2.0f));
}

void DrawnExtent::Reset() {
    *this = DrawnExtent();
}

void DrawnExtent::Add(MapPoint p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
        understood_ = false;
        return;
    }
    if (!any_) {
        min_ = max_ = p;
        any_ = true;
        return;
    }
    Widen(min_, max_, p);
}

void DrawnExtent::AddPathData(std::string_view line, std::size_t from) {
    std::size_t pos = SkipBlanks(line, from);
    if (from == 0 && line.compare(pos, 5, "<path") == 0) {
        // The element's opening line; its data follow on the next lines.
        if (SkipBlanks(line, pos + 5) != line.size()) {
            understood_ = false;
        }
        return;
    }
    if (from == 0 && line.compare(pos, 3, "d=\"") == 0) {
        pos += 3;
    }
    bool haveX = false;
    float x = 0.0f;
    for (;;) {
        pos = SkipBlanks(line, pos);
        if (pos >= line.size()) {
            break;
        }
        const char c = line[pos];
        if (c == ',') {
            ++pos;
            continue;
        }
        if (c == 'M' || c == 'L' || c == 'C' || c == 'Z' || c == 'z') {
            if (haveX) {
                understood_ = false;
                return;
            }
            ++pos;
            continue;
        }
        if (c == '"') {
            // The end of the data: only the end of the element may follow.
            pos = SkipBlanks(line, pos + 1);
            if (line.compare(pos, 2, "/>") != 0 || SkipBlanks(line, pos + 2) != line.size()) {
                understood_ = false;
            }
            break;
        }
        TextScan scan(line, pos);
        float number = 0.0f;
        if ((c != '-' && c != '.' && (c < '0' || c > '9')) || !scan.Float(number)) {
            understood_ = false;
            return;
        }
        pos = scan.Pos();
        if (haveX) {
            Add(MapPoint{x, number});
        } else {
            x = number;
        }
        haveX = !haveX;
    }
    if (haveX) {
        understood_ = false; // a coordinate pair split over two lines
    }
}

bool DrawnExtent::Finish(float reach, MapPoint& min, MapPoint& max) const {
    if (!understood_ || !any_ || !(reach >= 0.0f)) {
        return false;
    }
    min = MapPoint{min_.x - reach, min_.y - reach};
    max = MapPoint{max_.x + reach, max_.y + reach};
    return true;
}

} // namespace kib
