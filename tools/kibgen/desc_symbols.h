// Control description symbols: the features, appearances and locations the generator
// puts into columns D, E and G, drawn inside one cell of the description table.
#pragma once

#include "svg_out.h"

#include <vector>

namespace kib::gen {

struct DescSymbolDef {
    int major;
    int minor;
    const char* name;
    int column;  // 4 (D), 5 (E) or 7 (G)
    bool filled; // drawn as a filled shape, else as a line
};

std::vector<DescSymbolDef> DescSymbolsOfColumn(int column);
const DescSymbolDef* FindDescSymbol(int major, int minor);

// Writes the symbol's object(s) centred in a cell of the given size.
void WriteDescSymbol(SvgOut& out, const DescSymbolDef& def, Pt cellCentre, double cell);

} // namespace kib::gen
