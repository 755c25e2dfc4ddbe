// The layout of a new event made to fit its largest station: order tabs small
// enough for the most tasks, and only where that is not enough the smallest
// standard canvas and sheet that hold them, so that the layout check passes.
#pragma once

namespace kib {

class CKibCfg;
class CKibDoc;

// Keeps the default layout when every station fits; otherwise sets the order
// tab size (OrderTabs.SIZE, not below 8 mm) and, only when no such size fits
// the default canvas, the smallest standard canvas with its sheet (A5Full on
// A4Tiled, A4Landscape, A4Portrait) that fits. One info line says what was
// chosen and why. False (nothing changed) when no such layout fits.
bool FitNewEventLayout(CKibCfg& cfg);

// The closing layout check of a new event: every station in both kinds of
// sheet. Passing gives an info line; failing a warning that names a key and a
// value that would fit, instead of the layout's errors.
bool CheckNewEventLayout(CKibDoc& doc);

} // namespace kib
