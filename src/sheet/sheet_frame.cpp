#include "sheet/sheet_frame.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "map_input/map_line.h"
#include "sheet/kibage.h"
#include "sheet/product_info.h"
#include "sheet/svg_text.h"

#include <vector>

namespace kib {

namespace {

bool IsSvgOpenLine(std::string_view text) {
    return text.substr(0, 4) == "<svg";
}

// The export's first line, the generator comment, the DPI comment and the
// export's prologue from its third line up to its <svg line.
void WriteProlog(std::ostream& out, const CKibage& layout, std::span<const ExportLineRef> lines) {
    if (!lines.empty() && !lines[0].hidden && !IsSvgOpenLine(lines[0].text)) {
        out << lines[0].text << kCrLf;
    }
    AppendF(out, "<!-- Generator: Kib - %s - ver. %s, %s -->\r\n", kProgramName,
            VersionText().c_str(), kCopyrightNotice);
    AppendF(out, "<!-- Attributes: DPI=%d -->\r\n", layout.Config().Item(id::Target_DPI).GetInt());
    for (size_t i = 0; i < lines.size() && !IsSvgOpenLine(lines[i].text); ++i) {
        if (i >= 2 && !lines[i].hidden) {
            out << lines[i].text << kCrLf;
        }
    }
}

void WriteClipPath(std::ostream& out, const CKibage& layout) {
    const int w = layout.solution ? layout.mapBoxW : layout.canvasW;
    const int h = layout.solution ? layout.mapBoxH : layout.canvasH;
    out << "<defs>\r\n"
        << "  <clipPath id=\"CANVAS\">\r\n";
    AppendF(out, "    <rect x=\"0\" y=\"0\" width=\"%d\" height=\"%d\" />\r\n", w, h);
    out << "  </clipPath>\r\n"
        << "</defs>\r\n";
}

} // namespace

bool WriteSheetHeader(std::ostream& out, const CKibage& layout,
                      std::span<const ExportLineRef> exportLines, bool printSheet) {
    WriteProlog(out, layout, exportLines);
    AppendF(out, "<svg id=\"mainSheet\" width=\"%.3fcm\" height=\"%.3fcm\"", layout.sheetW / 10.0,
            layout.sheetH / 10.0);
    AppendF(out, " viewBox=\"0 0 %d %d\"", layout.sheetW, layout.sheetH);
    out << " style=\"fill:none;stroke-width:0;fill-rule:evenodd\""
        << " xmlns:xlink=\"http://www.w3.org/1999/xlink\""
        << " xmlns=\"http://www.w3.org/2000/svg\""
        << " >\r\n";
    out << "<desc>Sheet</desc>\r\n";
    if (printSheet || layout.solution) {
        WriteClipPath(out, layout);
    }
    AppendF(out,
            "<g><rect id=\"sheetBg\" x=\"0\" y=\"0\" width=\"%d\" height=\"%d\" "
            "fill=\"white\"/></g>\r\n",
            layout.sheetW, layout.sheetH);
    const int shift = printSheet ? -layout.printMargin : 0;
    AppendF(out, "<g transform=\"translate(%d,%d)\">\r\n", shift, shift);
    return true;
}

bool WriteSheetHeader(std::ostream& out, const CKibage& layout, const MapLine* firstLine,
                      bool printSheet) {
    std::vector<ExportLineRef> prologue;
    for (const MapLine* line = firstLine; line != nullptr; line = line->next) {
        prologue.push_back({line->text, line->hidden});
        if (IsSvgOpenLine(line->text)) {
            break;
        }
    }
    return WriteSheetHeader(out, layout, prologue, printSheet);
}

void WriteSheetClosing(std::ostream& out) {
    out << kSheetClosing;
}

} // namespace kib
