// The record of a text operation of the drawing surface: a cell rectangle with
// an optional frame, and a text placed in it.
#pragma once

#include <string>

namespace kib {

template <typename Coord> struct TextCellOf {
    Coord x1 = 0, y1 = 0, x2 = 0, y2 = 0; // the cell rectangle in millimetres
    int frameWidth = 0;                   // tenths of mm; 0 = no frame
    int colour = 0;                       // frame stroke and text fill
    std::string text;                     // system code page
    std::string fontFamily;
    int fontSize = 0; // tenths of mm; -1 = 30 % of the cell height, 0 = 60 %
    int align = 0;    // meaning depends on the operation (TextLine or TextBox)
    bool noStroke = false;
};

// Integer corners (sheet geometry) and float corners (map units in descriptions).
using TextCell = TextCellOf<int>;
using TextCellF = TextCellOf<float>;

// The float form of an integer cell, otherwise unchanged.
inline TextCellF ToFloatCell(const TextCell& c) {
    TextCellF f;
    f.x1 = static_cast<float>(c.x1);
    f.y1 = static_cast<float>(c.y1);
    f.x2 = static_cast<float>(c.x2);
    f.y2 = static_cast<float>(c.y2);
    f.frameWidth = c.frameWidth;
    f.colour = c.colour;
    f.text = c.text;
    f.fontFamily = c.fontFamily;
    f.fontSize = c.fontSize;
    f.align = c.align;
    f.noStroke = c.noStroke;
    return f;
}

} // namespace kib
