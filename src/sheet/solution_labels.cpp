// Per-row rulers and per-map labels of solution sheets: the station under the
// map and its scale.
#include "sheet/kibage.h"

#include <string>

namespace kib {

void CKibage::DrawSolutionRuler(int row) {
    if (modeWeb) {
        return;
    }
    const int y = (row - 1) * rowH + rulerH / 2 + rowTop;
    BeginGroup("ruler", 2, 0, false);
    MoveTo(leftX, y);
    LineTo(rightX, y);
    EndPath();
    EndGroup();
}

void CKibage::DrawSolutionStationLabel(int stationNo, int mapIndex) {
    if (!solution || modeWeb || compressed) {
        return;
    }
    const bool left = mapIndex % 2 != 0;
    TextCell cell;
    cell.x1 = cell.x2 = left ? leftX : rightX - mapBoxW;
    cell.y1 = ((mapIndex + 1) / 2) * rowH + rowTop - arrowBox;
    cell.y2 = cell.y1 + arrowBox;
    cell.colour = headingFont.colour;
    cell.fontFamily = headingFont.family;
    cell.text = " Station: " + std::to_string(stationNo);
    cell.fontSize = 10 * headingFont.size;
    cell.align = -1;
    TextBox(cell);
}

void CKibage::DrawSolutionScaleLabel(int mapIndex, int scale) {
    if (scale == 0 || !solution || modeWeb) {
        return;
    }
    const bool left = mapIndex % 2 != 0;
    const int row = (mapIndex + 1) / 2;
    TextCell cell;
    cell.colour = headingFont.colour;
    cell.fontFamily = headingFont.family;
    if (compressed) {
        cell.text = FormatScale(scale);
        cell.fontSize = 30;
        const int middle = (row - 1) * rowH + rowH / 2 + rowTop;
        cell.x1 = left ? leftX + arrowBox + mapBoxW - 1 : rightX - arrowBox - mapBoxW + 1;
        cell.y1 = left ? middle - arrowBox / 4 : middle + arrowBox / 4;
        cell.align = left ? -1 : 1;
    } else {
        cell.text = FormatScale(scale) + " ";
        cell.fontSize = 10 * headingFont.size;
        cell.x1 = left ? leftX + mapBoxW : rightX;
        cell.y1 = row * rowH - arrowBox / 2 + rowTop;
        cell.align = 1;
    }
    cell.x2 = cell.x1;
    cell.y2 = cell.y1;
    TextBox(cell);
}

} // namespace kib
