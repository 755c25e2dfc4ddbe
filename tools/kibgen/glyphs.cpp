#include "glyphs.h"

#include <cstdio>
#include <sstream>
#include <vector>

namespace kib::gen {

namespace {

// Strokes on the 4 x 6 glyph grid (y down), separated by ";".
const char* GlyphStrokes(char c) {
    switch (c) {
    case '0':
        return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0";
    case '1':
        return "1,1 2,0 2,6;1,6 3,6";
    case '2':
        return "0,1 1,0 3,0 4,1 4,2 0,6 4,6";
    case '3':
        return "0,0 4,0 2,2 3,2 4,3 4,5 3,6 1,6 0,5";
    case '4':
        return "3,6 3,0 0,4 4,4";
    case '5':
        return "4,0 0,0 0,3 3,3 4,4 4,5 3,6 0,6";
    case '6':
        return "4,0 1,0 0,1 0,5 1,6 3,6 4,5 4,4 3,3 0,3";
    case '7':
        return "0,0 4,0 1,6";
    case '8':
        return "1,3 0,2 0,1 1,0 3,0 4,1 4,2 3,3 1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3";
    case '9':
        return "0,6 3,6 4,5 4,1 3,0 1,0 0,1 0,2 1,3 4,3";
    case 'A':
        return "0,6 2,0 4,6;1,3.5 3,3.5";
    case 'B':
        return "0,3 3,3 4,4 4,5 3,6 0,6 0,0 3,0 4,1 4,2 3,3";
    case 'C':
        return "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5";
    case 'D':
        return "0,0 2,0 4,2 4,4 2,6 0,6 0,0";
    case 'E':
        return "4,0 0,0 0,6 4,6;0,3 3,3";
    case 'F':
        return "4,0 0,0 0,6;0,3 3,3";
    case 'G':
        return "4,1 3,0 1,0 0,1 0,5 1,6 3,6 4,5 4,3 2,3";
    case 'H':
        return "0,0 0,6;4,0 4,6;0,3 4,3";
    case 'I':
        return "1,0 3,0;2,0 2,6;1,6 3,6";
    case 'J':
        return "4,0 4,5 3,6 1,6 0,5";
    case 'K':
        return "0,0 0,6;4,0 0,4;1,3 4,6";
    case 'L':
        return "0,0 0,6 4,6";
    case 'M':
        return "0,6 0,0 2,3 4,0 4,6";
    case 'N':
        return "0,6 0,0 4,6 4,0";
    case 'O':
        return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0";
    case 'P':
        return "0,6 0,0 3,0 4,1 4,2 3,3 0,3";
    case 'Q':
        return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0;2,4 4,6";
    case 'R':
        return "0,6 0,0 3,0 4,1 4,2 3,3 0,3;2,3 4,6";
    case 'S':
        return "4,1 3,0 1,0 0,1 0,2 1,3 3,3 4,4 4,5 3,6 1,6 0,5";
    case 'T':
        return "0,0 4,0;2,0 2,6";
    case 'U':
        return "0,0 0,5 1,6 3,6 4,5 4,0";
    case 'V':
        return "0,0 2,6 4,0";
    case 'W':
        return "0,0 1,6 2,3 3,6 4,0";
    case 'X':
        return "0,0 4,6;4,0 0,6";
    case 'Y':
        return "0,0 2,3 4,0;2,3 2,6";
    case 'Z':
        return "0,0 4,0 0,6 4,6";
    case '-':
        return "1,3 3,3";
    case '.':
        return "1.5,5.5 2.5,5.5 2.5,6 1.5,6 1.5,5.5";
    case '/':
        return "4,0 0,6";
    // A crossed zero: the marker of a zero answer.
    case '@':
        return "1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,1 1,0;4.5,-0.5 -0.5,6.5";
    default:
        return "";
    }
}

std::vector<std::vector<Pt>> ParseStrokes(const char* spec) {
    std::vector<std::vector<Pt>> strokes(1);
    std::istringstream in(spec);
    std::string word;
    while (in >> word) {
        std::size_t semicolon;
        while ((semicolon = word.find(';')) != std::string::npos) {
            Pt p;
            if (semicolon > 0 &&
                std::sscanf(word.substr(0, semicolon).c_str(), "%lf,%lf", &p.x, &p.y) == 2) {
                strokes.back().push_back(p);
            }
            strokes.emplace_back();
            word.erase(0, semicolon + 1);
        }
        Pt p;
        if (!word.empty() && std::sscanf(word.c_str(), "%lf,%lf", &p.x, &p.y) == 2) {
            strokes.back().push_back(p);
        }
    }
    return strokes;
}

} // namespace

double TextWidth(const std::string& text, double height) {
    if (text.empty()) {
        return 0.0;
    }
    const double scale = height / kGlyphHeight;
    return (kGlyphAdvance * static_cast<double>(text.size()) - (kGlyphAdvance - kGlyphWidth)) *
           scale;
}

PathData TextPath(const std::string& text, Pt centre, double height) {
    const double scale = height / kGlyphHeight;
    const Pt origin{centre.x - TextWidth(text, height) / 2.0, centre.y - height / 2.0};
    PathData path;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Pt cell = origin + Pt{kGlyphAdvance * scale * static_cast<double>(i), 0.0};
        for (const auto& stroke : ParseStrokes(GlyphStrokes(text[i]))) {
            for (std::size_t k = 0; k < stroke.size(); ++k) {
                const Pt p = cell + stroke[k] * scale;
                if (k == 0) {
                    path.Move(p);
                } else {
                    path.Line(p);
                }
            }
        }
    }
    return path;
}

} // namespace kib::gen
