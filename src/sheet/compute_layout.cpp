// The canvas and sheet layout of one station: sizes, size checks and positions.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/first_letter.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "sheet/kibage.h"
#include "sheet/layout_memo.h"
#include "sheet/svg_text.h"

#include <algorithm>
#include <cctype>

namespace kib {

namespace {

char UpperAt(const std::string& text, size_t i) {
    return i < text.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(text[i])))
                           : '\0';
}

char At(const std::string& text, size_t i) {
    return i < text.size() ? text[i] : '\0';
}

// Readers of effective configuration values.
class Values {
  public:
    explicit Values(const CKibCfg& cfg) : cfg_(cfg) {}
    const std::string& Text(int id) const { return cfg_.Item(id).GetValue(); }
    int Int(int id) const { return cfg_.Item(id).GetInt(); }
    // A length in millimetres, within the layout's bound.
    int Length(int id) const { return BoundedLength(Int(id)); }
    // Yes unless the value begins with N or n.
    bool Yes(int id) const { return IsYes(Text(id)); }
    char First(int id) const { return FirstLetter(Text(id), LetterCase::Either); }
    int Colour(int id) const { return cfg_.Color(id).GetColor(); }
    // A configured font family, or the default font when it is empty.
    std::string Family(int id, const std::string& defaultFont) const {
        const std::string& family = Text(id);
        return family.empty() ? defaultFont : family;
    }
    bool HasStation(int n) const { return n >= 0 && n < kStationCount; }
    const CCfgItem* StationItem(int n, int id) const {
        return HasStation(n) ? &cfg_.StationItem(n, id) : nullptr;
    }

  private:
    const CKibCfg& cfg_;
};

// An error of the size checks: unless quiet it is an error; a quiet check (the
// preview, a probe) leaves it for the Debug pane only.
void ReportLayoutError(Diagnostics& diagnostics, bool quiet, const std::string& text) {
    Diagnostic entry;
    entry.kind = quiet ? DiagnosticKind::Debug : DiagnosticKind::Error;
    entry.text = text;
    diagnostics.Report(entry);
}

// The advice of the canvas height error: what to make smaller, by what set the height.
const char* HeightAdvice(CanvasHeightBy by) {
    switch (by) {
    case CanvasHeightBy::Tabs:
        return "reduce size of order tabs and pointing board";
    case CanvasHeightBy::Heading:
        return "reduce size of map, heading and pointing board";
    default:
        return "reduce size of map, descriptions and pointing board";
    }
}

} // namespace

std::string FormatScale(int scale) {
    if (scale == 0) {
        return std::string();
    }
    if (scale < 1000) {
        return Format("1 : %03d", scale);
    }
    return Format("1 : %d %03d", scale / 1000, scale % 1000);
}

namespace {

// What a layout is computed from, as the memo compares it: the settings as read,
// without the texts that take no measured room and the line that leads errors.
SheetLayout MemoInputs(const SheetLayout& read) {
    SheetLayout inputs = read;
    inputs.scaleText.clear();
    inputs.scaleLine.clear();
    inputs.errorLead.clear();
    return inputs;
}

} // namespace

bool CKibage::ComputeLayout(bool quiet, bool isSolution, int scale, int stationNo, int defaultTasks,
                            int defaultFlags) {
    SheetLayout inputs;
    if (memo_) {
        // Every field from its start value, so that the settings as read tell the
        // layout whatever was computed on this surface before.
        const std::string lead = errorLead;
        static_cast<SheetLayout&>(*this) = SheetLayout{};
        errorLead = lead;
    }
    ReadSwitchesAndTexts(isSolution, scale, stationNo, defaultTasks, defaultFlags);
    if (memo_) {
        inputs = MemoInputs(*this);
        if (const SheetLayout* kept = memo_->Find(inputs)) {
            const SheetLayout read = *this;
            static_cast<SheetLayout&>(*this) = *kept;
            scaleText = read.scaleText;
            scaleLine = read.scaleLine;
            errorLead = read.errorLead;
            Diag().Debug("Layout of station %d (%s sheets) as computed before.", station,
                         solution ? "solution" : "competition");
            return true;
        }
    }
    if (!quiet) {
        Diag().Debug("Layout of station %d (%s sheets) computed.", station,
                     solution ? "solution" : "competition");
    }
    sheetW = sheetH = canvasW = canvasH = canvasesPerSheet = 0;
    tileColumns = tileRows = false;
    if (solution) {
        ComputeSolutionSheet();
    } else {
        ComputeCompetitionSheet();
    }
    ComputeSegmentAndDecorations();
    int needW = 0;
    int needH = 0;
    CanvasHeightBy heightBy = CanvasHeightBy::Map;
    ComputeNeededSize(needW, needH, heightBy);
    const bool ok = CheckSizes(quiet, needW, needH, heightBy);
    ComputePositions();
    if (!ok && !quiet) {
        ShowBox(cfg_.GetHost(), "Configuration is not correct!", BoxIcon::Error);
    }
    if (ok && memo_) {
        memo_->Keep(inputs, *this);
    }
    return ok;
}

