#include "map_input/line_kind.h"

namespace kib {

namespace {

bool IsAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

LineKind Pick(bool closing, LineKind open, LineKind close) {
    return closing ? close : open;
}

} // namespace

LineKind ClassifyLine(std::string_view text) {
    if (text.empty() || text[0] != '<') {
        return LineKind::Plain;
    }
    const bool closing = text.size() > 1 && text[1] == '/';
    const std::string_view name = text.substr(closing ? 2 : 1);
    if (name.starts_with("svg")) {
        return Pick(closing, LineKind::SvgOpen, LineKind::SvgClose);
    }
    if (name.starts_with("g") && (name.size() == 1 || !IsAlnum(name[1]))) {
        return Pick(closing, LineKind::GroupOpen, LineKind::GroupClose);
    }
    if (name.starts_with("desc")) {
        return Pick(closing, LineKind::DescOpen, LineKind::DescClose);
    }
    if (name.starts_with("circle")) {
        return Pick(closing, LineKind::CircleOpen, LineKind::CircleClose);
    }
    if (name.starts_with("rect")) {
        return Pick(closing, LineKind::RectOpen, LineKind::RectClose);
    }
    if (!name.empty() &&
        (name[0] == 'c' || name[0] == 'd' || name[0] == 'g' || name[0] == 'r' || name[0] == 's')) {
        return LineKind::OtherTag;
    }
    return LineKind::Plain;
}

} // namespace kib
