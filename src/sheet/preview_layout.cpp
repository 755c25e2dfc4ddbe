#include "sheet/preview_layout.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/checked_number.h"
#include "sheet/kibage.h"
#include "sheet/svg_text.h"

#include <algorithm>
#include <string>

namespace kib {

namespace {

// The purple of the schematic description rows.
constexpr int kDescriptionColour = MakeColour(179, 0, 255);

// The station the preview shows.
int PreviewStation(const CKibCfg& cfg) {
    return std::clamp(cfg.GetMaxStation(), 0, kMaxStation);
}

void DrawRulersAndLabels(CKibage& k, const CKibCfg& cfg, const CKibDoc& doc, int first, int last,
                         int angle) {
    for (int r = 1; r <= (last - first) / 2 + 1; ++r) {
        k.DrawSolutionRuler(r);
    }
    for (int u = first; u <= last; ++u) {
        const int p = u - first + 1;
        k.DrawNorthArrows(angle, p);
        k.DrawSolutionStationLabel(u, p);
        k.DrawSolutionScaleLabel(p, cfg.GetSolutionScale(u, doc.mapScale, 1.0f));
    }
}

void DrawSolutionDescriptions(CKibage& k, int positions) {
    for (int p = 1; p <= positions; ++p) {
        const int row = (p + 1) / 2;
        const int y = p % 2 == 1 ? (row - 1) * k.rowH + k.rulerH + k.rowTop
                                 : row * k.rowH + k.rowTop - k.tasks * k.descCell -
                                       (k.compressed ? k.rulerH : k.arrowBox);
        for (int t = 1; t <= k.tasks; ++t) {
            k.DrawDescriptionRowPreview(k.descCentreX - 4 * k.descCell, y + (t - 1) * k.descCell,
                                        t);
        }
    }
}

} // namespace

void CKibage::DrawMapOutline(int position) {
    BeginOutline();
    BeginPath();
    if (solution) {
        const int x = position % 2 == 1 ? leftX : rightX - segW;
        int y = ((position + 1) / 2 - 1) * rowH + rowTop;
        if (!modeWeb) {
            y += rulerH;
        }
        RectSubpath(static_cast<float>(x), static_cast<float>(y), static_cast<float>(segW),
                    static_cast<float>(segH));
    } else if (modeWeb) {
        RectSubpath(static_cast<float>(mapCentreX - segRadius), 0.0f,
                    static_cast<float>(2 * segRadius), static_cast<float>(segH));
    } else if (circleShape) {
        CircleSubpath(static_cast<float>(mapCentreX), static_cast<float>(mapCentreY),
                      static_cast<float>(segRadius));
    } else {
        RectSubpath(static_cast<float>(mapCentreX - segRadius),
                    static_cast<float>(mapCentreY - segRadius), static_cast<float>(2 * segRadius),
                    static_cast<float>(2 * segRadius));
    }
    EndPath();
    EndOutline();
}

void CKibage::DrawDescriptionRowPreview(int x, int y, int task) {
    for (int i = 0; i < 8; ++i) {
        TextCell cell;
        cell.x1 = x + i * descCell;
        cell.y1 = y;
        cell.x2 = cell.x1 + descCell;
        cell.y2 = y + descCell;
        cell.frameWidth = 3;
        cell.colour = kDescriptionColour;
        cell.fontFamily = descFont.family;
        cell.fontSize = 0;
        cell.align = 0;
        if (i == 0) {
            cell.text = std::to_string(task);
        } else if (i == 1) {
            cell.text = letterRange.empty() ? "A-F" : letterRange;
        }
        TextLine(cell);
    }
}

bool LayOutPreview(CKibage& k, CKibDoc& doc) {
    const CKibCfg* cfg = doc.GetConfig();
    if (cfg == nullptr) {
        return false;
    }
    const int station = PreviewStation(*cfg);
    const int tasks = cfg->GetTasks(station);
    const int flags = cfg->Item(id::Event_FLAGS).GetInt();
    const int scale = ScaleOverZoom(doc.mapScale, doc.mapZoom);
    k.ComputeLayout(true, doc.GetMapsMode(), scale, station, tasks, flags);
    doc.canvasesPerSheet = k.canvasesPerSheet;
    return k.canvasW > 1 && k.canvasH > 1;
}

void DrawPreviewSheet(CKibage& k, const CKibDoc& doc) {
    const CKibCfg* cfg = doc.GetConfig();
    if (cfg == nullptr) {
        return;
    }
    const bool solution = k.solution;
    const int station = PreviewStation(*cfg);
    int angle = cfg->GetRotation(station);
    if (angle == -1) {
        angle = -45; // no angles configured
    }
    k.DrawHeading(true);
    if (!solution) {
        k.DrawMapBorder();
    }

    int first = 1;
    int last = 1;
    if (solution) {
        if (!k.modeWeb) {
            first = cfg->GetMinStation();
            last = std::min(2 * k.rowsPerSheet, cfg->GetMaxStation());
        }
        for (int p = 1; p <= last - first + 1; ++p) {
            k.DrawMapOutline(p);
        }
        if (k.modeWeb) {
            k.DrawCoverInfo();
        }
    } else {
        k.DrawMapOutline(1);
        k.DrawCoverInfo();
    }

    k.DrawCuttingLine(1);
    k.DrawOrderTabs(station, 1);
    k.DrawPointingBoard();

    if (solution && !k.modeWeb) {
        DrawRulersAndLabels(k, *cfg, doc, first, last, angle);
    } else {
        k.DrawNorthArrows(angle, 0);
    }

    if (!solution) {
        const int x = k.descCentreX - 4 * k.descCell;
        TextCell frame;
        frame.x1 = x;
        frame.y1 = k.descTop;
        frame.x2 = x + 8 * k.descCell;
        frame.y2 = k.descTop + k.descCell;
        frame.frameWidth = 10;
        frame.colour = kDescriptionColour;
        k.TextLine(frame);
        k.DrawDescriptionRowPreview(x, k.descTop, 1);
    } else if (!k.modeWeb) {
        DrawSolutionDescriptions(k, last - first + 1);
    }

    if (solution && k.logoH != 0) {
        TextCell logo;
        logo.x1 = (k.sheetW - k.logoW) / 2;
        logo.y1 = k.canvasH - k.logoH - k.sheetMargin;
        logo.x2 = (k.sheetW + k.logoW) / 2;
        logo.y2 = k.canvasH - k.sheetMargin;
        logo.frameWidth = 1;
        logo.colour = 0;
        logo.text = "Logo";
        k.TextLine(logo);
    }
}

} // namespace kib
