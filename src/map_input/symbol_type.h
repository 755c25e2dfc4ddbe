// Bits that classify a symbol set and its instances.
#pragma once

namespace kib {

using SymbolType = unsigned;

// Lines hidden; left out of the description analysis.
inline constexpr SymbolType TYPE_HIDDEN = 0x01;
// Lines hidden, but the symbol still takes part in the analyses.
inline constexpr SymbolType TYPE_OMITTED = 0x02;
// Chair, flag, zero, letter, answer or zero-tolerance symbol.
inline constexpr SymbolType TYPE_SPECIAL = 0x04;
// Course-setting symbol; the first one starts the course-setting layer.
inline constexpr SymbolType TYPE_COURSE = 0x10;
inline constexpr SymbolType TYPE_DESCRIPTION = 0x20;
// Symbol of the answers column.
inline constexpr SymbolType TYPE_ANSWER = 0x40;

inline constexpr SymbolType TYPE_SPECIAL_COURSE = TYPE_SPECIAL | TYPE_COURSE; // 0x14
inline constexpr SymbolType TYPE_ANSWERS =
    TYPE_ANSWER | TYPE_DESCRIPTION | TYPE_SPECIAL | TYPE_OMITTED;                  // 0x66
inline constexpr SymbolType TYPE_ZERO_TOLERANCE = TYPE_DESCRIPTION | TYPE_SPECIAL; // 0x24
// A symbol group whose type has one of these bits is hidden when it closes.
inline constexpr SymbolType TYPE_HIDING_MASK = TYPE_HIDDEN | TYPE_OMITTED | TYPE_DESCRIPTION;

} // namespace kib
