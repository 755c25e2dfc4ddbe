// Whole runs of `kib analyse` on the demo event and on a copy of it that an
// organiser broke in three ways: a missing control circle, a missing start and a
// seventh flag. A task without its circle is an error, as it is in every run.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

int CountLines(const std::string& text, const std::string& part) {
    int n = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        n += line.find(part) != std::string::npos ? 1 : 0;
    }
    return n;
}

// Removes the first line holding `part` together with `count` - 1 lines after it.
void RemoveLines(std::string& text, const std::string& part, int count) {
    const size_t at = text.find(part);
    ASSERT_NE(at, std::string::npos) << part;
    const size_t begin = text.rfind('\n', at) + 1;
    size_t end = begin;
    for (int i = 0; i < count; ++i) {
        end = text.find('\n', end) + 1;
    }
    text.erase(begin, end - begin);
}

class AnalyseCommandTest : public ::testing::Test {
  protected:
    void SetUp() override { dir = CopyDemoToTempDir("e2e-analyse"); }
    void TearDown() override { fs::remove_all(dir); }
    ProgramResult Analyse() { return RunProgram({KibBinary(), "analyse", dir + "/demo.cfg"}); }
    std::string dir;
};

TEST_F(AnalyseCommandTest, DemoEventIsClean) {
    const ProgramResult r = Analyse();
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(CountLines(r.out, "WARNING"), 0) << r.out;
    EXPECT_EQ(CountLines(r.out, "ERROR"), 0) << r.out;
    EXPECT_EQ(CountLines(r.out, "no problem found"), 4) << r.out;
    EXPECT_EQ(CountLines(r.out, "0 unmatched"), 4) << r.out;
}

TEST_F(AnalyseCommandTest, BrokenExportsGiveExactlyTheirWarningsAndErrors) {
    // Station 1: the circle of one task is missing.
    std::string s1 = ReadFile(dir + "/Demo.S1.svg");
    RemoveLines(s1, "<circle cx=\"58.400\" cy=\"40.300\" r=\"3.000\"", 1);
    WriteFile(dir + "/Demo.S1.svg", s1);
    // Station 2: the start triangle is missing (its whole symbol group).
    std::string s2 = ReadFile(dir + "/Demo.S2.svg");
    RemoveLines(s2, "<g id=\"Sym_701.0 Start\">", 11);
    WriteFile(dir + "/Demo.S2.svg", s2);
    // Station 4 (six flags): a seventh, false flag is drawn near the chair.
    std::string s4 = ReadFile(dir + "/Demo.S4.svg");
    const std::string group = "<g id=\"Sym_790.3 False flag\">\n";
    const size_t at = s4.find(group);
    ASSERT_NE(at, std::string::npos);
    const size_t style = s4.find('\n', at + group.size()) + 1;
    // Drawn like the other false flags (same object lines), so that it forms a bundle of its own.
    s4.insert(style,
              "<circle cx=\"30.000\" cy=\"110.000\" r=\"0.500\" stroke=\"rgb(166,38,255)\" "
              "fill=\"none\" stroke-width=\"0.15\" stroke-linejoin=\"round\"/>\n"
              "<g stroke=\"rgb(166,38,255)\" fill=\"none\" stroke-width=\"0.15\" "
              "stroke-linejoin=\"round\">\n<path\n"
              "d=\"M30.000,110.000\nL30.000,107.400\nL31.600,108.000\nL30.000,108.600\n\"/>\n"
              "</g>\n");
    WriteFile(dir + "/Demo.S4.svg", s4);

    const ProgramResult r = Analyse();
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    const std::vector<std::string> expected = {
        "[= WARNING =] Wrong number of circle parts (0) for course control 1.2 (102)!",
        "[= WARNING =] Cannot find start  (symbol 701.0) for station 2 in the map!",
        // Without the start the circles are measured from the corner of their centres,
        // so none of them meets its course control.
        "[= WARNING =] Control circle part #1 of station 2 map unmatched.",
        "[= WARNING =] Control circle part #2 of station 2 map unmatched.",
        "[= WARNING =] Control circle part #3 of station 2 map unmatched.",
        "[= WARNING =] Wrong number of circle parts (0) for course control 2.1 (201)!",
        "[= WARNING =] Wrong number of circle parts (0) for course control 2.2 (202)!",
        "[= WARNING =] Wrong number of circle parts (0) for course control 2.3 (203)!",
        "[= WARNING =] Incorrect number of flags (7) found in the map of station 4!",
        "[= WARNING =] Incorrect number of flags found in the map (7)!",
        "[= WARNING =] No ANGLE(s) configured for station 4!",
        "[= WARNING =] Station 4: FLAGS=6 of the event (A-F), but its map holds 7 flags",
    };
    for (const auto& warning : expected) {
        EXPECT_EQ(CountLines(r.out, warning), 1) << warning << "\n" << r.out;
    }
    EXPECT_EQ(CountLines(r.out, "[= WARNING =]"), static_cast<int>(expected.size())) << r.out;
    // A task without its circle would have no map: stations 1 and 2 are errors.
    const std::vector<std::string> errors = {
        "[** ERROR **] Course S1: control 102 of task 1.2 has no circle in the map",
        "[** ERROR **] Course S2: control 201 of task 2.1, control 202 of task 2.2 and control "
        "203 of task 2.3 have no circle in the map; circle part #1, circle part #2 and circle "
        "part #3 have no control in the course",
    };
    for (const auto& error : errors) {
        EXPECT_EQ(CountLines(r.out, error), 1) << error << "\n" << r.out;
    }
    EXPECT_EQ(CountLines(r.out, "ERROR"), static_cast<int>(errors.size())) << r.out;
    EXPECT_EQ(CountLines(r.out, "Station 3:"), 1);
    EXPECT_EQ(CountLines(r.out, "no problem found"), 1) << "only station 3 is untouched\n" << r.out;
}

} // namespace
} // namespace kib::test
