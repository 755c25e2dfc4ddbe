// The built-in converter on several workers: the same files, the same log lines
// in the same order and the same run result whatever the number of workers, a
// sheet that cannot be drawn failing its station, and a stop that hands out no
// further sheet while the sheets being drawn are finished and placed. The job
// queue of the proof's pictures: jobs run beside the caller, in their order,
// each once.
#include "app/builtin_workers.h"

#include "app/script_dir.h"
#include "foundation/app_state.h"
#include "foundation/run_control.h"
#include "foundation/temp_files.h"
#include "support/recording_host.h"
#include "support/test_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kib {
namespace {

namespace fs = std::filesystem;

// A small sheet with the number drawn in it, so that every sheet differs.
std::string Sheet(int number) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\r\n"
           "<svg id=\"mainSheet\" width=\"10.000cm\" height=\"6.000cm\" viewBox=\"0 0 100 60\" "
           "xmlns=\"http://www.w3.org/2000/svg\">\r\n"
           "<rect x=\"0\" y=\"0\" width=\"100\" height=\"60\" fill=\"white\"/>\r\n"
           "<circle cx=\"" +
           std::to_string(10 + 8 * number) +
           "\" cy=\"30\" r=\"6\" stroke=\"rgb(166,38,255)\" stroke-width=\"1\"/>\r\n"
           "<text x=\"50\" y=\"50\" font-size=\"8\" font-family=\"Arial\">Sheet " +
           std::to_string(number) + "</text>\r\n</svg>\r\n";
}

// A PDF file without its creation time, which differs from run to run.
std::string WithoutCreationDate(std::string pdf) {
    const std::size_t at = pdf.find("/CreationDate");
    if (at != std::string::npos) {
        pdf.erase(at, pdf.find('\n', at) - at);
    }
    return pdf;
}

class BuiltInWorkersTest : public testing::Test {
  protected:
    static constexpr int kSheets = 6;
    static constexpr int kBroken = 3; // station 2's second sheet cannot be drawn

    void SetUp() override {
        host.Install();
        App().debugSwitch = true;
        App().running = true;
        for (int k = 0; k < kSheets; ++k) {
            const std::string base = Base(k);
            test::WriteFile(base + ".svg", Sheet(k));
            SheetConversion sheet;
            sheet.base = base;
            sheet.statusText = "Generating MAP " + std::to_string(k + 1) + ".0...";
            sheet.dpi = 150;
            sheets.push_back(sheet);
        }
        test::WriteFile(Base(kBroken) + ".svg", "<svg width=\"1\">\r\n");
    }
    void TearDown() override { ResetAppState(); }

    // Two print sheets of each of the stations 1 to 3.
    std::string Base(int k) const {
        return dir.Path() + "prn-" + std::to_string(k / 2 + 1) + "." + std::to_string(2 * (k % 2)) +
               "-" + std::to_string(k / 2 + 1) + "." + std::to_string(2 * (k % 2) + 1);
    }
    std::string Target(int k, const char* extension) const { return Base(k) + "." + extension; }

    RunResult Run() const {
        RunResult run;
        run.completed = true;
        for (int s = 1; s <= 3; ++s) {
            StationResult station;
            station.station = s;
            station.outcome = StationOutcome::Made;
            run.stations.push_back(station);
        }
        for (int k = 0; k < kSheets; ++k) {
            RunSheet sheet;
            sheet.kind = SheetKind::Print;
            sheet.svg = Base(k) + ".svg";
            sheet.stations = {k / 2 + 1};
            sheet.firstTask = 2 * (k % 2);
            sheet.lastTask = sheet.firstTask + 1;
            sheet.toPrint = true;
            run.sheets.push_back(sheet);
        }
        return run;
    }

    // The log of a conversion without the lines that tell how long a drawing took
    // and the stop poll's own trace, which comes when a sheet is handed out.
    std::vector<std::string> Log() const {
        std::vector<std::string> lines = host.messages;
        for (const std::string& line : host.debug) {
            if (line.find("completed in") == std::string::npos && line != "CheckBreak ended") {
                lines.push_back(line);
            }
        }
        return lines;
    }

