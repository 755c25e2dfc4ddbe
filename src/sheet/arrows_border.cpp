// Decorations around the map segment: the map border, the north arrows and the
// north lines beside a circular map.
#include "sheet/kibage.h"
#include "sheet/svg_text.h"

#include <cmath>

namespace kib {

namespace {

constexpr double kPi = 3.14159265358979323846;
// The north lines start on the border circle at 40 degrees from the east-west axis.
constexpr double kNorthLineAngle = 0.6981317400932312;

} // namespace

void CKibage::DrawMapBorder() {
    if (borderWidth == 0) {
        return;
    }
    BeginGroup("map-border", 10 * borderWidth, borderColour, false);
    BeginPath();
    const float r = static_cast<float>(borderWidth * 0.5 + segRadius + borderGap);
    const float cx = static_cast<float>(mapCentreX);
    const float cy = static_cast<float>(mapCentreY);
    if (circleShape) {
        CircleSubpath(cx, cy, r);
    } else if (modeWeb) {
        RectSubpath(cx - r, 0.0f, 2 * r, static_cast<float>(segH));
    } else {
        RectSubpath(cx - r, cy - r, 2 * r, 2 * r);
    }
    EndPath();
    EndGroup();
}

void CKibage::DrawNorthArrows(int angle, int mapIndex) {
    if (!solution) {
        if (arrowSide == 0 || arrowSide == 1) {
            NorthArrow(mapCentreX - arrowX, arrowY, angle);
        }
        if (arrowSide == 0 || arrowSide == 2) {
            NorthArrow(mapCentreX + arrowX, arrowY, angle);
        }
    } else if (modeWeb) {
        NorthArrow(descCentreX, arrowY, angle);
    } else {
        const bool left = mapIndex % 2 != 0;
        const int row = (mapIndex + 1) / 2;
        int x = 0;
        int y = 0;
        if (compressed) {
            x = left ? leftX + arrowBox / 2 + mapBoxW : rightX - arrowBox / 2 - mapBoxW;
            y = rowH * (row - 1) + (rowH + 1) / 2 + rowTop;
        } else {
            x = left ? leftX + mapBoxW / 2 : rightX - mapBoxW / 2;
            y = row * rowH - arrowBox / 2 + rowTop;
        }
        NorthArrow(x, y, angle);
    }
    if (northLines) {
        DrawNorthLines(angle);
    }
}

void CKibage::DrawNorthLines(int angle) {
    BeginGroup("additional-north-lines", 2, MakeColour(0, 0, 128), false);
    const double radius = borderWidth * 0.5 + segRadius + borderGap;
    const double theta = angle * kPi / 180.0;
    const double nx = std::sin(theta), ny = -std::cos(theta); // north on the turned map
    const double ex = std::cos(theta), ey = std::sin(theta);  // east
    const double across = radius * std::cos(kNorthLineAngle);
    const double along = radius * std::sin(kNorthLineAngle);
    const double length = radius * (1.0 - std::sin(kNorthLineAngle));
    // East-west side (-1 west, +1 east) and north-south direction of each stroke.
    const int strokes[4][2] = {{-1, 1}, {-1, -1}, {1, 1}, {1, -1}};
    for (const auto& stroke : strokes) {
        const double sx = mapCentreX + stroke[0] * across * ex + stroke[1] * along * nx;
        const double sy = mapCentreY + stroke[0] * across * ey + stroke[1] * along * ny;
        MoveTo(sx, sy);
        LineTo(sx + stroke[1] * length * nx, sy + stroke[1] * length * ny);
        EndPath();
    }
    EndGroup();
}

} // namespace kib
