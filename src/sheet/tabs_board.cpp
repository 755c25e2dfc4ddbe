// Decorations of the canvas edges: the cutting line, the order tabs that sort a
// station's printed maps by task, and the pointing board with the answer letters.
#include "sheet/kibage.h"

#include <string>

namespace kib {

namespace {

TextCell FrameCell(int x1, int y1, int x2, int y2, const FontSpec& font) {
    TextCell cell;
    cell.x1 = x1;
    cell.y1 = y1;
    cell.x2 = x2;
    cell.y2 = y2;
    cell.frameWidth = 5;
    cell.colour = font.colour;
    cell.fontFamily = font.family;
    return cell;
}

TextCell LabelCell(int x1, int y1, int x2, int y2, const FontSpec& font, const std::string& text,
                   int fontSize, int align) {
    TextCell cell = FrameCell(x1, y1, x2, y2, font);
    cell.frameWidth = 0;
    cell.text = text;
    cell.fontSize = fontSize;
    cell.align = align;
    return cell;
}

// A number written into at most `width` characters.
std::string Clipped(const std::string& text, size_t width) {
    return text.substr(0, width);
}

} // namespace

void CKibage::DrawCuttingLine(int task) {
    int y = 0;
    if (tabSize != 0 && task < tasks) {
        y = canvasH - (task + (tabsCover ? 1 : 0)) * tabSize - boardH - tabBottom;
    }
    BeginGroup("cutting-line", 2, 0, true);
    MoveTo(0, canvasH);
    LineTo(canvasW, canvasH);
    LineTo(canvasW, y);
    if (y != 0) {
        LineTo(canvasW - tabsW - 1, y);
        LineTo(canvasW - tabsW - 1, 0);
    }
    EndPath();
    EndGroup();
}

void CKibage::DrawCrossedTab(int x0, int x1, int bottom) {
    const int top = bottom - tabSize;
    TextLine(FrameCell(x0, top, x1, bottom, tabsFont));
    BeginGroup(nullptr, 5, tabsFont.colour, false);
    MoveTo(x0, top);
    LineTo(x1, bottom);
    EndPath();
    EndGroup();
    BeginGroup(nullptr, 5, tabsFont.colour, false);
    MoveTo(x1, top);
    LineTo(x0, bottom);
    EndPath();
    EndGroup();
}

void CKibage::DrawTaskTab(int stationNo, int task, int x0, int x1, int bottom) {
    const int top = bottom - tabSize;
    const std::string number = Clipped(std::to_string(task), 2);
    if (!statNum) {
        TextCell cell = FrameCell(x0, top, x1, bottom, tabsFont);
        cell.text = number;
        TextLine(cell);
        return;
    }
    const int h = (tabSize + 1) / 2;
    TextLine(FrameCell(x0, top, x1, bottom, tabsFont));
    TextLine(LabelCell(x0, top, x1 - h, bottom, tabsFont,
                       Clipped(std::to_string(stationNo) + ":", 3), -1, 1));
    TextLine(LabelCell(x1 - h, top, x1, bottom, tabsFont, number, 0, -1));
}

void CKibage::DrawOrderTabs(int stationNo, int task) {
    if (!drawTabs) {
        return;
    }
    int d = canvasH - boardH - tabBottom;
    const int x0 = canvasW - tabRight - tabSize;
    const int x1 = canvasW - tabRight;
    halfShift = true;
    BeginGroup("order-tabs", 5, tabsFont.colour, false);
    const int earlier = tabsCover ? task : task - 1;
    for (int i = 0; i < earlier; ++i) {
        DrawCrossedTab(x0, x1, d);
        d -= tabSize;
    }
    if (task != 0 || tabsCover) {
        DrawTaskTab(stationNo, task, x0, x1, d);
    }
    halfShift = false;
    EndGroup();
}

void CKibage::DrawPointingBoard() {
    if (!drawBoard) {
        return;
    }
    static const char* const kLetters[7] = {"A", "B", "C", "D", "E", "F", "Z"};
    static const char* const kWords[7] = {"ALFA", "BRAVO",   "CHARLIE", "DELTA",
                                          "ECHO", "FOXTROT", "ZERO"};
    const int yb = canvasH - boardMargin - 1;
    int x = boardLeft;
    BeginGroup("pointing-board", 5, boardFont.colour, false);
    halfShift = true;
    for (int i = 1; i <= 7; ++i, x += boardCellW) {
        const bool drawn = i < 7 ? i <= flags : zeroTab;
        if (!drawn) {
            continue;
        }
        const int x2 = x + boardCellW;
        if (!fullWords) {
            TextCell cell = FrameCell(x, yb - boardSize, x2, yb, boardFont);
            cell.text = kLetters[i - 1];
            TextLine(cell);
            continue;
        }
        TextLine(FrameCell(x, yb - boardSize, x2, yb, boardFont));
        TextLine(
            LabelCell(x, yb - boardSize, x2, yb - boardSize / 5, boardFont, kLetters[i - 1], 0, 0));
        TextCell word = LabelCell(x, yb - boardSize / 3, x2, yb, boardFont, kWords[i - 1], 0, 0);
        word.noStroke = true;
        TextLine(word);
    }
    halfShift = false;
    EndGroup();
}

} // namespace kib