void CKibage::ReadSwitchesAndTexts(bool isSolution, int scale, int stationNo, int defaultTasks,
                                   int defaultFlags) {
    const Values v(cfg_);
    modeAnt = v.First(id::Target_MODE) == 'A';
    modeWeb = v.First(id::Target_MODE) == 'W';
    drawTabs = v.Yes(id::OrderTabs_DRAW);
    tabsCover = v.Yes(id::OrderTabs_COVER);
    drawBoard = v.Yes(id::PointBoard_DRAW);
    zeroTab = v.Yes(id::Event_ZERO);
    fullWords = v.Yes(id::PointBoard_FULLWORDS);
    coverOnly = v.Yes(id::Heading_COVERONLY);
    solution = isSolution;
    station = stationNo;

    const CCfgItem* stationTasks = v.StationItem(stationNo, id::Station_TASKS);
    tasks = stationTasks != nullptr && stationTasks->IsSet() ? stationTasks->GetInt()
                                                             : v.Int(id::Event_TASKS);
    if (tasks == 0) {
        tasks = defaultTasks;
    }
    const CCfgItem* stationFlags = v.StationItem(stationNo, id::Station_FLAGS);
    flags = stationFlags != nullptr ? stationFlags->GetInt() : 0;
    if (flags == 0) {
        flags = v.Int(id::Event_FLAGS);
    }
    if (flags == 0) {
        flags = defaultFlags;
    }
    if (flags == 0) {
        flags = 6;
    }
    timeLimit = v.Int(id::Event_LIMIT);
    if (timeLimit == 0) {
        timeLimit = 30 * tasks;
    }

    defaultFont = v.Text(id::Target_FONTNAME);
    printMargin = solution ? v.Length(id::Solutions_PRINTMARGIN) : v.Length(id::Target_MARGIN);

    scaleText = FormatScale(scale != 0 ? scale : v.Int(id::Event_SCALE));
    if (solution && v.Int(id::Solutions_SCALE) != 0) {
        scaleText = FormatScale(v.Int(id::Solutions_SCALE));
    }
    std::string equid = v.Text(id::Event_EQUID);
    if (!equid.empty() && equid.find('m') == std::string::npos) {
        equid += " m";
    }
    scaleLine = scaleText;
    if (!scaleText.empty() && !equid.empty()) {
        scaleLine += ", ";
    }
    scaleLine += equid;

    title1 = v.Text(id::Event_TITLE1);
    title2 = v.Text(id::Event_TITLE2);
    date = v.Text(id::Event_DATE);
    eventClass = v.Text(id::Event_CLASS);
    stationWord = v.Text(id::Text_STATION);
    tasksWord = v.Text(id::Text_TASKS);
    limitWord = v.Text(id::Text_LIMIT);
    stationLabel = stationWord + ": " + std::to_string(station);
    stationClassLabel = stationLabel;
    if (!eventClass.empty()) {
        stationClassLabel += " (" + eventClass + ")";
    }
}

void CKibage::ComputeSolutionSheet() {
    const Values v(cfg_);
    compressed = v.Yes(id::Solutions_COMPRESSED);
    drawTabs = drawBoard = false;
    if (modeWeb) {
        return;
    }
    sheetW = 210;
    sheetH = 297;
    const std::string& form = v.Text(id::Solutions_SHEET);
    if (FirstLetter(form, LetterCase::Either) == 'A') {
        if (At(form, 1) == '4' && UpperAt(form, 2) == 'L') {
            sheetW = 297;
            sheetH = 210;
        } else if (At(form, 1) == '5') {
            sheetW = 210;
            sheetH = 148;
        }
    }
    sheetW -= 2 * printMargin;
    sheetH -= 2 * printMargin;
    canvasW = sheetW;
    canvasH = sheetH;
}