    test::RecordingHost host;
    test::ScriptDir dir;
    std::vector<SheetConversion> sheets;
};

TEST_F(BuiltInWorkersTest, FilesLogAndResultDoNotDependOnTheNumberOfWorkers) {
    for (const OutputFormat format : {OutputFormat::Png, OutputFormat::Pdf}) {
        const char* extension = OutputFormatExtension(format);
        SCOPED_TRACE(extension);
        ConversionSettings settings;
        settings.directory = dir.Path();
        settings.dpi = 150;
        settings.format = format;
        std::vector<std::string> filesOfOne;
        std::vector<std::string> logOfOne;
        std::vector<RunProgress> progressOfOne;
        for (const int workers : {1, 2, 5}) {
            SCOPED_TRACE(workers);
            for (int k = 0; k < kSheets; ++k) {
                fs::remove(Target(k, extension));
            }
            host.Clear();
            RunResult run = Run();
            StopCommand stop;
            ASSERT_TRUE(ConvertRun(run, settings, Converter::BuiltIn, stop, workers));
            std::vector<std::string> files;
            for (int k = 0; k < kSheets; ++k) {
                const bool drawn = k != kBroken;
                const RunSheet& sheet = run.sheets[static_cast<std::size_t>(k)];
                ASSERT_EQ(fs::exists(Target(k, extension)), drawn) << k;
                EXPECT_EQ(sheet.converted, drawn ? Target(k, extension) : "") << k;
                files.push_back(drawn ? WithoutCreationDate(test::ReadFile(Target(k, extension)))
                                      : std::string());
            }
            // The broken sheet fails its station alone, with the lines that say why.
            EXPECT_EQ(run.Station(1)->outcome, StationOutcome::Made);
            EXPECT_EQ(run.Station(2)->outcome, StationOutcome::Failed);
            EXPECT_EQ(run.Station(3)->outcome, StationOutcome::Made);
            EXPECT_THAT(run.Station(2)->Lines(),
                        testing::Contains(testing::HasSubstr("Cannot read '" + Base(kBroken))));
            EXPECT_EQ(host.statusTexts.size(), static_cast<std::size_t>(kSheets));
            if (workers == 1) {
                filesOfOne = files;
                logOfOne = Log();
                progressOfOne = host.progress;
                continue;
            }
            EXPECT_TRUE(files == filesOfOne) << "the files differ from one worker's";
            EXPECT_EQ(Log(), logOfOne);
            ASSERT_EQ(host.progress.size(), progressOfOne.size());
            for (std::size_t p = 0; p < progressOfOne.size(); ++p) {
                EXPECT_EQ(host.progress[p].sheet, progressOfOne[p].sheet);
                EXPECT_EQ(host.progress[p].station, progressOfOne[p].station);
            }
        }
        // Each sheet's lines follow the sheets' order.
        std::size_t previous = 0;
        for (int k = 0; k < kSheets; ++k) {
            const auto at = std::find(logOfOne.begin(), logOfOne.end(),
                                      "Converting '" + Base(k) + ".svg' to '" +
                                          SheetTemporaryPath(Base(k), extension) +
                                          "' with the built-in converter...");
            ASSERT_NE(at, logOfOne.end()) << k;
            EXPECT_GT(static_cast<std::size_t>(at - logOfOne.begin()) + 1, previous) << k;
            previous = static_cast<std::size_t>(at - logOfOne.begin()) + 1;
        }
    }
}

