// The SVG drawing surface: every drawing operation appends its SVG text to the
// sheet text stream attached by the generation run before each document.
#pragma once

#include "sheet/kibage.h"

#include <ostream>
#include <string>

namespace kib {

class CSvgImage : public CKibage {
  public:
    explicit CSvgImage(const CKibCfg& cfg) : CKibage(cfg) {}

    // The stream the operations append to (not owned); nothing is written while none.
    void SetStream(std::ostream* out) { out_ = out; }
    std::ostream* GetStream() const { return out_; }

    using CKibage::TextBox;
    using CKibage::TextLine;

    void BeginGroup(const char* id, int lineWidth, int colour, bool dashed) override;
    void EndGroup() override;
    void BeginPath() override;
    void MoveTo(double x, double y) override;
    void MoveTo(float x, float y) override;
    void MoveTo(int x, int y) override;
    void LineTo(double x, double y) override;
    void LineTo(float x, float y) override;
    void LineTo(int x, int y) override;
    void EndPath() override;
    void TextBox(const TextCellF& cell) override;
    void TextLine(const TextCellF& cell) override;
    void CircleSubpath(float cx, float cy, float r) override;
    void RectSubpath(float x, float y, float width, float height) override;
    void FillPolygons(const PolygonTable& table, int colour) override;
    void NorthArrow(int x, int y, int angle) override;
    void PlaceLogo(const std::string& outputDir, const std::string& logoPath, int count) override;
    void BeginOutline() override;
    void EndOutline() override;

  private:
    double Shift() const { return halfShift ? 0.5 : 0.0; }
    // The half-millimetre text of an integer coordinate: 12.0, or 12.5 under halfShift.
    std::string IntCoord(int v) const;
    void Attr(const char* name, const std::string& value);
    void Attr(const char* name, int value);
    void AttrFloat(const char* name, double value);
    void AttrColour(const char* name, int colour);
    // Writes the frame rectangle of a cell, when it has one.
    void CellFrame(const TextCellF& cell);
    // Writes the text element after its position attributes: fill, font and content.
    void CellTextTail(const TextCellF& cell, double fontSize);
    void Write(const std::string& text);

    std::ostream* out_ = nullptr;
};

} // namespace kib
