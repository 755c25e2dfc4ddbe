#include "desc_symbols.h"

namespace kib::gen {

namespace {

const std::vector<DescSymbolDef>& All() {
    static const std::vector<DescSymbolDef> all = {
        {1, 3, "Re-entrant", 4, false},
        {1, 6, "Knoll", 4, true},
        {2, 1, "Boulder", 4, true},
        {3, 4, "Pond", 4, false},
        {4, 1, "Thicket", 4, false},
        {5, 1, "Building", 4, true},
        {6, 1, "Distinctive tree", 4, false},
        {8, 2, "Shallow", 5, false},
        {8, 5, "Ruined", 5, false},
        {11, 1, "North side", 7, false},
        {11, 8, "Foot", 7, false},
    };
    return all;
}

} // namespace

std::vector<DescSymbolDef> DescSymbolsOfColumn(int column) {
    std::vector<DescSymbolDef> list;
    for (const auto& d : All()) {
        if (d.column == column) {
            list.push_back(d);
        }
    }
    return list;
}

const DescSymbolDef* FindDescSymbol(int major, int minor) {
    for (const auto& d : All()) {
        if (d.major == major && d.minor == minor) {
            return &d;
        }
    }
    return nullptr;
}

void WriteDescSymbol(SvgOut& out, const DescSymbolDef& def, Pt c, double cell) {
    auto at = [&](double x, double y) { return c + Pt{x * cell, y * cell}; };
    PathData p;
    switch (def.major * 100 + def.minor) {
    case 103:
        p.Move(at(-0.25, -0.28)).Curve({at(-0.25, 0.32), at(0.25, 0.32), at(0.25, -0.28)});
        break;
    case 106:
        out.Circle(c, 0.12 * cell);
        return;
    case 201:
        p.Polyline({at(0, -0.25), at(0.27, 0.22), at(-0.27, 0.22)}).Close();
        break;
    case 304:
        out.Circle(c, 0.25 * cell);
        return;
    case 401:
        p.Move(at(-0.3, -0.15)).Line(at(0.3, -0.15)).Move(at(-0.3, 0.05)).Line(at(0.3, 0.05));
        p.Move(at(-0.3, 0.25)).Line(at(0.3, 0.25));
        break;
    case 501:
        p.Polyline({at(-0.22, -0.22), at(0.22, -0.22), at(0.22, 0.22), at(-0.22, 0.22)}).Close();
        break;
    case 601:
        p.Polyline({at(0, 0.32), at(0, 0.05), at(-0.2, -0.05), at(-0.2, -0.28), at(0.2, -0.28),
                    at(0.2, -0.05), at(0, 0.05)});
        break;
    case 802:
        p.Polyline({at(-0.3, 0.1), at(0, -0.1), at(0.3, 0.1)});
        break;
    case 805:
        p.Polyline({at(-0.3, 0), at(-0.15, -0.2), at(0, 0.2), at(0.15, -0.2), at(0.3, 0)})
            .ImplicitLines();
        break;
    case 1101:
        p.Polyline({at(-0.28, -0.28), at(0.28, -0.28), at(0.28, 0.28), at(-0.28, 0.28)}).Close();
        p.Move(at(-0.28, -0.16)).Line(at(0.28, -0.16));
        break;
    case 1108:
        p.Polyline({at(-0.3, 0.22), at(0.3, 0.22)}).Move(at(0, 0.22)).Line(at(0, -0.25));
        break;
    default:
        return;
    }
    out.Object(p);
}

} // namespace kib::gen
