#include "foundation/log.h"

#include "foundation/app_state.h"
#include "foundation/format.h"
#include "support/host_recorder.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

class LogTest : public ::testing::Test {
  protected:
    void SetUp() override { host.Install(); }
    void TearDown() override { ResetAppState(); }
    test::HostRecorder host;
};

TEST_F(LogTest, RoutesEachLevelToItsPanesAndFlags) {
    App().debugSwitch = true;
    LogInfo("Parsing config file %s%s", "/ev/", "a.cfg");
    LogError("[** ERROR **] Cannot write file %s", "a.svg");
    LogWarning("[= WARNING =] STOP button pressed");
    LogDebug("==== Making MAP %d.%d...", 3, 2);

    EXPECT_EQ(host.messages, (std::vector<std::string>{"Parsing config file /ev/a.cfg",
                                                       "[** ERROR **] Cannot write file a.svg",
                                                       "[= WARNING =] STOP button pressed"}));
    EXPECT_EQ(host.debug,
              (std::vector<std::string>{"Parsing config file /ev/a.cfg", "Cannot write file a.svg",
                                        "STOP button pressed", "==== Making MAP 3.2..."}));
    EXPECT_GT(App().errorCount, 0);
    EXPECT_GT(App().warningCount, 0);
}

TEST_F(LogTest, DebugLinesAreGatedBySwitch) {
    LogDebug("hidden %d", 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.debug.empty());
    App().debugSwitch = true;
    LogDebug("shown %d", 2);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.debug, std::vector<std::string>{"shown 2"});
}

TEST_F(LogTest, LongLinesAreCutAt999CharactersInBothPanes) {
    const std::string longText(1200, 'x');
    LogInfo("%s", longText.c_str());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], std::string(999, 'x'));
    EXPECT_EQ(host.debug[0], std::string(999, 'x'));

    LogError("[** ERROR **] %s", longText.c_str());
    EXPECT_EQ(host.messages[1].size(), 999u);
    EXPECT_EQ(host.messages[1].substr(0, 14), "[** ERROR **] ");
    EXPECT_EQ(host.debug[1], std::string(999 - 14, 'x'));

    // The cut is the log's: the one formatter keeps every character.
    EXPECT_EQ(Format("%s.", longText.c_str()), longText + ".");
    EXPECT_EQ(Format("%d %s", 7, ""), "7 ");
    EXPECT_EQ(Format("%s", ""), "");
}

TEST_F(LogTest, ExternalTextWithPercentSignsPassesUnchanged) {
    LogInfo("%s", "100% done %d %s");
    EXPECT_EQ(host.messages[0], "100% done %d %s");
}

TEST_F(LogTest, DebugSwitchFollowsFirstLetterOfValue) {
    const struct {
        const char* value;
        bool on;
    } cases[] = {{"no", false}, {"No", false}, {"N", false},
                 {"Yes", true}, {"1", true},   {"", true}};
    for (const auto& c : cases) {
        SetDebugSwitchFromValue(c.value);
        EXPECT_EQ(App().debugSwitch, c.on) << "value '" << c.value << "'";
    }
}

TEST_F(LogTest, ClosingBoxFollowsTheVerdictOfWhatATallySaw) {
    LogError("[** ERROR **] before the tally"); // counted by the log, not by the tally
    EXPECT_EQ(App().errorCount, 1);
    const LogTally outer;
    EXPECT_EQ(ShowClosingBox(outer.GetVerdict(), "E", "W", "S"), BoxIcon::Information);
    LogWarning("[= WARNING =] w");
    EXPECT_EQ(ShowClosingBox(outer.GetVerdict(), "E", "W", "S"), BoxIcon::Warning);
    {
        const LogTally inner; // tallies nest: a line counts in every open one
        LogError("[** ERROR **] e1");
        LogError("[** ERROR **] e2");
        LogInfo("fine");
        EXPECT_EQ(inner.Errors(), 2);
        EXPECT_EQ(inner.Warnings(), 0);
        EXPECT_EQ(inner.Lines(),
                  (std::vector<std::string>{"[** ERROR **] e1", "[** ERROR **] e2", "fine"}));
        EXPECT_EQ(inner.Problems(),
                  (std::vector<std::string>{"[** ERROR **] e1", "[** ERROR **] e2"}));
    }
    LogError("[** ERROR **] e3");
    EXPECT_EQ(outer.Errors(), 3);
    EXPECT_EQ(outer.Warnings(), 1);
    EXPECT_EQ(App().errorCount, 4);
    EXPECT_EQ(ShowClosingBox(outer.GetVerdict(), "E", "W", "S"), BoxIcon::Error);
    ASSERT_EQ(host.boxes.size(), 3u);
    EXPECT_EQ(host.boxes[0].text, "S");
    EXPECT_EQ(host.boxes[1].text, "W");
    EXPECT_EQ(host.boxes[2].text, "E");
    EXPECT_EQ(host.boxes[2].buttons, BoxButtons::Ok);
    EXPECT_EQ(Worse(Verdict::Warnings, Verdict::Success), Verdict::Warnings);
    EXPECT_EQ(Worse(Verdict::Warnings, Verdict::Errors), Verdict::Errors);
}

} // namespace
} // namespace kib
