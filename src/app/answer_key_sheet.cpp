// The officials' answer key page, drawn as SVG for the converter.
#include "app/answer_key_sheet.h"

#include "foundation/format.h"
#include "sheet/svg_text.h"

#include <algorithm>
#include <sstream>

namespace kib {

namespace {

constexpr double kPageW = 210.0;
constexpr double kPageH = 297.0;
constexpr double kMargin = 15.0;
constexpr double kLabelW = 40.0;   // the station's part of a table, at most
constexpr double kMaxCell = 14.0;  // the largest cell: letters of about 10 mm
constexpr double kTableGap = 0.45; // between two stations' tables, in cell heights
constexpr double kColumnGap = 6.0; // between two columns of tables
constexpr const char* kShade = "rgb(200,200,200)";

struct Page {
    std::ostringstream out;
    std::string font;

    void Text(double x, double y, double size, const std::string& text, const char* anchor,
              bool bold = false) {
        AppendF(out,
                "<text x=\"%.2f\" y=\"%.2f\" font-family=\"%s\" font-size=\"%.2f\"%s "
                "text-anchor=\"%s\" fill=\"black\">%s</text>\r\n",
                x, y, XmlEscape(font).c_str(), size, bold ? " font-weight=\"bold\"" : "", anchor,
                XmlEscape(text).c_str());
    }
    void Cell(double x, double y, double w, double h, const char* fill) {
        AppendF(out,
                "<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\" fill=\"%s\" "
                "stroke=\"black\" stroke-width=\"0.4\"/>\r\n",
                x, y, w, h, fill);
    }
};

// The rows of one station, in task order.
std::vector<const KeyRow*> RowsOf(const AnswerKeyTable& table, int station) {
    std::vector<const KeyRow*> rows;
    for (const KeyRow& r : table.rows) {
        if (r.station == station) {
            rows.push_back(&r);
        }
    }
    return rows;
}

// The title lines, the date and the page's name; returns where the tables begin.
double DrawHeading(Page& page, const AnswerKeyTable& table, const std::string& today) {
    double y = kMargin + 8.0;
    page.Text(kMargin, y, 9.0, "Answer key", "start", true);
    page.Text(kPageW - kMargin, y, 6.0, table.date.empty() ? today : table.date, "end");
    for (const std::string& title : {table.title1, table.title2}) {
        if (!title.empty()) {
            y += 8.0;
            page.Text(kMargin, y, 6.0, title, "start");
        }
    }
    return y + 8.0;
}

// How the tables share the page: in one to three columns, each table a column
// of the station's name and number beside a column per task, its cells as
// large as the page allows up to kMaxCell.
struct Grid {
    int columns = 1;
    double columnW = 0; // one column of tables
    double labelW = 0;  // the station's part of a table
    double cell = 0;    // the height of a task's cells (number 0.6, answer 1.4)
    double cellW = 0;

    double Letter() const { return std::min(cell, 1.1 * cellW); }
};

Grid ChooseGrid(std::size_t stations, std::size_t maxTasks, double height) {
    Grid best;
    for (int columns = 1; columns <= 3; ++columns) {
        Grid g;
        g.columns = columns;
        g.columnW = (kPageW - 2 * kMargin - (columns - 1) * kColumnGap) / columns;
        g.labelW = std::min(kLabelW, 0.3 * g.columnW);
        const auto rows = static_cast<double>((stations + static_cast<std::size_t>(columns) - 1) /
                                              static_cast<std::size_t>(columns));
        g.cell = std::min(kMaxCell, height / (std::max(1.0, rows) * (2.0 + kTableGap)));
        g.cellW = std::min(1.4 * g.cell, (g.columnW - g.labelW) / static_cast<double>(maxTasks));
        // More columns only for larger letters.
        if (columns == 1 || g.Letter() > best.Letter() + 0.5) {
            best = g;
        }
    }
    return best;
}

// One station's table at x, y: its name above its number, then a column per
// task with the task's number above its answer; a zero answer shaded, a
// missing key "?".
void DrawStation(Page& page, const AnswerKeyTable& table, int station,
                 const std::vector<const KeyRow*>& rows, double x, double y, const Grid& g) {
    const double cell = g.cell;
    // Letters take about 0.65 of their size in width: the name and number fit their part.
    const std::string name = table.stationWord + " " + std::to_string(station);
    const std::string number = std::to_string(station);
    const double nameSize =
        std::min(0.45 * cell, (g.labelW - 2.0) / (0.6 * static_cast<double>(name.size())));
    const double numberSize =
        std::min(g.Letter(), (g.labelW - 2.0) / (0.65 * static_cast<double>(number.size())));
    page.Text(x, y + 0.45 * cell, nameSize, name, "start");
    page.Text(x + (g.labelW - 2.0) / 2, y + 1.3 * cell + 0.35 * numberSize, numberSize, number,
              "middle", true);
    double cx = x + g.labelW;
    for (const KeyRow* r : rows) {
        page.Cell(cx, y, g.cellW, 0.6 * cell, "white");
        page.Text(cx + g.cellW / 2, y + 0.45 * cell, 0.4 * cell, std::to_string(r->task), "middle");
        page.Cell(cx, y + 0.6 * cell, g.cellW, 1.4 * cell, r->IsZero() ? kShade : "white");
        page.Text(cx + g.cellW / 2, y + 1.3 * cell + 0.35 * g.Letter(), g.Letter(),
                  r->key.empty() ? "?" : r->key, "middle", true);
        cx += g.cellW;
    }
}

} // namespace

std::string AnswerKeySheetSvg(const AnswerKeyTable& table, const std::string& today) {
    Page page;
    page.font = table.font.empty() ? "Arial" : table.font;
    page.out << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n";
    AppendF(page.out,
            "<svg id=\"mainSheet\" width=\"21.000cm\" height=\"29.700cm\" viewBox=\"0 0 %.0f "
            "%.0f\" xmlns=\"http://www.w3.org/2000/svg\">\r\n",
            kPageW, kPageH);
    page.out << "<rect x=\"0\" y=\"0\" width=\"210\" height=\"297\" fill=\"white\"/>\r\n";
    const double top = DrawHeading(page, table, today);
    const double legendH = 10.0;
    std::size_t maxTasks = 1;
    for (int s : table.stations) {
        maxTasks = std::max(maxTasks, RowsOf(table, s).size());
    }
    // Every table on the one page: the cells shrink for large events only.
    const Grid g = ChooseGrid(table.stations.size(), maxTasks, kPageH - kMargin - legendH - top);
    const std::size_t perColumn =
        (table.stations.size() + static_cast<std::size_t>(g.columns) - 1) /
        static_cast<std::size_t>(g.columns);
    for (std::size_t k = 0; k < table.stations.size(); ++k) {
        const int s = table.stations[k];
        const double x = kMargin + static_cast<double>(k / perColumn) * (g.columnW + kColumnGap);
        const double y = top + static_cast<double>(k % perColumn) * (2.0 + kTableGap) * g.cell;
        DrawStation(page, table, s, RowsOf(table, s), x, y, g);
    }
    page.Cell(kMargin, kPageH - kMargin - 5.0, 6.0, 5.0, kShade);
    page.Text(kMargin + 8.0, kPageH - kMargin - 1.2, 4.0,
              "Z = zero: none of the flags is right (shaded).  ? = no answer key.", "start");
    page.out << "</svg>\r\n";
    return page.out.str();
}

} // namespace kib
