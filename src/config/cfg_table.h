// The one table of configuration keys: sections in file order, and per section
// its items in construction order with id, kind, default text, pane label,
// pane help text and the drop-down choices of the properties pane.
#pragma once

#include <initializer_list>
#include <span>
#include <string_view>

namespace kib {

// Which checks and normal form an item applies to the values it is given.
enum class ItemKind {
    Text,          // stored unchanged
    Integer,       // any integer
    Scale,         // integer given as 4000, 1:4000 or 1:4 000
    StationNumber, // integer 0 .. 20 (Event.MINSTAT, Event.MAXSTAT)
    TaskCount,     // integer 1 .. 15, 0 accepted with a warning
    FlagCount,     // integer 1 .. 6
    YesNo,         // normalised to "Yes" / "No"
    Colour,        // "R G B"
    Real,          // text that must begin with a real number
    TargetMode,    // text; "W..." asks for the WEB preset when the configuration is live
    CanvasForm,    // Target.CANVAS paper forms
    SheetForm,     // Target.SHEET paper forms
    SymbolOne,     // symbol list: map range, no group, one symbol (CHAIR, ZERO)
    SymbolFlags,   // symbol list: map range, groups, several symbols (FLAG)
    SymbolLetters, // symbol list: map range, groups, one symbol (LETTERS)
    SymbolAnswers, // symbol list: no range, groups, one symbol (ANSWERS)
    SymbolZeroTol, // symbol list: description range, groups, several symbols (ZEROTOL)
};

// Where Inkscape is installed unless System.INKSCAPEPATH says otherwise: "/usr/"
// on Linux (bin/inkscape), "C:\\Program Files\\Inkscape\\" on Windows.
const char* DefaultInkscapePath();

struct ItemDef {
    const char* key;
    int id; // for station sections: the id of station 0
    ItemKind kind;
    const char* defaultText;
    const char* paneLabel; // empty: the item has no entry in the properties pane
    const char* paneHelp;
    std::initializer_list<const char*> choices;
};

struct SectionDef {
    const char* name; // "Station" stands for the 21 sections "Station %d"
    int id;           // for stations: the id of station 0
    std::span<const ItemDef> items;
};

// Fifteen fixed sections, then the station section pattern.
const std::span<const SectionDef> SectionTable();

inline constexpr int kStationCount = 21; // stations 0 .. 20
inline constexpr int kMaxStation = 20;
inline constexpr int kMaxTasks = 15;
inline constexpr int kMaxFlags = 6;
inline constexpr int kStationIdBase = 2100;

constexpr int StationItemId(int station, int station0Id) {
    return station0Id + 100 * station;
}

} // namespace kib
