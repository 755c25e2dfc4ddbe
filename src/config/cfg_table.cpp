// The keys of every configuration section: id, kind, default text and how the
// properties pane shows them. The order of the rows is the order of the items in
// their section and in the configuration file.
#include "config/cfg_table.h"

#include "config/cfg_ids.h"
#include "platform/environment.h"

namespace kib {

const char* DefaultInkscapePath() {
    return platform::ThisSystem() == platform::OperatingSystem::Windows
               ? "C:\\Program Files\\Inkscape\\"
               : "/usr/";
}

// One row per key; the rows read better unwrapped.
// clang-format off
namespace {
constexpr ItemDef kEventItems[] = {
    {"TITLE1", id::Event_TITLE1, ItemKind::Text, "", "Title 1", "Event title (e.g. name and location) to be printed onto Solutions.", {}},
    {"TITLE2", id::Event_TITLE2, ItemKind::Text, "", "Title 2", "Secondary title to be printed onto Solutions (in loose format only).", {}},
    {"DATE", id::Event_DATE, ItemKind::Text, "", "Date", "Date to be printed onto Solutions.", {}},
    {"NAME", id::Event_NAME, ItemKind::Text, "", "Name", "Filename of OCAD file, i.e. prefix of OCAD output files.", {}},
    {"CLASS", id::Event_CLASS, ItemKind::Text, "", "Class", "Class name (optional). More important for organisers (to use correct map sets) than for competitors.", {}},
    {"SCALE", id::Event_SCALE, ItemKind::Scale, "", "Scale", "Map scale on cover sheets (optional). Needed only if OCAD output was changed. Set the larger number (e.g. 4000) only.", {}},
    {"EQUID", id::Event_EQUID, ItemKind::Text, "", "Contour interval", "Contour interval. Will be printed on cover sheets and in the map header.", {}},
    {"MINSTAT", id::Event_MINSTAT, ItemKind::StationNumber, "1", "MinStation", "The lowest number of station (1 by default).", {}},
    {"MAXSTAT", id::Event_MAXSTAT, ItemKind::StationNumber, "", "MaxStation", "The highest number of station.", {}},
    {"NUMFMT", id::Event_NUMFMT, ItemKind::Text, "", "Number Format", "Format of station numbers in source map files.\nVARIABLE: 1 or 2 digits.\nFIXED: 2 digits.", {"Variable", "Fixed"}},
    {"TASKS", id::Event_TASKS, ItemKind::TaskCount, "", "Tasks", "Number of tasks per station. The event default, can be changed for a particular station.", {}},
    {"LIMIT", id::Event_LIMIT, ItemKind::Integer, "", "Limit", "Time limit per station. By default, a standard formula (tasks * 30 s) is used.", {}},
    {"ZERO", id::Event_ZERO, ItemKind::YesNo, "Yes", "Zero", "Specifies whether Zero answers are possible.", {"Yes", "No"}},
    {"FLAGS", id::Event_FLAGS, ItemKind::FlagCount, "", "Flags", "Number of flags per station. The event default, can be changed for a particular station.", {}},
    {"TABCOLOR", id::Event_TABCOLOR, ItemKind::Colour, "255 255 255", "TabColor", "Color user for the document tab on the main screen.", {}},
};

constexpr ItemDef kSourceItems[] = {
    {"MODE", id::Source_MODE, ItemKind::Text, "STAT", "", "", {}},
    {"COURSE", id::Source_COURSE, ItemKind::Text, "", "Course", "Template for course name in OCAD. Use ${STAT} and ${TASK} for station and task number placeholders.", {}},
    {"MAP", id::Source_MAP, ItemKind::Text, "${EVENT}.${COURSE}.svg", "Map", "Template for course map (SVG) files. Use ${EVENT} and ${COURSE} for event/course names and ${STAT} and ${TASK} for station and task number placeholders.", {}},
    {"COURSES", id::Source_COURSES, ItemKind::Text, "${EVENT}.Courses.xml", "Courses", "Template for OCAD courses (XML) export file. Use ${EVENT} for an event name placeholder.", {}},
    {"CHAIR", id::Source_CHAIR, ItemKind::SymbolOne, "", "Chair", "Number of the map symbol for the decision point position marker. Omit if no chair symbol is used in the map. The use of the symbol is mandatory if angles are not configured and must be calculated from the map.", {}},
    {"FLAG", id::Source_FLAG, ItemKind::SymbolFlags, "", "Flag", "Number(s) of the map symbol for flag position marker. Omit if no flag symbols are used in the map. They are mandatory if angles are not configured and must be calculated from the map or for solution map. Numbers in the list are separated by spaces.", {}},
    {"ZERO", id::Source_ZERO, ItemKind::SymbolOne, "", "Zero", "Number of the map symbol for zero position marker. Omit if no zero symbols are used in the map.", {}},
    {"LETTERS", id::Source_LETTERS, ItemKind::SymbolLetters, "", "Letters", "Number of the map symbol for flag tag position markers in solution map.\n* If only a major number is set (e.g. 791) then all symbols with that major number are considered solution symbols.\n* If a full symbol number is set (e.g. 791.001) then the letter tag symbol numbers must form a series of six consecutive numbers (from 791.001 to 791.006).", {}},
    {"ANSWERS", id::Source_ANSWERS, ItemKind::SymbolAnswers, "", "Answers", "Number of the control description column H symbol for the A answer. Omit if answers are not placed into control descriptions column H in OCAD.* If only a major number is set (e.g. 792) then all symbols with that major number are considered answer letters.\n* If a full symbol number is set (e.g. 792.001) then the answer letter symbol numbers must form a series of seven consecutive numbers (from 792.001 to 792.007).", {}},
    {"ZEROTOL", id::Source_ZEROTOL, ItemKind::SymbolZeroTol, "", "Zero tolerance", "Number of the map symbol for the zero tolerance in the control descriptions. Omit if not used.", {}},
    {"HIDE", id::Source_HIDE, ItemKind::Text, "", "Hide", "Space separated list of numbers of other map symbols that must be hidden in the final map.\nIf a major number is set then all symbols with that major number will be hidden.\nExample: 702.004 793", {}},
    {"DELTA", id::Source_DELTA, ItemKind::Real, "0.25", "Delta", "Control circle matching precision for detecting identical controls and control circle arcs (in mm).", {}},
    {"ANSWERDIST", id::Source_ANSWERDIST, ItemKind::Real, "2", "Answer Distance", "Distance on the ground (in m) within which a flag counts as standing at the centre of a task's control circle. The answer key is checked against the map with it: the flag that close is the map's answer, no flag that close gives Z, two flags that close are ambiguous.", {}},
    {"ZEROTOLERANCE", id::Source_ZEROTOLERANCE, ItemKind::Real, "", "Zero Tolerance (m)", "The event's zero tolerance: the distance on the ground (in m) that no flag but the answer may stand from a task's control (e.g. 4). Check, analyse and the proof page warn for every zero task with a flag closer than that and every lettered task with a second flag that close. Empty: not checked.", {}},
};

constexpr ItemDef kTargetItems[] = {
    {"MODE", id::Target_MODE, ItemKind::TargetMode, "PRT", "Mode", "Target file mode.\nPRT: standard printing;\nANT: using in ANT mobile application;\nWEB: web TempO simulator page.", {"PRT", "ANT", "WEB"}},
    {"CANVASW", id::Target_CANVASW, ItemKind::Integer, "", "CanvasWidth", "Canvas width (in mm).\nWidth of A5 (landscape) is 210 mm, reduced by a 4 mm print margin.", {}},
    {"CANVASH", id::Target_CANVASH, ItemKind::Integer, "", "CanvasHeight", "Canvas height (in mm). Height of A5 (landscape) is 148 mm, reduced by a 4 mm print margin.", {}},
    {"CANVAS", id::Target_CANVAS, ItemKind::CanvasForm, "A5Cut", "Canvas", "Canvas size.\nA canvas is the area containing a single map and its decorations on a printed sheet. After printing, you can cut out each canvas and process it further, e.g. by laminating it.", {"A5Cut", "A5Full", "A4Portrait", "A4Landscape", "Other"}},
    {"SHEET", id::Target_SHEET, ItemKind::SheetForm, "A4Tiled", "Sheet", "Sheet (paper) format.\nIn \"tiled\" formats, more map canvases are placed onto one sheet (e.g. two A5 maps onto one A4Tiled).", {"A5", "A4Portrait", "A4Landscape", "A4Tiled", "A3Tiled"}},
    {"MARGIN", id::Target_MARGIN, ItemKind::Integer, "", "Margin", "Unprintable paper sheet margin (in mm).\nUse only if your printer cannot be set to ignore margins when printing.", {}},
    {"DIR", id::Target_DIR, ItemKind::Text, "", "Dir", "Directory for storing generated files.", {}},
    {"REDUCESIZE", id::Target_REDUCESIZE, ItemKind::Text, "No", "ReduceSize", "Specifies whether map symbols out of the cut are left out of the sheets.\nYes: every sheet carries only the map objects that can show in its map segment (much smaller sheets, much faster conversion).\nNo: every sheet carries the whole map.", {"Yes", "No"}},
    {"DPI", id::Target_DPI, ItemKind::Integer, "600", "DPI", "Pixel density of output files if raster output (PNG) used.", {}},
    {"FONTNAME", id::Target_FONTNAME, ItemKind::Text, "Arial", "FontName", "Default font for all texts made by Kib. Can be changed later for particular image parts.", {}},
    {"SCALECHECK", id::Target_SCALECHECK, ItemKind::YesNo, "No", "ScaleCheck", "Specifies whether each station's cover canvas carries a check line for true scale: a 100 mm line (or the longest whole 10 mm that fits) with the words \"100 mm at true scale\", to be measured with a ruler on the printed sheet.", {"Yes", "No"}},
};

// Not constexpr: the default Inkscape folder depends on the system.
const ItemDef kSystemItems[] = {
    {"INKSCAPEPATH", id::System_INKSCAPEPATH, ItemKind::Text, DefaultInkscapePath(), "InkscapePath", "Path to Inkscape folder (if output format other than SVG is requested).", {}},
    {"DEBUGGING", id::System_DEBUGGING, ItemKind::Text, "No", "Debugging", "Flag, whether debugging messages will be printed.", {"Yes", "No"}},
    {"CONVERTER", id::System_CONVERTER, ItemKind::Text, "Inkscape", "Converter", "Program that converts the sheets into PDF, PS, EPS or PNG files.\nInkscape: the Inkscape program (when it is not installed, the built-in converter is used);\nBuiltin: Kib's own converter (librsvg and cairo), much faster.", {"Inkscape", "Builtin"}},
};

constexpr ItemDef kTextItems[] = {
    {"STATION", id::Text_STATION, ItemKind::Text, "Station", "Station", "Term Station in local language if English not used.", {}},
    {"TASKS", id::Text_TASKS, ItemKind::Text, "Tasks", "Tasks", "Term Tasks (meaning number of tasks) in local language if English not used.", {}},
    {"LIMIT", id::Text_LIMIT, ItemKind::Text, "Limit", "Limit", "Term Limit (meaning time limit) in local language if English not used.", {}},
};

constexpr ItemDef kCoverItems[] = {
    {"FONTSIZE", id::Cover_FONTSIZE, ItemKind::Integer, "6", "FontSize", "Font size of the cover sheet texts.", {}},
    {"FONTNAME", id::Cover_FONTNAME, ItemKind::Text, "", "FontName", "Font name (if it differs from the default font configured in section Target).", {}},
    {"COLOR", id::Cover_COLOR, ItemKind::Colour, "0 0 0", "Color", "Color user for the cover sheet texts.", {}},
};

constexpr ItemDef kHeadingItems[] = {
    {"LMARGIN", id::Heading_LMARGIN, ItemKind::Integer, "15", "LMargin", "Left margin of map heading (in mm).", {}},
    {"RMARGIN", id::Heading_RMARGIN, ItemKind::Integer, "5", "RMargin", "Right margin of map heading (in mm).", {}},
    {"TMARGIN", id::Heading_TMARGIN, ItemKind::Integer, "15", "TMargin", "Top margin of map heading (in mm).", {}},
    {"FONTSIZE", id::Heading_FONTSIZE, ItemKind::Integer, "5", "FontSize", "Font size of map heading.", {}},
    {"FONTNAME", id::Heading_FONTNAME, ItemKind::Text, "", "FontName", "Font name of map heading (if it differs from the default font configured in section Target).", {}},
    {"COLOR", id::Heading_COLOR, ItemKind::Colour, "0 0 0", "Color", "Color used for map heading.", {}},
    {"COVERONLY", id::Heading_COVERONLY, ItemKind::Text, "Yes", "CoverOnly", "Flag, whether the competition title is printed on all maps, or only on the cover sheet.", {"Yes", "No"}},
};

constexpr ItemDef kMapSegmentItems[] = {
    {"SIZE", id::MapSegment_SIZE, ItemKind::Integer, "60", "Size", "Diameter of the circle or length of the square side (in mm).", {}},
    {"MARGIN", id::MapSegment_MARGIN, ItemKind::Integer, "5", "Margin", "Margin of the map segment (in mm). I.e. distance of map border from north arrow and control descriptions field.", {}},
    {"SHAPE", id::MapSegment_SHAPE, ItemKind::Text, "Circle", "Shape", "Map shape: Circle or Square", {"Circle", "Square"}},
    {"TOP", id::MapSegment_TOP, ItemKind::Integer, "20", "Top", "Size of the upper part of the map (above the control circle center, in mm).", {}},
    {"BOTTOM", id::MapSegment_BOTTOM, ItemKind::Integer, "20", "Bottom", "Size of the lower part of the map (below the control circle center, in mm).", {}},
};

constexpr ItemDef kMapBorderItems[] = {
    {"COLOR", id::MapBorder_COLOR, ItemKind::Colour, "0 0 0", "Color", "Color used for the map border.", {}},
    {"WIDTH", id::MapBorder_WIDTH, ItemKind::Integer, "1", "Width", "Line width of the map border.", {}},
    {"PAD", id::MapBorder_PAD, ItemKind::Integer, "1", "Padding", "Distance between the map segment and the map border (in mm).", {}},
};

constexpr ItemDef kMapColorsItems[] = {
    {"GREENDARKEN", id::MapColors_GREENDARKEN, ItemKind::Integer, "0", "GreenDarken", "Make green colors darker (in %).", {}},
    {"PURPLEMODE", id::MapColors_PURPLEMODE, ItemKind::Text, "Original", "PurpleMode", "Setting mode for color used for descriptions and control circles.\nOriginal: do not change;\nDefined: define your own color.", {"Original", "Defined"}},
    {"PURPLECOLOR", id::MapColors_PURPLECOLOR, ItemKind::Colour, "166 38 255", "PurpleColor", "Color used for descriptions and control circles.", {}},
};

constexpr ItemDef kNorthArrowItems[] = {
    {"SIDE", id::NorthArrow_SIDE, ItemKind::Text, "Both", "Side", "Side to which the north arrow is to be placed (LEFT, RIGHT, BOTH).", {"Both", "Left", "Right"}},
    {"LINKAGE", id::NorthArrow_LINKAGE, ItemKind::Text, "Map", "Linkage", "Object to which the arrows are linked (MAP, DESCRIPTIONS).", {"Map", "Descriptions"}},
    {"SIZE", id::NorthArrow_SIZE, ItemKind::Integer, "20", "Size", "Diameter of the north arrow (in mm).", {}},
    {"MARGIN", id::NorthArrow_MARGIN, ItemKind::Integer, "5", "Margin", "Horizontal and vertical margin (in mm).", {}},
    {"COLOR", id::NorthArrow_COLOR, ItemKind::Colour, "0 0 255", "Color", "Color used for the north arrow.", {}},
    {"LINES", id::NorthArrow_LINES, ItemKind::YesNo, "No", "Lines", "Specifies whether additional north lines around the map are printed.", {"Yes", "No"}},
};

constexpr ItemDef kOrderTabsItems[] = {
    {"DRAW", id::OrderTabs_DRAW, ItemKind::YesNo, "Yes", "Draw", "Specifies whether correct map ordering tabs (the squares on the right side) will be printed.", {"Yes", "No"}},
    {"COVER", id::OrderTabs_COVER, ItemKind::YesNo, "No", "Cover", "Specifies whether the cover sheet contains order tab with zero or not.", {"Yes", "No"}},
    {"STATNUM", id::OrderTabs_STATNUM, ItemKind::YesNo, "No", "StatNum", "Specifies whether the task number is prefixed by the station number .", {"Yes", "No"}},
    {"SIZE", id::OrderTabs_SIZE, ItemKind::Integer, "15", "Size", "Size of the ordering tabs squares (in mm).", {}},
    {"LMARGIN", id::OrderTabs_LMARGIN, ItemKind::Integer, "5", "LMargin", "Left margin of the ordering tabs (in mm).", {}},
    {"RMARGIN", id::OrderTabs_RMARGIN, ItemKind::Integer, "5", "RMargin", "Right margin of the ordering tabs (in mm).", {}},
    {"TMARGIN", id::OrderTabs_TMARGIN, ItemKind::Integer, "15", "TMargin", "Top margin of the ordering tabs (in mm).", {}},
    {"BMARGIN", id::OrderTabs_BMARGIN, ItemKind::Integer, "15", "BMargin", "Bottom margin of the ordering tabs (in mm).", {}},
    {"COLOR", id::OrderTabs_COLOR, ItemKind::Colour, "0 0 0", "Color", "Color used for the ordering tabs.", {}},
    {"FONTNAME", id::OrderTabs_FONTNAME, ItemKind::Text, "", "FontName", "Font name (if it differs from the default font configured in section Target).", {}},
};

constexpr ItemDef kDescriptionsItems[] = {
    {"SIZE", id::Descriptions_SIZE, ItemKind::Integer, "8", "Size", "Height of the control descriptions row (in mm).", {}},
    {"MARGIN", id::Descriptions_MARGIN, ItemKind::Integer, "2", "Margin", "Margin of the control descriptions row (in mm).", {}},
    {"COLB", id::Descriptions_COLB, ItemKind::Text, "Auto", "ColB", "Control descriptions column B handling.\nKeep: do not change;\nMake: rewrite (by e.g. A-F);\nAuto: decide according to the original column content.", {"Keep", "Auto", "Make"}},
    {"FONTNAME", id::Descriptions_FONTNAME, ItemKind::Text, "", "FontName", "Font name (if it differs from the default font configured in section Target).", {}},
};

constexpr ItemDef kPointBoardItems[] = {
    {"DRAW", id::PointBoard_DRAW, ItemKind::YesNo, "Yes", "Draw", "Specifies whether board for pointing to answers (at the bottom) will be printed.", {"Yes", "No"}},
    {"FULLWORDS", id::PointBoard_FULLWORDS, ItemKind::YesNo, "No", "FullWords", "Specifies whether only letters will be printed, or full words as well.", {"Yes", "No"}},
    {"SIZE", id::PointBoard_SIZE, ItemKind::Integer, "20", "Size", "Height of answer pointing rectangles (in mm).", {}},
    {"MARGIN", id::PointBoard_MARGIN, ItemKind::Integer, "5", "Margin", "Margin of the answer pointing board (in mm).", {}},
    {"COLOR", id::PointBoard_COLOR, ItemKind::Colour, "0 0 0", "Color", "Color used for the answer pointing board.", {}},
    {"FONTNAME", id::PointBoard_FONTNAME, ItemKind::Text, "", "FontName", "Font name (if it differs from the default font configured in section Target).", {}},
};

constexpr ItemDef kSolutionsItems[] = {
    {"SHEET", id::Solutions_SHEET, ItemKind::Text, "A4Portrait", "Sheet", "Sheet format.", {"A4Portrait", "A4Landscape"}},
    {"PRINTMARGIN", id::Solutions_PRINTMARGIN, ItemKind::Integer, "5", "Print Margin", "Unprintable paper sheet margin (in mm).\nKib produces image that is smaller than real sheet of paper. This value is the dimension of the unprintable margin on each side of the sheet.", {}},
    {"SHEETMARGIN", id::Solutions_SHEETMARGIN, ItemKind::Integer, "2", "Sheet Margin", "Margin of the produced sheet (in mm).\nHorizontal and vertical margin of the sheet produced by Kib.", {}},
    {"COMPRESSED", id::Solutions_COMPRESSED, ItemKind::Text, "No", "Compressed", "Compressed form (allowing 8 stations per sheet).", {"Yes", "No"}},
    {"TITLE1SIZE", id::Solutions_TITLE1SIZE, ItemKind::Integer, "5", "Title 1 Size", "Height of the first (title) line (in mm).\nZero can be used for hiding the line.", {}},
    {"TITLE2SIZE", id::Solutions_TITLE2SIZE, ItemKind::Integer, "4", "Title 2 Size", "Height of the second (subtitles) line (in mm).\nZero can be used for hiding the line.", {}},
    {"RULERHEIGHT", id::Solutions_RULERHEIGHT, ItemKind::Integer, "4", "Ruler Height", "Total height of space covered by horizontal ruler line with margins (in mm).", {}},
    {"SCALE", id::Solutions_SCALE, ItemKind::Scale, "", "Scale", "Solution map scale (e.g. 2000).", {}},
    {"MAPWIDTH", id::Solutions_MAPWIDTH, ItemKind::Integer, "", "Map Width", "Width of the rectangle with map (in mm).", {}},
    {"MAPHEIGHT", id::Solutions_MAPHEIGHT, ItemKind::Integer, "", "Map Height", "Height of the rectangle with map (in mm).", {}},
    {"BORDERWIDTH", id::Solutions_BORDERWIDTH, ItemKind::Integer, "2", "", "", {}},
    {"BORDERPAD", id::Solutions_BORDERPAD, ItemKind::Integer, "2", "", "", {}},
    {"BORDERCOLOR", id::Solutions_BORDERCOLOR, ItemKind::Colour, "0 0 0", "Map Border Color", "Color used for the map border.", {}},
    {"TASKNUMS", id::Solutions_TASKNUMS, ItemKind::YesNo, "Yes", "Task Numbers", "Showing task numbers in solution map.", {"Yes", "No"}},
    {"KIBSYMCOLOR", id::Solutions_KIBSYMCOLOR, ItemKind::Text, "Original", "Kib Symbol Color", "Color used for special Kib symbols (chair, flags, zeros, letters).", {"Original", "Red"}},
    {"CIRCLEW", id::Solutions_CIRCLEW, ItemKind::Real, "0.15", "Circle Width", "Width of the control cirle in the solution map. Zero means no control circles.", {}},
    {"DESCWIDTH", id::Solutions_DESCWIDTH, ItemKind::Integer, "40", "Description Width", "Width of the rectangle with control descriptions (in mm). The height is set accordingly.", {}},
    {"LOGO", id::Solutions_LOGO, ItemKind::Text, "", "Logo", "Image file with trailer logo.", {}},
    {"LOGOWIDTH", id::Solutions_LOGOWIDTH, ItemKind::Integer, "", "Logo Width", "Actual width of the logo (in mm).", {}},
    {"LOGOHEIGHT", id::Solutions_LOGOHEIGHT, ItemKind::Integer, "", "Logo Height", "Actual height of the logo (in mm).", {}},
    {"LOGOTOP", id::Solutions_LOGOTOP, ItemKind::Integer, "", "Logo Top", "Margin above the logo (in mm).", {}},
};

constexpr ItemDef kStationItems[] = {
    {"TASKS", id::Station_TASKS, ItemKind::TaskCount, "", "Tasks", "Number of tasks at station (if it differs from the default value configured in section Event).", {}},
    {"FLAGS", id::Station_FLAGS, ItemKind::FlagCount, "", "Flags", "Number of flags at station (if it differs from the default value configured in section Event).", {}},
    {"MINANGLE", id::Station_MINANGLE, ItemKind::Integer, "", "Min Angle", "Angle toward the Alpha flag. If you know only the final rotation angle, enter it here and ignore the Max Angle field. Leave it empty if you want Kib to calculate it by himself.", {}},
    {"MAXANGLE", id::Station_MAXANGLE, ItemKind::Integer, "", "Max Angle", "Angle toward the righmost flag. If you know only the final rotation angle, ignore this field and enter it to the Min Angle field. Leave it empty if you want Kib to calculate it by himself.", {}},
    {"ANSWERS", id::Station_ANSWERS, ItemKind::Text, "", "Answers", "Correct answers (string of letters like 'AFZ').\nUsed for solution maps and only if the answers are not placed directly to the control descriptions field H.", {}},
    {"MAPOFFSET", id::Station_MAPOFFSET, ItemKind::Integer, "", "Map Offset", "Vertical shift of the map. This value increases the MapSegment.Top and decreases Bottom.\nValid in the WEB mode only.", {}},
    {"SOLSCALE", id::Station_SOLSCALE, ItemKind::Scale, "", "Solution Scale", "Scale of solution map (if it differs from the default value configured in section Solution).", {}},
};

}  // namespace
// clang-format on

const std::span<const SectionDef> SectionTable() {
    static constexpr SectionDef kSections[] = {
        {"Event", id::Section_Event, kEventItems},
        {"Source", id::Section_Source, kSourceItems},
        {"Target", id::Section_Target, kTargetItems},
        {"System", id::Section_System, kSystemItems},
        {"Text", id::Section_Text, kTextItems},
        {"Cover", id::Section_Cover, kCoverItems},
        {"Heading", id::Section_Heading, kHeadingItems},
        {"MapSegment", id::Section_MapSegment, kMapSegmentItems},
        {"MapBorder", id::Section_MapBorder, kMapBorderItems},
        {"MapColors", id::Section_MapColors, kMapColorsItems},
        {"NorthArrow", id::Section_NorthArrow, kNorthArrowItems},
        {"OrderTabs", id::Section_OrderTabs, kOrderTabsItems},
        {"Descriptions", id::Section_Descriptions, kDescriptionsItems},
        {"PointBoard", id::Section_PointBoard, kPointBoardItems},
        {"Solutions", id::Section_Solutions, kSolutionsItems},
        {"Station", id::Section_Station, kStationItems},
    };
    return kSections;
}

} // namespace kib
