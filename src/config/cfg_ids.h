// Property ids of every configuration item, named Section_KEY.
// Station items carry the id of station 0; use StationItemId(n, id) for station n.
#pragma once

namespace kib::id {

// Event
inline constexpr int Event_TITLE1 = 111;
inline constexpr int Event_TITLE2 = 112;
inline constexpr int Event_DATE = 115;
inline constexpr int Event_NAME = 101;
inline constexpr int Event_CLASS = 102;
inline constexpr int Event_SCALE = 103;
inline constexpr int Event_EQUID = 104;
inline constexpr int Event_MINSTAT = 114;
inline constexpr int Event_MAXSTAT = 105;
inline constexpr int Event_NUMFMT = 110;
inline constexpr int Event_TASKS = 106;
inline constexpr int Event_LIMIT = 113;
inline constexpr int Event_ZERO = 107;
inline constexpr int Event_FLAGS = 108;
inline constexpr int Event_TABCOLOR = 109;
// Source
inline constexpr int Source_MODE = 201;
inline constexpr int Source_COURSE = 202;
inline constexpr int Source_MAP = 203;
inline constexpr int Source_COURSES = 204;
inline constexpr int Source_CHAIR = 205;
inline constexpr int Source_FLAG = 206;
inline constexpr int Source_ZERO = 210;
inline constexpr int Source_LETTERS = 211;
inline constexpr int Source_ANSWERS = 212;
inline constexpr int Source_ZEROTOL = 213;
inline constexpr int Source_HIDE = 208;
inline constexpr int Source_DELTA = 209;
inline constexpr int Source_ANSWERDIST = 214;
inline constexpr int Source_ZEROTOLERANCE = 215;
// Target
inline constexpr int Target_MODE = 301;
inline constexpr int Target_CANVASW = 302;
inline constexpr int Target_CANVASH = 303;
inline constexpr int Target_CANVAS = 304;
inline constexpr int Target_SHEET = 305;
inline constexpr int Target_MARGIN = 306;
inline constexpr int Target_DIR = 307;
inline constexpr int Target_REDUCESIZE = 310;
inline constexpr int Target_DPI = 308;
inline constexpr int Target_FONTNAME = 309;
inline constexpr int Target_SCALECHECK = 311;
// System
inline constexpr int System_INKSCAPEPATH = 401;
inline constexpr int System_DEBUGGING = 402;
inline constexpr int System_CONVERTER = 403;
// Text
inline constexpr int Text_STATION = 501;
inline constexpr int Text_TASKS = 502;
inline constexpr int Text_LIMIT = 503;
// Cover
inline constexpr int Cover_FONTSIZE = 601;
inline constexpr int Cover_FONTNAME = 602;
inline constexpr int Cover_COLOR = 603;
// Heading
inline constexpr int Heading_LMARGIN = 701;
inline constexpr int Heading_RMARGIN = 702;
inline constexpr int Heading_TMARGIN = 703;
inline constexpr int Heading_FONTSIZE = 704;
inline constexpr int Heading_FONTNAME = 705;
inline constexpr int Heading_COLOR = 706;
inline constexpr int Heading_COVERONLY = 707;
// MapSegment
inline constexpr int MapSegment_SIZE = 801;
inline constexpr int MapSegment_MARGIN = 802;
inline constexpr int MapSegment_SHAPE = 803;
inline constexpr int MapSegment_TOP = 804;
inline constexpr int MapSegment_BOTTOM = 805;
// MapBorder
inline constexpr int MapBorder_COLOR = 903;
inline constexpr int MapBorder_WIDTH = 901;
inline constexpr int MapBorder_PAD = 902;
// MapColors
inline constexpr int MapColors_GREENDARKEN = 1001;
inline constexpr int MapColors_PURPLEMODE = 1002;
inline constexpr int MapColors_PURPLECOLOR = 1003;
// NorthArrow
inline constexpr int NorthArrow_SIDE = 1101;
inline constexpr int NorthArrow_LINKAGE = 1105;
inline constexpr int NorthArrow_SIZE = 1102;
inline constexpr int NorthArrow_MARGIN = 1103;
inline constexpr int NorthArrow_COLOR = 1104;
inline constexpr int NorthArrow_LINES = 1106;
// OrderTabs
inline constexpr int OrderTabs_DRAW = 1201;
inline constexpr int OrderTabs_COVER = 1209;
inline constexpr int OrderTabs_STATNUM = 1210;
inline constexpr int OrderTabs_SIZE = 1202;
inline constexpr int OrderTabs_LMARGIN = 1203;
inline constexpr int OrderTabs_RMARGIN = 1204;
inline constexpr int OrderTabs_TMARGIN = 1205;
inline constexpr int OrderTabs_BMARGIN = 1206;
inline constexpr int OrderTabs_COLOR = 1207;
inline constexpr int OrderTabs_FONTNAME = 1208;
// Descriptions
inline constexpr int Descriptions_SIZE = 1301;
inline constexpr int Descriptions_MARGIN = 1303;
inline constexpr int Descriptions_COLB = 1302;
inline constexpr int Descriptions_FONTNAME = 1304;
// PointBoard
inline constexpr int PointBoard_DRAW = 1401;
inline constexpr int PointBoard_FULLWORDS = 1406;
inline constexpr int PointBoard_SIZE = 1402;
inline constexpr int PointBoard_MARGIN = 1404;
inline constexpr int PointBoard_COLOR = 1403;
inline constexpr int PointBoard_FONTNAME = 1405;
// Solutions
inline constexpr int Solutions_SHEET = 1501;
inline constexpr int Solutions_PRINTMARGIN = 1514;
inline constexpr int Solutions_SHEETMARGIN = 1509;
inline constexpr int Solutions_COMPRESSED = 1521;
inline constexpr int Solutions_TITLE1SIZE = 1511;
inline constexpr int Solutions_TITLE2SIZE = 1512;
inline constexpr int Solutions_RULERHEIGHT = 1510;
inline constexpr int Solutions_SCALE = 1502;
inline constexpr int Solutions_MAPWIDTH = 1504;
inline constexpr int Solutions_MAPHEIGHT = 1505;
inline constexpr int Solutions_BORDERWIDTH = 1516;
inline constexpr int Solutions_BORDERPAD = 1517;
inline constexpr int Solutions_BORDERCOLOR = 1518;
inline constexpr int Solutions_TASKNUMS = 1519;
inline constexpr int Solutions_KIBSYMCOLOR = 1520;
inline constexpr int Solutions_CIRCLEW = 1503;
inline constexpr int Solutions_DESCWIDTH = 1513;
inline constexpr int Solutions_LOGO = 1506;
inline constexpr int Solutions_LOGOWIDTH = 1507;
inline constexpr int Solutions_LOGOHEIGHT = 1508;
inline constexpr int Solutions_LOGOTOP = 1515;
// Station
inline constexpr int Station_TASKS = 2101;
inline constexpr int Station_FLAGS = 2102;
inline constexpr int Station_MINANGLE = 2103;
inline constexpr int Station_MAXANGLE = 2104;
inline constexpr int Station_ANSWERS = 2105;
inline constexpr int Station_MAPOFFSET = 2107;
inline constexpr int Station_SOLSCALE = 2106;
// Sections: the id of a section (of station 0 for the station sections)
inline constexpr int Section_Event = 100;
inline constexpr int Section_Source = 200;
inline constexpr int Section_Target = 300;
inline constexpr int Section_System = 400;
inline constexpr int Section_Text = 500;
inline constexpr int Section_Cover = 600;
inline constexpr int Section_Heading = 700;
inline constexpr int Section_MapSegment = 800;
inline constexpr int Section_MapBorder = 900;
inline constexpr int Section_MapColors = 1000;
inline constexpr int Section_NorthArrow = 1100;
inline constexpr int Section_OrderTabs = 1200;
inline constexpr int Section_Descriptions = 1300;
inline constexpr int Section_PointBoard = 1400;
inline constexpr int Section_Solutions = 1500;
inline constexpr int Section_Station = 2100;

} // namespace kib::id
