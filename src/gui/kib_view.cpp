#include "gui/kib_view.h"

#include "config/kib_doc.h"
#include "gui/preview.h"

#include <QPainter>

namespace kib::gui {

CKibView::CKibView(std::shared_ptr<CKibDoc> doc, QWidget* parent)
    : QWidget(parent), doc_(std::move(doc)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(100, 100);
}

void CKibView::paintEvent(QPaintEvent*) {
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing, false);
        DrawPreview(painter, *doc_, size());
    }
    // The re-check may log and ask: it runs once this repaint has ended.
    if (afterPaint) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (afterPaint) {
                    afterPaint(doc_.get());
                }
            },
            Qt::QueuedConnection);
    }
}

} // namespace kib::gui
