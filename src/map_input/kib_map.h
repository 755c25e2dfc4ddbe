// One map export of a station: its lines, its symbol registry and the results
// of the description, circle, chair and flag analyses.
#pragma once

#include "map_input/map_line.h"
#include "map_input/map_point.h"
#include "map_input/symbol_id.h"
#include "map_input/symbol_registry.h"
#include "map_input/symbol_set.h"

#include <array>
#include <deque>
#include <iosfwd>
#include <string>
#include <vector>

namespace kib {

class CKibCfg;
class CKibDoc;
class CKibSvg;

// Geometry of the exported control description table (unscaled map units).
struct DescFrame {
    float left = 0.0f;      // x of the left edge
    float top = 0.0f;       // y of the top of row 1
    float width = 0.0f;     // table width
    float rowHeight = 0.0f; // height of one row
};

class CKibMap {
  public:
    static constexpr int kLayoutScaleGroup = 10; // content wrapped in the scale group
    static constexpr int kLayoutPattern = 9;     // content begins with a pattern
    static constexpr int kMaxRow = 30;           // description rows 0 .. 30
    static constexpr int kRowEntries = 200;      // symbols kept per description row
    static constexpr int kMaxCircleParts = 100;
    static constexpr int kMaxBearings = 100;

    explicit CKibMap(CKibSvg& owner);
    CKibMap(const CKibMap&) = delete;
    CKibMap& operator=(const CKibMap&) = delete;

    CKibSvg& GetOwner() const { return owner_; }
    CKibDoc& GetDocument() const { return doc_; }
    CKibCfg& GetConfig() const { return cfg_; }
    // Where the map's reading and analyses report (its owner's diagnostics).
    Diagnostics& Diag() const;

    // Reads the export line by line into this (fresh) map; true only if the
    // closing svg tag was read and the content of the svg element was recognised.
    // An export beyond the bounds of export_bounds.h is refused with an error
    // naming source (the export's path) and the line.
    bool ParseMap(std::istream& in, int station, int task, const std::string& source = {});

    // Lines.
    MapLine& AppendLine(std::string text);
    MapLine* FirstLine() { return lines_.empty() ? nullptr : &lines_.front(); }
    MapLine* Line(int lineNo); // none outside 1 .. lineCount
    const std::deque<MapLine>& Lines() const { return lines_; }
    // Gives every registered object (its lines first through last) a block with
    // the count of its hidden lines, so that a sheet can jump over an object it
    // leaves out whole. Called once the map is read; an object whose lines
    // overlap another one's gets none.
    void IndexObjects();
    // The blocks of the objects in the order of their lines.
    const std::vector<LineBlock>& Blocks() const { return blocks_; }

    // Symbol registry.
    SymbolSet* DefineSymbolSet(int major, int minor, SymbolType type, MapLine* groupLine);
    SymbolSet* FindSet(int major, int minor) const { return registry_.Find(major, minor); }
    // None for an invalid id or one without a minor 0 .. 999.
    SymbolSet* FindSet(const SymbolId& id) const;
    int HighestMinor(int major) const { return registry_.HighestMinor(major); }
    const SymbolRegistry& Registry() const { return registry_; }
    // Bundles of a set (count / grouping factor); 0 for a missing or empty set.
    int Bundles(int major, int minor) const;
    int Bundles(const SymbolId& id) const;
    // Sum of the bundles of major.m ... major.(m + n - 1).
    int CountBundles(int major, int firstMinor, int n) const;

    // Analyses, in the order a read runs them.
    void CheckSpecialSymbols();
    void CheckFlagCount(int station);
    bool FindChair();
    void AnalyseViewingAngle(int station);
    void AnalyseDescriptions(int station);
    void AnalyseCircles(int station, int task);

    // Circle part p (0 .. partCount - 1); none outside.
    SymbolInstance* Part(int p) const;
    // Whether circle part p is drawn for the task (its assignment holds ":task:").
    bool PartHasTask(int p, int task) const;
    // The symbols kept for a description row: entries 1 .. RowEntryCount(row).
    int RowEntryCount(int row) const;
    SymbolInstance* RowEntry(int row, int k) const;

    // Read results.
    int layout = 0;
    int lineCount = 0;
    MapLine* firstContentLine = nullptr;
    int circleMajor = 0;             // control circle symbol major (702 or 703), 0 = none
    int circleFollower1 = 0;         // circleMajor + 1 (control numbers), 0 while none
    int circleFollower2 = 0;         // circleMajor + 2, 0 while none
    std::array<int, 6> descMajors{}; // D0 .. D5; D3 is -1 without a description style
    SymbolId chairId;
    SymbolId correctFlagId;
    SymbolId falseFlagId;
    SymbolId zeroId;
    SymbolId lettersId;
    SymbolId answersId;
    SymbolId circleId;  // circleMajor.0 once known
    int descColour = 0; // r + 256 g + 65536 b, 0 = not found
    float zoom = 1.0f;
    int flagBundles = 0;

    // Control description analysis.
    DescFrame descFrame;
    std::array<float, 10> columnEdges{};     // c0 .. c9
    std::array<int, kMaxRow + 1> rowCount{}; // symbols counted per row
    int tasks = 0;                           // task count of the station
    int taskEstimate = 0;                    // from the description rows
    int firstControlRow = -1;                // first row of the run the estimate counts, -1 = none

    // Start and control circle analysis.
    SymbolInstance* firstPart = nullptr;
    int partCount = 0;
    std::array<std::string, kMaxCircleParts> assignments; // ":" or ":1:3:"
    int unmatchedParts = 0;                               // parts near no course control
    int releasedParts = 0;                                // parts released by sharing
    // Against the whole course (every course control but the finish, whatever
    // the station's task count): the parts near none of its controls (numbered
    // from 0) and its controls near no part.
    std::vector<int> strayParts;
    std::vector<int> controlsWithoutCircle;
    // The point the parts' offsets are measured from: the start's centre, or
    // without a start the corner of the parts' centres.
    MapPoint circleBase;
    bool circleBaseIsStart = false;
    float circleDelta = 0.25f; // the tolerance of a part's place (Source.DELTA)

    // Chair, flags and viewing angle.
    SymbolInstance* chairInstance = nullptr;
    int rotation = -1; // 0 .. 359, -1 when none
    bool standardChairFlagsFound = false;
    bool standardLettersFound = false;

  private:
    CKibSvg& owner_;
    CKibDoc& doc_;
    CKibCfg& cfg_;
    std::deque<MapLine> lines_;
    std::vector<LineBlock> blocks_; // one per indexed object, in the order of their lines
    SymbolRegistry registry_;
    std::array<std::array<SymbolInstance*, kRowEntries>, kMaxRow + 1> rowSymbols_{};

    friend class DescriptionTable;
};

} // namespace kib
