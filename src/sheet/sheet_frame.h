// The frame of every SVG document: the header taken partly from the station's
// map export (its first line and its prologue with the entity declarations), the
// sheet element, the canvas clip path, the white background and the print margin
// translation; and the closing line.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace kib {

class CKibage;
struct MapLine;

// One line of the map export as read (without its line end) and whether it is hidden.
struct ExportLineRef {
    std::string_view text;
    bool hidden = false;
};

// Writes the document header for the layout of the surface. exportLines are the
// export's lines in file order from its first line on; only those before the
// export's own <svg line are used, so passing all lines is fine. printSheet is set
// for the print sheets that tile canvases; solution layouts get the clip path too.
// Always succeeds.
bool WriteSheetHeader(std::ostream& out, const CKibage& layout,
                      std::span<const ExportLineRef> exportLines, bool printSheet);

// The same from the line list of a map export (CKibMap::FirstLine()); none gives
// a header without the export's lines.
bool WriteSheetHeader(std::ostream& out, const CKibage& layout, const MapLine* firstLine,
                      bool printSheet);

// The closing line of every document, written after the composed content.
inline constexpr const char* kSheetClosing = "</g></svg>\r\n";
void WriteSheetClosing(std::ostream& out);

} // namespace kib
