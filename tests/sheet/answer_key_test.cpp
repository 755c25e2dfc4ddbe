// The warnings on an answer key: which tasks and what of ANSWERS they name,
// and when a station without any key is named.
#include "sheet/answer_key.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

// A station of tasks whose map answers are the letters of mapLetters, whose
// column H gives the letters of columnH (a blank: none) and whose ANSWERS is
// configured, as CheckAnswerKey puts them together.
StationAnswers Station(const std::string& mapLetters, const std::string& columnH,
                       const std::string& configured) {
    StationAnswers answers;
    answers.configured = configured;
    for (std::size_t k = 0; k < mapLetters.size(); ++k) {
        TaskAnswer a;
        a.task = static_cast<int>(k) + 1;
        a.map.kind = MapAnswer::Kind::Letter;
        a.map.letter = mapLetters[k];
        a.map.near.push_back(FlagDistance{mapLetters[k], 0.0});
        const bool inH = k < columnH.size() && columnH[k] != ' ';
        a.key = inH ? columnH.substr(k, 1) : ConfiguredAnswer(configured, a.task);
        a.keySource = inH ? "column H" : "ANSWERS of the station";
        answers.configuredUsed = answers.configuredUsed || (!inH && !configured.empty());
        answers.tasks.push_back(a);
    }
    return answers;
}

TEST(AnswerKeyTest, ConfiguredAnswersAreReadAsCapitals) {
    EXPECT_EQ(ConfiguredAnswer("cEz", 1), "C");
    EXPECT_EQ(ConfiguredAnswer("cEz", 3), "Z");
    EXPECT_EQ(ConfiguredAnswer("cEz", 4), "");
    EXPECT_EQ(ConfiguredAnswer("cEz", 0), "");
    EXPECT_TRUE(IsAnswerLetter('f'));
    EXPECT_FALSE(IsAnswerLetter('G'));
    EXPECT_FALSE(IsAnswerLetter(' '));
}

TEST(AnswerKeyTest, WarningsNameWhatIsWrongWithTheKey) {
    const struct {
        const char* what;
        StationAnswers answers;
        bool keyRequired;
        bool agrees; // every task's key is known and agrees with the map
        std::vector<std::string> warnings;
    } cases[] = {
        {"the key agrees, in small letters", Station("CEZ", "", "cez"), false, true, {}},
        {"no key at all, on a solution sheet", Station("CE", "", ""), false, false, {}},
        {"no key at all, in the analysis",
         Station("CE", "", ""),
         true,
         false,
         {"[= WARNING =] Station 3: no answer key for task 1, 2 (column H holds none and ANSWERS "
          "of the station is not set)"}},
        {"column H without the last answer",
         Station("CEZ", "CE", ""),
         false,
         false,
         {"[= WARNING =] Station 3: no answer key for task 3 (column H holds none and ANSWERS of "
          "the station is not set)"}},
        {"ANSWERS beside a full column H is not used", Station("CE", "CE", "X"), true, true, {}},
        {"a key too long",
         Station("CE", "", "CEZ"),
         false,
         false,
         {"[= WARNING =] Station 3: ANSWERS=CEZ of the station has 3 answers for 2 tasks"}},
        {"a letter that is no answer, named whole though it takes two bytes",
         Station("CEZ", "", "C\xc3\x89"),
         false,
         false,
         {"[= WARNING =] Station 3: ANSWERS=C\xc3\x89 of the station holds \"\xc3\x89\", which is "
          "no answer (A to F, or Z for none of the flags)"}},
        {"characters that are no answers",
         Station("CEZ", "", "x-Z"),
         false,
         false,
         {"[= WARNING =] Station 3: ANSWERS=x-Z of the station holds \"x\" and \"-\", which are "
          "no answers (A to F, or Z for none of the flags)"}},
        {"a key that differs",
         Station("CEZ", "C", "?AZ"),
         false,
         false,
         {"[= WARNING =] Station 3, task 2: the answer key says A (ANSWERS of the station), but "
          "the map says E (flag E 0.0 m from the circle's centre)",
          "[= WARNING =] Station 3: ANSWERS=?AZ of the station holds \"?\", which is no answer "
          "(A to F, or Z for none of the flags)"}},
    };
    test::RecordingHost host;
    host.Install();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host.Clear();
        EXPECT_EQ(WarnAnswerDifferences(c.answers, 3, App().Log(), c.keyRequired), c.agrees);
        EXPECT_EQ(host.messages, c.warnings);
    }
}

} // namespace
} // namespace kib
