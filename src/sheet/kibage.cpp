#include "sheet/kibage.h"

#include "config/kib_cfg.h"

namespace kib {

CKibage::CKibage(const CKibCfg& cfg) : cfg_(cfg) {}

Diagnostics& CKibage::Diag() const {
    return diag_ ? *diag_ : cfg_.Reports();
}

void CKibage::BeginGroup(const char*, int, int, bool) {}
void CKibage::EndGroup() {}
void CKibage::BeginPath() {}
void CKibage::MoveTo(double, double) {}
void CKibage::MoveTo(float, float) {}
void CKibage::MoveTo(int, int) {}
void CKibage::LineTo(double, double) {}
void CKibage::LineTo(float, float) {}
void CKibage::LineTo(int, int) {}
void CKibage::EndPath() {}
void CKibage::TextBox(const TextCell& cell) {
    TextBox(ToFloatCell(cell));
}
void CKibage::TextBox(const TextCellF&) {}
void CKibage::TextLine(const TextCell& cell) {
    TextLine(ToFloatCell(cell));
}
void CKibage::TextLine(const TextCellF&) {}
void CKibage::CircleSubpath(float, float, float) {}
void CKibage::RectSubpath(float, float, float, float) {}
void CKibage::FillPolygons(const PolygonTable&, int) {}
void CKibage::NorthArrow(int, int, int) {}
void CKibage::PlaceLogo(const std::string&, const std::string&, int) {}
void CKibage::BeginOutline() {}
void CKibage::EndOutline() {}

} // namespace kib
