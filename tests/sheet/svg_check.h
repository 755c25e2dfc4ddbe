// Test helpers for the sheet tests: parsing written SVG with pugixml.
#pragma once

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>

namespace kib::test {

// Parses a whole document; the test fails when it is not well-formed.
inline void ParseDocument(pugi::xml_document& doc, const std::string& text) {
    const pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
    ASSERT_TRUE(result) << result.description() << " at offset " << result.offset << " in\n"
                        << text;
}

// Parses surface output as the content of an SVG element.
inline void ParseFragment(pugi::xml_document& doc, const std::string& fragment) {
    ParseDocument(doc, "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                       "xmlns:xlink=\"http://www.w3.org/1999/xlink\">" +
                           fragment + "</svg>");
}

// The attribute of the first node an XPath query selects ("" when none).
inline std::string AttrOf(const pugi::xml_document& doc, const char* xpath, const char* name) {
    const pugi::xpath_node node = doc.select_node(xpath);
    return node ? node.node().attribute(name).value() : std::string();
}

} // namespace kib::test
