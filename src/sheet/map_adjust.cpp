#include "sheet/map_adjust.h"

#include "foundation/format.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/line_ops.h"
#include "sheet/sheet_layout.h"
#include "sheet/svg_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace kib {

namespace {

// Calls visit for every existing set of count minors from the id's minor, or of
// every minor of the major when the id names all of them.
template <typename F>
void ForEachMinor(const CKibMap& map, const SymbolId& id, int count, F visit) {
    if (!id.valid || (id.major == 0 && id.minor == 0)) {
        return;
    }
    int first = id.minor;
    int last = id.minor + count - 1;
    if (id.minor < 0) {
        first = 0;
        last = map.HighestMinor(id.major);
    }
    for (int minor = first; minor <= last; ++minor) {
        if (SymbolSet* set = map.FindSet(id.major, minor)) {
            visit(*set);
        }
    }
}

// Symbols whose lines the reader hid or that the sheets hide on purpose: a
// segment reduction must never show them.
constexpr SymbolType kNotReduced = TYPE_HIDDEN | TYPE_OMITTED | TYPE_DESCRIPTION | TYPE_SPECIAL;

} // namespace

void HideSymbol(CKibMap& map, const SymbolId& id, int count) {
    Diagnostics& diagnostics = map.Diag();
    ForEachMinor(map, id, count, [&diagnostics](SymbolSet& set) {
        for (SymbolInstance& inst : set.instances) {
            if (inst.firstLine && !inst.firstLine->hidden) {
                HideLines(inst.firstLine, inst.lastLine, diagnostics);
            }
        }
    });
}

void SetSymbolColour(CKibMap& map, const SymbolId& id, const std::string& colour, int count) {
    Diagnostics& diagnostics = map.Diag();
    ForEachMinor(map, id, count, [&colour, &diagnostics](SymbolSet& set) {
        const SymbolInstance* last = set.Last();
        if (!set.groupLine || !last || !last->lastLine) {
            return;
        }
        MapLine* first = set.groupLine;
        const MapLine* end = last->lastLine;
        diagnostics.Debug("Setting color %s in lines %d .. %d:\"%s\" .. \"%s\"", colour.c_str(),
                          first->lineNo, end->lineNo, first->text.c_str(), end->text.c_str());
        for (MapLine* line = first; line && line->lineNo <= end->lineNo; line = line->next) {
            Recolour(*line, colour, diagnostics);
        }
    });
}

void DarkenGreens(CKibMap& map, int percent) {
    if (percent <= 0) {
        return;
    }
    if (percent > 100) {
        percent = 100;
    }
    std::string darkened[4];
    for (int k = 0; k < 4; ++k) {
        int r = 0, g = 0, b = 0;
        std::sscanf(kVegetationGreens[k], "(%d,%d,%d)", &r, &g, &b);
        darkened[k] = Format("(%d,%d,%d)", r * (100 - percent) / 100, g * (100 - percent) / 100,
                             b * (100 - percent) / 100);
    }
    for (MapLine* line = map.FirstLine(); line; line = line->next) {
        std::string& text = line->text;
        for (std::size_t at = text.find("rgb("); at != std::string::npos;
             at = text.find("rgb(", at + 4)) {
            for (int k = 0; k < 4; ++k) {
                const std::size_t n = std::strlen(kVegetationGreens[k]);
                if (text.compare(at + 3, n, kVegetationGreens[k]) == 0) {
                    text.replace(at + 3, n, darkened[k]);
                    break;
                }
            }
        }
    }
}

namespace {

// How far from the control point, in millimetres of the canvas, the map can be
// seen: the map segment's hole in the screening cut with the segment margin and
// one millimetre to spare, wherever the offset moved the map under it.
float SegmentReach(const SheetLayout& layout, bool forceSquare, int offset) {
    const float spare = static_cast<float>(layout.segMargin + 1);
    const float shift = static_cast<float>(std::abs(offset));
    const float halfW = static_cast<float>(layout.segW) / 2.0f;
    if (forceSquare) {
        return std::hypot(static_cast<float>(layout.segH / 2) + spare,
                          static_cast<float>(layout.segW / 2) + spare);
    }
    if (layout.circleShape) {
        return static_cast<float>(layout.segRadius) + shift + spare;
    }
    if (layout.modeWeb) {
        // The hole reaches from the top of the canvas down to segH.
        const float centre = static_cast<float>(layout.mapCentreY + offset);
        const float up = std::fabs(centre);
        const float down = std::fabs(static_cast<float>(layout.segH) - centre);
        return std::hypot(halfW + spare, std::max(up, down) + spare);
    }
    return std::hypot(static_cast<float>(layout.segH) / 2.0f + shift + spare, halfW + spare);
}

// Distance from (x, y) to the nearest point of the box min .. max.
float DistanceToBox(float x, float y, MapPoint min, MapPoint max) {
    const float dx = std::max({min.x - x, 0.0f, x - max.x});
    const float dy = std::max({min.y - y, 0.0f, y - max.y});
    return std::hypot(dx, dy);
}

} // namespace

void ReduceToSegment(CKibMap& map, const SheetLayout& layout, float x, float y, bool forceSquare,
                     int offset) {
    const float reach = SegmentReach(layout, forceSquare, offset) / map.zoom;
    map.Registry().ForEach([&](SymbolSet& set) {
        if (set.major < 100 || set.major > 699 || (set.type & kNotReduced)) {
            return;
        }
        for (SymbolInstance& inst : set.instances) {
            if (!inst.firstLine || !inst.lastLine) {
                continue;
            }
            // An object whose extent the reader could not tell is always drawn.
            const bool far =
                inst.drawnKnown && DistanceToBox(x, y, inst.drawnMin, inst.drawnMax) > reach;
            if (far && !inst.firstLine->hidden) {
                HideLines(inst.firstLine, inst.lastLine, map.Diag());
            } else if (!far && inst.firstLine->hidden) {
                SetLinesHidden(inst.firstLine, inst.lastLine, false, map.Diag());
            }
        }
    });
}

} // namespace kib
