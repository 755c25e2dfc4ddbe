// Whole runs of `kib config show` and `kib config save`.
#include "support/run_program.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

class ConfigCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override { dir = MakeTempDir("e2e-config"); }
    void TearDown() override { fs::remove_all(dir); }
    std::string Data(const char* name) const {
        return std::string(KIB_TEST_DATA_DIR) + "/e2e/" + name;
    }
    std::string dir;
};

TEST_F(ConfigCommandsTest, SaveUpgradesOlderKeysToTheCurrentFormat) {
    const std::string out = dir + "/new.cfg";
    const ProgramResult r =
        RunProgram({KibBinary(), "config", "save", Data("old-keys.cfg"), "-o", out});
    EXPECT_NE(r.status, 2) << r.out << r.err;
    EXPECT_NE(r.out.find("Configuration loaded."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Configuration file " + out + " saved."), std::string::npos) << r.out;
    EXPECT_EQ(ReadFile(out), ReadFile(Data("old-keys.saved.cfg")));
}

TEST_F(ConfigCommandsTest, SaveWithoutOutputRewritesTheFileInPlace) {
    const std::string file = dir + "/event.cfg";
    fs::copy_file(Data("old-keys.cfg"), file);
    const ProgramResult r = RunProgram({KibBinary(), "config", "save", file});
    EXPECT_NE(r.status, 2) << r.out << r.err;
    EXPECT_EQ(ReadFile(file), ReadFile(Data("old-keys.saved.cfg")));
    for (const auto& entry : fs::directory_iterator(dir)) {
        EXPECT_EQ(entry.path().filename(), "event.cfg") << "no temporary file is left behind";
    }
}

TEST_F(ConfigCommandsTest, ShowPrintsEffectiveValuesAndMarksDefaults) {
    const std::string debugLog = dir + "/debug.log";
    const ProgramResult r = RunProgram(
        {KibBinary(), "config", "show", Data("old-keys.saved.cfg"), "--debug-log", debugLog});
    EXPECT_NE(r.status, 2) << r.out << r.err;
    for (const char* line :
         {"\nEvent.NAME=Sprint\n", "\nEvent.ZERO=Yes  (default)\n", "\nEvent.TITLE1=  (default)\n",
          "\nSource.FLAG=790.005 790.002\n", "\nSystem.INKSCAPEPATH=C:\\Inkscape\\\n",
          "\nStation 3.MINANGLE=30\n", "\nStation 3.TASKS=  (default)\n",
          "\nSolutions.CIRCLEW=0.15  (default)\n"}) {
        EXPECT_NE(r.out.find(line), std::string::npos) << "missing " << line << "in\n" << r.out;
    }
    EXPECT_EQ(r.out.find("Station 4."), std::string::npos)
        << "stations without values are left out";
    EXPECT_LT(r.out.find("Event.TITLE1="), r.out.find("Source.MODE="));
    EXPECT_LT(r.out.find("Solutions.LOGOTOP="), r.out.find("Station 3.TASKS="));
    EXPECT_NE(ReadFile(debugLog).find("Configuration loaded."), std::string::npos);
}

TEST_F(ConfigCommandsTest, ExitStatusFollowsTheLoad) {
    const std::string bad = dir + "/bad.cfg";
    WriteFile(bad, "# Kib Configuration\r\n[Event]\r\nNAME=x\r\nNOSUCHKEY=1\r\n");
    const ProgramResult unrecognised = RunProgram({KibBinary(), "config", "show", bad});
    EXPECT_EQ(unrecognised.status, 1) << unrecognised.err;
    EXPECT_NE(unrecognised.out.find("[** ERROR **] Unrecognized line #4: NOSUCHKEY=1"),
              std::string::npos);
    EXPECT_NE(
        unrecognised.err.find("warning: Some lines in the configuration file weren't recognized!"),
        std::string::npos)
        << unrecognised.err;

    const ProgramResult missing = RunProgram({KibBinary(), "config", "show", dir + "/none.cfg"});
    EXPECT_EQ(missing.status, 2);

    const std::string empty = dir + "/empty.cfg";
    WriteFile(empty, "# Kib Configuration\r\n");
    const ProgramResult unreadable = RunProgram({KibBinary(), "config", "show", empty});
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_NE(unreadable.err.find("error: Configuration file format not recognized!"),
              std::string::npos);
}

TEST_F(ConfigCommandsTest, UsageErrorsAndHelp) {
    EXPECT_EQ(RunProgram({KibBinary()}).status, 64);
    EXPECT_EQ(RunProgram({KibBinary(), "config", "show"}).status, 64);
    EXPECT_EQ(RunProgram({KibBinary(), "nosuchverb"}).status, 64);
    const ProgramResult help = RunProgram({KibBinary(), "config", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("show"), std::string::npos);
    EXPECT_NE(help.out.find("save"), std::string::npos);
}

} // namespace
} // namespace kib::test
