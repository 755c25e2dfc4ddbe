// Small helpers for writing SVG text: printf-style appending (through the one
// formatter, foundation/format.h), colours and XML escaping of texts that come
// from the configuration or the map.
#pragma once

#include <ostream>
#include <string>

namespace kib {

// Formats like printf (full length, never cut) and appends the result to out.
void AppendF(std::ostream& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// "rgb(%d,%d,%d)" of a colour integer red + 256 * green + 65536 * blue.
std::string RgbText(int colour);
// The colour integer of red, green and blue bytes.
constexpr int MakeColour(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

// Escapes &, <, > and " for XML text and attribute values, and drops control
// characters that XML 1.0 does not allow (tab, line feed and carriage return stay).
std::string XmlEscape(const std::string& text);
// A configuration or map text made safe for an SVG document: converted to UTF-8
// from the system code page when it is not UTF-8 already, then escaped.
std::string SvgSafeText(const std::string& text);

// The line break of every written document.
inline constexpr const char* kCrLf = "\r\n";

} // namespace kib
