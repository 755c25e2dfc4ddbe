// Decorations with texts: the heading of competition canvases and solution
// sheets, and the station data on the cover canvas.
#include "sheet/kibage.h"
#include "sheet/svg_text.h"

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

} // namespace kib
