// The document's layout check, run by the Make commands, the tab switch and the
// properties pane: the layout of station 0 computed on a surface that draws nothing.
#pragma once

namespace kib {

class CKibDoc;
class LayoutMemo;

// Both kinds (competition, then solution only when that passed) or the document's
// current maps mode. Sets the debugging switch afterwards; false without a
// configuration or when a size check failed. The layouts that fit are kept in
// the memo, when one is given, for the runs of the same command.
bool CheckLayout(CKibDoc& doc, bool bothModes, LayoutMemo* memo = nullptr);

} // namespace kib
