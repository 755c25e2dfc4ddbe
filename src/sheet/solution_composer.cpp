#include "sheet/solution_composer.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/checked_number.h"
#include "foundation/first_letter.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/line_ops.h"
#include "map_input/station_items.h"
#include "sheet/competition_composer.h"
#include "sheet/export_body.h"
#include "sheet/kibage.h"
#include "sheet/map_adjust.h"
#include "sheet/sheet_frame.h"
#include "sheet/svg_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace kib {

namespace {

constexpr float kPi = 3.1415927f;
constexpr float kDegrees = 180.0f / kPi;

// A box in the turned frame around the chair (scaled map units).
struct Bounds {
    float minX = 0.0f, maxX = 0.0f, minY = 0.0f, maxY = 0.0f;

    void Add(MapPoint p) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    MapPoint Centre() const { return MapPoint{(minX + maxX) / 2.0f, (minY + maxY) / 2.0f}; }
};

// A point seen from the chair as distance and bearing (radians, clockwise from up).
struct Polar {
    float r = 0.0f;
    float theta = 0.0f;
};

Polar PolarOf(MapPoint d) {
    return Polar{std::sqrt(d.x * d.x + d.y * d.y), std::atan2(d.x, -d.y)};
}

MapPoint PointOf(Polar p) {
    return MapPoint{p.r * std::sin(p.theta), -p.r * std::cos(p.theta)};
}

// For the debug lines; a bearing that is no number (a degenerate flag) shows as 0.
int WholeDegrees(float radians) {
    return TruncateToIntOr(static_cast<double>(radians * kDegrees), 0);
}

// How far a map box of size millimetres reaches on a map drawn at factor (0 to 1)
// of its scale; beyond a kilometre of sheet it reaches everything anyway.
int Reach(int size, float factor) {
    constexpr double kEverything = 1000000.0;
    const double reach = std::ceil(static_cast<double>(static_cast<float>(size) / factor));
    return TruncateToIntOr(std::min(reach, kEverything), size);
}

// The font size of a row's label "station.task" in column A, in tenths of the
// row height: 6 for three characters; a longer label (a two-digit station or
// task) is sized by its length, so that it stays inside the square cell of
// column A also in the wider fallback fonts of Arial.
float ColumnAFontFactor(std::size_t length) {
    return length <= 3 ? 6.0f : 16.0f / static_cast<float>(length);
}

class SolutionComposer {
  public:
    SolutionComposer(CKibMap& map, CKibage& surface, std::ostream& out, int station, int position)
        : map_(map), cfg_(map.GetConfig()), doc_(map.GetDocument()), k_(surface), out_(out),
          s_(station), p_(position), row_((position + 1) / 2),
          rotation_(map.rotation < 0 ? 0 : map.rotation) {}

    bool Compose();

  private:
    bool StartSheet();
    void ComputeScales();
    void ApplyColours();
    void TurnSpecialSymbolsUpright();
    void TurnLettersUpright();
    bool FindView();
    Polar AddPoint(MapPoint inMap, Bounds& box);
    void WriteMap();
    void WriteControlNumbers();
    void DrawDecorations();
    void WriteDescriptions();
    void ShowAnswerSymbols();
    void WriteDescriptionRow(const DescGeometry& g, int t, bool last);
    void WriteRowSymbols(const DescGeometry& g, int t, bool& columnBFilled, bool& answerShown);
    void StationTexts();
    TextCellF DescCell(float x1, float y1, float x2, float y2, const std::string& text) const;

