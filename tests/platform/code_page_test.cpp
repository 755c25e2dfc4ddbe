#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace kib::platform {
namespace {

TEST(CodePageTest, ConvertsSingleByteCodePagesToUtf8) {
    struct Case {
        const char* codePage;
        std::string bytes;
        std::string utf8;
    };
    const Case cases[] = {
        // "Šumava ąž" in Central European Windows text, however the code page is named.
        {"CP1250", "\x8aumava \xb9\x9e", "\xc5\xa0umava \xc4\x85\xc5\xbe"},
        {"windows-1250", "\x8a", "\xc5\xa0"},
        {"WINDOWS-1250", "\x8a", "\xc5\xa0"},
        {"ISO-8859-2", "\xa9\xb1", "\xc5\xa0\xc4\x85"},
        // Western: the euro sign and quotes of the 0x80 row, "é".
        {"CP1252", "\x80 \x93x\x94 \xe9", "\xe2\x82\xac \xe2\x80\x9cx\xe2\x80\x9d \xc3\xa9"},
        {"CP1250", "plain ASCII", "plain ASCII"},
        // Greek has no character at 0xAA.
        {"CP1253", "\xe1\xaa", "\xce\xb1\xef\xbf\xbd"},
        {"CP1250", "", ""},
    };
    for (const auto& c : cases) {
        std::string out = "stale";
        ASSERT_TRUE(CodePageToUtf8(c.codePage, c.bytes, out)) << c.codePage;
        EXPECT_EQ(out, c.utf8) << c.codePage << " " << c.bytes;
    }
}

TEST(CodePageTest, RefusesAnUnknownCodePage) {
    std::string out;
    EXPECT_FALSE(CodePageToUtf8("NO-SUCH-CODE-PAGE", "x", out));
    EXPECT_FALSE(CodePageToUtf8("", "x", out));
}

} // namespace
} // namespace kib::platform
