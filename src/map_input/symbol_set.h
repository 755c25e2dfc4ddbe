// All drawn objects of one symbol number major.minor, in file order.
#pragma once

#include "map_input/map_line.h"
#include "map_input/symbol_instance.h"
#include "map_input/symbol_type.h"

#include <deque>

namespace kib {

class Diagnostics;

class SymbolSet {
  public:
    SymbolSet(int major, int minor, SymbolType type, MapLine* groupLine);
    SymbolSet(const SymbolSet&) = delete;
    SymbolSet& operator=(const SymbolSet&) = delete;

    // Appends an instance spanning the given line, with index, type and number set.
    SymbolInstance& AddInstance(MapLine* line);
    SymbolInstance* First() { return instances.empty() ? nullptr : &instances.front(); }
    const SymbolInstance* First() const { return instances.empty() ? nullptr : &instances.front(); }
    SymbolInstance* Last() { return instances.empty() ? nullptr : &instances.back(); }

    // Number of consecutive instances that draw one occurrence; computed once.
    void ComputeGroupingFactor(Diagnostics& diagnostics);
    // count / groupingFactor (computing the factor first); 0 without instances.
    int Bundles(Diagnostics& diagnostics);

    int count = 0;
    int groupingFactor = 0;
    SymbolType type = 0;
    MapLine* groupLine = nullptr;
    int major = 0;
    int minor = 0;
    bool repeated = false; // a second group of this number (multicolour symbol)
    std::deque<SymbolInstance> instances;
};

// Whether two instances draw the same shape (grouping factor test).
bool InstancesMatch(const SymbolInstance& a, const SymbolInstance& b);

} // namespace kib
