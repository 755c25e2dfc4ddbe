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
constexpr double kLabelW = 50.0;   // the station's column
constexpr double kMaxCell = 14.0;  // the largest cell: letters of about 10 mm
constexpr double kTableGap = 0.45; // between two stations' tables, in cell heights
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

// One station's table: its name, then a column per task with the task's
// number above its answer; a zero answer shaded, a missing key "?".
void DrawStation(Page& page, const AnswerKeyTable& table, int station,
                 const std::vector<const KeyRow*>& rows, double y, double cell, double cellW) {
    // Bold letters take about 0.65 of their size in width: the name fits its column.
    const std::string name = table.stationWord + " " + std::to_string(station);
    const double size = std::min({0.55 * cell, 7.0, (kLabelW - 3.0) / (0.65 * name.size())});
    page.Text(kMargin, y + 1.3 * cell + 0.35 * size, size, name, "start", true);
    double x = kMargin + kLabelW;
    for (const KeyRow* r : rows) {
        page.Cell(x, y, cellW, 0.6 * cell, "white");
        page.Text(x + cellW / 2, y + 0.45 * cell, 0.4 * cell, std::to_string(r->task), "middle");
        page.Cell(x, y + 0.6 * cell, cellW, 1.4 * cell, r->IsZero() ? kShade : "white");
        page.Text(x + cellW / 2, y + 1.65 * cell, std::min(1.0 * cell, 1.1 * cellW),
                  r->key.empty() ? "?" : r->key, "middle", true);
        x += cellW;
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
    const double count = static_cast<double>(std::max<std::size_t>(1, table.stations.size()));
    const double cell =
        std::min(kMaxCell, (kPageH - kMargin - legendH - top) / (count * (2.0 + kTableGap)));
    const double cellW =
        std::min(1.4 * cell, (kPageW - 2 * kMargin - kLabelW) / static_cast<double>(maxTasks));
    double y = top;
    for (int s : table.stations) {
        DrawStation(page, table, s, RowsOf(table, s), y, cell, cellW);
        y += (2.0 + kTableGap) * cell;
    }
    page.Cell(kMargin, kPageH - kMargin - 5.0, 6.0, 5.0, kShade);
    page.Text(kMargin + 8.0, kPageH - kMargin - 1.2, 4.0,
              "Z = zero: none of the flags is right (shaded).  ? = no answer key.", "start");
    page.out << "</svg>\r\n";
    return page.out.str();
}

} // namespace kib
