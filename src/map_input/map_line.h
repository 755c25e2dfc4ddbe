// One line of a map export, kept as text so that the sheets can copy it.
#pragma once

#include <string>

namespace kib {

struct MapLine {
    int lineNo = 0;      // 1 for the first line of the file
    bool hidden = false; // not copied into a competition map
    std::string text;    // without the line end
    MapLine* next = nullptr;
};

} // namespace kib
