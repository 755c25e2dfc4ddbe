// A sheet read for drawing in this process (the built-in converter, the proof
// pictures, the map view). Sheets carry lines of the organisers' map exports,
// which may name other files: the drawing reads nothing but the sheet and the
// files in its own folder (the logo beside the solution sheets), and nothing
// over the network.
#pragma once

#include <string>

namespace kib {

// The sheet's text with what could reach beyond it taken out: an external
// entity (declared SYSTEM or PUBLIC) becomes an empty one, a parameter entity
// declaration goes, and XInclude elements lose their meaning (their namespace
// is renamed). The rest stays byte for byte.
std::string WithoutOutsideReferences(std::string text);

// The sheet's text made ready for drawing: its outside references taken out.
// False with the reason (naming the line) when the sheet is beyond what is
// drawn: XInclude in a spelling that renaming cannot reach (a character
// reference, a name built from entities), elements nested deeper than librsvg
// draws, entities that expand too far.
bool ConfineSheet(std::string& text, std::string& reason);

// Reads the sheet at path (a regular file only, never blocking) and gives its
// text made ready for drawing (ConfineSheet). False with the reason when it
// cannot be read or is refused.
bool ReadSheetForDrawing(const std::string& path, std::string& text, std::string& reason);

} // namespace kib
