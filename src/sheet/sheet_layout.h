// The geometry of one station's sheets as the layout computation leaves it:
// paper, canvas, map segment, descriptions, order tabs, pointing board, north
// arrows, heading and the rows of solution sheets. All lengths are whole
// millimetres, colours are red + 256 * green + 65536 * blue.
#pragma once

#include <algorithm>
#include <string>

namespace kib {

// The longest length the layout reads from the configuration: 100 m, more than
// any paper. Longer (and more negative) values are read as this bound, so that
// the layout's sums stay far inside an int and such a value fails the size
// checks instead of overflowing.
inline constexpr int kMaxLength = 100000;

inline int BoundedLength(int mm) {
    return std::clamp(mm, -kMaxLength, kMaxLength);
}

struct FontSpec {
    int size = 0; // millimetres (heading and cover); unused for the other fonts
    int colour = 0;
    std::string family;

    bool operator==(const FontSpec&) const = default;
};

struct SheetLayout {
    // Kind of layout and switches.
    bool modeAnt = false; // Target.MODE begins with A: ANT mobile application
    bool modeWeb = false; // Target.MODE begins with W: web simulator page
    bool solution = false;
    bool drawTabs = false;
    bool tabsCover = false;
    bool drawBoard = false;
    bool zeroTab = false;
    bool fullWords = false; // PointBoard.FULLWORDS
    bool coverOnly = false; // Heading.COVERONLY: titles only on the cover canvas

    // Tiling: 0 = one canvas per sheet, else 2 or 4.
    int canvasesPerSheet = 0;
    bool tileColumns = false;
    bool tileRows = false;

    int station = 0;
    int tasks = 0;
    int flags = 0;
    int timeLimit = 0; // seconds: Event.LIMIT, or 30 per task

    int sheetW = 0, sheetH = 0;
    int printMargin = 0;
    int canvasW = 0, canvasH = 0;

    int headLeft = 0, headRight = 0, headTop = 0;
    int titleGap = 0;

    int segRadius = 0, segW = 0, segH = 0;
    int segMargin = 0, segTop = 0, segBottom = 0;
    int mapBoxW = 0, mapBoxH = 0;
    bool circleShape = false;

    bool northLines = false;
    bool arrowLinkMap = false; // arrows beside the map, else beside the descriptions
    bool statNum = false;

    int borderWidth = 0, borderGap = 0;

    int tabSize = 0, tabLeft = 0, tabRight = 0, tabTop = 0, tabBottom = 0, tabsW = 0;

    int descCell = 0, descTableW = 0, descMargin = 0, descRowH = 0;
    int descTop = 0, descCentreX = 0;

    int arrowSize = 0, arrowMargin = 0, arrowBox = 0;
    int arrowSide = 0; // 0 both, 1 left, 2 right
    int arrowX = 0, arrowY = 0;

    int boardSize = 0, boardMargin = 0, boardH = 0, boardCellW = 0, boardLeft = 0;

    int mapCentreX = 0, mapCentreY = 0;

    // Solution sheets.
    bool compressed = false;
    int sheetMargin = 0, titleTop = 0, leftX = 0, rightX = 0, rowTop = 0;
    int rowsPerSheet = 0, rowH = 0;
    int rulerH = 0, logoW = 0, logoH = 0, logoTop = 0, title1Size = 0, title2Size = 0;

    // Texts.
    std::string title1, title2, date, eventClass;
    std::string stationWord, tasksWord, limitWord;
    std::string scaleText, scaleLine;
    std::string stationLabel, stationClassLabel;
    std::string defaultFont;

    FontSpec headingFont, coverFont, tabsFont, boardFont, descFont;
    int borderColour = 0;
    int arrowColour = 0;

    int colBMode = 0; // description column B: 0 keep, 1 auto, 2 make
    std::string letterRange;

    // A line logged before the first size error of a computation that is not
    // quiet (the layout check names the station there); empty for none.
    std::string errorLead;

    bool operator==(const SheetLayout&) const = default;
};

} // namespace kib
