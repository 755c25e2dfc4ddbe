// OCAD symbol numbers major.minor as configured (790.1, or 791 for every minor).
#pragma once

#include <string_view>

namespace kib {

struct SymbolId {
    int major = 0;
    int minor = 0; // -1: any minor
    bool valid = false;

    bool IsZero() const { return valid && major == 0 && minor == 0; }
    bool Names(int maj, int min) const { return valid && major == maj && minor == min; }
    friend bool operator==(const SymbolId&, const SymbolId&) = default;
};

// " %d%c%d %c": one number gives major with any minor; major "." minor gives
// both; anything else is invalid (0, 0).
SymbolId ParseSymbolId(std::string_view text);

} // namespace kib
