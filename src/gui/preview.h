// The preview of a document's sheet layout, competition or solution, drawn
// with the same layout and decorations as the sheets themselves.
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
