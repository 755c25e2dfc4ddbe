// The bounds of a map export: nesting depth, entity expansion, XInclude in any
// spelling, judged as a parser reads the file.
#include "map_input/export_bounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace kib::test {
namespace {

struct Verdict {
    bool ok = true;
    int line = 0;
    std::string problem;
};

Verdict Check(const std::string& text, const ExportLimits& limits = {}) {
    ExportBounds bounds(limits);
    std::istringstream in(text);
    Verdict verdict;
    for (std::string line; std::getline(in, line);) {
        if (!bounds.Feed(line)) {
            return Verdict{false, bounds.Line(), bounds.Problem()};
        }
    }
    return verdict;
}

// An export with a prologue and a body inside the svg element.
std::string Export(const std::string& prologue, const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
           "<!-- Generator: OCAD Version 12 -->\n" +
           prologue +
           "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\">\n"
           "<g id=\"scaleTransform\" transform=\"scale(1.000)\">\n" +
           body + "</g>\n</svg>\n";
}

std::string Nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += "<g>";
    }
    text += "<rect width=\"1\" height=\"1\"/>";
    for (int i = 0; i < depth; ++i) {
        text += "</g>";
    }
    return text + "\n";
}

TEST(ExportBoundsTest, WhatExportsHoldPasses) {
    const std::string prologue = "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
                                 "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\" [\n"
                                 "  <!ENTITY stR \"fill:none;stroke-linecap:round\">\n"
                                 "  <!ENTITY ext SYSTEM \"file:///etc/passwd\">\n"
                                 "  <!-- a comment with > and XInclude -->\n"
                                 "  <!ATTLIST svg xmlns:xlink CDATA #FIXED "
                                 "\"http://www.w3.org/1999/xlink\">\n"
                                 "]>\n";
    const std::string body = "<g id=\"Sym_403.0 Rough & open land\">\n"
                             "<g style=\"&stR;\" fill=\"rgb(255,221,154)\">\n"
                             "<text>A &amp; B &lt;1&gt; &#233; &ext; R&D</text>\n"
                             "<style><![CDATA[ g > rect { fill: none } ]]></style>\n"
                             "</g>\n</g>\n" +
                             Nested(190);
    const Verdict v = Check(Export(prologue, body));
    EXPECT_TRUE(v.ok) << v.problem;
}

TEST(ExportBoundsTest, NestingBeyondTheLimitIsRefusedAtItsLine) {
    EXPECT_TRUE(Check(Export("", Nested(197))).ok); // svg and the scale group make 199
    const Verdict deep = Check(Export("", Nested(2000)));
    EXPECT_FALSE(deep.ok);
    EXPECT_EQ(deep.line, 5);
    EXPECT_EQ(deep.problem, "nests elements deeper than 200 levels");
    // Depth that entities bring along counts where they are used.
    std::string d2;
    for (int i = 0; i < 60; ++i) {
        d2 += "<g>";
    }
    d2 += "&d1;";
    for (int i = 0; i < 60; ++i) {
        d2 += "</g>";
    }
    std::string d1 = Nested(150);
    std::replace(d1.begin(), d1.end(), '"', '\'');
    const std::string withEntities = "<!DOCTYPE svg [\n<!ENTITY d1 \"" +
                                     d1.substr(0, d1.size() - 1) + "\">\n<!ENTITY d2 \"" + d2 +
                                     "\">\n]>\n";
    EXPECT_TRUE(Check(Export(withEntities, "<g>\n</g>\n")).ok);
    const Verdict viaEntities = Check(Export(withEntities, "<g>\n&d2;\n</g>\n"));
    EXPECT_FALSE(viaEntities.ok);
    EXPECT_EQ(viaEntities.line, 10);
    EXPECT_EQ(viaEntities.problem, "nests elements deeper than 200 levels");
}

