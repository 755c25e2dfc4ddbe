// The drawing surface on the screen: the sheet operations painted with a
// QPainter at a pixel scale, for the preview of a document's sheet layout.
#pragma once

#include "sheet/kibage.h"

#include <QPen>
#include <QPoint>
#include <QPolygon>

#include <functional>
#include <vector>

class QPainter;

namespace kib::gui {

class CScrImage : public CKibage {
  public:
    static constexpr int kPenStackSize = 4;

    CScrImage(const CKibCfg& cfg, QPainter& painter);

    void SetScale(float pixelsPerMm) { scale_ = pixelsPerMm; }
    float Scale() const { return scale_; }
    // Device coordinate of a layout coordinate in millimetres.
    int Dev(double v) const;

    void BeginGroup(const char* id, int lineWidth, int colour, bool dashed) override;
    void EndGroup() override;
    void MoveTo(double x, double y) override;
    void MoveTo(float x, float y) override;
    void MoveTo(int x, int y) override;
    void LineTo(double x, double y) override;
    void LineTo(float x, float y) override;
    void LineTo(int x, int y) override;
    using CKibage::TextBox;
    using CKibage::TextLine;
    void TextBox(const TextCellF& cell) override;
    void TextLine(const TextCellF& cell) override;
    void CircleSubpath(float cx, float cy, float r) override;
    void RectSubpath(float x, float y, float width, float height) override;
    void FillPolygons(const PolygonTable& table, int colour) override;
    void NorthArrow(int x, int y, int angle) override;
    void PlaceLogo(const std::string&, const std::string&, int) override {}
    // A dotted black pen one pixel wide.
    void BeginOutline() override;
    void EndOutline() override;

    int PenDepth() const { return penCount_; }

  private:
    void MoveToDev(int x, int y);
    void LineToDev(int x, int y);
    void FillDevice(const std::vector<QPolygon>& polygons, int colour);
    // Sets the font and colour of a text cell; returns the text's pixel extent.
    QSize PrepareText(const TextCellF& cell, const QString& text);
    // Paints a text cell: its frame, then its text with the top left corner
    // that place gives for the text's pixel extent and the rounding shift.
    void PaintCell(const TextCellF& cell, const std::function<QPoint(QSize, double)>& place);

    QPainter& painter_;
    QPen pens_[kPenStackSize];
    int penCount_ = 0;
    int overflow_ = 0; // groups nested deeper than the pen stack keep the top pen
    float scale_ = 1.0f;
    QPoint current_;
};

} // namespace kib::gui
