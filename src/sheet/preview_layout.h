// The preview of a document's sheet layout, competition or solution: the same
// layout and decorations as the sheets, composed of the drawing surface's
// operations only, so that the screen surface paints it and the SVG surface
// writes it. Nothing of the map itself is drawn.
#pragma once

namespace kib {

class CKibage;
class CKibDoc;

// Lays out the previewed station (the one numbered Event.MAXSTAT, within 0 .. 20)
// quietly on the surface, in the document's maps mode; the document keeps the
// canvases per print sheet. False when the canvas is too small to be drawn.
bool LayOutPreview(CKibage& surface, CKibDoc& doc);

// Draws the preview on the surface that LayOutPreview laid out.
void DrawPreviewSheet(CKibage& surface, const CKibDoc& doc);

} // namespace kib
