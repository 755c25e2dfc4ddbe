// The preview of a document's sheet layout on the screen: the sheet's preview
// (src/sheet/preview_layout.h) painted by the screen surface at the scale that
// fits the client area.
#pragma once

#include <QSize>

class QPainter;

namespace kib {
class CKibDoc;
}

namespace kib::gui {

// Paints the preview into a client area of the given size. The document keeps
// the canvases per print sheet of the layout drawn.
void DrawPreview(QPainter& painter, CKibDoc& doc, QSize client);

} // namespace kib::gui
