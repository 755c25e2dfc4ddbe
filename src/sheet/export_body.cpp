#include "sheet/export_body.h"

#include "map_input/kib_map.h"
#include "sheet/svg_text.h"

#include <cmath>

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

void WriteMapBody(const CKibMap& map, std::ostream& out) {
    const MapLine* first = map.firstContentLine;
    if (!first) {
        return;
    }
    const int closing = ClosingSvgLine(map);
    int last = closing - 1;
    if (map.layout == CKibMap::kLayoutScaleGroup) {
        first = first->next; // the export's own scale group line
        last = closing - 2;  // and its closing line
    }
    for (const MapLine* line = first; line && line->lineNo <= last; line = line->next) {
        if (!line->hidden) {
            out << line->text << kCrLf;
        }
    }
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
