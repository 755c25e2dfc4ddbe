// One line of a map export, kept as text so that the sheets can copy it.
#pragma once

#include <string>

namespace kib {

struct LineBlock;

struct MapLine {
    int lineNo = 0; // 1 for the first line of the file
    // Not copied into a competition map. Changed only through SetLinesHidden
    // (line_ops.h), which keeps the hidden count of the line's block.
    bool hidden = false;
    std::string text; // without the line end
    MapLine* next = nullptr;
    LineBlock* block = nullptr; // the map object the line belongs to, once the map is indexed
};

// The lines of one map object, first through last (line numbers), and how many
// of them are hidden: a sheet that leaves the whole object out jumps over it
// instead of looking at each of its lines.
struct LineBlock {
    int first = 0;
    int last = 0;
    int hiddenLines = 0;
    bool AllHidden() const { return hiddenLines == last - first + 1; }
};

} // namespace kib