TEST(ExportBoundsTest, EntityBombIsRefusedAtItsDeclaration) {
    // Ten levels of ten: 10^10 bytes from 1 kB of declarations.
    std::string prologue = "<!DOCTYPE svg [\n<!ENTITY a0 \"0123456789\">\n";
    for (int i = 1; i <= 9; ++i) {
        prologue += "<!ENTITY a" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) {
            prologue += "&a" + std::to_string(i - 1) + ";";
        }
        prologue += "\">\n";
    }
    prologue += "<!ENTITY stR \"&a9;\">\n]>\n";
    const Verdict bomb = Check(Export(prologue, ""));
    EXPECT_FALSE(bomb.ok);
    EXPECT_EQ(bomb.line, 8); // a4 is the first above 64 KiB
    EXPECT_EQ(bomb.problem, "declares the entity 'a4', which expands to more than 65536 bytes");

    const Verdict loop =
        Check(Export("<!DOCTYPE svg [\n<!ENTITY a \"x&b;\">\n<!ENTITY b \"&a;\">\n]>\n", ""));
    EXPECT_FALSE(loop.ok);
    EXPECT_NE(loop.problem.find("which refers to itself"), std::string::npos) << loop.problem;

    // Many references to an entity within its bound add up.
    ExportLimits small;
    small.expansionBytes = 1000;
    small.expansionPerByte = 0;
    std::string body;
    for (int i = 0; i < 30; ++i) {
        body += "<g style=\"&s;\"/>\n";
    }
    const Verdict total = Check(
        Export("<!DOCTYPE svg [\n<!ENTITY s \"" + std::string(40, 'x') + "\">\n]>\n", body), small);
    EXPECT_FALSE(total.ok);
    EXPECT_EQ(total.line, 33);
    EXPECT_EQ(total.problem, "has entity references that expand to more than 1000 bytes together "
                             "(0 MiB and 0 times the bytes before them)");
    // An export that refers to its style from every object stays within four
    // times its size.
    ExportLimits perByte;
    perByte.expansionBytes = 1000;
    std::string styled;
    for (int i = 0; i < 20000; ++i) {
        styled += "<g style=\"&s;\"><path d=\"M1,2 L3,4\"/></g>\n";
    }
    EXPECT_TRUE(Check(Export("<!DOCTYPE svg [\n<!ENTITY s \"" + std::string(120, 'x') + "\">\n]>\n",
                             styled),
                      perByte)
                    .ok);
}

TEST(ExportBoundsTest, XIncludeIsRefusedHoweverItIsSpelled) {
    const std::string include = " href=\"../ev.cfg\" parse=\"text\"/>\n";
    struct Case {
        const char* what;
        std::string prologue;
        std::string body;
    };
    const std::vector<Case> cases = {
        {"plain", "", "<xi:include xmlns:xi=\"http://www.w3.org/2001/XInclude\"" + include},
        {"hex reference", "",
         "<xi:include xmlns:xi=\"http&#x3A;//www.w3.org/2001/XInclude\"" + include},
        {"decimal references", "",
         "<xi:include xmlns:xi=\"http://www.w3.org/2001/X&#73;&#110;clude\"" + include},
        {"two entities",
         "<!DOCTYPE svg [\n<!ENTITY a \"http://www.w3.org/2001/XIn\">\n<!ENTITY b "
         "\"clude\">\n]>\n",
         "<xi:include xmlns:xi=\"&a;&b;\"" + include},
        {"element from an entity, reference escaped twice",
         "<!DOCTYPE svg [\n<!ENTITY x \"<xi:include xmlns:xi='http://www.w3.org/2001/"
         "X&#38;#73;nclude' href='../ev.cfg' parse='text'/>\">\n]>\n",
         "<g>&x;</g>\n"},
        {"a long entity's edges",
         "<!DOCTYPE svg [\n<!ENTITY a \"" + std::string(40, ' ') +
             "http://www.w3.org/2001/XI\">\n<!ENTITY b \"nclude" + std::string(40, ' ') +
             "\">\n]>\n",
         "<xi:include xmlns:xi=\"&a;&b;\"" + include},
        {"upper case", "", "<xi:include xmlns:xi=\"http://www.w3.org/2001/XINCLUDE\"" + include},
        {"attribute default of the document type",
         "<!DOCTYPE svg [\n<!ATTLIST g xmlns:xi CDATA #FIXED "
         "\"http://www.w3.org/2001/X&#x49;nclude\">\n]>\n",
         "<g><xi:include" + include + "</g>\n"},
        {"an entity the sheets refer to", "<!DOCTYPE svg [\n<!ENTITY stR \"X&#73;nclude\">\n]>\n",
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Verdict v = Check(Export(c.prologue, c.body));
        EXPECT_FALSE(v.ok);
        EXPECT_NE(v.problem.find("XInclude"), std::string::npos) << v.problem;
    }
}

TEST(ExportBoundsTest, ParameterEntityReferencesAreRefused) {
    const Verdict v = Check(Export("<!DOCTYPE svg [\n<!ENTITY % p SYSTEM "
                                   "\"http://127.0.0.1/p.dtd\">\n%p;\n]>\n",
                                   ""));
    EXPECT_FALSE(v.ok);
    EXPECT_EQ(v.line, 5);
    EXPECT_EQ(v.problem, "refers to a parameter entity, which no map export uses");
    // A percent sign in a value is no reference.
    EXPECT_TRUE(Check(Export("<!DOCTYPE svg [\n<!ENTITY w \"width:50%\">\n]>\n", "")).ok);
}

} // namespace
} // namespace kib::test
