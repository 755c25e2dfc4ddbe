#include "foundation/text_codec.h"

#include "platform/environment.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

class TextCodecTest : public ::testing::Test {
  protected:
    void TearDown() override { platform::SetEnvironmentValue("KIB_CODEPAGE", std::nullopt); }
};

TEST_F(TextCodecTest, ValidUtf8PassesUnchanged) {
    for (const char* s : {"", "Sprint", "Bieg na orientację", "Örebro \xE2\x82\xAC"}) {
        EXPECT_TRUE(IsValidUtf8(s)) << s;
        EXPECT_EQ(ToUtf8(s), s);
    }
}

TEST_F(TextCodecTest, RejectsMalformedUtf8) {
    for (const char* s : {"\xC3", "\xC3(", "\xC0\xAF", "\xED\xA0\x80", "\xF8\x88\x80\x80\x80"}) {
        EXPECT_FALSE(IsValidUtf8(s));
    }
}

TEST_F(TextCodecTest, OtherBytesAreWindows1252ByDefault) {
    EXPECT_EQ(ActiveCodePage(), "CP1252");
    EXPECT_EQ(ToUtf8("caf\xE9"), "café");
    EXPECT_EQ(ToUtf8("\x80 5"), "€ 5");
    EXPECT_EQ(ToUtf8("a\x81"), "a\xEF\xBF\xBD") << "undefined byte shows a replacement";
}

TEST_F(TextCodecTest, CodePageFromEnvironment) {
    platform::SetEnvironmentValue("KIB_CODEPAGE", "CP1250");
    EXPECT_EQ(ToUtf8("\xB9\x9A"), "ąš");
    platform::SetEnvironmentValue("KIB_CODEPAGE", "NO-SUCH-CODEPAGE");
    EXPECT_EQ(ToUtf8("caf\xE9"), "café") << "unknown code page falls back to Windows-1252";
}

} // namespace
} // namespace kib
