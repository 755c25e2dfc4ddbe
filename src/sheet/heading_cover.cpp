// Decorations with texts: the heading of competition canvases and solution
// sheets, and the station data and the check line for true scale on the cover
// canvas.
#include "foundation/format.h"
#include "sheet/kibage.h"
#include "sheet/svg_text.h"

#include <algorithm>

namespace kib {

namespace {

TextCell Cell(int x1, int y1, int x2, int y2, const std::string& text, const FontSpec& font,
              int fontSize, int align) {
    TextCell cell;
    cell.x1 = x1;
    cell.y1 = y1;
    cell.x2 = x2;
    cell.y2 = y2;
    cell.colour = font.colour;
    cell.text = text;
    cell.fontFamily = font.family;
    cell.fontSize = fontSize;
    cell.align = align;
    return cell;
}

} // namespace

void CKibage::DrawHeading(bool cover) {
    if (solution) {
        DrawSolutionHeading(cover);
    } else {
        DrawCompetitionHeading(cover);
    }
}

void CKibage::DrawCompetitionHeading(bool cover) {
    if (modeAnt || modeWeb) {
        return;
    }
    const int s = headingFont.size;
    const int size = 10 * s;
    if (cover || !coverOnly) {
        const int top = headTop - (3 * s) / 2;
        const int bottom = headTop - s / 2;
        TextLine(Cell(headLeft, top, 0, bottom, title1, headingFont, size, -1));
        TextLine(Cell(0, top, headRight, bottom, title2, headingFont, size, 1));
    }
    TextLine(Cell(headLeft, headTop, 0, headTop + s, stationClassLabel, headingFont, size, -1));
    TextLine(Cell(0, headTop, headRight, headTop + s, scaleLine, headingFont, size, 1));
}

void CKibage::DrawSolutionHeading(bool cover) {
    if (modeWeb || !cover) {
        return;
    }
    int y = titleTop;
    const int t1 = title1Size;
    const int t2 = title2Size;
    if (t1 != 0) {
        if (compressed) {
            TextBox(Cell(leftX, y, rightX, y + t1, eventClass, headingFont, 10 * t2, 9));
        }
        TextBox(Cell(leftX, y, rightX, y + t1, title1, headingFont, 10 * t1, 0));
        if (compressed) {
            TextBox(Cell(leftX, y, rightX, y + t1, date, headingFont, 10 * t2, 11));
        }
        y += t1 + titleGap;
    }
    if (!compressed && t2 != 0) {
        TextBox(Cell(leftX, y, rightX, y + t2, eventClass, headingFont, 10 * t2, 9));
        TextBox(Cell(leftX, y, rightX, y + t2, title2, headingFont, 10 * t2, 0));
        TextBox(Cell(leftX, y, rightX, y + t2, date, headingFont, 10 * t2, 11));
    }
}

void CKibage::DrawCoverInfo() {
    if (modeWeb) {
        BeginGroup("control", 3, MakeColour(179, 0, 255), false);
        BeginPath();
        CircleSubpath(static_cast<float>(mapCentreX), static_cast<float>(mapCentreY), 3.0f);
        EndPath();
        EndGroup();
        return;
    }
    const int c = coverFont.size;
    const int y0 = mapCentreY - (3 * c + 7) / 2;
    const std::string lines[4] = {
        stationLabel,
        tasksWord + ": " + std::to_string(tasks),
        limitWord + ": " + std::to_string(timeLimit) + " s",
        scaleLine,
    };
    for (int i = 0; i < 4; ++i) {
        const int y = y0 + i * (c + 2);
        TextLine(Cell(mapCentreX, y, mapCentreX, y, lines[i], coverFont, 10 * c, 0));
    }
}

bool CKibage::DrawScaleCheck() {
    // The band below the description row, which a cover fills with the credit
    // only, and above the pointing board: nothing the competitor reads is there.
    const int top = descTop + descCell + 1;
    const int bottom = (drawBoard ? canvasH - boardH : canvasH) - 1;
    const int length = std::min(100, (headRight - headLeft) / 10 * 10);
    if (length < 10 || bottom - top < 7) {
        return false;
    }
    // The words stand 2.8 mm above the line, whose end marks reach 1.5 mm
    // either side of it: the block is about centred in the band.
    const double y = (top + bottom) / 2 + 2;
    const double x0 = std::clamp(mapCentreX - length / 2.0, static_cast<double>(headLeft),
                                 static_cast<double>(headRight - length));
    const double x1 = x0 + length;
    BeginGroup("scale-check", 3, 0, false);
    MoveTo(x0, y);
    LineTo(x1, y);
    EndPath();
    MoveTo(x0, y - 1.5);
    LineTo(x0, y + 1.5);
    EndPath();
    MoveTo(x1, y - 1.5);
    LineTo(x1, y + 1.5);
    EndPath();
    EndGroup();
    const int middle = static_cast<int>(x0 + length / 2.0 + 0.5);
    const int words = static_cast<int>(y) - 4;
    FontSpec font = headingFont;
    font.colour = 0;
    TextLine(
        Cell(middle, words, middle, words, Format("%d mm at true scale", length), font, 30, 0));
    return true;
}

} // namespace kib
