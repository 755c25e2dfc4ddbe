#include "platform/process.h"

#include "platform/files.h"
#include "platform_files.h"
#include "temp_folder.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kib::platform {
namespace {

using Clock = std::chrono::steady_clock;
using testing::HasSubstr;

// The output with the carriage returns a Windows program writes before line feeds removed.
std::string Lines(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

ProcessResult RunStandin(const std::vector<std::string>& words, int timeoutSeconds = 30,
                         const StopPoll& stop = nullptr) {
    return RunProcess(test::StandinProgram(), words, timeoutSeconds, stop);
}

TEST(ProcessTest, CapturesOutputAndErrorWholeInOrderWithNoInput) {
    // More than a pipe holds, over both streams.
    const ProcessResult r = RunStandin({"--out", "first", "--err", "second", "--bytes", "70000",
                                        "--err", "", "--stdin", "--terminals", "--exit", "3"});
    EXPECT_EQ(r.end, ProcessEnd::Exited);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.exitSignal, 0);
    EXPECT_EQ(r.seconds, 1) << "a program that ends at once ends in the first slice";
    EXPECT_EQ(Lines(r.output), "first\nsecond\n" + std::string(70000, 'a') +
                                   "\nstdin: end\nterminals: in=0 out=0 err=0\n");
}

TEST(ProcessTest, PassesEveryWordUnchanged) {
    const std::vector<std::string> words = {
        "--echo-args",
        "--target=C:\\m p\\a b-tmp.png",
        "",
        "say \"hi\"",
        "ends with \\",
        "back\\\\slashes\\\"",
        "50% 'q' \t tab",
        "\xc3\x89tape \xce\xa9", // "Étape Ω"
    };
    const ProcessResult r = RunStandin(words);
    ASSERT_EQ(r.end, ProcessEnd::Exited) << r.output;
    std::string expected;
    for (const auto& w : words) {
        expected += "[" + w + "]\n";
    }
    EXPECT_EQ(Lines(r.output), expected);
}

TEST(ProcessTest, ReportsAProgramThatCannotStart) {
    test::TempFolder dir;
    const ProcessResult r = RunProcess(dir / "no-such-program", {}, 5, nullptr);
    EXPECT_EQ(r.end, ProcessEnd::StartFailed);
    EXPECT_EQ(r.error, ENOENT);
    EXPECT_TRUE(r.output.empty());
}

TEST(ProcessTest, EndsAProgramAfterItsTimeKeepingItsOutput) {
    const auto start = Clock::now();
    const ProcessResult r = RunStandin({"--out", "started", "--sleep", "30000"}, 1);
    EXPECT_EQ(r.end, ProcessEnd::TimedOut);
    EXPECT_EQ(r.seconds, 1);
    EXPECT_EQ(Lines(r.output), "started\n");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15));

    int polls = 0;
    const ProcessResult now = RunStandin({"--sleep", "30000"}, 0, [&polls] {
        ++polls;
        return false;
    });
    EXPECT_EQ(now.end, ProcessEnd::TimedOut);
    EXPECT_EQ(now.seconds, 0);
    EXPECT_EQ(polls, 0);
}

TEST(ProcessTest, StopPollEndsTheProgramAfterASlice) {
    int polls = 0;
    const ProcessResult r = RunStandin({"--out", "working", "--sleep", "30000"}, 300,
                                       [&polls] { return ++polls == 2; });
    EXPECT_EQ(r.end, ProcessEnd::Stopped);
    EXPECT_EQ(polls, 2);
    EXPECT_EQ(r.seconds, 2);
    EXPECT_EQ(Lines(r.output), "working\n");
}

// Waits up to a few seconds for a process to go.
bool Ends(int pid) {
    for (int i = 0; i < 100 && ProcessRuns(pid); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return !ProcessRuns(pid);
}

TEST(ProcessTest, EndsEverythingTheProgramStarted) {
    test::TempFolder dir;
    const std::string pidFile = dir / "sleeper.pid";
    int polls = 0;
    const ProcessResult r = RunStandin({"--spawn-sleeper", pidFile}, 60, [&] {
        ++polls;
        return test::GetFile(pidFile) != "<missing>";
    });
    EXPECT_EQ(r.end, ProcessEnd::Stopped);
    const int sleeper = std::atoi(test::GetFile(pidFile).c_str());
    ASSERT_GT(sleeper, 0);
    EXPECT_TRUE(Ends(sleeper)) << "the program's own child still runs";
}

TEST(ProcessTest, KnowsWhichProcessesRun) {
    EXPECT_TRUE(ProcessRuns(ProcessId()));
    EXPECT_FALSE(ProcessRuns(0));
    EXPECT_FALSE(ProcessRuns(-5));
    test::TempFolder dir;
    ASSERT_EQ(RunStandin({"--write-pid", dir / "pid"}).end, ProcessEnd::Exited);
    const int ended = std::atoi(test::GetFile(dir / "pid").c_str());
    ASSERT_GT(ended, 0);
    EXPECT_NE(ended, ProcessId());
    EXPECT_TRUE(Ends(ended));
}

} // namespace
} // namespace kib::platform
