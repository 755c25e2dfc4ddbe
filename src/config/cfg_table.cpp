// The keys of every configuration section: id, kind, default text and how the
// properties pane shows them. The order of the rows is the order of the items in
// their section and in the configuration file.
#include "config/cfg_table.h"

namespace kib {

namespace {
constexpr ItemDef kEventItems[] = {
    {"TITLE1", 111, ItemKind::Text, "", "Title 1", "Event title (e.g. name and location) to be printed onto Solutions.", {}},
    {"TITLE2", 112, ItemKind::Text, "", "Title 2", "Secondary title to be printed onto Solutions (in loose format only).", {}},
    {"DATE", 115, ItemKind::Text, "", "Date", "Date to be printed onto Solutions.", {}},
    {"NAME", 101, ItemKind::Text, "", "Name", "Filename of OCAD file, i.e. prefix of OCAD output files.", {}},
    {"CLASS", 102, ItemKind::Text, "", "Class", "Class name (optional). More important for organisers (to use correct map sets) than for competitors.", {}},
    {"SCALE", 103, ItemKind::Scale, "", "Scale", "Map scale on cover sheets (optional). Needed only if OCAD output was changed. Set the larger number (e.g. 4000) only.", {}},
    {"EQUID", 104, ItemKind::Text, "", "Contour interval", "Contour interval. Will be printed on cover sheets and in the map header.", {}},
    {"MINSTAT", 114, ItemKind::StationNumber, "1", "MinStation", "The lowest number of station (1 by default).", {}},
    {"MAXSTAT", 105, ItemKind::StationNumber, "", "MaxStation", "The highest number of station.", {}},
    {"NUMFMT", 110, ItemKind::Text, "", "Number Format", "Format of station numbers in source map files.\nVARIABLE: 1 or 2 digits.\nFIXED: 2 digits.", {"Variable", "Fixed"}},
    {"TASKS", 106, ItemKind::TaskCount, "", "Tasks", "Number of tasks per station. The event default, can be changed for a particular station.", {}},
    {"LIMIT", 113, ItemKind::Integer, "", "Limit", "Time limit per station. By default, a standard formula (tasks * 30 s) is used.", {}},
    {"ZERO", 107, ItemKind::YesNo, "Yes", "Zero", "Specifies whether Zero answers are possible.", {"Yes", "No"}},
    {"FLAGS", 108, ItemKind::FlagCount, "", "Flags", "Number of flags per station. The event default, can be changed for a particular station.", {}},
    {"TABCOLOR", 109, ItemKind::Colour, "255 255 255", "TabColor", "Color user for the document tab on the main screen.", {}},
};

constexpr ItemDef kSourceItems[] = {
    {"MODE", 201, ItemKind::Text, "STAT", "", "", {}},
    {"COURSE", 202, ItemKind::Text, "", "Course", "Template for course name in OCAD. Use ${STAT} and ${TASK} for station and task number placeholders.", {}},
    {"MAP", 203, ItemKind::Text, "${EVENT}.${COURSE}.svg", "Map", "Template for course map (SVG) files. Use ${EVENT} and ${COURSE} for event/course names and ${STAT} and ${TASK} for station and task number placeholders.", {}},
    {"COURSES", 204, ItemKind::Text, "${EVENT}.Courses.xml", "Courses", "Template for OCAD courses (XML) export file. Use ${EVENT} for an event name placeholder.", {}},
    {"CHAIR", 205, ItemKind::SymbolOne, "", "Chair", "Number of the map symbol for the decision point position marker. Omit if no chair symbol is used in the map. The use of the symbol is mandatory if angles are not configured and must be calculated from the map.", {}},
    {"FLAG", 206, ItemKind::SymbolFlags, "", "Flag", "Number(s) of the map symbol for flag position marker. Omit if no flag symbols are used in the map. They are mandatory if angles are not configured and must be calculated from the map or for solution map. Numbers in the list are separated by spaces.", {}},
    {"ZERO", 210, ItemKind::SymbolOne, "", "Zero", "Number of the map symbol for zero position marker. Omit if no zero symbols are used in the map.", {}},
    {"LETTERS", 211, ItemKind::SymbolLetters, "", "Letters", "Number of the map symbol for flag tag position markers in solution map.\n* If only a major number is set (e.g. 791) then all symbols with that major number are considered solution symbols.\n* If a full symbol number is set (e.g. 791.001) then the letter tag symbol numbers must form a series of six consecutive numbers (from 791.001 to 791.006).", {}},
    {"ANSWERS", 212, ItemKind::SymbolAnswers, "", "Answers", "Number of the control description column H symbol for the A answer. Omit if answers are not placed into control descriptions column H in OCAD.* If only a major number is set (e.g. 792) then all symbols with that major number are considered answer letters.\n* If a full symbol number is set (e.g. 792.001) then the answer letter symbol numbers must form a series of seven consecutive numbers (from 792.001 to 792.007).", {}},
    {"ZEROTOL", 213, ItemKind::SymbolZeroTol, "", "Zero tolerance", "Number of the map symbol for the zero tolerance in the control descriptions. Omit if not used.", {}},
    {"HIDE", 208, ItemKind::Text, "", "Hide", "Space separated list of numbers of other map symbols that must be hidden in the final map.\nIf a major number is set then all symbols with that major number will be hidden.\nExample: 702.004 793", {}},
    {"DELTA", 209, ItemKind::Real, "0.25", "Delta", "Control circle matching precision for detecting identical controls and control circle arcs (in mm).", {}},
};

constexpr ItemDef kTargetItems[] = {
    {"MODE", 301, ItemKind::TargetMode, "PRT", "Mode", "Target file mode.\nPRT: standard printing;\nANT: using in ANT mobile application;\nWEB: web TempO simulator page.", {"PRT", "ANT", "WEB"}},
    {"CANVASW", 302, ItemKind::Integer, "", "CanvasWidth", "Canvas width (in mm).\nWidth of A5 (landscape) is 210 mm, reduced by a 4 mm print margin.", {}},
    {"CANVASH", 303, ItemKind::Integer, "", "CanvasHeight", "Canvas height (in mm). Height of A5 (landscape) is 148 mm, reduced by a 4 mm print margin.", {}},
    {"CANVAS", 304, ItemKind::CanvasForm, "A5Cut", "Canvas", "Canvas size.\nA canvas is the area containing a single map and its decorations on a printed sheet. After printing, you can cut out each canvas and process it further, e.g. by laminating it.", {"A5Cut", "A5Full", "A4Portrait", "A4Landscape", "Other"}},
    {"SHEET", 305, ItemKind::SheetForm, "A4Tiled", "Sheet", "Sheet (paper) format.\nIn \"tiled\" formats, more map canvases are placed onto one sheet (e.g. two A5 maps onto one A4Tiled).", {"A5", "A4Portrait", "A4Landscape", "A4Tiled", "A3Tiled"}},
    {"MARGIN", 306, ItemKind::Integer, "", "Margin", "Unprintable paper sheet margin (in mm).\nUse only if your printer cannot be set to ignore margins when printing.", {}},
    {"DIR", 307, ItemKind::Text, "", "Dir", "Directory for storing generated files.", {}},
    {"REDUCESIZE", 310, ItemKind::Text, "No", "ReduceSize", "Specifies whether map symbols out of the cut are left out of the sheets.\nYes: every sheet carries only the map objects that can show in its map segment (much smaller sheets, much faster conversion).\nNo: every sheet carries the whole map.", {"Yes", "No"}},
    {"DPI", 308, ItemKind::Integer, "600", "DPI", "Pixel density of output files if raster output (PNG) used.", {}},
    {"FONTNAME", 309, ItemKind::Text, "Arial", "FontName", "Default font for all texts made by Kib. Can be changed later for particular image parts.", {}},
};

constexpr ItemDef kSystemItems[] = {
    {"INKSCAPEPATH", 401, ItemKind::Text, kDefaultInkscapePath, "InkscapePath", "Path to Inkscape folder (if output format other than SVG is requested).", {}},
    {"DEBUGGING", 402, ItemKind::Text, "No", "Debugging", "Flag, whether debugging messages will be printed.", {"Yes", "No"}},
    {"CONVERTER", 403, ItemKind::Text, "Inkscape", "Converter", "Program that converts the sheets into PDF, PS, EPS or PNG files.\nInkscape: the Inkscape program (when it is not installed, the built-in converter is used);\nBuiltin: Kib's own converter (librsvg and cairo), much faster.", {"Inkscape", "Builtin"}},
};

constexpr ItemDef kTextItems[] = {
    {"STATION", 501, ItemKind::Text, "Station", "Station", "Term Station in local language if English not used.", {}},
    {"TASKS", 502, ItemKind::Text, "Tasks", "Tasks", "Term Tasks (meaning number of tasks) in local language if English not used.", {}},
    {"LIMIT", 503, ItemKind::Text, "Limit", "Limit", "Term Limit (meaning time limit) in local language if English not used.", {}},
};

constexpr ItemDef kCoverItems[] = {
    {"FONTSIZE", 601, ItemKind::Integer, "6", "FontSize", "Font size of the cover sheet texts.", {}},
    {"FONTNAME", 602, ItemKind::Text, "", "FontName", "Font name (if it differs from the default font configured in section Target).", {}},
    {"COLOR", 603, ItemKind::Colour, "0 0 0", "Color", "Color user for the cover sheet texts.", {}},
};

constexpr ItemDef kHeadingItems[] = {
    {"LMARGIN", 701, ItemKind::Integer, "15", "LMargin", "Left margin of map heading (in mm).", {}},
    {"RMARGIN", 702, ItemKind::Integer, "5", "RMargin", "Right margin of map heading (in mm).", {}},
    {"TMARGIN", 703, ItemKind::Integer, "15", "TMargin", "Top margin of map heading (in mm).", {}},
    {"FONTSIZE", 704, ItemKind::Integer, "5", "FontSize", "Font size of map heading.", {}},
    {"FONTNAME", 705, ItemKind::Text, "", "FontName", "Font name of map heading (if it differs from the default font configured in section Target).", {}},
    {"COLOR", 706, ItemKind::Colour, "0 0 0", "Color", "Color used for map heading.", {}},
    {"COVERONLY", 707, ItemKind::Text, "Yes", "CoverOnly", "Flag, whether the competition title is printed on all maps, or only on the cover sheet.", {"Yes", "No"}},
};

constexpr ItemDef kMapSegmentItems[] = {
    {"SIZE", 801, ItemKind::Integer, "60", "Size", "Diameter of the circle or length of the square side (in mm).", {}},
    {"MARGIN", 802, ItemKind::Integer, "5", "Margin", "Margin of the map segment (in mm). I.e. distance of map border from north arrow and control descriptions field.", {}},
    {"SHAPE", 803, ItemKind::Text, "Circle", "Shape", "Map shape: Circle or Square", {"Circle", "Square"}},
    {"TOP", 804, ItemKind::Integer, "20", "Top", "Size of the upper part of the map (above the control circle center, in mm).", {}},
    {"BOTTOM", 805, ItemKind::Integer, "20", "Bottom", "Size of the lower part of the map (below the control circle center, in mm).", {}},
};

constexpr ItemDef kMapBorderItems[] = {
    {"COLOR", 903, ItemKind::Colour, "0 0 0", "Color", "Color used for the map border.", {}},
    {"WIDTH", 901, ItemKind::Integer, "1", "Width", "Line width of the map border.", {}},
    {"PAD", 902, ItemKind::Integer, "1", "Padding", "Distance between the map segment and the map border (in mm).", {}},
};

constexpr ItemDef kMapColorsItems[] = {
    {"GREENDARKEN", 1001, ItemKind::Integer, "0", "GreenDarken", "Make green colors darker (in %).", {}},
    {"PURPLEMODE", 1002, ItemKind::Text, "Original", "PurpleMode", "Setting mode for color used for descriptions and control circles.\nOriginal: do not change;\nDefined: define your own color.", {"Original", "Defined"}},
    {"PURPLECOLOR", 1003, ItemKind::Colour, "166 38 255", "PurpleColor", "Color used for descriptions and control circles.", {}},
};

constexpr ItemDef kNorthArrowItems[] = {
    {"SIDE", 1101, ItemKind::Text, "Both", "Side", "Side to which the north arrow is to be placed (LEFT, RIGHT, BOTH).", {"Both", "Left", "Right"}},
    {"LINKAGE", 1105, ItemKind::Text, "Map", "Linkage", "Object to which the arrows are linked (MAP, DESCRIPTIONS).", {"Map", "Descriptions"}},
    {"SIZE", 1102, ItemKind::Integer, "20", "Size", "Diameter of the north arrow (in mm).", {}},
    {"MARGIN", 1103, ItemKind::Integer, "5", "Margin", "Horizontal and vertical margin (in mm).", {}},
    {"COLOR", 1104, ItemKind::Colour, "0 0 255", "Color", "Color used for the north arrow.", {}},
    {"LINES", 1106, ItemKind::YesNo, "No", "Lines", "Specifies whether additional north lines around the map are printed.", {"Yes", "No"}},
};

constexpr ItemDef kOrderTabsItems[] = {
    {"DRAW", 1201, ItemKind::YesNo, "Yes", "Draw", "Specifies whether correct map ordering tabs (the squares on the right side) will be printed.", {"Yes", "No"}},
    {"COVER", 1209, ItemKind::YesNo, "No", "Cover", "Specifies whether the cover sheet contains order tab with zero or not.", {"Yes", "No"}},
    {"STATNUM", 1210, ItemKind::YesNo, "No", "StatNum", "Specifies whether the task number is prefixed by the station number .", {"Yes", "No"}},
    {"SIZE", 1202, ItemKind::Integer, "15", "Size", "Size of the ordering tabs squares (in mm).", {}},
    {"LMARGIN", 1203, ItemKind::Integer, "5", "LMargin", "Left margin of the ordering tabs (in mm).", {}},
    {"RMARGIN", 1204, ItemKind::Integer, "5", "RMargin", "Right margin of the ordering tabs (in mm).", {}},
    {"TMARGIN", 1205, ItemKind::Integer, "15", "TMargin", "Top margin of the ordering tabs (in mm).", {}},
    {"BMARGIN", 1206, ItemKind::Integer, "15", "BMargin", "Bottom margin of the ordering tabs (in mm).", {}},
    {"COLOR", 1207, ItemKind::Colour, "0 0 0", "Color", "Color used for the ordering tabs.", {}},
    {"FONTNAME", 1208, ItemKind::Text, "", "FontName", "Font name (if it differs from the default font configured in section Target).", {}},
};

constexpr ItemDef kDescriptionsItems[] = {
    {"SIZE", 1301, ItemKind::Integer, "8", "Size", "Height of the control descriptions row (in mm).", {}},
    {"MARGIN", 1303, ItemKind::Integer, "2", "Margin", "Margin of the control descriptions row (in mm).", {}},
    {"COLB", 1302, ItemKind::Text, "Auto", "ColB", "Control descriptions column B handling.\nKeep: do not change;\nMake: rewrite (by e.g. A-F);\nAuto: decide according to the original column content.", {"Keep", "Auto", "Make"}},
    {"FONTNAME", 1304, ItemKind::Text, "", "FontName", "Font name (if it differs from the default font configured in section Target).", {}},
};

constexpr ItemDef kPointBoardItems[] = {
    {"DRAW", 1401, ItemKind::YesNo, "Yes", "Draw", "Specifies whether board for pointing to answers (at the bottom) will be printed.", {"Yes", "No"}},
    {"FULLWORDS", 1406, ItemKind::YesNo, "No", "FullWords", "Specifies whether only letters will be printed, or full words as well.", {"Yes", "No"}},
    {"SIZE", 1402, ItemKind::Integer, "20", "Size", "Height of answer pointing rectangles (in mm).", {}},
    {"MARGIN", 1404, ItemKind::Integer, "5", "Margin", "Margin of the answer pointing board (in mm).", {}},
    {"COLOR", 1403, ItemKind::Colour, "0 0 0", "Color", "Color used for the answer pointing board.", {}},
    {"FONTNAME", 1405, ItemKind::Text, "", "FontName", "Font name (if it differs from the default font configured in section Target).", {}},
};

constexpr ItemDef kSolutionsItems[] = {
    {"SHEET", 1501, ItemKind::Text, "A4Portrait", "Sheet", "Sheet format.", {"A4Portrait", "A4Landscape"}},
    {"PRINTMARGIN", 1514, ItemKind::Integer, "5", "Print Margin", "Unprintable paper sheet margin (in mm).\nKib produces image that is smaller than real sheet of paper. This value is the dimension of the unprintable margin on each side of the sheet.", {}},
    {"SHEETMARGIN", 1509, ItemKind::Integer, "2", "Sheet Margin", "Margin of the produced sheet (in mm).\nHorizontal and vertical margin of the sheet produced by Kib.", {}},
    {"COMPRESSED", 1521, ItemKind::Text, "No", "Compressed", "Compressed form (allowing 8 stations per sheet).", {"Yes", "No"}},
    {"TITLE1SIZE", 1511, ItemKind::Integer, "5", "Title 1 Size", "Height of the first (title) line (in mm).\nZero can be used for hiding the line.", {}},
    {"TITLE2SIZE", 1512, ItemKind::Integer, "4", "Title 2 Size", "Height of the second (subtitles) line (in mm).\nZero can be used for hiding the line.", {}},
    {"RULERHEIGHT", 1510, ItemKind::Integer, "4", "Ruler Height", "Total height of space covered by horizontal ruler line with margins (in mm).", {}},
    {"SCALE", 1502, ItemKind::Scale, "", "Scale", "Solution map scale (e.g. 2000).", {}},
    {"MAPWIDTH", 1504, ItemKind::Integer, "", "Map Width", "Width of the rectangle with map (in mm).", {}},
    {"MAPHEIGHT", 1505, ItemKind::Integer, "", "Map Height", "Height of the rectangle with map (in mm).", {}},
    {"BORDERWIDTH", 1516, ItemKind::Integer, "2", "", "", {}},
    {"BORDERPAD", 1517, ItemKind::Integer, "2", "", "", {}},
    {"BORDERCOLOR", 1518, ItemKind::Colour, "0 0 0", "Map Border Color", "Color used for the map border.", {}},
    {"TASKNUMS", 1519, ItemKind::YesNo, "Yes", "Task Numbers", "Showing task numbers in solution map.", {"Yes", "No"}},
    {"KIBSYMCOLOR", 1520, ItemKind::Text, "Original", "Kib Symbol Color", "Color used for special Kib symbols (chair, flags, zeros, letters).", {"Original", "Red"}},
    {"CIRCLEW", 1503, ItemKind::Real, "0.15", "Circle Width", "Width of the control cirle in the solution map. Zero means no control circles.", {}},
    {"DESCWIDTH", 1513, ItemKind::Integer, "40", "Description Width", "Width of the rectangle with control descriptions (in mm). The height is set accordingly.", {}},
    {"LOGO", 1506, ItemKind::Text, "", "Logo", "Image file with trailer logo.", {}},
    {"LOGOWIDTH", 1507, ItemKind::Integer, "", "Logo Width", "Actual width of the logo (in mm).", {}},
    {"LOGOHEIGHT", 1508, ItemKind::Integer, "", "Logo Height", "Actual height of the logo (in mm).", {}},
    {"LOGOTOP", 1515, ItemKind::Integer, "", "Logo Top", "Margin above the logo (in mm).", {}},
};

constexpr ItemDef kStationItems[] = {
    {"TASKS", 2101, ItemKind::TaskCount, "", "Tasks", "Number of tasks at station (if it differs from the default value configured in section Event).", {}},
    {"FLAGS", 2102, ItemKind::FlagCount, "", "Flags", "Number of flags at station (if it differs from the default value configured in section Event).", {}},
    {"MINANGLE", 2103, ItemKind::Integer, "", "Min Angle", "Angle toward the Alpha flag. If you know only the final rotation angle, enter it here and ignore the Max Angle field. Leave it empty if you want Kib to calculate it by himself.", {}},
    {"MAXANGLE", 2104, ItemKind::Integer, "", "Max Angle", "Angle toward the righmost flag. If you know only the final rotation angle, ignore this field and enter it to the Min Angle field. Leave it empty if you want Kib to calculate it by himself.", {}},
    {"ANSWERS", 2105, ItemKind::Text, "", "Answers", "Correct answers (string of letters like 'AFZ').\nUsed for solution maps and only if the answers are not placed directly to the control descriptions field H.", {}},
    {"MAPOFFSET", 2107, ItemKind::Integer, "", "Map Offset", "Vertical shift of the map. This value increases the MapSegment.Top and decreases Bottom.\nValid in the WEB mode only.", {}},
    {"SOLSCALE", 2106, ItemKind::Scale, "", "Solution Scale", "Scale of solution map (if it differs from the default value configured in section Solution).", {}},
};

}  // namespace

const std::span<const SectionDef> SectionTable() {
    static constexpr SectionDef kSections[] = {
        {"Event", 100, kEventItems},
        {"Source", 200, kSourceItems},
        {"Target", 300, kTargetItems},
        {"System", 400, kSystemItems},
        {"Text", 500, kTextItems},
        {"Cover", 600, kCoverItems},
        {"Heading", 700, kHeadingItems},
        {"MapSegment", 800, kMapSegmentItems},
        {"MapBorder", 900, kMapBorderItems},
        {"MapColors", 1000, kMapColorsItems},
        {"NorthArrow", 1100, kNorthArrowItems},
        {"OrderTabs", 1200, kOrderTabsItems},
        {"Descriptions", 1300, kDescriptionsItems},
        {"PointBoard", 1400, kPointBoardItems},
        {"Solutions", 1500, kSolutionsItems},
        {"Station", 2100, kStationItems},
    };
    return kSections;
}

}  // namespace kib