// The stop poll comes before each sheet is handed out: w workers have the first
// w sheets when sheet 1 is reported, and the stop at the next poll ends there.
TEST_F(BuiltInWorkersTest, StopHandsOutNoFurtherSheetButFinishesThoseBeingDrawn) {
    struct Case {
        int workers;
        int stopAtPoll; // the poll (1 for the first) at which Stop is pressed
        int converted;  // the sheets converted
    };
    const Case cases[] = {{1, 1, 0}, {1, 3, 2}, {2, 1, 0}, {2, 3, 2}, {3, 4, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.workers << " workers, stop at poll " << c.stopAtPoll);
        for (int k = 0; k < kSheets; ++k) {
            fs::remove(Target(k, "png"));
        }
        host.Clear();
        App().running = true;
        int polls = 0;
        host.onPump = [&] {
            if (++polls == c.stopAtPoll) {
                OnStop();
            }
        };
        StopCommand stop;
        EXPECT_FALSE(ConvertBuiltInSheets(sheets, OutputFormat::Png, stop, {}, {}, c.workers));
        host.onPump = nullptr;
        EXPECT_EQ(polls, c.stopAtPoll) << "no poll after the stop";
        for (int k = 0; k < kSheets; ++k) {
            EXPECT_EQ(fs::exists(Target(k, "png")), k < c.converted && k != kBroken) << k;
            EXPECT_FALSE(fs::exists(SheetTemporaryPath(Base(k), "png"))) << k;
        }
    }
}

// Jobs given before Finish run on the started threads while the caller goes on
// (the caller here waits for one of them without helping); Finish runs the rest
// on the caller too and returns once every job has run exactly once.
TEST(JobQueueTest, JobsRunBesideTheCallerEachOnce) {
    JobQueue queue;
    std::promise<void> started;
    std::vector<std::atomic<int>> runs(40);
    queue.Start(2);
    queue.Add([&started] { started.set_value(); });
    EXPECT_EQ(started.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        queue.Add([&runs, i] { ++runs[i]; }, i % 3 == 0);
    }
    queue.Finish();
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].load(), 1) << "job " << i;
    }
}

// Without threads every job runs on the caller in Finish: jobs added first run
// ahead of those waiting (the largest pictures first), the others in their order.
TEST(JobQueueTest, FirstJobsRunAheadOfThoseWaiting) {
    JobQueue queue;
    std::vector<std::string> order;
    queue.Add([&order] { order.push_back("canvas 1"); });
    queue.Add([&order] { order.push_back("canvas 2"); });
    queue.Add([&order] { order.push_back("solution"); }, true);
    EXPECT_TRUE(order.empty());
    queue.Finish();
    EXPECT_THAT(order, ::testing::ElementsAre("solution", "canvas 1", "canvas 2"));
}

// Pictures of small sheets are drawn side by side; a sheet that carries a whole
// map (its tree alone beyond the bound) is drawn by itself, and what the
// drawings in flight take together never passes the bound otherwise.
TEST(MemoryGateTest, JobsTakeMemoryTogetherOnlyWithinTheBound) {
    const std::uint64_t small = PictureMemory(20u << 10);
    const std::uint64_t whole = PictureMemory(60u << 20);
    EXPECT_EQ(small, 24u << 20);
    EXPECT_GT(whole, PictureMemoryBudget());
    EXPECT_LE(2 * small, PictureMemoryBudget()) << "two small pictures at once";

    MemoryGate gate(PictureMemoryBudget());
    JobQueue queue;
    queue.Start(3);
    std::atomic<int> inside{0};
    std::atomic<int> mostInside{0};
    std::atomic<bool> bigShared{false};
    const auto job = [&](std::uint64_t memory) {
        return [&, memory] {
            const MemoryShare share(gate, memory);
            const int now = ++inside;
            mostInside = std::max(mostInside.load(), now);
            if (memory == whole && now > 1) {
                bigShared = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (memory == whole && inside.load() > 1) {
                bigShared = true;
            }
            --inside;
        };
    };
    for (int i = 0; i < 24; ++i) {
        queue.Add(job(i % 6 == 0 ? whole : small));
    }
    queue.Finish();
    EXPECT_FALSE(bigShared) << "a whole map's pictures are drawn alone";
    EXPECT_LE(mostInside.load(), 2);
    EXPECT_EQ(gate.Peak(), whole);
}

} // namespace
} // namespace kib
