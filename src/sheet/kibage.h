// The drawing surface through which every sheet and the screen preview are drawn.
// It carries the layout of the station being drawn, the decorations built on
// its drawing operations, and the operations themselves, which do nothing here:
// CSvgImage writes them as SVG text, a screen surface paints them.
#pragma once

#include "foundation/diagnostics.h"
#include "sheet/north_arrow_shape.h"
#include "sheet/sheet_layout.h"
#include "sheet/text_cell.h"

#include <string>

namespace kib {

class LayoutMemo;

class CKibCfg;

// What set the needed canvas height: the map with its descriptions, the room of
// the heading's titles above the map, or the order tabs.
enum class CanvasHeightBy { Map, Heading, Tabs };

// "1 : 4 000" for 4000, "1 : 500" style below 1000, empty for 0.
std::string FormatScale(int scale);

class CKibage : public SheetLayout {
  public:
    explicit CKibage(const CKibCfg& cfg);
    virtual ~CKibage() = default;
    CKibage(const CKibage&) = delete;
    CKibage& operator=(const CKibage&) = delete;

    const CKibCfg& Config() const { return cfg_; }
    // Where the layout and the drawing report: the configuration's diagnostics
    // until a run hands its station's.
    void ReportInto(Diagnostics& diagnostics) { diag_ = &diagnostics; }
    Diagnostics& Diag() const;

    // --- Drawing operations (lengths in mm; widths and font sizes in tenths of mm).
    // A path is MoveTo, LineTo..., EndPath, or BeginPath, Circle/RectSubpath..., EndPath.
    virtual void BeginGroup(const char* id, int lineWidth, int colour, bool dashed);
    virtual void EndGroup();
    virtual void BeginPath();
    virtual void MoveTo(double x, double y);
    virtual void MoveTo(float x, float y);
    virtual void MoveTo(int x, int y);
    virtual void LineTo(double x, double y);
    virtual void LineTo(float x, float y);
    virtual void LineTo(int x, int y);
    virtual void EndPath();
    // The integer forms convert the corners to float and call the float forms.
    virtual void TextBox(const TextCell& cell);
    virtual void TextBox(const TextCellF& cell);
    virtual void TextLine(const TextCell& cell);
    virtual void TextLine(const TextCellF& cell);
    virtual void CircleSubpath(float cx, float cy, float r);
    virtual void RectSubpath(float x, float y, float width, float height);
    virtual void FillPolygons(const PolygonTable& table, int colour);
    virtual void NorthArrow(int x, int y, int angle);
    virtual void PlaceLogo(const std::string& outputDir, const std::string& logoPath, int count);
    // Preview only: the outline of a map's place is drawn between these two with
    // a thin dotted line.
    virtual void BeginOutline();
    virtual void EndOutline();

    // --- Layout. Computes every layout field for one station; false when a size
    // check failed (the computation still completes). quiet keeps the errors in the
    // Debug pane only. scale 0 takes Event.SCALE.
    bool ComputeLayout(bool quiet, bool solution, int scale, int station, int defaultTasks,
                       int defaultFlags);
    // Layouts that fit are kept in the memo and taken from it again (none: every
    // layout is computed).
    void UseLayoutMemo(LayoutMemo* memo) { memo_ = memo; }

    // --- Decorations (canvas millimetres).
    void DrawHeading(bool cover);
    void DrawCoverInfo();
    void DrawCuttingLine(int task);
    void DrawOrderTabs(int station, int task);
    void DrawPointingBoard();
    void DrawMapBorder();
    void DrawNorthArrows(int angle, int mapIndex);
    void DrawSolutionRuler(int row); // the line above row 1, 2, ... of a solution sheet
    void DrawSolutionStationLabel(int station, int mapIndex);
    void DrawSolutionScaleLabel(int mapIndex, int scale);

    // --- Preview-only drawings (src/sheet/preview_layout.cpp): the outline of the
    // map at a position of the sheet, and a schematic description row of eight cells.
    void DrawMapOutline(int position);
    void DrawDescriptionRowPreview(int x, int y, int task);

    // Every coordinate written is moved by half a unit while set (order tabs and
    // pointing board draw on the half millimetre).
    bool halfShift = false;

  private:
    // Layout steps, in the order ComputeLayout runs them.
    void ReadSwitchesAndTexts(bool solution, int scale, int station, int defaultTasks,
                              int defaultFlags);
    void ComputeSolutionSheet();
    void ComputeCompetitionSheet();
    void ComputeSegmentAndDecorations();
    void ComputeNeededSize(int& needW, int& needH, CanvasHeightBy& heightBy);
    void NeedHeadingRoom(int& needH, CanvasHeightBy& heightBy) const;
    bool CheckSizes(bool quiet, int needW, int needH, CanvasHeightBy heightBy);
    void ComputePositions();

    void DrawCompetitionHeading(bool cover);
    void DrawSolutionHeading(bool cover);
    void DrawCrossedTab(int x0, int x1, int bottom);
    void DrawTaskTab(int station, int task, int x0, int x1, int bottom);
    void DrawNorthLines(int angle);

    const CKibCfg& cfg_;
    Diagnostics* diag_ = nullptr; // none: the configuration's
    LayoutMemo* memo_ = nullptr;
};

} // namespace kib
