#include "map_input/map_reader.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/checked_number.h"
#include "foundation/format.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/line_ops.h"
#include "map_input/path_geometry.h"
#include "map_input/text_scan.h"

#include <cstdio>
#include <istream>
#include <string>

namespace kib {

namespace {

constexpr std::size_t kMaxSymbolName = 99;
constexpr const char* kSymbolGroupStart = "<g id=\"";

void SetDescriptionMajors(CKibMap& map, int base) {
    map.descMajors[3] = base;
    if (base == 16) {
        map.descMajors = {12, 14, 15, 16, 17, 18};
    } else {
        map.descMajors = {13, 16, 17, 18, 19, 20};
    }
}

// Replaces every "&" by "+"; true when there was one.
bool ReplaceAmpersands(std::string& text) {
    bool replaced = false;
    for (char& c : text) {
        if (c == '&') {
            c = '+';
            replaced = true;
        }
    }
    return replaced;
}

void SetPoint(SymbolInstance& inst, MapPoint p) {
    inst.firstPoint = inst.ref = inst.centre = inst.min = inst.max = p;
}

} // namespace

MapReader::MapReader(CKibMap& map, int station, int task, std::string source)
    : map_(map), station_(station), task_(task), source_(std::move(source)), classifier_(map) {}

void MapReader::SetConfiguredIds() {
    if (task_ != 0) {
        const CKibCfg& cfg = map_.GetConfig();
        map_.chairId = ParseSymbolId(cfg.Item(id::Source_CHAIR).GetValue());
        const std::string& flags = cfg.Item(id::Source_FLAG).GetValue();
        const std::size_t blank = flags.find(' ');
        if (blank == std::string::npos) {
            map_.correctFlagId = ParseSymbolId(flags);
            map_.falseFlagId = SymbolId{};
        } else {
            map_.correctFlagId = ParseSymbolId(std::string_view(flags).substr(0, blank));
            map_.falseFlagId = ParseSymbolId(std::string_view(flags).substr(blank + 1));
        }
        map_.zeroId = ParseSymbolId(cfg.Item(id::Source_ZERO).GetValue());
        map_.lettersId = ParseSymbolId(cfg.Item(id::Source_LETTERS).GetValue());
        map_.answersId = ParseSymbolId(cfg.Item(id::Source_ANSWERS).GetValue());
    } else {
        map_.chairId = SymbolId{790, 1, true};
        map_.correctFlagId = SymbolId{790, 2, true};
        map_.falseFlagId = SymbolId{790, 3, true};
        map_.zeroId = SymbolId{790, 4, true};
        map_.lettersId = SymbolId{791, 1, true};
        map_.answersId = SymbolId{};
    }
    map_.descColour = 0;
    map_.descMajors[3] = -1;
    map_.circleMajor = map_.circleFollower1 = map_.circleFollower2 = 0;
}

bool MapReader::Read(std::istream& in) {
    start_ = std::chrono::steady_clock::now();
    SetConfiguredIds();
    std::string text;
    for (;;) {
        const LineRead read = ReadBoundedLine(in, text);
        if (read == LineRead::End) {
            break;
        }
        if (read == LineRead::TooLong) {
            map_.Diag().Error("Line #%d of the map for %d.%d is longer than %d MiB: the file "
                              "is no map export!",
                              map_.lineCount + 1, station_, task_,
                              static_cast<int>(kMaxLineBytes >> 20));
            svgClosed_ = false;
            break;
        }
        // A carriage return before the line feed is not part of the line.
        if (!in.eof() && !text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (!bounds_.Feed(text)) {
            RefuseExport();
            svgClosed_ = false;
            break;
        }
        MapLine& line = map_.AppendLine(std::move(text));
        text = std::string();
        if (ProcessLine(line) == Step::Stop) {
            svgClosed_ = false;
            break;
        }
    }
    Finish();
    return svgClosed_ && map_.firstContentLine != nullptr;
}

// Every converter parses the sheets made of the export's lines: an export that
// nests too deep, expands its entities too far or names XInclude is not read.
void MapReader::RefuseExport() const {
    const std::string name = source_.empty() ? Format("for %d.%d", station_, task_) : source_;
    map_.Diag().Error("Line #%d of the map export %s %s: the export is refused!", bounds_.Line(),
                      name.c_str(), bounds_.Problem().c_str());
}

MapReader::Step MapReader::ProcessLine(MapLine& line) {
    const LineKind kind = ClassifyLine(line.text);
    if (kind == LineKind::SvgClose) {
        svgClosed_ = true;
    }
    if (kind == LineKind::SvgOpen) {
        return SvgOpen(line);
    }
    if (beforeSvg_ || kind == LineKind::DescOpen) {
        return Step::Next;
    }
    if (!map_.firstContentLine) {
        return FirstContent(line);
    }
    TrackGroups(kind, line.text);
    if (state_ == InObject && kind != LineKind::Plain && kind != LineKind::GroupClose) {
        extent_.MarkUnknown(); // an element the trimming does not know how far it draws
    }
    switch (kind) {
    case LineKind::GroupOpen:
        return GroupOpen(line);
    case LineKind::CircleOpen:
        return CircleOpen(line);
    case LineKind::Plain:
        if (state_ == InObject) {
            PathData(line);
        }
        return Step::Next;
    case LineKind::GroupClose:
        GroupClose(line);
        return Step::Next;
    default:
        return Step::Next;
    }
}

MapReader::Step MapReader::SvgOpen(const MapLine& line) {
    if (line.text.find("viewBox=\"0 0 ") == std::string::npos) {
        map_.Diag().Error("Unrecognized format of SVG tag '%s' in line #%d of the map for "
                          "%d.%d!",
                          line.text.c_str(), line.lineNo, station_, task_);
        return Step::Stop;
    }
    beforeSvg_ = false;
    return Step::Next;
}

MapReader::Step MapReader::FirstContent(MapLine& line) {
    map_.firstContentLine = &line;
    float zoom = 0.0f;
    if (std::sscanf(line.text.c_str(), "<g id=\"scaleTransform\" transform=\"scale(%f)\">",
                    &zoom) == 1) {
        if (!IsUsableMapZoom(zoom)) {
            map_.Diag().Error("Map zoom %g in line #%d of the map for %d.%d is out of range "
                              "(%g .. %g)!",
                              static_cast<double>(zoom), line.lineNo, station_, task_,
                              static_cast<double>(kMinMapZoom), static_cast<double>(kMaxMapZoom));
            return Step::Stop;
        }
        map_.zoom = zoom;
        map_.layout = CKibMap::kLayoutScaleGroup;
        return Step::Next;
    }
    if (line.text.starts_with("<pattern id=\"")) {
        map_.layout = CKibMap::kLayoutPattern;
        map_.zoom = 1.0f;
        return Step::Next;
    }
    map_.Diag().Error("Unrecognized map first line '%s' in line #%d of the map for %d.%d!",
                      line.text.c_str(), line.lineNo, station_, task_);
    return Step::Stop;
}

MapReader::Step MapReader::GroupOpen(MapLine& line) {
    if (line.text.starts_with(kSymbolGroupStart)) {
        return SymbolGroup(line);
    }
    if (state_ == InSymbol) {
        StyleGroup(line);
        styleStyle_ = Inherit(symbolStyle_, ReadStrokeStyle(line.text, 2));
        state_ = InStyle;
    } else if (state_ == InStyle) {
        return ObjectGroup(line);
    }
    return Step::Next;
}

MapReader::Step MapReader::SymbolGroup(MapLine& line) {
    if (ReplaceAmpersands(line.text)) {
        map_.Diag().Debug("Replaced '&' symbol in line #%d of the map for %d.%d!", line.lineNo,
                          station_, task_);
    }
    const std::string& text = line.text;
    std::size_t pos = std::char_traits<char>::length(kSymbolGroupStart);
    if (text.compare(pos, 4, "Sym_") == 0) {
        pos += 4;
    }
    TextScan scan(text, pos);
    int major = 0;
    int minor = 0;
    if (!scan.Int(major) || !scan.Literal(".") || !scan.Int(minor)) {
        return Step::Next;
    }
    scan.SkipSpace();
    const std::size_t nameStart = scan.Pos();
    std::size_t nameEnd = text.find_first_of(std::string_view("\"\0", 2), nameStart);
    if (nameEnd == std::string::npos) {
        nameEnd = text.size();
    }
    if (nameEnd <= nameStart || nameEnd - nameStart > kMaxSymbolName) {
        return Step::Next;
    }
    if (!SymbolRegistry::InRange(major) || !SymbolRegistry::InRange(minor)) {
        return Step::Next;
    }
    const std::string name = text.substr(nameStart, nameEnd - nameStart);
    const std::optional<SymbolType> type = classifier_.Classify(major, minor, name, line.lineNo);
    if (!type) {
        return Step::Next;
    }
    state_ = InSymbol;
    groupMajor_ = major;
    groupMinor_ = minor;
    groupType_ = *type;
    groupFirstLine_ = &line;
    map_.Diag().Debug("Symbols %d.%d (%s) of type 0x%02X starting from line #%d", major, minor,
                      name.c_str(), *type, line.lineNo);
    currentSet_ = map_.DefineSymbolSet(major, minor, *type, &line);
    symbolStyle_ = ReadStrokeStyle(text, 2);
    return Step::Next;
}

void MapReader::StyleGroup(const MapLine& line) {
    const bool descStyle = (groupMajor_ == 16 || groupMajor_ == 18) && groupMinor_ == 2;
    if (map_.descColour != 0 || !descStyle || !line.text.starts_with("<g stroke=")) {
        return;
    }
    TextScan scan(line.text);
    int r = 0;
    int g = 0;
    int b = 0;
    if (scan.Literal("<g stroke=\"rgb(") && scan.Int(r) && scan.Literal(", ") && scan.Int(g) &&
        scan.Literal(", ") && scan.Int(b)) {
        const unsigned colour = static_cast<unsigned>(r) + 256u * static_cast<unsigned>(g) +
                                65536u * static_cast<unsigned>(b);
        map_.descColour = static_cast<int>(colour);
        map_.Diag().Debug("Control description color: rgb(%d, %d, %d)", r, g, b);
    }
    SetDescriptionMajors(map_, groupMajor_);
}

SymbolInstance* MapReader::NewInstance(MapLine& line) {
    if (!currentSet_) {
        map_.Diag().Error("Internal error, current symbol set not established on line '%s'!",
                          line.text.c_str());
        return nullptr;
    }
    return &currentSet_->AddInstance(&line);
}

MapReader::Step MapReader::ObjectGroup(MapLine& line) {
    instance_ = NewInstance(line);
    if (!instance_) {
        return Step::Stop;
    }
    state_ = InObject;
    n_ = 0;
    extent_.Reset();
    objectStyle_ = Inherit(styleStyle_, ReadStrokeStyle(line.text, 2));
    return Step::Next;
}

MapReader::Step MapReader::CircleOpen(MapLine& line) {
    if (state_ != InStyle) {
        return Step::Next;
    }
    TextScan scan(line.text);
    float cx = 0.0f;
    float cy = 0.0f;
    if (!(scan.Literal("<circle cx=\"") && scan.Float(cx) && scan.Literal("\" cy=\"") &&
          scan.Float(cy))) {
        return Step::Stop;
    }
    SymbolInstance* inst = NewInstance(line);
    if (!inst) {
        return Step::Stop;
    }
    inst->points = 1;
    inst->isCircle = true;
    SetPoint(*inst, MapPoint{cx, cy});
    float radius = 0.0f;
    const StrokeStyle style = Inherit(styleStyle_, ReadCircleStyle(line.text, 7, radius));
    DrawnExtent extent;
    extent.Add(MapPoint{cx - radius, cy - radius});
    extent.Add(MapPoint{cx + radius, cy + radius});
    FinishExtent(extent, style, *inst);
    TraceInstance(*inst);
    return Step::Next;
}

void MapReader::PathData(const MapLine& line) {
    const std::string& text = line.text;
    if (text.empty() || !instance_) {
        return;
    }
    const char c = text[0];
    std::size_t read = 0; // characters of the line the point formats took
    if (c == 'd') {
        read = MovePoint(text);
    } else if (c == 'L') {
        read = StraightPoint(text, 1);
    } else if (c >= '0' && c <= '9') {
        read = StraightPoint(text, 0);
    } else if (c == 'C') {
        read = CurvePoint(text);
    }
    extent_.AddPathData(text, read);
}

std::size_t MapReader::MovePoint(const std::string& text) {
    TextScan scan(text);
    float x = 0.0f;
    float y = 0.0f;
    if (!(scan.Literal("d=\"M") && scan.Float(x) && scan.Literal(",") && scan.Float(y))) {
        return 0;
    }
    n_ = 1;
    instance_->points = 1;
    SetPoint(*instance_, MapPoint{x, y});
    prevX_ = x;
    prevY_ = y;
    extent_.Add(MapPoint{x, y});
    return scan.Pos();
}

std::size_t MapReader::StraightPoint(const std::string& text, std::size_t from) {
    TextScan scan(text, from);
    MapPoint p;
    if (!(scan.Float(p.x) && scan.Literal(",") && scan.Float(p.y))) {
        return 0;
    }
    SymbolInstance& inst = *instance_;
    if (n_ == 1) {
        inst.ref = Midpoint(inst.ref, p);
        inst.centre = Midpoint(inst.centre, p);
        inst.straightSecond = true;
    } else if (n_ == 2) {
        inst.ref = MapPoint{(2.0f * inst.ref.x + p.x) / 3.0f, (2.0f * inst.ref.y + p.y) / 3.0f};
        inst.centre =
            MapPoint{(2.0f * inst.centre.x + p.x) / 3.0f, (2.0f * inst.centre.y + p.y) / 3.0f};
    }
    ++n_;
    ++inst.points;
    Widen(inst.min, inst.max, p);
    extent_.Add(p);
    return scan.Pos();
}

std::size_t MapReader::CurvePoint(const std::string& text) {
    TextScan scan(text);
    MapPoint p1;
    MapPoint p2;
    MapPoint p3;
    if (!(scan.Literal("C") && scan.Float(p1.x) && scan.Literal(",") && scan.Float(p1.y) &&
          scan.Literal(" ") && scan.Float(p2.x) && scan.Literal(",") && scan.Float(p2.y) &&
          scan.Literal(" ") && scan.Float(p3.x) && scan.Literal(",") && scan.Float(p3.y))) {
        return 0;
    }
    SymbolInstance& inst = *instance_;
    if (n_ <= 2) {
        const MapPoint q = ArcCentre(MapPoint{prevX_, prevY_}, p1, p2, p3);
        if (n_ == 1) {
            inst.ref = Midpoint(inst.ref, p2);
            inst.centre = q;
        } else {
            inst.centre = Midpoint(inst.centre, q);
        }
    }
    prevX_ = p3.x;
    prevY_ = p3.y;
    ++inst.points;
    Widen(inst.min, inst.max, p3);
    ++n_;
    // A cubic curve lies within the hull of its end and control points.
    extent_.Add(p1);
    extent_.Add(p2);
    extent_.Add(p3);
    return scan.Pos();
}

void MapReader::GroupClose(MapLine& line) {
    switch (state_) {
    case InObject:
        instance_->lastLine = &line;
        FinishExtent(extent_, objectStyle_, *instance_);
        TraceInstance(*instance_);
        state_ = InStyle;
        break;
    case InStyle:
        state_ = InSymbol;
        break;
    case InSymbol:
        if (groupType_ & TYPE_HIDING_MASK) {
            HideLines(groupFirstLine_, &line, map_.Diag());
        }
        groupType_ = 0;
        state_ = Outside;
        break;
    case Outside:
        break;
    }
}

void MapReader::TrackGroups(LineKind kind, const std::string& text) {
    if (kind == LineKind::GroupOpen) {
        const std::size_t last = text.find_last_not_of(" \t\r");
        if (last != std::string::npos && last > 0 && text.compare(last - 1, 2, "/>") == 0) {
            return; // an empty group
        }
        const bool understood = ReadStrokeStyle(text, 2).understood;
        groupUnderstood_.push_back(understood);
        foreignGroups_ += understood ? 0 : 1;
    } else if (kind == LineKind::GroupClose && !groupUnderstood_.empty()) {
        foreignGroups_ -= groupUnderstood_.back() ? 0 : 1;
        groupUnderstood_.pop_back();
    }
}

bool MapReader::FinishExtent(const DrawnExtent& extent, const StrokeStyle& style,
                             SymbolInstance& inst) {
    inst.drawnKnown =
        foreignGroups_ == 0 && extent.Finish(StrokeReach(style), inst.drawnMin, inst.drawnMax);
    return inst.drawnKnown;
}

void MapReader::TraceInstance(const SymbolInstance& inst) const {
    map_.Diag().Debug(
        "Symbol %d.%d#%d (%d..%d): PTS=%d PT=%.3f,%.3f REF=%.3f,%.3f CENT=%.3f,%.3f", inst.major,
        inst.minor, inst.index, inst.firstLine ? inst.firstLine->lineNo : 0,
        inst.lastLine ? inst.lastLine->lineNo : 0, inst.points,
        static_cast<double>(inst.firstPoint.x), static_cast<double>(inst.firstPoint.y),
        static_cast<double>(inst.ref.x), static_cast<double>(inst.ref.y),
        static_cast<double>(inst.centre.x), static_cast<double>(inst.centre.y));
}

void MapReader::Finish() {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
    map_.Diag().Debug("Read %d lines in %.3f sec.", map_.lineCount, elapsed.count());
    map_.flagBundles = map_.Bundles(map_.correctFlagId);
    if (!(map_.falseFlagId == map_.correctFlagId)) {
        map_.flagBundles += map_.Bundles(map_.falseFlagId);
    }
    if (map_.descMajors[3] == -1) {
        return;
    }
    SymbolSet* lines = map_.FindSet(map_.descMajors[5], 1);
    SymbolInstance* first = lines ? lines->First() : nullptr;
    if (first && first->firstLine && !first->firstLine->hidden) {
        HideLines(first->firstLine, first->lastLine, map_.Diag());
    }
}

bool CKibMap::ParseMap(std::istream& in, int station, int task, const std::string& source) {
    MapReader reader(*this, station, task, source);
    const bool read = reader.Read(in);
    IndexObjects();
    return read;
}

} // namespace kib
