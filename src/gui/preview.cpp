#include "gui/preview.h"

#include "config/kib_doc.h"
#include "gui/scr_image.h"
#include "sheet/preview_layout.h"

#include <QPainter>

#include <algorithm>

namespace kib::gui {

void DrawPreview(QPainter& painter, CKibDoc& doc, QSize client) {
    painter.fillRect(QRect(QPoint(0, 0), client), Qt::white);
    const CKibCfg* cfg = doc.GetConfig();
    if (cfg == nullptr) {
        return;
    }
    CScrImage img(*cfg, painter);
    if (!LayOutPreview(img, doc)) {
        return; // nothing sensible to scale
    }
    img.SetScale(std::min(static_cast<float>(client.width()) / (img.canvasW - 1),
                          static_cast<float>(client.height()) / (img.canvasH - 1)));
    DrawPreviewSheet(img, doc);
}

} // namespace kib::gui
