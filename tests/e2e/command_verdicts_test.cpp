// What a command says at its end, tried as an organiser would on an event of
// six stations with their own tasks and flags: a red proof names its station,
// task and reason in the terminal; a warning found while loading the
// configuration counts in every command's verdict; a re-run logs what a first
// run logs and says what it made and kept; the command line never points to an
// output window it does not have.
#include "generator.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

class CommandVerdictsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = MakeTempDir("e2e-verdicts");
        ASSERT_TRUE(Generate(dir));
        cfg = dir + "/ev.cfg";
    }
    void TearDown() override {
        fs::remove_all(dir);
        if (!copy.empty()) {
            fs::remove_all(copy);
        }
    }
    // The event: tasks 2,4,6,5,3,10 and flags 3,6,4,6,2,5 at stations 1 to 6.
    static bool Generate(const std::string& into) {
        gen::Options o;
        o.seed = 5;
        o.outDir = into;
        o.eventName = "Ev";
        o.stations = 6;
        o.tasks = {2, 4, 6, 5, 3, 10};
        o.flags = {3, 6, 4, 6, 2, 5};
        o.objects = 60;
        o.cfgName = "ev.cfg";
        o.quiet = true;
        std::string summary;
        std::string error;
        return gen::GenerateEvent(o, summary, error);
    }
    ProgramResult Kib(std::vector<std::string> args) {
        args.insert(args.begin(), {KibBinary(), "--yes"});
        ProgramResult r = RunProgram(args);
        EXPECT_EQ(r.err.find("Output Window"), std::string::npos) << r.err;
        return r;
    }
    // The lines of a text but the first (the configuration's path).
    static std::vector<std::string> LinesAfterFirst(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        std::string line;
        std::getline(in, line);
        while (std::getline(in, line)) {
            lines.push_back(line);
        }
        return lines;
    }
    // The value of a key in a station's section of the configuration.
    std::string StationValue(int station, const std::string& key) const {
        const std::string text = ReadFile(cfg);
        const std::size_t section = text.find("[Station " + std::to_string(station) + "]");
        const std::size_t at = text.find(key + "=", section);
        const std::size_t end = text.find_first_of("\r\n", at);
        return text.substr(at + key.size() + 1, end - at - key.size() - 1);
    }
    void Replace(const std::string& path, const std::string& from, const std::string& to) {
        std::string text = ReadFile(path);
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        WriteFile(path, text.replace(at, from.size(), to));
    }

    std::string dir;
    std::string copy;
    std::string cfg;
};

TEST_F(CommandVerdictsTest, ARedProofNamesItsStationTaskAndReasonInTheTerminal) {
    const std::string key = StationValue(2, "ANSWERS");
    ASSERT_EQ(key.size(), 4u);
    const char wrong = key[3] == 'E' ? 'D' : 'E';
    Replace(cfg, "ANSWERS=" + key, "ANSWERS=" + key.substr(0, 3) + wrong);
    const ProgramResult r = Kib({"proof", cfg});
    EXPECT_EQ(r.status, 2) << r.err;
    const std::string line = std::string("error: Station 2, task 4: key ") + wrong +
                             " (ANSWERS of the station), map " + key[3];
    EXPECT_NE(r.err.find(line), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Station 1"), std::string::npos) << "a green station says nothing";
    EXPECT_NE(r.err.find("info: Proof page "), std::string::npos);
}

TEST_F(CommandVerdictsTest, AWarningWhileLoadingCountsInEveryCommand) {
    WriteFile(cfg, ReadFile(cfg) + "[Target]\r\nSHEET=A44\r\n");
    const std::string warning = "Target.SHEET: SHEET=A44 is not a sheet size; A4Tiled is used";
    const ProgramResult check = Kib({"check", cfg});
    EXPECT_EQ(check.status, 1);
    const ProgramResult maps = Kib({"maps", cfg});
    EXPECT_NE(maps.out.find(warning), std::string::npos) << maps.out;
    EXPECT_EQ(maps.status, 1) << maps.err;
    EXPECT_EQ(maps.err, "warning: SVG files created with some warnings!\n");
    const ProgramResult solutions = Kib({"solutions", cfg});
    EXPECT_EQ(solutions.status, 1) << solutions.err;
    const ProgramResult images =
        Kib({"images", cfg, "--format", "pdf", "--converter", "builtin", "--quiet"});
    EXPECT_EQ(images.status, 1) << images.err;
    const ProgramResult analyse = Kib({"analyse", cfg, "--quiet"});
    EXPECT_EQ(analyse.status, 1) << analyse.out;
}

TEST_F(CommandVerdictsTest, AReRunAfterTheProofLogsWhatAFirstRunLogs) {
    copy = dir + "-first";
    fs::copy(dir, copy, fs::copy_options::recursive);
    const ProgramResult first = Kib({"solutions", copy + "/ev.cfg"});
    ASSERT_LE(first.status, 1) << first.err;

    ASSERT_LE(Kib({"proof", cfg, "--quiet"}).status, 1);
    const ProgramResult again = Kib({"solutions", cfg});
    EXPECT_EQ(again.status, first.status);
    EXPECT_EQ(LinesAfterFirst(again.out), LinesAfterFirst(first.out)) << again.out;
    EXPECT_NE(again.out.find("Station #1: Viewing angle"), std::string::npos) << again.out;
}

TEST_F(CommandVerdictsTest, ARunSaysWhatItMadeAndWhatItKept) {
    const ProgramResult first = Kib({"maps", cfg, "--quiet"});
    ASSERT_LE(first.status, 1) << first.err;
    EXPECT_EQ(first.err.substr(first.err.find_last_of(':') + 1), " SVG files created.\n");

    const ProgramResult unchanged = Kib({"maps", cfg, "--quiet"});
    EXPECT_NE(unchanged.err.find("SVG files created: 0 stations made, 6 unchanged."),
              std::string::npos)
        << unchanged.err;

    // One object of station 3's map changes colour: its sheets, and only they, change.
    const std::string map3 = dir + "/Ev.S3.svg";
    const std::string text = ReadFile(map3);
    const std::size_t colour = text.find("rgb(", text.find("<g id=\"Sym_"));
    ASSERT_NE(colour, std::string::npos);
    const std::size_t start = colour + 4;
    const std::size_t end = text.find(',', start);
    ASSERT_NE(end, std::string::npos);
    std::string changed = text;
    changed.replace(start, end - start, text.substr(start, end - start) == "1" ? "2" : "1");
    WriteFile(map3, changed);
    const ProgramResult one = Kib({"maps", cfg, "--quiet"});
    EXPECT_LE(one.status, 1) << one.err;
    EXPECT_NE(one.err.find("SVG files created: 1 station made, 5 unchanged."), std::string::npos)
        << one.err;
}

TEST_F(CommandVerdictsTest, AFailedRunPointsToNoOutputWindow) {
    fs::remove(dir + "/Ev.S3.svg");
    const ProgramResult maps = Kib({"maps", cfg, "--quiet"});
    EXPECT_EQ(maps.status, 2);
    EXPECT_NE(maps.err.find("error: SVG files created with some errors!\n"), std::string::npos)
        << maps.err;
    const ProgramResult solutions = Kib({"solutions", cfg, "--quiet"});
    EXPECT_EQ(solutions.status, 2);
}

} // namespace
} // namespace kib::test
