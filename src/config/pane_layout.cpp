#include "config/pane_layout.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/first_letter.h"

#include <algorithm>
#include <cstdio>

namespace kib {

namespace {

using namespace id;

const PaneGroup kGroups[] = {
    {Section_Event,
     {Event_TITLE1, Event_TITLE2, Event_DATE, Event_NAME, Event_CLASS, Event_SCALE, Event_EQUID,
      Event_MINSTAT, Event_MAXSTAT, Event_NUMFMT, Event_TASKS, Event_LIMIT, Event_ZERO, Event_FLAGS,
      Event_TABCOLOR}},
    {Section_Source,
     {Source_COURSE, Source_MAP, Source_COURSES, Source_CHAIR, Source_FLAG, Source_ZERO,
      Source_LETTERS, Source_ANSWERS, Source_ZEROTOL, Source_HIDE, Source_DELTA, Source_ANSWERDIST,
      Source_ZEROTOLERANCE}},
    {Section_Target,
     {Target_MODE, Target_CANVAS, Target_CANVASW, Target_CANVASH, Target_SHEET, Target_MARGIN,
      Target_DIR, Target_REDUCESIZE, Target_DPI, Target_FONTNAME, Target_SCALECHECK}},
    {Section_System, {System_INKSCAPEPATH, System_DEBUGGING, System_CONVERTER}},
    {Section_Text, {Text_STATION, Text_TASKS, Text_LIMIT}},
    {Section_Heading,
     {Heading_LMARGIN, Heading_RMARGIN, Heading_TMARGIN, Heading_COLOR, Heading_FONTNAME,
      Heading_FONTSIZE, Heading_COVERONLY}},
    {Section_MapSegment,
     {MapSegment_SIZE, MapSegment_MARGIN, MapSegment_SHAPE, MapSegment_TOP, MapSegment_BOTTOM}},
    {Section_MapBorder, {MapBorder_WIDTH, MapBorder_PAD, MapBorder_COLOR}},
    {Section_MapColors, {MapColors_GREENDARKEN, MapColors_PURPLEMODE, MapColors_PURPLECOLOR}},
    {Section_NorthArrow,
     {NorthArrow_SIDE, NorthArrow_LINKAGE, NorthArrow_SIZE, NorthArrow_MARGIN, NorthArrow_COLOR,
      NorthArrow_LINES}},
    {Section_Descriptions,
     {Descriptions_SIZE, Descriptions_MARGIN, Descriptions_COLB, Descriptions_FONTNAME}},
    {Section_OrderTabs,
     {OrderTabs_DRAW, OrderTabs_COVER, OrderTabs_STATNUM, OrderTabs_SIZE, OrderTabs_LMARGIN,
      OrderTabs_RMARGIN, OrderTabs_TMARGIN, OrderTabs_BMARGIN, OrderTabs_COLOR,
      OrderTabs_FONTNAME}},
    {Section_PointBoard,
     {PointBoard_DRAW, PointBoard_FULLWORDS, PointBoard_SIZE, PointBoard_MARGIN, PointBoard_COLOR,
      PointBoard_FONTNAME}},
    {Section_Cover, {Cover_COLOR, Cover_FONTNAME, Cover_FONTSIZE}},
    {Section_Solutions,
     {Solutions_SHEET, Solutions_PRINTMARGIN, Solutions_SHEETMARGIN, Solutions_COMPRESSED,
      Solutions_TITLE1SIZE, Solutions_TITLE2SIZE, Solutions_RULERHEIGHT, Solutions_SCALE,
      Solutions_MAPWIDTH, Solutions_MAPHEIGHT, Solutions_BORDERCOLOR, Solutions_TASKNUMS,
      Solutions_KIBSYMCOLOR, Solutions_CIRCLEW, Solutions_DESCWIDTH, Solutions_LOGO,
      Solutions_LOGOWIDTH, Solutions_LOGOHEIGHT, Solutions_LOGOTOP}},
};

constexpr int kStationItems[] = {Station_MINANGLE, Station_MAXANGLE, Station_TASKS,
                                 Station_FLAGS,    Station_ANSWERS,  Station_MAPOFFSET,
                                 Station_SOLSCALE};

} // namespace

PaneEntry PaneEntryOf(const CCfgItem& item) {
    const int itemId = item.GetId();
    if (item.GetKind() == ItemKind::Colour) {
        return PaneEntry::Colour;
    }
    if (item.GetKey() == "FONTNAME") {
        return PaneEntry::Font;
    }
    if (itemId == Target_DIR || itemId == System_INKSCAPEPATH) {
        return PaneEntry::Directory;
    }
    if (itemId == Solutions_LOGO) {
        return PaneEntry::File;
    }
    return item.GetDef().choices.size() != 0 ? PaneEntry::Choice : PaneEntry::Text;
}

bool StoresAbsolutePath(int itemId) {
    return itemId == System_INKSCAPEPATH;
}

std::span<const PaneGroup> PaneGroups() {
    return kGroups;
}

std::span<const int> PaneStationItems() {
    return kStationItems;
}

PaneVisibility PaneVisibilityOf(const CKibCfg& cfg) {
    // The letters are compared as written; the two DRAW switches are yes/no values.
    auto first = [&cfg](int itemId) {
        return FirstLetter(cfg.Item(itemId).GetValue(), LetterCase::Exact);
    };
    const bool ant = first(Target_MODE) == 'A';
    const bool web = first(Target_MODE) == 'W';
    const bool paper = !ant && !web;
    const bool tabs = IsYes(cfg.Item(OrderTabs_DRAW).GetValue());
    const bool board = IsYes(cfg.Item(PointBoard_DRAW).GetValue());

    PaneVisibility v;
    v.firstStation = cfg.GetMinStation();
    v.lastStation = std::min(cfg.GetMaxStation(), kMaxStation);
    v.items = {
        {Source_COURSES, true},
        {Target_CANVASW, first(Target_CANVAS) != 'A'},
        {Target_CANVASH, first(Target_CANVAS) != 'A'},
        {Target_CANVAS, paper},
        {Target_SHEET, paper},
        {MapSegment_TOP, web},
        {MapSegment_BOTTOM, web},
        {NorthArrow_SIDE, !web},
        {NorthArrow_LINKAGE, !web},
        {MapColors_PURPLECOLOR, first(MapColors_PURPLEMODE) == 'D'},
        {NorthArrow_LINES, !web && first(MapSegment_SHAPE) != 'S'},
    };
    for (int itemId :
         {OrderTabs_COVER, OrderTabs_STATNUM, OrderTabs_SIZE, OrderTabs_LMARGIN, OrderTabs_RMARGIN,
          OrderTabs_TMARGIN, OrderTabs_BMARGIN, OrderTabs_COLOR, OrderTabs_FONTNAME}) {
        v.items.emplace_back(itemId, tabs);
    }
    for (int itemId : {PointBoard_FULLWORDS, PointBoard_SIZE, PointBoard_MARGIN, PointBoard_COLOR,
                       PointBoard_FONTNAME}) {
        v.items.emplace_back(itemId, board);
    }
    for (const char* name : {"Text", "Heading", "OrderTabs", "PointBoard", "Cover"}) {
        v.groups.emplace_back(name, paper);
    }
    v.groups.emplace_back("MapBorder", !web);
    return v;
}

int PaneColour(const std::string& text) {
    int r = 0;
    int g = 0;
    int b = 0;
    if (std::sscanf(text.c_str(), "%d %d %d", &r, &g, &b) != 3) {
        return 0;
    }
    return (r & 0xFF) + 256 * (g & 0xFF) + 65536 * (b & 0xFF);
}

} // namespace kib
