// What a user sees of kib in a terminal: one progress line with the sheet count
// and the time left only when standard output is a terminal, none when it is
// piped or --quiet; "error: " before every error; the nearest verb for a
// mistyped one.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Runs a shell command line in a pseudo-terminal with script(1), as a user at
// a terminal would; what the terminal showed is in out.
ProgramResult RunInTerminal(const std::string& commandLine) {
    return RunProgram({"/bin/sh", "-c", "exec script -qec \"$1\" /dev/null", "sh", commandLine});
}

class TerminalOutputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::system("command -v script >/dev/null 2>&1") != 0) {
            GTEST_SKIP() << "script (bsdutils) is not installed";
        }
        dir = CopyDemoToTempDir("e2e-terminal");
    }
    void TearDown() override {
        if (!dir.empty()) {
            fs::remove_all(dir);
        }
    }
    std::string Images(const std::string& extra = "") const {
        return "'" + KibBinary() + "' images '" + dir +
               "/demo.cfg' --format pdf --converter builtin" + extra;
    }
    std::string dir;
};

TEST_F(TerminalOutputTest, AProgressLineOnATerminalOnly) {
    const ProgramResult shown = RunInTerminal(Images());
    ASSERT_EQ(shown.status, 0) << shown.out << shown.err;
    // The SVG run's map sheets, then the converted print sheets, each counted.
    const std::regex count("sheet [0-9]+ of [0-9]+ \\(station [0-9] of 4\\)");
    EXPECT_TRUE(std::regex_search(shown.out, count)) << shown.out;
    EXPECT_TRUE(Contains(shown.out, "sheet 1 of ")) << shown.out;
    EXPECT_TRUE(Contains(shown.out, " left: Generating ")) << "the time left" << shown.out;
    EXPECT_TRUE(Contains(shown.out, "\x1b[K")) << "the line is rewritten in place";
    EXPECT_TRUE(Contains(shown.out, "Image files creation completed.")) << shown.out;

    // The same run again, piped: the log lines only (the files are there: none is converted).
    const ProgramResult piped = RunProgram({"/bin/sh", "-c", Images() + " | cat"});
    ASSERT_EQ(piped.status, 0) << piped.out << piped.err;
    EXPECT_FALSE(Contains(piped.out, "sheet ")) << piped.out;
    EXPECT_FALSE(Contains(piped.out, "\r")) << piped.out;
    EXPECT_FALSE(Contains(piped.err, "sheet ")) << piped.err;
    EXPECT_TRUE(Contains(piped.out, "Image files creation completed.")) << piped.out;

    // --quiet on a terminal: neither log lines nor progress.
    const ProgramResult quiet = RunInTerminal(Images(" --quiet"));
    ASSERT_EQ(quiet.status, 0) << quiet.out;
    EXPECT_FALSE(Contains(quiet.out, "sheet ")) << quiet.out;
    EXPECT_TRUE(Contains(quiet.out, "info: Image files created.")) << quiet.out;
}

TEST_F(TerminalOutputTest, EveryErrorSaysErrorAndAMistypedVerbNamesTheNearest) {
    const ProgramResult typo = RunProgram({KibBinary(), "mpas", dir + "/demo.cfg"});
    EXPECT_EQ(typo.status, 64);
    EXPECT_EQ(typo.err, "error: 'mpas' is not a kib command; did you mean 'maps'?\n"
                        "Run with --help for more information.\n");
    const ProgramResult unknown = RunProgram({KibBinary(), "--quiet", "frobnicate"});
    EXPECT_EQ(unknown.status, 64);
    EXPECT_EQ(unknown.err.rfind("error: 'frobnicate' is not a kib command; the commands are: ", 0),
              0u)
        << unknown.err;
    const ProgramResult none = RunProgram({KibBinary()});
    EXPECT_EQ(none.status, 64);
    EXPECT_EQ(none.err.rfind("error: ", 0), 0u) << none.err;
    const ProgramResult badTask =
        RunProgram({KibBinary(), "maps", dir + "/demo.cfg", "--task", "x"});
    EXPECT_EQ(badTask.err.rfind("error: --task: ", 0), 0u) << badTask.err;

    // A station whose map export is missing: its box is an error too.
    fs::remove(dir + "/Demo.S2.svg");
    const ProgramResult missing =
        RunProgram({KibBinary(), "maps", dir + "/demo.cfg", "--stations", "2"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(Contains(missing.err, "error: Cannot open map file.\n")) << missing.err;
}

} // namespace
} // namespace kib::test
