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

// Reads the sheet at path (a regular file only, never blocking) and gives its
// text without outside references. False with the reason when it cannot be read.
bool ReadSheetForDrawing(const std::string& path, std::string& text, std::string& reason);

} // namespace kib
