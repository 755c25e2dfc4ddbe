#include "sheet/export_body.h"

#include "map_input/kib_map.h"
#include "sheet/svg_text.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace kib {

DescGeometry MeasuredTable(const CKibMap& map) {
    DescGeometry g;
    const DescFrame& f = map.descFrame;
    if (f.rowHeight > 0.0f && f.width > 0.0f && std::isfinite(f.rowHeight) &&
        std::isfinite(f.width)) {
        g.left = f.left;
        g.top = f.top;
        g.width = f.width;
        g.rowHeight = f.rowHeight;
        g.c0 = map.columnEdges[0];
        g.c1 = map.columnEdges[1];
        g.c2 = map.columnEdges[2];
    }
    return g;
}

int ClosingSvgLine(const CKibMap& map) {
    const auto& lines = map.Lines();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        if (it->text.compare(0, 5, "</svg") == 0) {
            return it->lineNo;
        }
    }
    return map.lineCount;
}

namespace {

// Writes the lines from through to that are not hidden.
void WriteShownLines(const std::deque<MapLine>& lines, int from, int to, std::ostream& out) {
    if (from > to) {
        return;
    }
    const auto end = lines.begin() + to;
    for (auto line = lines.begin() + (from - 1); line != end; ++line) {
        if (!line->hidden) {
            out << line->text << kCrLf;
        }
    }
}

} // namespace

void WriteMapBody(const CKibMap& map, std::ostream& out) {
    const MapLine* first = map.firstContentLine;
    if (!first) {
        return;
    }
    const int closing = ClosingSvgLine(map);
    int from = first->lineNo;
    int last = closing - 1;
    if (map.layout == CKibMap::kLayoutScaleGroup) {
        from += 1;          // the export's own scale group line
        last = closing - 2; // and its closing line
    }
    last = std::min(last, static_cast<int>(map.Lines().size()));
    // The objects are looked up in the index of their line ranges: one left out
    // whole is passed over without touching its lines.
    for (const LineBlock& block : map.Blocks()) {
        if (block.first < from) {
            continue; // before the body, or within lines already written
        }
        if (block.last > last) {
            break;
        }
        WriteShownLines(map.Lines(), from, block.first - 1, out);
        if (!block.AllHidden()) {
            WriteShownLines(map.Lines(), block.first, block.last, out);
        }
        from = block.last + 1;
    }
    WriteShownLines(map.Lines(), from, last, out);
}

TextCellF DescriptionCell(const CKibMap& map, const std::string& fontFamily, float x1, float y1,
                          float x2, float y2, const std::string& text) {
    TextCellF cell;
    cell.x1 = x1;
    cell.y1 = y1;
    cell.x2 = x2;
    cell.y2 = y2;
    cell.colour = map.descColour;
    cell.text = text;
    cell.fontFamily = fontFamily;
    return cell;
}

} // namespace kib
