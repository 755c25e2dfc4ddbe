// The line grammar of OCAD's SVG map export: reads one file into a CKibMap.
#pragma once

#include "map_input/drawn_extent.h"
#include "map_input/export_bounds.h"
#include "map_input/line_kind.h"
#include "map_input/symbol_classifier.h"

#include <chrono>
#include <iosfwd>
#include <string>
#include <vector>

namespace kib {

class CKibMap;
class SymbolSet;
struct MapLine;
struct SymbolInstance;

class MapReader {
  public:
    // source names the export in error lines (the station and task when empty).
    MapReader(CKibMap& map, int station, int task, std::string source = {});
    bool Read(std::istream& in);

  private:
    enum class Step { Next, Stop };
    enum State { Outside = 0, InSymbol = 1, InStyle = 2, InObject = 3 };

    void SetConfiguredIds();
    Step ProcessLine(MapLine& line);
    Step SvgOpen(const MapLine& line);
    Step FirstContent(MapLine& line);
    Step GroupOpen(MapLine& line);
    Step SymbolGroup(MapLine& line);
    void StyleGroup(const MapLine& line);
    Step ObjectGroup(MapLine& line);
    Step CircleOpen(MapLine& line);
    void PathData(const MapLine& line);
    std::size_t MovePoint(const std::string& text);
    std::size_t StraightPoint(const std::string& text, std::size_t from);
    std::size_t CurvePoint(const std::string& text);
    void GroupClose(MapLine& line);
    SymbolInstance* NewInstance(MapLine& line);
    void TrackGroups(LineKind kind, const std::string& text);
    bool FinishExtent(const DrawnExtent& extent, const StrokeStyle& style, SymbolInstance& inst);
    void TraceInstance(const SymbolInstance& inst) const;
    void Finish();
    void RefuseExport() const;

    CKibMap& map_;
    int station_;
    int task_;
    std::string source_;
    ExportBounds bounds_;
    SymbolClassifier classifier_;
    std::chrono::steady_clock::time_point start_;
    bool beforeSvg_ = true;
    bool svgClosed_ = false;
    State state_ = Outside;
    SymbolSet* currentSet_ = nullptr;
    int groupMajor_ = 0;
    int groupMinor_ = 0;
    SymbolType groupType_ = 0;
    MapLine* groupFirstLine_ = nullptr;
    SymbolInstance* instance_ = nullptr;
    int n_ = 0; // points read for the current path
    float prevX_ = 0.0f;
    float prevY_ = 0.0f;
    // What the current object draws, and the strokes its groups declare.
    DrawnExtent extent_;
    StrokeStyle symbolStyle_;
    StrokeStyle styleStyle_;
    StrokeStyle objectStyle_;
    // Open groups whose attributes may move or widen what they hold (a
    // transform, say): while one is open no extent is known.
    std::vector<bool> groupUnderstood_;
    int foreignGroups_ = 0;
};

} // namespace kib
