// The symbol sets of a map, addressed directly by major and minor 0 .. 999.
#pragma once

#include "map_input/symbol_set.h"

#include <array>
#include <memory>

namespace kib {

class SymbolRegistry {
  public:
    static constexpr int kSize = 1000; // majors and minors 0 .. 999

    static bool InRange(int number) { return number >= 0 && number < kSize; }

    // The set major.minor; none when out of range or not registered.
    SymbolSet* Find(int major, int minor) const;
    // The existing set, or a new one; none when out of range.
    SymbolSet* FindOrCreate(int major, int minor, SymbolType type, MapLine* groupLine,
                            bool& created);
    // Highest minor registered for the major; -1 when none.
    int HighestMinor(int major) const;

    // Visits every set in the order major, then minor.
    template <typename F> void ForEach(F&& visit) const {
        for (const auto& table : majors_) {
            if (!table) {
                continue;
            }
            for (int minor = 0; minor <= table->highestMinor; ++minor) {
                if (table->sets[minor]) {
                    visit(*table->sets[minor]);
                }
            }
        }
    }

  private:
    struct MajorTable {
        std::array<std::unique_ptr<SymbolSet>, kSize> sets;
        int highestMinor = 0;
    };
    std::array<std::unique_ptr<MajorTable>, kSize> majors_;
};

} // namespace kib
