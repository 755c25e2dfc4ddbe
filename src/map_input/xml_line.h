// The line scanner for OCAD's XML exports: one element per line, two blanks of
// indentation per nesting level. Not an XML parser: each line is judged by its
// first "<" and the first ">" after the tag name.
#pragma once

#include <string>
#include <string_view>

namespace kib {

struct XmlLine {
    bool hasTag = false;    // the line holds a "<"
    int level = 0;          // position of the first "<", divided by two
    bool closing = false;   // "</"
    std::string_view tag;   // up to the first blank or ">" (or the end of the line)
    std::size_t tagEnd = 0; // position right after the tag name
    // The line opens an element whose content follows on the next lines (its first
    // ">" after the tag name ends the line and is not "/>"), or it is a closing line
    // alone on its line.
    bool setsContainer = false;
};

XmlLine ScanXmlLine(std::string_view line);

// The element's text: after the first ">" of the line, leading blanks skipped, up
// to the next "<" (or the end of the line), trailing blanks removed.
std::string XmlElementText(std::string_view line);

} // namespace kib
