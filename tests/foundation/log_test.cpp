#include "foundation/log.h"

#include "foundation/app_state.h"
#include "foundation/format.h"
#include "foundation/log_lines.h"
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

TEST_F(LogTest, RoutesEachKindToItsPanesWithTheOnePrefixes) {
    App().debugSwitch = true;
    Diagnostics& log = App().Log();
    log.Info("Parsing config file %s%s", "/ev/", "a.cfg");
    log.Error("Cannot write file %s", "a.svg");
    log.Warning("STOP button pressed");
    log.Debug("==== Making MAP %d.%d...", 3, 2);

    EXPECT_EQ(host.messages, (std::vector<std::string>{"Parsing config file /ev/a.cfg",
                                                       "[** ERROR **] Cannot write file a.svg",
                                                       "[= WARNING =] STOP button pressed"}));
    EXPECT_EQ(host.debug,
              (std::vector<std::string>{"Parsing config file /ev/a.cfg", "Cannot write file a.svg",
                                        "STOP button pressed", "==== Making MAP 3.2..."}));
}

TEST_F(LogTest, DebugLinesAreGatedBySwitch) {
    App().Log().Debug("hidden %d", 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.debug.empty());
    App().debugSwitch = true;
    App().Log().Debug("shown %d", 2);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.debug, std::vector<std::string>{"shown 2"});
}

TEST_F(LogTest, LongLinesAreCutAt999CharactersInBothPanes) {
    const std::string longText(1200, 'x');
    App().Log().Say(DiagnosticKind::Info, longText);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], std::string(999, 'x'));
    EXPECT_EQ(host.debug[0], std::string(999, 'x'));

    App().Log().Say(DiagnosticKind::Error, longText);
    EXPECT_EQ(host.messages[1].size(), 999u);
    EXPECT_EQ(host.messages[1].substr(0, 14), "[** ERROR **] ");
    EXPECT_EQ(host.debug[1], std::string(999 - 14, 'x'));

    // The cut is the log's: the one formatter keeps every character.
    EXPECT_EQ(Format("%s.", longText.c_str()), longText + ".");
    EXPECT_EQ(Format("%d %s", 7, ""), "7 ");
    EXPECT_EQ(Format("%s", ""), "");
}

TEST_F(LogTest, ExternalTextWithPercentSignsPassesUnchanged) {
    App().Log().Say(DiagnosticKind::Info, "100% done %d %s");
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

// A step reports into the diagnostics it is handed: a tally over the log counts
// by kind, stamps its station on what has none, and passes everything on.
TEST_F(LogTest, TalliesCountByKindAndNestOverTheLog) {
    App().Log().Error("before the tally"); // reported, but before the tally opened
    DiagnosticsTally outer(&App().Log());
    EXPECT_EQ(ShowClosingBox(outer.GetVerdict(), "E", "W", "S"), BoxIcon::Information);
    outer.Warning("w");
    EXPECT_EQ(ShowClosingBox(outer.GetVerdict(), "E", "W", "S"), BoxIcon::Warning);
    {
        DiagnosticsTally station(&outer, 3);
        station.Error("e1");
        station.Error("e2");
        station.Info("fine");
        EXPECT_EQ(station.Errors(), 2);
        EXPECT_EQ(station.Warnings(), 0);
        ASSERT_EQ(station.Entries().size(), 3u);
        EXPECT_EQ(station.Entries()[0].station, 3);
        EXPECT_EQ(station.Entries()[2].kind, DiagnosticKind::Info);
    }
    outer.Error("e3");
    EXPECT_EQ(outer.Errors(), 3);
    EXPECT_EQ(outer.Warnings(), 1);
    EXPECT_EQ(outer.Entries()[1].station, 3); // the station's stamp passed on
    EXPECT_EQ(ShowClosingBox(outer.GetVerdict(), "E", "W", "S"), BoxIcon::Error);
    EXPECT_EQ(host.messages.size(), 6u); // every entry reached the log once
    EXPECT_EQ(host.messages[2], "[** ERROR **] e1");
    ASSERT_EQ(host.boxes.size(), 3u);
    EXPECT_EQ(host.boxes[0].text, "S");
    EXPECT_EQ(host.boxes[1].text, "W");
    EXPECT_EQ(host.boxes[2].text, "E");
    EXPECT_EQ(host.boxes[2].buttons, BoxButtons::Ok);
    EXPECT_EQ(Worse(Verdict::Warnings, Verdict::Success), Verdict::Warnings);
    EXPECT_EQ(Worse(Verdict::Warnings, Verdict::Errors), Verdict::Errors);
}

TEST_F(LogTest, LinesAreFormattedFromTheKindAlone) {
    const Diagnostic warning{DiagnosticKind::Warning, 2, 4, "a [** ERROR **] inside"};
    EXPECT_EQ(MessagesLine(warning), "[= WARNING =] a [** ERROR **] inside");
    EXPECT_EQ(DebugLine(warning), "a [** ERROR **] inside");
    const Diagnostic debug{DiagnosticKind::Debug, kNoStation, kNoTask, "trace"};
    EXPECT_EQ(MessagesLine(debug), "");
    EXPECT_EQ(DebugLine(debug), "trace");
}

} // namespace
} // namespace kib
