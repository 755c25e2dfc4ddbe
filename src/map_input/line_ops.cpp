#include "map_input/line_ops.h"

#include "foundation/diagnostics.h"
#include "foundation/format.h"

#include <cstdio>

namespace kib {

namespace {

void MarkRange(MapLine* first, MapLine* last, bool hidden) {
    for (MapLine* line = first; line && line->lineNo <= last->lineNo; line = line->next) {
        if (line->hidden == hidden) {
            continue;
        }
        line->hidden = hidden;
        if (line->block) {
            line->block->hiddenLines += hidden ? 1 : -1;
        }
    }
}

void TraceRange(const char* verb, const MapLine* first, const MapLine* last,
                Diagnostics& diagnostics) {
    diagnostics.Debug("%s lines %d .. %d:\"%s\" .. \"%s\"", verb, first->lineNo, last->lineNo,
                      first->text.c_str(), last->text.c_str());
}

std::string RotationGroup(int angle, MapPoint centre) {
    return Format("<g transform=\"rotate(%d %.3f %.3f)\">", angle, static_cast<double>(centre.x),
                  static_cast<double>(centre.y));
}

void Wrap(SymbolInstance& inst, const std::string& group, Diagnostics& diagnostics) {
    if (!inst.firstLine || !inst.lastLine) {
        return;
    }
    inst.firstLine->text.insert(0, group);
    inst.lastLine->text += "</g>";
    if (inst.firstLine == inst.lastLine) {
        diagnostics.Debug("Rotating symbol on line %d:\"%s\"", inst.firstLine->lineNo,
                          inst.firstLine->text.c_str());
    } else {
        diagnostics.Debug("Rotating symbol on lines %d .. %d:\"%s\" .. \"%s\"",
                          inst.firstLine->lineNo, inst.lastLine->lineNo,
                          inst.firstLine->text.c_str(), inst.lastLine->text.c_str());
    }
}

} // namespace

void HideLines(MapLine* first, MapLine* last, Diagnostics& diagnostics) {
    SetLinesHidden(first, last, true, diagnostics);
}

void SetLinesHidden(MapLine* first, MapLine* last, bool hidden, Diagnostics& diagnostics) {
    if (!first || !last) {
        return;
    }
    MarkRange(first, last, hidden);
    TraceRange(hidden ? "Hiding" : "Unhiding", first, last, diagnostics);
}

void WriteLines(const SymbolInstance& inst, const std::string& prefix, std::ostream& out) {
    if (!inst.firstLine || !inst.lastLine) {
        return;
    }
    for (const MapLine* line = inst.firstLine; line && line->lineNo <= inst.lastLine->lineNo;
         line = line->next) {
        out << prefix << line->text << "\r\n";
    }
}

void Recolour(MapLine& line, const std::string& colour, Diagnostics& diagnostics) {
    const std::size_t start = line.text.find("rgb(");
    if (start == std::string::npos) {
        return;
    }
    const std::size_t end = line.text.find(')', start);
    if (end == std::string::npos) {
        diagnostics.Debug("Cannot color line %d (rgb not closed):\"%s\"", line.lineNo,
                          line.text.c_str());
        return;
    }
    line.text.replace(start, end - start + 1, colour);
    diagnostics.Debug("Coloring line %d:\"%s\"", line.lineNo, line.text.c_str());
}

void Thin(const SymbolInstance& inst, float width, Diagnostics& diagnostics) {
    MapLine* line = inst.firstLine;
    if (!line) {
        return;
    }
    const std::size_t key = line->text.find("stroke-width");
    if (key == std::string::npos) {
        diagnostics.Debug("Cannot thin line %d (missing stroke-width):\"%s\"", line->lineNo,
                          line->text.c_str());
        return;
    }
    const std::size_t value = key + 14; // after stroke-width="
    const std::size_t end =
        value <= line->text.size() ? line->text.find('"', value) : std::string::npos;
    if (end == std::string::npos) {
        diagnostics.Debug("Cannot thin line %d (stroke-width not closed):\"%s\"", line->lineNo,
                          line->text.c_str());
        return;
    }
    line->text.replace(value, end - value, Format("%f", static_cast<double>(width)));
    diagnostics.Debug("Thining line %d:\"%s\"", line->lineNo, line->text.c_str());
}

bool RotateBundles(SymbolInstance* first, int angle, int g, Diagnostics& diagnostics) {
    if (g < 1) {
        g = 1;
    }
    SymbolInstance* inst = first;
    while (inst) {
        MapPoint min = inst->min;
        MapPoint max = inst->max;
        TracePoint(inst->min, "Dup", diagnostics);
        TracePoint(inst->max, "Dup", diagnostics);
        SymbolInstance* member = inst;
        for (int k = 0; k < g && member; ++k, member = member->next) {
            min.x = member->min.x < min.x ? member->min.x : min.x;
            min.y = member->min.y < min.y ? member->min.y : min.y;
            max.x = member->max.x > max.x ? member->max.x : max.x;
            max.y = member->max.y > max.y ? member->max.y : max.y;
        }
        const std::string group =
            RotationGroup(angle, MapPoint{(min.x + max.x) / 2.0f, (min.y + max.y) / 2.0f});
        for (int k = 0; k < g && inst; ++k, inst = inst->next) {
            Wrap(*inst, group, diagnostics);
        }
    }
    return true;
}

void RotateAllAboutFirst(SymbolInstance* first, int angle, Diagnostics& diagnostics) {
    if (!first) {
        return;
    }
    const std::string group = RotationGroup(angle, first->ref);
    diagnostics.Debug("Rotating all symbols %d.%d: \"%s\"", first->major, first->minor,
                      group.c_str());
    for (SymbolInstance* inst = first; inst; inst = inst->next) {
        Wrap(*inst, group, diagnostics);
    }
}

void TracePoint(MapPoint p, const char* label, Diagnostics& diagnostics) {
    diagnostics.Debug("Map point coordinates: %.3f, %.3f (%s)", static_cast<double>(p.x),
                      static_cast<double>(p.y), label);
}

} // namespace kib
