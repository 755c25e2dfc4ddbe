#include "app/command_words.h"
#include "app/process_runner.h"

#include "app/script_dir.h"
#include "foundation/app_state.h"
#include "foundation/log.h"
#include "foundation/run_control.h"
#include "support/recording_host.h"

#include <chrono>
#include <csignal>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kib {
namespace {

using testing::Contains;
using testing::ElementsAre;
using testing::ElementsAreArray;

TEST(ProgramPathTest, AddsSeparatorAndBinFolderOnce) {
    struct Case {
        const char* directory;
        bool addBin;
        const char* expected;
    };
    const Case cases[] = {
        {"/opt/tools", true, "/opt/tools/bin/x"},
        {"/opt/tools/bin/", true, "/opt/tools/bin/x"},
        {"/opt/tools/bin", true, "/opt/tools/bin/x"},
        {"/opt/tools/", false, "/opt/tools/x"},
        {"/opt/tools/bin/", false, "/opt/tools/bin/x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeProgramPath(c.directory, c.addBin, "x"), c.expected) << c.directory;
    }
}

// Inkscape's toolkit prints warnings about itself on every start; they belong to
// the Debug pane, while what Inkscape says about the conversion stays in Messages.
TEST(ProgramOutputTest, ToolkitChatterGoesToTheDebugPaneOnly) {
    test::RecordingHost host;
    host.Install();
    App().debugSwitch = true;
    LogProgramOutput("Failed to wrap object of type 'GtkRecentManager'. Hint: this error is "
                     "commonly caused by an incorrect type name.\n"
                     "(org.inkscape.Inkscape:4711): Gtk-WARNING **: 10:01:02.345: cannot open "
                     "display\n"
                     "(inkscape:12): GLib-GObject-CRITICAL **: g_object_unref: assertion\n"
                     "Background RRGGBBAA: ffffff00\n"
                     "Failed to save the file\r\n"
                     "\n"
                     "last");
    EXPECT_THAT(host.messages, ElementsAre("Background RRGGBBAA: ffffff00",
                                           "Failed to save the file", "", "last"));
    EXPECT_THAT(host.debug, Contains(testing::StartsWith("Failed to wrap object of type")));
    EXPECT_THAT(host.debug, Contains(testing::HasSubstr("Gtk-WARNING")));
    EXPECT_THAT(host.debug, Contains(testing::HasSubstr("GLib-GObject-CRITICAL")));
}

TEST(CommandWordsTest, SplitsAtBlanksAndGroupsQuotes) {
    struct Case {
        const char* text;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"a b  c", {"a", "b", "c"}},
        {" \ta\tb ", {"a", "b"}},
        {"", {}},
        {"--export-filename=\"/m p/a b-tmp.png\" \"/m p/a b.svg\"",
         {"--export-filename=/m p/a b-tmp.png", "/m p/a b.svg"}},
        {"\"\" x", {"", "x"}},
        {"50% 'q' a\\b", {"50%", "'q'", "a\\b"}},
        {"\"open end", {"open end"}},
    };
    for (const auto& c : cases) {
        EXPECT_THAT(SplitCommandWords(c.text), ElementsAreArray(c.words)) << c.text;
    }
}

class ProcessRunnerTest : public testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        App().debugSwitch = true;
        App().running = true; // the runner is used inside a Make run
    }

    test::RecordingHost host;
    test::ScriptDir dir;
};

TEST_F(ProcessRunnerTest, CapturesOutputAndErrorWholeAndInOrder) {
    LogScope log;
    // More than the pipe holds (64 KiB), mixed over standard output and error.
    dir.Script("tool/bin/chatty", "echo first\n"
                                  "echo second >&2\n"
                                  "head -c 70000 /dev/zero | tr '\\0' 'a'\n"
                                  "echo >&2\n"
                                  "printf '%s|' \"$@\"\n"
                                  "read line && echo got-input\n"
                                  "exit 3\n");
    const std::string args = "--export-filename=\"/m p/a b-tmp.png\" \"/m p/a b.svg\" 50%";
    ProcessOutcome outcome;
    const std::string output =
        RunExternalProcess(dir.Path() + "tool", true, "chatty", args, 10, &outcome);

    const std::string expected = "first\nsecond\n" + std::string(70000, 'a') + "\n" +
                                 "--export-filename=/m p/a b-tmp.png|/m p/a b.svg|50%|";
    EXPECT_EQ(output, expected);
    EXPECT_EQ(outcome.end, ProcessEnd::Exited);
    EXPECT_EQ(outcome.exitCode, 3);
    EXPECT_EQ(outcome.exitSignal, 0);

    const std::string path = dir.Path() + "tool/bin/chatty";
    EXPECT_THAT(host.messages, ElementsAre("Calling " + path + " " + args + "..."));
    EXPECT_THAT(host.debug, Contains("Process:'" + path + "', arguments: '" + args + "'"));
    EXPECT_THAT(host.debug, Contains("Process completed after 1 seconds."));
    EXPECT_EQ(log.Errors(), 0);
    EXPECT_EQ(host.pumps, 0);
}

