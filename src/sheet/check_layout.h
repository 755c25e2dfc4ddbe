// The document's layout check, run by the Make commands, the tab switch and the
// properties pane: the layout of station 0 computed on a surface that draws nothing.
#pragma once

namespace kib {

class CKibDoc;

// Both kinds (competition, then solution only when that passed) or the document's
// current maps mode. Sets the debugging switch afterwards; false without a
// configuration or when a size check failed.
bool CheckLayout(CKibDoc& doc, bool bothModes);

} // namespace kib