void CKibage::ComputeCompetitionSheet() {
    if (modeAnt || modeWeb) {
        drawTabs = drawBoard = false;
        return;
    }
    const Values v(cfg_);
    canvasW = v.Length(id::Target_CANVASW);
    canvasH = v.Length(id::Target_CANVASH);
    const std::string& canvas = v.Text(id::Target_CANVAS);
    if (FirstLetter(canvas, LetterCase::Either) == 'A') {
        if (At(canvas, 1) == '4') {
            const bool landscape = UpperAt(canvas, 2) == 'L';
            canvasW = landscape ? 292 : 206;
            canvasH = landscape ? 206 : 292;
        } else if (At(canvas, 1) == '5') {
            const bool full = UpperAt(canvas, 2) == 'F';
            canvasW = full ? 210 : 206;
            canvasH = full ? 148 : 144;
        }
    }
    const std::string& sheet = v.Text(id::Target_SHEET);
    if (FirstLetter(sheet, LetterCase::Either) != 'A') {
        return;
    }
    const char third = UpperAt(sheet, 2);
    if (At(sheet, 1) == '3') {
        sheetW = 420;
        sheetH = 297;
        tileColumns = true;
        tileRows = canvasH < 148;
        canvasesPerSheet = tileRows ? 4 : 2;
    } else if (At(sheet, 1) == '4' && third == 'L') {
        sheetW = 297;
        sheetH = 210;
    } else if (At(sheet, 1) == '4' && (third == 'T' || third == 'M')) {
        sheetW = 210;
        sheetH = 297;
        tileRows = true;
        canvasesPerSheet = 2;
    } else if (At(sheet, 1) == '4' && third == 'P') {
        sheetW = 210;
        sheetH = 297;
    } else if (At(sheet, 1) == '5') {
        sheetW = 210;
        sheetH = 148;
    }
}

