// The yes/no rule and the first letter of a value, as written or in either case.
#include "foundation/first_letter.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

TEST(FirstLetterTest, YesNoAndCaseRules) {
    for (const char* no : {"No", "no", "N", "nein"}) {
        EXPECT_FALSE(IsYes(no)) << no;
    }
    for (const char* yes : {"Yes", "", "y", "maybe", " No", "0"}) {
        EXPECT_TRUE(IsYes(yes)) << yes;
    }
    EXPECT_EQ(FirstLetter("web", LetterCase::Exact), 'w');
    EXPECT_EQ(FirstLetter("web", LetterCase::Either), 'W');
    EXPECT_EQ(FirstLetter("WEB", LetterCase::Either), 'W');
    EXPECT_EQ(FirstLetter("", LetterCase::Either), '\0');
    EXPECT_EQ(FirstLetter("4x", LetterCase::Either), '4');
    EXPECT_EQ(FirstLetter("\xE9t\xE9", LetterCase::Either), '\xE9'); // only ASCII letters change
}

} // namespace
} // namespace kib