    CKibMap& map_;
    const CKibCfg& cfg_;
    const CKibDoc& doc_;
    CKibage& k_;
    std::ostream& out_;
    int s_;
    int p_;
    int row_;
    int rotation_;
    int solScale_ = 0;
    float factor_ = 1.0f;     // map scale / solution scale
    MapPoint chair_;          // the chair in scaled map units
    MapPoint middle_;         // the map point at the centre of the map box, scaled
    int x0_ = 0, y0_ = 0;     // top left of the map box on the sheet
    std::string answers_;     // the station's ANSWERS
    std::string letterRange_; // column B text for the station's flags
};

bool SolutionComposer::StartSheet() {
    if (out_.tellp() > 0) {
        return true;
    }
    if (!WriteSheetHeader(out_, k_, map_.FirstLine(), false)) {
        return false;
    }
    k_.DrawHeading(true);
    return true;
}

void SolutionComposer::ComputeScales() {
    const float zoom = map_.zoom;
    const int mapScale = ScaleOverZoom(doc_.mapScale, zoom);
    if (mapScale == 0) {
        k_.Diag().Error("Unknown original map scale!");
        solScale_ = 0;
        factor_ = 1.0f;
        return;
    }
    solScale_ = SolutionScale(doc_, s_, zoom);
    factor_ = solScale_ != 0 ? static_cast<float>(mapScale) / static_cast<float>(solScale_) : 1.0f;
}

void SolutionComposer::ApplyColours() {
    if (FirstLetter(cfg_.Item(id::Solutions_KIBSYMCOLOR).GetValue(), LetterCase::Either) == 'R') {
        const std::string red = "rgb(255,0,0)";
        SetSymbolColour(map_, map_.chairId, red, 1);
        SetSymbolColour(map_, map_.correctFlagId, red, 1);
        SetSymbolColour(map_, map_.falseFlagId, red, 1);
        SetSymbolColour(map_, map_.zeroId, red, 1);
        SetSymbolColour(map_, map_.lettersId, red, 6);
    }
    if (FirstLetter(cfg_.Item(id::MapColors_PURPLEMODE).GetValue(), LetterCase::Either) == 'D') {
        SetSymbolColour(map_, map_.circleId,
                        RgbText(cfg_.Color(id::MapColors_PURPLECOLOR).GetColor()), 1);
    }
    DarkenGreens(map_, cfg_.Item(id::MapColors_GREENDARKEN).GetInt());
}

// The chair, the flags and the zero are turned back by the map's rotation, so
// that they read upright once the whole map is turned.
void SolutionComposer::TurnSpecialSymbolsUpright() {
    RotateAllAboutFirst(map_.chairInstance, -rotation_, map_.Diag());
    const SymbolId* ids[3] = {&map_.correctFlagId, &map_.falseFlagId, &map_.zeroId};
    for (int k = 0; k < 3; ++k) {
        if (k == 1 && map_.falseFlagId == map_.correctFlagId) {
            continue;
        }
        SymbolSet* set = map_.FindSet(*ids[k]);
        if (set && set->First()) {
            set->ComputeGroupingFactor(map_.Diag());
            RotateBundles(set->First(), -rotation_, std::max(1, set->groupingFactor), map_.Diag());
        }
    }
    TurnLettersUpright();
}

// Each letter tag turns about the middle of its first object.
void SolutionComposer::TurnLettersUpright() {
    const SymbolId& letters = map_.lettersId;
    if (!letters.valid || letters.major < 0 || letters.major > 999) {
        return;
    }
    const int first = letters.minor < 0 ? 0 : letters.minor;
    const int last = letters.minor < 0 ? map_.HighestMinor(letters.major) : letters.minor + 5;
    for (int minor = first; minor <= std::min(last, 999); ++minor) {
        SymbolSet* set = map_.FindSet(letters.major, minor);
        SymbolInstance* inst = set ? set->First() : nullptr;
        if (!inst) {
            continue;
        }
        inst->ref =
            MapPoint{(inst->min.x + inst->max.x) / 2.0f, (inst->min.y + inst->max.y) / 2.0f};
        RotateAllAboutFirst(inst, -rotation_, map_.Diag());
    }
}

// A map point in the frame turned by the rotation about the chair, added to the box.
Polar SolutionComposer::AddPoint(MapPoint inMap, Bounds& box) {
    const MapPoint scaled{inMap.x * map_.zoom, inMap.y * map_.zoom};
    TracePoint(scaled, "Dup", map_.Diag());
    const MapPoint d{scaled.x - chair_.x, scaled.y - chair_.y};
    TracePoint(d, "Sub", map_.Diag());
    Polar polar = PolarOf(d);
    polar.theta += static_cast<float>(rotation_) * kPi / 180.0f;
    const MapPoint turned = PointOf(polar);
    TracePoint(turned, "Set", map_.Diag());
    // A degenerate flag (a curve whose centre is no number) has no place to show.
    if (std::isfinite(turned.x) && std::isfinite(turned.y)) {
        box.Add(turned);
    }
    return polar;
}

bool SolutionComposer::FindView() {
    chair_ = MapPoint{map_.chairInstance->ref.x * map_.zoom, map_.chairInstance->ref.y * map_.zoom};
    float width = 0.0f;
    if (std::sscanf(cfg_.Item(id::Solutions_CIRCLEW).GetValue().c_str(), "%f", &width) != 1) {
        width = 0.15f;
    }
    for (int p = 0; p < map_.partCount; ++p) {
        if (const SymbolInstance* part = map_.Part(p)) {
            Thin(*part, width, map_.Diag());
        }
    }
    Bounds box;
    bool found = false;
    for (int t = 1; t <= map_.tasks; ++t) {
        for (int p = 0; p < map_.partCount; ++p) {
            const SymbolInstance* part = map_.Part(p);
            if (!part || !map_.PartHasTask(p, t)) {
                continue;
            }
            const Polar polar = AddPoint(part->centre, box);
            k_.Diag().Debug("Task #%d, circle #%d polar: %.3f,%.3f(%d)", t, p + 1,
                            static_cast<double>(polar.r), static_cast<double>(polar.theta),
                            WholeDegrees(polar.theta));
            k_.Diag().Debug("Task #%d, circle #%d correction: %.3f .. %.3f,%.3f .. %.3f", t, p + 1,
                            static_cast<double>(box.minX), static_cast<double>(box.maxX),
                            static_cast<double>(box.minY), static_cast<double>(box.maxY));
            found = true;
            break; // the first part of a task is enough
        }
    }
    if (!found) {
        return false;
    }
    const SymbolSet* flagSets[2] = {
        map_.FindSet(map_.correctFlagId),
        map_.falseFlagId == map_.correctFlagId ? nullptr : map_.FindSet(map_.falseFlagId)};
    for (const SymbolSet* set : flagSets) {
        if (!set) {
            continue;
        }
        for (const SymbolInstance& flag : set->instances) {
            const Polar polar = AddPoint(flag.centre, box);
            k_.Diag().Debug("Flag #%d.%d polar: %.3f,%.3f(%d)", flag.minor, flag.index,
                            static_cast<double>(polar.r), static_cast<double>(polar.theta),
                            WholeDegrees(polar.theta));
            k_.Diag().Debug("Flag #%d.%d correction: %.3f .. %.3f,%.3f .. %.3f", flag.minor,
                            flag.index, static_cast<double>(box.minX),
                            static_cast<double>(box.maxX), static_cast<double>(box.minY),
                            static_cast<double>(box.maxY));
        }
    }
    // The middle of the box, turned back into the map and placed at the chair.
    const MapPoint centre = box.Centre();
    TracePoint(centre, "Center", map_.Diag());
    Polar polar = PolarOf(centre);
    k_.Diag().Debug("Midpoint: %.3f,%.3f = %f,%f(%d)", static_cast<double>(centre.x),
                    static_cast<double>(centre.y), static_cast<double>(polar.r),
                    static_cast<double>(polar.theta), WholeDegrees(polar.theta));
    polar.theta -= static_cast<float>(rotation_) * kPi / 180.0f;
    const MapPoint back = PointOf(polar);
    k_.Diag().Debug("Midpoint: %.3f,%.3f = %f,%f(%d)", static_cast<double>(back.x),
                    static_cast<double>(back.y), static_cast<double>(polar.r),
                    static_cast<double>(polar.theta), WholeDegrees(polar.theta));
    middle_ = MapPoint{back.x + chair_.x, back.y + chair_.y};
    TracePoint(middle_, "Add", map_.Diag());
    k_.Diag().Debug("Midpoint: %.3f,%.3f = %f,%f(%d)", static_cast<double>(middle_.x),
                    static_cast<double>(middle_.y), static_cast<double>(polar.r),
                    static_cast<double>(polar.theta), WholeDegrees(polar.theta));
    return true;
}

void SolutionComposer::WriteMap() {
    const bool left = p_ % 2 != 0;
    x0_ = (left ? k_.leftX : k_.rightX - k_.mapBoxW) + k_.borderWidth + k_.borderGap;
    y0_ = (row_ - 1) * k_.rowH + k_.rowTop + k_.segMargin + k_.borderWidth + k_.borderGap +
          (k_.modeWeb ? 0 : k_.rulerH);
    AppendF(out_,
            "<g id=\"solmap%d\" transform=\"translate(%d,%d)\" clip-path=\"url(#CANVAS)\">\r\n", s_,
            x0_, y0_);
    if (cfg_.Item(id::Target_REDUCESIZE).IsYes()) {
        // The map box shows 1 / factor of the map's size around the middle: a
        // map drawn smaller than its own scale reaches further.
        SheetLayout reach = k_;
        if (factor_ > 0.0f && factor_ < 1.0f) {
            reach.segW = Reach(reach.segW, factor_);
            reach.segH = Reach(reach.segH, factor_);
        }
        ReduceToSegment(map_, reach, middle_.x / map_.zoom, middle_.y / map_.zoom, true);
    }
    const std::string transform = Format(
        "translate(%d %d) scale(%.3f) translate(%.3f %.3f) rotate(%d %.3f %.3f) scale(%.3f)",
        k_.mapCentreX, k_.mapCentreY, static_cast<double>(factor_), static_cast<double>(-middle_.x),
        static_cast<double>(-middle_.y), rotation_, static_cast<double>(middle_.x),
        static_cast<double>(middle_.y), static_cast<double>(map_.zoom));
    k_.Diag().Debug("Transformation: %s", transform.c_str());
    out_ << "  <g transform=\"" << transform << "\">" << kCrLf;
    WriteMapBody(map_, out_);
    WriteControlNumbers();
    out_ << "    </g>" << kCrLf << "  </g>" << kCrLf << "</g>" << kCrLf;
}

// Each control number keeps its printed size and stays upright.
void SolutionComposer::WriteControlNumbers() {
    out_ << "    <g id=\"Control numbers\">" << kCrLf;
    if (!cfg_.Item(id::Solutions_TASKNUMS).IsYes() || map_.circleMajor <= 0) {
        return;
    }
    const SymbolSet* numbers = map_.FindSet(map_.circleFollower1, 0);
    if (!numbers) {
        return;
    }
    const double inverse = factor_ != 0.0f ? 1.0 / static_cast<double>(factor_) : 1.0;
    for (const SymbolInstance& number : numbers->instances) {
        const double bx = (number.min.x + number.max.x) / 2.0;
        const double by = (number.min.y + number.max.y) / 2.0;
        AppendF(out_,
                "        <g transform=\"translate(%f %f) scale(%f) rotate(%d) translate(%f %f)\">"
                "\r\n",
                bx, by, inverse, -rotation_, -bx, -by);
        WriteLines(number, "          ", out_);
        out_ << "      </g>" << kCrLf;
    }
}

void SolutionComposer::DrawDecorations() {
    if (k_.modeWeb) {
        return;
    }
    k_.DrawNorthArrows(rotation_, p_);
    k_.DrawSolutionStationLabel(s_, p_);
    k_.DrawSolutionScaleLabel(p_, solScale_);
    TextCell frame;
    frame.x1 = x0_;
    frame.y1 = y0_;
    frame.x2 = x0_ + k_.segW;
    frame.y2 = y0_ + k_.segH;
    frame.frameWidth = 2;
    frame.colour = k_.borderColour;
    k_.TextLine(frame);
}

TextCellF SolutionComposer::DescCell(float x1, float y1, float x2, float y2,
                                     const std::string& text) const {
    return DescriptionCell(map_, k_.descFont.family, x1, y1, x2, y2, text);
}

// The answer letters of the export's column H, hidden with the description
// table of the map, are shown again.
void SolutionComposer::ShowAnswerSymbols() {
    const SymbolId& answers = map_.answersId;
    if (!answers.valid || answers.major < 0 || answers.major > 999) {
        return;
    }
    const int first = answers.minor < 0 ? 0 : answers.minor;
    const int last = answers.minor < 0 ? map_.HighestMinor(answers.major) : answers.minor + 6;
    for (int minor = first; minor <= std::min(last, 999); ++minor) {
        SymbolSet* set = map_.FindSet(answers.major, minor);
        if (!set) {
            continue;
        }
        for (SymbolInstance& inst : set->instances) {
            if (inst.firstLine && inst.firstLine->hidden) {
                SetLinesHidden(inst.firstLine, inst.lastLine, false, map_.Diag());
            }
        }
    }
}

// The station's own texts of its description block: its configured answers and
// the letter range of its own flags (the sheet's layout holds one station's).
void SolutionComposer::StationTexts() {
    const CCfgItem* answers = StationItemOrNone(cfg_, s_, id::Station_ANSWERS);
    answers_ = answers ? answers->GetValue() : std::string();
    letterRange_ = k_.letterRange;
    if (letterRange_.size() == 3) {
        int flags = StationInt(cfg_, s_, id::Station_FLAGS);
        if (flags == 0) {
            flags = cfg_.Item(id::Event_FLAGS).GetInt();
        }
        if (flags == 0) {
            flags = map_.flagBundles;
        }
        if (flags == 0) {
            flags = 6;
        }
        letterRange_[2] = static_cast<char>('A' + std::clamp(flags, 1, 26) - 1);
    }
}

void SolutionComposer::WriteDescriptions() {
    StationTexts();
    const DescGeometry g = MeasuredTable(map_);
    const int tasks = map_.tasks;
    const int x = k_.descCentreX - k_.descTableW / 2;
    double y = 0.0;
    if (p_ % 2 != 0) {
        y = (row_ - 1) * k_.rowH + k_.rowTop + (k_.modeWeb ? k_.descMargin : k_.rulerH);
    } else {
        const int gap = k_.modeWeb ? k_.descMargin : (k_.compressed ? k_.rulerH : k_.arrowBox);
        y = row_ * k_.rowH + k_.rowTop - gap -
            static_cast<double>(tasks * g.rowHeight * static_cast<float>(k_.descTableW) / g.width);
    }
    AppendF(out_, "  <g id=\"soldsc%d\" transform=\"translate(%d,%.3f)\">\r\n", s_, x, y);
    AppendF(out_, "    <g stroke=\"%s\" transform=\"scale(%.3f)\">\r\n",
            RgbText(map_.descColour).c_str(),
            static_cast<double>(static_cast<float>(k_.descTableW) / g.width));
    out_ << "      <g id=\"upper border\">\r\n" << BorderStrokeGroup(map_, "0.50");
    AppendF(out_, "          <path d=\"M0.000,0.000 L%.3f,0.000\"/>\r\n",
            static_cast<double>(g.width));
    out_ << "        </g>\r\n"
         << "      </g>\r\n";
    ShowAnswerSymbols();
    for (int t = 1; t <= tasks; ++t) {
        WriteDescriptionRow(g, t, t == tasks);
    }
    out_ << "    </g>\r\n"
         << "  </g>\r\n";
}

void SolutionComposer::WriteDescriptionRow(const DescGeometry& g, int t, bool last) {
    const float w = g.width;
    const float h = g.rowHeight;
    const float top = static_cast<float>(t - 1) * h;
    const float bottom = static_cast<float>(t) * h;
    out_ << "      <g id=\"lower border\">\r\n" << BorderStrokeGroup(map_, last ? "0.50" : "0.25");
    AppendF(out_, "          <path d=\"M0.000,%.3f L%.3f,%.3f\"/>\r\n", static_cast<double>(bottom),
            static_cast<double>(w), static_cast<double>(bottom));
    out_ << "        </g>\r\n"
         << "      </g>\r\n";

    const std::string label = Format("%d.%d", s_, t);
    TextCellF number = DescCell(0.0f, top, h, bottom, label);
    number.fontSize = TruncateToIntOr(static_cast<double>(ColumnAFontFactor(label.size()) * h), 0);
    k_.TextLine(number);

    bool columnBFilled = false;
    bool answerShown = false;
    WriteRowSymbols(g, t, columnBFilled, answerShown);
    // The station's configured answer fills column H of a row that carries no
    // answer letter of the export.
    if (!answerShown && static_cast<int>(answers_.size()) >= t) {
        k_.TextLine(
            DescCell(w - h, top, w, bottom, answers_.substr(static_cast<size_t>(t - 1), 1)));
    }
    if (k_.colBMode == 0 && !columnBFilled) {
        k_.Diag().Error("Column B of control description is empty in task %d.%d!", s_, t);
    }
    if (k_.colBMode == 2 || (k_.colBMode == 1 && !columnBFilled)) {
        k_.TextLine(DescCell(g.c1 - g.c0, top, g.c2 - g.c0 + 0.3f, bottom, letterRange_));
    }
}

// The symbols of the export's row of task t, moved onto row t of the block. The
// export's horizontal table lines are left out: the block draws its own.
void SolutionComposer::WriteRowSymbols(const DescGeometry& g, int t, bool& columnBFilled,
                                       bool& answerShown) {
    const int row = TaskDescriptionRow(map_, t, t + 1);
    const int tableLines = map_.descMajors[3];
    const int columnBMajor = map_.descMajors[4];
    const double dx = -g.left;
    const double dy = -g.top - static_cast<double>(row - t) * g.rowHeight;
    for (int k = 1; k <= map_.RowEntryCount(row); ++k) {
        const SymbolInstance* inst = map_.RowEntry(row, k);
        if (!inst) {
            continue;
        }
        if (inst->major == tableLines && inst->firstPoint.y == inst->ref.y) {
            continue;
        }
        if (inst->column == 2 && inst->major == columnBMajor) {
            columnBFilled = true;
            if (k_.colBMode == 2) {
                continue;
            }
        }
        if (map_.answersId.valid && (inst->type & TYPE_ANSWER)) {
            answerShown = true;
        }
        AppendF(out_, "      <g id=\"%d.%d#%d\" transform=\"translate(%.3f %.3f)\">\r\n",
                inst->major, inst->minor, inst->index, dx, dy);
        WriteLines(*inst, "        ", out_);
        out_ << "      </g>" << kCrLf;
    }
}

bool SolutionComposer::Compose() {
    ComputeScales();
    if (!StartSheet()) {
        return false;
    }
    ApplyColours();
    if (!map_.FindChair()) {
        k_.Diag().Error("Chair position not defined for station %d!", s_);
        return false;
    }
    TurnSpecialSymbolsUpright();
    if (map_.tasks < 1 || !FindView()) {
        return false;
    }
    k_.DrawSolutionRuler(row_);
    WriteMap();
    DrawDecorations();
    WriteDescriptions();
    return true;
}

} // namespace

int SolutionScale(const CKibDoc& doc, int station, float divisor) {
    const CKibCfg* cfg = doc.GetConfig();
    if (!cfg) {
        return 0;
    }
    return cfg->GetSolutionScale(station, doc.mapScale, divisor);
}

bool ComposeSolutionMap(CKibMap& map, CKibage& surface, std::ostream& out, int station,
                        int position) {
    if (position < 1) {
        position = 1;
    }
    SolutionComposer composer(map, surface, out, station, position);
    return composer.Compose();
}

} // namespace kib
