#include "map_input/symbol_registry.h"

namespace kib {

SymbolSet* SymbolRegistry::Find(int major, int minor) const {
    if (!InRange(major) || !InRange(minor) || !majors_[major]) {
        return nullptr;
    }
    return majors_[major]->sets[minor].get();
}

SymbolSet* SymbolRegistry::FindOrCreate(int major, int minor, SymbolType type, MapLine* groupLine,
                                        bool& created) {
    created = false;
    if (!InRange(major) || !InRange(minor)) {
        return nullptr;
    }
    auto& table = majors_[major];
    if (!table) {
        table = std::make_unique<MajorTable>();
    }
    auto& slot = table->sets[minor];
    if (!slot) {
        slot = std::make_unique<SymbolSet>(major, minor, type, groupLine);
        created = true;
    }
    if (table->highestMinor < minor) {
        table->highestMinor = minor;
    }
    return slot.get();
}

int SymbolRegistry::HighestMinor(int major) const {
    if (!InRange(major) || !majors_[major]) {
        return -1;
    }
    return majors_[major]->highestMinor;
}

} // namespace kib