TEST_F(ProcessRunnerTest, ProgramThatCannotStartGivesEmptyOutput) {
    LogScope log;
    dir.Write("plain.txt", "not a program\n");
    struct Case {
        const char* name;
        int error;
    };
    for (const Case c : {Case{"missing", ENOENT}, Case{"plain.txt", EACCES}}) {
        host.Clear();
        log.Clear();
        ProcessOutcome outcome;
        EXPECT_EQ(RunExternalProcess(dir.Path(), false, c.name, "a b", 10, &outcome), "");
        EXPECT_EQ(outcome.end, ProcessEnd::NotStarted);
        EXPECT_THAT(host.messages, ElementsAre("Calling " + dir.Path() + c.name + " a b...",
                                               "[** ERROR **] Cannot create process (error=" +
                                                   std::to_string(c.error) + ")."));
        EXPECT_GT(log.Errors(), 0);
    }
}

TEST_F(ProcessRunnerTest, TimeOutTerminatesAndKeepsWhatWasWritten) {
    dir.Script("slow", "echo started\nsleep 30\necho never\n");
    const auto start = std::chrono::steady_clock::now();
    ProcessOutcome outcome;
    const std::string output = RunExternalProcess(dir.Path(), false, "slow", "", 1, &outcome);

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    EXPECT_EQ(output, "started\n");
    EXPECT_EQ(outcome.end, ProcessEnd::TimedOut);
    EXPECT_EQ(outcome.exitSignal, SIGTERM);
    EXPECT_THAT(host.messages,
                ElementsAre("Calling " + dir.Path() + "slow ...",
                            "[** ERROR **] Waiting for process completion failed after 1 seconds.",
                            "[= WARNING =] Terminating Inkscape process..."));
    EXPECT_EQ(host.pumps, 1); // the stop poll after the one slice
}

TEST_F(ProcessRunnerTest, ZeroTimeOutTerminatesWithoutWaiting) {
    dir.Script("slow", "sleep 30\n");
    ProcessOutcome outcome;
    RunExternalProcess(dir.Path(), false, "slow", "", 0, &outcome);
    EXPECT_EQ(outcome.end, ProcessEnd::TimedOut);
    EXPECT_THAT(host.messages,
                ElementsAre("Calling " + dir.Path() + "slow ...",
                            "[** ERROR **] Waiting for process completion failed after 0 seconds.",
                            "[= WARNING =] Terminating Inkscape process..."));
    EXPECT_EQ(host.pumps, 0);
}

TEST_F(ProcessRunnerTest, StopKillsEvenAProgramThatIgnoresTerm) {
    LogScope log;
    // The shell ignores TERM: only KILL ends it.
    dir.Script("stubborn", "trap '' TERM\necho ready\nwhile :; do sleep 0.1; done\n");
    host.onPump = [] { OnStop(); };
    const auto start = std::chrono::steady_clock::now();
    ProcessOutcome outcome;
    const std::string output = RunExternalProcess(dir.Path(), false, "stubborn", "", 300, &outcome);

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
    EXPECT_EQ(output, "ready\n");
    EXPECT_EQ(outcome.end, ProcessEnd::Stopped);
    EXPECT_EQ(outcome.exitSignal, SIGKILL);
    EXPECT_THAT(host.messages, ElementsAre("Calling " + dir.Path() + "stubborn ...",
                                           "[= WARNING =] STOP button pressed",
                                           "[= WARNING =] Terminating Inkscape process..."));
    EXPECT_EQ(log.Errors(), 0);
    EXPECT_EQ(host.pumps, 1);
}

TEST_F(ProcessRunnerTest, ReturnsWhenAProgramItStartedKeepsThePipeOpen) {
    dir.Script("starter", "sleep 3 &\necho done\n");
    const auto start = std::chrono::steady_clock::now();
    ProcessOutcome outcome;
    EXPECT_EQ(RunExternalProcess(dir.Path(), false, "starter", "", 10, &outcome), "done\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
    EXPECT_EQ(outcome.end, ProcessEnd::Exited);
    EXPECT_EQ(outcome.exitCode, 0);
}

} // namespace
} // namespace kib