void CKibage::ComputeSegmentAndDecorations() {
    const Values v(cfg_);
    headLeft = v.Length(id::Heading_LMARGIN);
    headTop = v.Length(id::Heading_TMARGIN);
    titleGap = 2;
    headingFont = {v.Length(id::Heading_FONTSIZE), v.Colour(id::Heading_COLOR),
                   v.Family(id::Heading_FONTNAME, defaultFont)};
    coverFont = {v.Length(id::Cover_FONTSIZE), v.Colour(id::Cover_COLOR),
                 v.Family(id::Cover_FONTNAME, defaultFont)};
    segRadius = v.Length(id::MapSegment_SIZE) / 2;

    if (!solution) {
        descCell = v.Length(id::Descriptions_SIZE);
        descTableW = 8 * descCell;
        descMargin = v.Length(id::Descriptions_MARGIN);
        borderWidth = modeWeb ? 0 : v.Length(id::MapBorder_WIDTH);
        borderGap = modeWeb ? 0 : v.Length(id::MapBorder_PAD);
        borderColour = v.Colour(id::MapBorder_COLOR);
        circleShape = v.First(id::MapSegment_SHAPE) != 'S';
        segW = segH = 2 * segRadius;
        segMargin = v.Length(id::MapSegment_MARGIN);
        segTop = v.Length(id::MapSegment_TOP);
        segBottom = v.Length(id::MapSegment_BOTTOM);
        mapBoxW = mapBoxH = 2 * (segRadius + borderWidth + segMargin + borderGap);
    } else {
        sheetMargin = v.Length(id::Solutions_SHEETMARGIN);
        descCell = v.Length(id::Solutions_DESCWIDTH) / 8;
        descTableW = 8 * descCell;
        descMargin = 0;
        borderColour = v.Colour(id::Solutions_BORDERCOLOR);
        borderWidth = borderGap = segMargin = 0;
        segH = v.Length(id::Solutions_MAPHEIGHT);
        if (segH == 0) {
            segH = 64;
        }
        mapBoxH = segH;
        segW = v.Length(id::Solutions_MAPWIDTH);
        if (segW == 0) {
            segW = modeWeb ? 64 : (sheetW - descTableW) / 2 - sheetMargin - 5;
        }
        mapBoxW = segW;
        Diag().Debug("Used map size %dx%d", segW, segH);
        circleShape = false;
        title1Size = v.Length(id::Solutions_TITLE1SIZE);
        title2Size = v.Length(id::Solutions_TITLE2SIZE);
    }

    tabSize = drawTabs ? v.Length(id::OrderTabs_SIZE) : 0;
    tabLeft = drawTabs ? v.Length(id::OrderTabs_LMARGIN) : 0;
    tabRight = drawTabs ? v.Length(id::OrderTabs_RMARGIN) : 0;
    tabTop = drawTabs ? v.Length(id::OrderTabs_TMARGIN) : 0;
    tabBottom = drawTabs ? v.Length(id::OrderTabs_BMARGIN) : 0;
    tabsW = tabLeft + tabRight + tabSize;
    tabsFont = {0, v.Colour(id::OrderTabs_COLOR), v.Family(id::OrderTabs_FONTNAME, defaultFont)};
    statNum = !solution && v.Yes(id::OrderTabs_STATNUM);

    descFont = {0, 0, v.Family(id::Descriptions_FONTNAME, defaultFont)};
    letterRange = "A-F";
    letterRange[2] = static_cast<char>('A' + std::clamp(flags, 1, 26) - 1);
    switch (v.First(id::Descriptions_COLB)) {
    case 'K':
        colBMode = 0;
        letterRange.clear();
        break;
    case 'M':
        colBMode = 2;
        break;
    default:
        colBMode = 1;
    }

    if (!solution) {
        arrowSize = v.Length(id::NorthArrow_SIZE);
        arrowMargin = v.Length(id::NorthArrow_MARGIN);
        const char side = v.First(id::NorthArrow_SIDE);
        arrowSide = side == 'L' ? 1 : (side == 'R' ? 2 : 0);
        arrowLinkMap = v.First(id::NorthArrow_LINKAGE) != 'D';
        northLines = v.Yes(id::NorthArrow_LINES) && circleShape;
    } else if (modeWeb) {
        arrowSide = 2;
        arrowSize = v.Length(id::NorthArrow_SIZE);
        arrowMargin = v.Length(id::NorthArrow_MARGIN);
        northLines = false;
    } else {
        arrowSide = 0;
        arrowSize = 10;
        arrowMargin = compressed ? 1 : 2;
        northLines = false;
    }
    arrowBox = arrowSize + 2 * arrowMargin;
    arrowColour = v.Colour(id::NorthArrow_COLOR);

    descRowH = descCell + 2 * descMargin;
    if (!arrowLinkMap) {
        descRowH = std::max(descRowH, arrowBox);
    }

    if (drawBoard) {
        boardSize = v.Length(id::PointBoard_SIZE);
        boardMargin = v.Length(id::PointBoard_MARGIN);
        boardH = boardSize + 2 * boardMargin;
        boardFont = {0, v.Colour(id::PointBoard_COLOR),
                     v.Family(id::PointBoard_FONTNAME, defaultFont)};
    } else {
        boardSize = boardMargin = boardH = boardCellW = boardLeft = 0;
    }
}

