// The verb a mistyped command word most likely meant.
#include "cli/nearest_verb.h"

#include <gtest/gtest.h>

namespace kib::cli {
namespace {

const std::vector<std::string> kVerbs = {
    "new", "config", "check", "analyse", "maps", "images", "solutions", "solution-images", "proof"};

TEST(NearestVerb, SuggestsTheVerbAFewKeysAway) {
    struct Case {
        const char* word;
        const char* nearest;
    };
    const Case cases[] = {
        {"mpas", "maps"},
        {"map", "maps"},
        {"image", "images"},
        {"analyze", "analyse"},
        {"solution", "solutions"},
        {"chek", "check"},
        {"porof", "proof"},
        {"xyz", ""},
        {"m", ""},
        {"solutionimages", "solution-images"},
        {"delete", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NearestVerb(c.word, kVerbs), c.nearest) << c.word;
    }
    EXPECT_EQ(EditDistance("mpas", "maps"), 1u);
    EXPECT_EQ(EditDistance("", "new"), 3u);
}

TEST(NearestVerb, TheVerbWordSkipsOptionsAndTheirValues) {
    EXPECT_EQ(VerbWord({"--quiet", "mpas", "ev.cfg"}, {"--debug-log"}), "mpas");
    EXPECT_EQ(VerbWord({"--debug-log", "log.txt", "mpas"}, {"--debug-log"}), "mpas");
    EXPECT_EQ(VerbWord({"--yes"}, {"--debug-log"}), "");
}

} // namespace
} // namespace kib::cli
