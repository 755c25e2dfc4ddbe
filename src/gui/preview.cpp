#include "gui/preview.h"

#include "config/cfg_ids.h"
#include "config/kib_doc.h"
#include "foundation/checked_number.h"
#include "gui/scr_image.h"

#include <QPainter>

#include <algorithm>

namespace kib::gui {

namespace {

constexpr int kDescriptionColour = 179 + 65536 * 255;

void DrawRulersAndLabels(CScrImage& img, const CKibCfg& cfg, const CKibDoc& doc, int first,
                         int last, int angle) {
    for (int r = 1; r <= (last - first) / 2 + 1; ++r) {
        img.DrawSolutionRuler(r);
    }
    for (int u = first; u <= last; ++u) {
        const int p = u - first + 1;
        img.DrawNorthArrows(angle, p);
        img.DrawSolutionStationLabel(u, p);
        img.DrawSolutionScaleLabel(p, cfg.GetSolutionScale(u, doc.mapScale, 1.0));
    }
}

void DrawSolutionDescriptions(CScrImage& img, int positions) {
    for (int p = 1; p <= positions; ++p) {
        const int row = (p + 1) / 2;
        const int y = p % 2 == 1 ? (row - 1) * img.rowH + img.rulerH + img.rowTop
                                 : row * img.rowH + img.rowTop - img.tasks * img.descCell -
                                       (img.compressed ? img.rulerH : img.arrowBox);
        for (int t = 1; t <= img.tasks; ++t) {
            img.DrawDescriptionRowPreview(img.descCentreX - 4 * img.descCell,
                                          y + (t - 1) * img.descCell, t);
        }
    }
}

} // namespace

void DrawPreview(QPainter& painter, CKibDoc& doc, QSize client) {
    painter.fillRect(QRect(QPoint(0, 0), client), Qt::white);
    const CKibCfg* cfg = doc.GetConfig();
    if (cfg == nullptr) {
        return;
    }
    const bool solution = doc.GetMapsMode();
    CScrImage img(*cfg, painter);
    const int station = std::clamp(cfg->GetMaxStation(), 0, kMaxStation);
    const int tasks = cfg->GetTasks(station);
    const int flags = cfg->Item(id::Event_FLAGS).GetInt();
    const int scale = ScaleForZoom(doc.mapScale, doc.mapZoom);
    img.ComputeLayout(true, solution, scale, station, tasks, flags);
    doc.canvasesPerSheet = img.canvasesPerSheet;
    int angle = cfg->GetRotation(station);
    if (angle == -1) {
        angle = -45;
    }
    if (img.canvasW <= 1 || img.canvasH <= 1) {
        return; // nothing sensible to scale
    }
    img.SetScale(std::min(static_cast<float>(client.width()) / (img.canvasW - 1),
                          static_cast<float>(client.height()) / (img.canvasH - 1)));
    img.DrawHeading(true);
    if (!solution) {
        img.DrawMapBorder();
    }

    int first = 1;
    int last = 1;
    if (solution) {
        if (!img.modeWeb) {
            first = cfg->GetMinStation();
            last = std::min(2 * img.rowsPerSheet, cfg->GetMaxStation());
        }
        for (int p = 1; p <= last - first + 1; ++p) {
            img.DrawMapOutline(p);
        }
        if (img.modeWeb) {
            img.DrawCoverInfo();
        }
    } else {
        img.DrawMapOutline(1);
        img.DrawCoverInfo();
    }

    img.DrawCuttingLine(1);
    img.DrawOrderTabs(station, 1);
    img.DrawPointingBoard();

    if (solution && !img.modeWeb) {
        DrawRulersAndLabels(img, *cfg, doc, first, last, angle);
    } else {
        img.DrawNorthArrows(angle, 0);
    }

    if (!solution) {
        const int x = img.descCentreX - 4 * img.descCell;
        TextCell frame;
        frame.x1 = x;
        frame.y1 = img.descTop;
        frame.x2 = x + 8 * img.descCell;
        frame.y2 = img.descTop + img.descCell;
        frame.frameWidth = 10;
        frame.colour = kDescriptionColour;
        img.TextLine(frame);
        img.DrawDescriptionRowPreview(x, img.descTop, 1);
    } else if (!img.modeWeb) {
        DrawSolutionDescriptions(img, last - first + 1);
    }

    if (solution && img.logoH != 0) {
        TextCell logo;
        logo.x1 = (img.sheetW - img.logoW) / 2;
        logo.y1 = img.canvasH - img.logoH - img.sheetMargin;
        logo.x2 = (img.sheetW + img.logoW) / 2;
        logo.y2 = img.canvasH - img.sheetMargin;
        logo.frameWidth = 1;
        logo.colour = 0;
        logo.text = "Logo";
        img.TextLine(logo);
    }
}

} // namespace kib::gui