void CKibage::ComputeNeededSize(int& needW, int& needH, CanvasHeightBy& heightBy) {
    const Values v(cfg_);
    if (solution && !modeWeb) {
        rulerH = v.Length(id::Solutions_RULERHEIGHT);
        logoH = v.Length(id::Solutions_LOGOHEIGHT);
        logoW = v.Length(id::Solutions_LOGOWIDTH);
        logoTop = v.Length(id::Solutions_LOGOTOP);
        descMargin = std::max(1, (sheetW - 2 * (mapBoxW + sheetMargin) - descTableW) / 2);
        needW = descTableW + 2 * (mapBoxW + descMargin + sheetMargin);
        Diag().Debug("Column widths: %d=%d/%d/%d/%d/%d/%d/%d/%d/%d", needW + 2 * printMargin,
                     printMargin, sheetMargin, segW, descMargin, descTableW, descMargin, segW,
                     sheetMargin, printMargin);
        titleTop = leftX = rowTop = sheetMargin;
        rightX = sheetW - sheetMargin;
        if (title1Size != 0) {
            rowTop += title1Size;
        }
        if (!compressed && title2Size != 0) {
            rowTop += title2Size + (title1Size != 0 ? titleGap : 0);
        }
        // The description column of a row, below its ruler: the left map's block at
        // the top, the right map's block at the bottom, above the arrow box of the
        // maps (or, compressed, above a ruler's height), and between the two blocks
        // a ruler's height (or, compressed, the band of the north arrows and scale
        // labels, which stand beside the maps in the middle of the row).
        const int blocks = (descTableW * tasks * 2) / 8;
        const int d = compressed ? blocks + rulerH + arrowSize : blocks + rulerH + arrowBox;
        rowH = std::max(mapBoxH + (compressed ? 0 : arrowBox), d) + rulerH;
        rowsPerSheet = rowH > 0 ? (sheetH - sheetMargin - logoTop - logoH - rowTop) / rowH : 0;
        Diag().Debug("Map row height: %d=%d/%d|%d/%d", rowH, rulerH, segH, d, arrowBox);
        Diag().Debug("Row heights: %d=%d/%d/%d/%d*%d/%d/%d/%d",
                     rowsPerSheet * rowH + logoH + 2 * printMargin + rowTop + logoTop + sheetMargin,
                     printMargin, sheetMargin, rowTop - titleTop, rowsPerSheet, rowH, logoH,
                     sheetMargin, printMargin);
        needH = 0;
    } else if (solution) {
        titleTop = leftX = rowTop = sheetMargin = logoH = rulerH = 0;
        arrowSide = 0;
        rowH = std::max(segH, arrowBox + (tasks * descTableW) / 8 + 2 * descMargin);
        rightX = segW;
        needW = segW;
        needH = rowH;
        rowsPerSheet = 1;
    } else if (modeWeb) {
        arrowSide = 1;
        needW = descTableW + 2 * (segMargin + descMargin) + segW;
        needH = segBottom + segTop;
        rowsPerSheet = 1;
    } else {
        const int a = arrowLinkMap ? arrowBox : 0;
        const int b = arrowLinkMap ? 0 : arrowBox;
        const int mapColumn = segW + 2 * (a + segMargin);
        const int descColumn = descTableW + 2 * (descMargin + b);
        needW = std::max(mapColumn, descColumn) + tabsW;
        needH = descRowH + 2 * segMargin + segH;
        Diag().Debug("Canvas height by map: %d=%d+2*%d+%d+%d", needH + boardH, segH, segMargin,
                     descRowH, boardH);
        rowsPerSheet = 1;
        NeedHeadingRoom(needH, heightBy);
    }

    const int cover = tabsCover ? 1 : 0;
    const int t = (tasks + cover) * tabSize + tabTop + tabBottom;
    if (t > needH) {
        needH = t;
        heightBy = CanvasHeightBy::Tabs;
        Diag().Debug("Canvas height by tabs: %d=%d+%d*%d+%d+%d", t + boardH, tabTop, tasks + cover,
                     tabSize, tabBottom, boardH);
    }
    needH += boardH;
}

// The title lines of a competition heading run across the canvas above the map:
// the map (with its border, and the north arrows beside it) is centred in the
// height above the descriptions and the pointing board, so the canvas must be
// high enough for the map's top to stay below the titles. The station and scale
// lines stand at the sides of the map's top and are not counted.
void CKibage::NeedHeadingRoom(int& needH, CanvasHeightBy& heightBy) const {
    if (modeAnt || modeWeb || (title1.empty() && title2.empty())) {
        return;
    }
    const int titleBottom = headTop - headingFont.size / 2;
    const int mapHalf =
        std::max(segRadius + borderGap + borderWidth, arrowLinkMap ? arrowSize / 2 : 0);
    const int need = 2 * (titleBottom + mapHalf) + descRowH;
    if (need > needH) {
        needH = need;
        heightBy = CanvasHeightBy::Heading;
        Diag().Debug("Canvas height by heading: %d=2*(%d+%d)+%d+%d", need + boardH, titleBottom,
                     mapHalf, descRowH, boardH);
    }
}

