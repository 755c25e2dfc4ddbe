// A sheet read for drawing keeps nothing that reaches beyond it: external
// entities become empty, parameter entities go, XInclude means nothing.
#include "app/sheet_source.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

TEST(SheetSourceTest, OutsideReferencesAreTakenOut) {
    const struct {
        std::string text;
        std::string confined;
    } cases[] = {
        {"<!DOCTYPE svg [\n<!ENTITY ext SYSTEM \"file:///etc/passwd\">\n]>\n<svg>&ext;</svg>",
         "<!DOCTYPE svg [\n<!ENTITY ext \"\">\n]>\n<svg>&ext;</svg>"},
        {"<!DOCTYPE svg [<!ENTITY  net\tPUBLIC 'x' 'http://127.0.0.1/e'><!ENTITY stR "
         "\"fill:none\">]><svg/>",
         "<!DOCTYPE svg [<!ENTITY net \"\"><!ENTITY stR \"fill:none\">]><svg/>"},
        {"<!DOCTYPE svg [<!ENTITY % par SYSTEM \"http://x/p.dtd\"> %par;]><svg/>",
         "<!DOCTYPE svg [ %par;]><svg/>"},
        // A value or a comment that looks like a declaration is no declaration.
        {"<!DOCTYPE svg [<!ENTITY a \"<svg <!ENTITY b SYSTEM 'f'>\"><!-- <!ENTITY c SYSTEM 'f'> "
         "--><!ENTITY d SYSTEM \"f\">]><svg/>",
         "<!DOCTYPE svg [<!ENTITY a \"<svg <!ENTITY b SYSTEM 'f'>\"><!-- <!ENTITY c SYSTEM 'f'> "
         "--><!ENTITY d \"\">]><svg/>"},
        {"<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
         "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\"><svg/>",
         "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
         "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\"><svg/>"},
        {"<svg><xi:include xmlns:xi=\"http://www.w3.org/2001/XInclude\" "
         "href=\"/etc/passwd\"/></svg>",
         "<svg><xi:include xmlns:xi=\"urn:x-kib:no-inclusion:2001\" href=\"/etc/passwd\"/></svg>"},
        {"<svg><text>&lt;!ENTITY x SYSTEM \"f\"&gt;</text></svg>",
         "<svg><text>&lt;!ENTITY x SYSTEM \"f\"&gt;</text></svg>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithoutOutsideReferences(c.text), c.confined) << c.text;
    }
}

// What renaming cannot reach refuses the sheet: XInclude spelled through a
// character reference or entities, nesting deeper than librsvg draws.
TEST(SheetSourceTest, SheetsBeyondTheBoundsAreRefused) {
    std::string deep = "<svg>\n";
    for (int i = 0; i < 300; ++i) {
        deep += "<g>";
    }
    const struct {
        std::string text;
        std::string reason; // empty: drawn
    } cases[] = {
        {"<svg>\n<xi:include xmlns:xi=\"http://www.w3.org/2001/XInclude\" href=\"f\"/></svg>", ""},
        {"<svg>\n<xi:include xmlns:xi=\"http&#x3A;//www.w3.org/2001/XInclude\" href=\"f\"/></svg>",
         "line 2 names XInclude, which makes a drawing read other files"},
        {"<!DOCTYPE svg [<!ENTITY a \"http://www.w3.org/2001/XIn\"><!ENTITY b \"clude\">]>\n"
         "<svg><xi:include xmlns:xi=\"&a;&b;\" href=\"f\"/></svg>",
         "line 2 names XInclude, which makes a drawing read other files"},
        {deep, "line 2 nests elements deeper than 256 levels"},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        std::string reason;
        EXPECT_EQ(ConfineSheet(text, reason), c.reason.empty()) << c.text;
        EXPECT_EQ(reason, c.reason);
    }
}

} // namespace
} // namespace kib
