// Input files: only regular files are opened, never blocking; lines are bounded;
// every open is counted, from any thread.
#include "foundation/input_file.h"

#include "foundation/app_state.h"
#include "platform/environment.h"
#include "platform/paths.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

namespace kib {
namespace {

TEST(InputFileTest, OnlyRegularFilesOpenAndNothingBlocks) {
    const std::string dir = test::MakeTempDir("input");
    const std::string file = dir + "/event.cfg";
    test::WriteFile(file, "[Event]\nTASKS=4");
    const bool windows = platform::ThisSystem() == platform::OperatingSystem::Windows;

    struct Case {
        std::string path;
        bool opens;
        bool notRegular;
        const char* reason;
    };
    const Case cases[] = {
        {file, true, false, ""},
        {windows ? "NUL" : "/dev/zero", false, true,
         "it is a character device, not a regular file"},
        {dir, false, true, "it is a folder, not a regular file"},
        {dir + "/missing", false, false, "No such file or directory"},
    };
    for (const auto& c : cases) {
        InputFile in;
        EXPECT_EQ(in.Open(c.path), c.opens) << c.path;
        EXPECT_EQ(in.NotRegular(), c.notRegular) << c.path;
        EXPECT_EQ(in.Reason(), c.reason) << c.path;
        EXPECT_EQ(IsRegularFile(c.path), c.opens) << c.path;
    }
    {
        InputFile in;
        ASSERT_TRUE(in.Open(file));
        std::string line;
        EXPECT_EQ(ReadBoundedLine(in.Stream(), line), LineRead::Line);
        EXPECT_EQ(line, "[Event]");
        EXPECT_EQ(ReadBoundedLine(in.Stream(), line), LineRead::Line);
        EXPECT_EQ(line, "TASKS=4");
        EXPECT_EQ(ReadBoundedLine(in.Stream(), line), LineRead::End);
    }
    std::filesystem::remove_all(platform::FsPath(dir));
}

TEST(InputFileTest, LinesEndAtLineFeedsAndAtTheirBound) {
    struct Case {
        std::string text;
        std::size_t limit;
        std::vector<std::string> lines; // "!" marks a line that is too long
    };
    const Case cases[] = {
        {"a\nbc\n", 10, {"a", "bc"}},
        {"a\r\n\nlast", 10, {"a\r", "", "last"}},
        {"", 10, {}},
        {"\n", 10, {""}},
        {"1234\n12345\n", 4, {"1234", "!"}},
        {std::string(3, '\0') + "\nx", 3, {std::string(3, '\0'), "x"}},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        std::vector<std::string> lines;
        std::string line;
        for (;;) {
            const LineRead read = ReadBoundedLine(in, line, c.limit);
            if (read == LineRead::End) {
                break;
            }
            if (read == LineRead::TooLong) {
                lines.push_back("!");
                break;
            }
            lines.push_back(line);
        }
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

// The built-in converter's workers open sheets while the main thread opens the
// event's inputs: no open is lost and the count is never torn.
TEST(InputFileTest, OpensCountedFromSeveralThreadsAreAllCounted) {
    const std::string dir = test::MakeTempDir("input-opens");
    const std::string file = dir + "/sheet.svg";
    test::WriteFile(file, "<svg/>");
    App().inputOpens.Clear();
    constexpr int kThreads = 4;
    constexpr int kOpens = 20;     // real opens of the file, by each thread
    constexpr int kCounts = 20000; // counts alone, by each thread, for contention
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&file, t] {
            for (int k = 0; k < kOpens; ++k) {
                std::string reason;
                OpenRegularFile(file, reason);
            }
            for (int k = 0; k < kCounts; ++k) {
                App().inputOpens.Count(k % 2 == 0 ? "shared" : "thread " + std::to_string(t));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const std::map<std::string, int> opens = App().inputOpens.Counts();
    EXPECT_EQ(opens.at(file), kThreads * kOpens);
    EXPECT_EQ(opens.at("shared"), kThreads * kCounts / 2);
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(opens.at("thread " + std::to_string(t)), kCounts / 2);
    }
    App().inputOpens.Clear();
}

} // namespace
} // namespace kib