bool CKibage::CheckSizes(bool quiet, int needW, int needH, CanvasHeightBy heightBy) {
    bool ok = true;
    // The first error of a computation that is not quiet comes after the lead line.
    const auto report = [this, quiet, &ok](const std::string& line) {
        if (ok && !quiet && !errorLead.empty()) {
            Diag().Say(DiagnosticKind::Error, errorLead);
        }
        ReportLayoutError(Diag(), quiet, line);
        ok = false;
    };
    if (canvasH != 0 && needH > canvasH) {
        report(Format("Insufficient canvas height (needed %d, set %d)! "
                      "Increase configured canvas size or %s.",
                      needH, canvasH, HeightAdvice(heightBy)));
    } else if (canvasH == 0) {
        canvasH = needH;
    }
    if (canvasW != 0 && needW > canvasW) {
        report(Format("Insufficient canvas width (needed %d, set %d)! "
                      "Increase configured canvas size or reduce size of map and "
                      "decorations.",
                      needW, canvasW));
    } else if (canvasW == 0) {
        canvasW = needW;
    }
    Diag().Debug("Canvas final size: %dx%d", canvasW, canvasH);

    const int tiledH = (tileRows ? 2 : 1) * canvasH;
    if (sheetH != 0 && tiledH > sheetH) {
        report(Format("Insufficient sheet height (needed %d, set %d)! "
                      "Increase configured sheet size or reduce canvas size.",
                      tiledH, sheetH));
    } else if (sheetH == 0) {
        sheetH = canvasH;
    }
    const int tiledW = (tileColumns ? 2 : 1) * canvasW;
    if (sheetW != 0 && tiledW > sheetW) {
        report(Format("Insufficient sheet width (needed %d, set %d)! "
                      "Increase configured sheet size or reduce canvas size.",
                      tiledW, sheetW));
    } else if (sheetW == 0) {
        sheetW = canvasW;
    }
    Diag().Debug("Sheet final size: %dx%d", sheetW, sheetH);
    // A printed solution sheet must hold at least one row of maps.
    if (solution && !modeWeb && rowsPerSheet < 1) {
        report(Format("Insufficient sheet height for a row of solution maps "
                      "(needed %d, set %d)!",
                      rowTop + rowH + logoTop + logoH + sheetMargin, sheetH));
    }
    return ok;
}

void CKibage::ComputePositions() {
    const Values v(cfg_);
    if (solution) {
        if (modeWeb) {
            arrowX = descTableW / 2 + segRadius + descMargin;
            arrowY = rowH - arrowBox / 2;
            descTop = arrowBox + descMargin;
            descCentreX = (descTableW + 1) / 2 + descMargin + mapBoxW;
            headRight = canvasW - v.Length(id::Heading_RMARGIN) - tabsW;
        } else {
            arrowX = 0;
            descCentreX = sheetW / 2;
        }
        mapCentreX = mapBoxW / 2;
        mapCentreY = mapBoxH / 2;
    } else if (modeWeb) {
        mapCentreX = segMargin + 2 * descMargin + segRadius + descTableW;
        mapCentreY = segTop;
        descTop = canvasH - descRowH;
        descCentreX = descMargin + (descTableW + 1) / 2;
        arrowX = segMargin + segRadius + descCentreX;
        arrowY = descTop - arrowBox / 2;
    } else {
        mapCentreY = modeAnt ? segRadius + segMargin : (canvasH - boardH - descRowH) / 2;
        mapCentreX = (canvasW - tabsW) / 2;
        descTop = (descRowH - descCell) / 2 + segMargin + segRadius + mapCentreY;
        descCentreX = mapCentreX;
        if (arrowLinkMap) {
            arrowX = arrowSize / 2 + segMargin + segRadius + arrowMargin;
            arrowY = mapCentreY;
        } else {
            arrowX = (descTableW + arrowBox) / 2 + descMargin;
            arrowY = descCell / 2 + descTop;
        }
        headRight = canvasW - v.Length(id::Heading_RMARGIN) - tabsW;
    }
    if (drawBoard) {
        const int w = canvasW - 2 * boardMargin - 1;
        boardCellW = w / 7; // six flag letters and zero
        boardLeft = (w - 7 * boardCellW) / 2 + boardMargin;
    }
}

} // namespace kib
