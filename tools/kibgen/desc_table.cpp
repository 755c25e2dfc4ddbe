// The control description table of a station, drawn with OCAD's description symbols:
// a white background (18.1), the symbols of columns D, E and G, numbers in column A
// (12.1), the title (13.1), thin and thick table lines (16.1 to 16.4) and, for some
// stations, the answers in column H (792.1 to 792.7 for A to F and Z).
#include "course_layer.h"
#include "desc_symbols.h"
#include "glyphs.h"

#include <map>
#include <string>
#include <utility>

namespace kib::gen {

namespace {

struct Table {
    double left;
    double top;
    double cell;
    int rows;
    int firstTaskRow; // 1 with a title row, else 0 (row numbers count from 0 here)

    double X(double column) const { return left + column * cell; }
    double RowTop(int row) const { return top + row * cell; }
    Pt CellCentre(int column, int row) const { // column 1 .. 8
        return {X(column - 0.5), RowTop(row) + cell / 2};
    }
};

void Begin(SvgOut& out, const Look& look) {
    out.BeginStyle(look.group, look.object);
}

void Segment(SvgOut& out, Pt a, Pt b) {
    PathData p;
    p.Move(a).Line(b);
    out.Object(p);
}

void Background(SvgOut& out, const Table& t) {
    out.BeginSymbol(18, 1, "Description background");
    Begin(out, FillLook("rgb(255,255,255)"));
    PathData p;
    p.Polyline(
         {{t.X(0), t.top}, {t.X(8), t.top}, {t.X(8), t.RowTop(t.rows)}, {t.X(0), t.RowTop(t.rows)}})
        .Close();
    out.Object(p);
    out.EndGroup();
    out.EndGroup();
}

void Symbols(SvgOut& out, const Station& st, const Table& t) {
    std::map<std::pair<int, int>, std::vector<Pt>> byId;
    for (std::size_t k = 0; k < st.tasks.size(); ++k) {
        for (const DescEntry& e : st.tasks[k].descriptions) {
            byId[{e.major, e.minor}].push_back(
                t.CellCentre(e.column, t.firstTaskRow + static_cast<int>(k)));
        }
    }
    for (const auto& [id, centres] : byId) {
        const DescSymbolDef* def = FindDescSymbol(id.first, id.second);
        if (!def) {
            continue;
        }
        out.BeginSymbol(def->major, def->minor, def->name);
        Begin(out, def->filled ? FillLook() : StrokeLook("0.3"));
        for (const Pt& c : centres) {
            WriteDescSymbol(out, *def, c, t.cell);
        }
        out.EndGroup();
        out.EndGroup();
    }
}

void Texts(SvgOut& out, const Station& st, const Table& t) {
    out.BeginSymbol(12, 1, "Control number text");
    Begin(out, StrokeLook("0.3"));
    for (std::size_t k = 0; k < st.tasks.size(); ++k) {
        out.Object(TextPath(std::to_string(st.tasks[k].number),
                            t.CellCentre(1, t.firstTaskRow + static_cast<int>(k)), 0.5 * t.cell));
    }
    out.EndGroup();
    out.EndGroup();
    if (t.firstTaskRow == 0) {
        return;
    }
    out.BeginSymbol(13, 1, "Title");
    Begin(out, StrokeLook("0.3"));
    out.Object(TextPath(st.course, {t.X(1), t.top + t.cell / 2}, 0.5 * t.cell));
    out.EndGroup();
    out.EndGroup();
}

void Lines(SvgOut& out, const Table& t) {
    out.BeginSymbol(16, 1, "Thin horizontal line");
    Begin(out, StrokeLook("0.15"));
    for (int k = 0; k <= t.rows; ++k) {
        Segment(out, {t.X(0), t.RowTop(k)}, {t.X(8), t.RowTop(k)});
    }
    out.EndGroup();
    out.EndGroup();
    // Row by row, the thin lines between A|B, B|C, D|E, E|F and G|H.
    out.BeginSymbol(16, 2, "Thin vertical line");
    Begin(out, StrokeLook("0.15"));
    for (int r = 0; r < t.rows; ++r) {
        for (int c : {1, 2, 4, 5, 7}) {
            Segment(out, {t.X(c), t.RowTop(r)}, {t.X(c), t.RowTop(r + 1)});
        }
    }
    out.EndGroup();
    out.EndGroup();
    out.BeginSymbol(16, 3, "Thick vertical line");
    Begin(out, StrokeLook("0.4"));
    for (int r = 0; r < t.rows; ++r) {
        for (int c : {0, 3, 6, 8}) {
            Segment(out, {t.X(c), t.RowTop(r)}, {t.X(c), t.RowTop(r + 1)});
        }
    }
    out.EndGroup();
    out.EndGroup();
    out.BeginSymbol(16, 4, "Thick horizontal line");
    Begin(out, StrokeLook("0.4"));
    Segment(out, {t.X(0), t.top}, {t.X(8), t.top});
    if (t.firstTaskRow == 1 && t.rows > 1) {
        Segment(out, {t.X(0), t.RowTop(1)}, {t.X(8), t.RowTop(1)});
    }
    Segment(out, {t.X(0), t.RowTop(t.rows)}, {t.X(8), t.RowTop(t.rows)});
    out.EndGroup();
    out.EndGroup();
}

void Answers(SvgOut& out, const Station& st, const Table& t) {
    const std::string letters = "ABCDEFZ";
    for (std::size_t m = 0; m < letters.size(); ++m) {
        std::vector<Pt> centres;
        for (std::size_t k = 0; k < st.tasks.size(); ++k) {
            if (st.tasks[k].answer == letters[m]) {
                centres.push_back(t.CellCentre(8, t.firstTaskRow + static_cast<int>(k)));
            }
        }
        if (centres.empty()) {
            continue;
        }
        out.BeginSymbol(792, static_cast<int>(m) + 1, std::string("Answer ") + letters[m]);
        Begin(out, StrokeLook("0.3"));
        for (const Pt& c : centres) {
            out.Object(TextPath(std::string(1, letters[m]), c, 0.55 * t.cell));
        }
        out.EndGroup();
        out.EndGroup();
    }
}

} // namespace

void WriteDescriptionTable(SvgOut& out, const Event& event, const Station& st) {
    const Table t{st.tableTopLeft.x, st.tableTopLeft.y, kCellSize, TableRows(event, st),
                  event.options.titleRow ? 1 : 0};
    Background(out, t);
    Symbols(out, st, t);
    Texts(out, st, t);
    Lines(out, t);
    if (st.answersInH) {
        Answers(out, st, t);
    }
}

} // namespace kib::gen
