// Whole runs of kib as organisers start them: from any working folder, with the
// configuration named by a relative path or a bare file name, an output folder
// that does not exist yet, a configuration that cannot be opened, and the
// common options --version and --debug-log.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> ShownValues(const std::string& cwd, const std::string& cfg) {
    const ProgramResult r = RunProgramIn(cwd, {KibBinary(), "config", "show", cfg});
    EXPECT_LT(r.status, 2) << r.out << r.err;
    std::map<std::string, std::string> values;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) {
            values[line.substr(0, eq)] = line.substr(eq + 1);
        }
    }
    return values;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class WorkingFolderTest : public ::testing::Test {
  protected:
    void SetUp() override { dir = MakeTempDir("e2e-folder"); }
    void TearDown() override { fs::remove_all(dir); }

    // A well-formed SVG file, parsed as every written sheet is.
    static void ExpectSheet(const std::string& path) {
        pugi::xml_document xml;
        EXPECT_TRUE(xml.load_file(path.c_str())) << path;
    }

    std::string dir;
};

TEST_F(WorkingFolderTest, ConfigurationSavedInAnotherFolderByRelativeNamesFindsItsExports) {
    CopyDemoExports(dir + "/exports");
    fs::create_directory(dir + "/configs");
    ProgramResult r = RunProgramIn(dir, {KibBinary(), "new", "exports", "-o", "configs/ev.cfg"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(ShownValues(dir, "configs/ev.cfg")["Source.MAP"],
              "../exports/${EVENT}.${COURSE}.svg");

    // Every station's own tasks and flags were written: every station reads cleanly.
    r = RunProgramIn(dir, {KibBinary(), "maps", "configs/ev.cfg", "--task", "none"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_FALSE(Contains(r.out, "[** ERROR **]")) << r.out;
    r = RunProgramIn(dir,
                     {KibBinary(), "maps", "configs/ev.cfg", "--task", "1", "--stations", "2"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    ExpectSheet(dir + "/configs/map-2.1.svg");
}

TEST_F(WorkingFolderTest, ConfigurationNamedByItsBareFileNameInTheExportFolder) {
    CopyDemoExports(dir);
    ProgramResult r = RunProgramIn(dir, {KibBinary(), "new", ".", "-o", "event.cfg"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(ShownValues(dir, "event.cfg")["Source.MAP"], "${EVENT}.${COURSE}.svg");
    r = RunProgramIn(dir, {KibBinary(), "analyse", "event.cfg"});
    EXPECT_LT(r.status, 2) << r.out << r.err;
}

// Maps and output folder given the Windows way, "..\", from a configuration in a
// sub-folder named relative to the working folder.
TEST_F(WorkingFolderTest, ParentFolderPathsAreResolvedFromTheConfiguration) {
    CopyDemoInputs(dir);
    fs::create_directory(dir + "/sub");
    WriteFile(dir + "/sub/ev.cfg", ReadFile(dir + "/demo.cfg") +
                                       "\r\n[Source]\r\nMAP=..\\${EVENT}.${COURSE}.svg\r\n"
                                       "COURSES=..\\${EVENT}.Courses.xml\r\n"
                                       "[Target]\r\nDIR=..\\out\r\n");
    const ProgramResult r =
        RunProgramIn(dir, {KibBinary(), "maps", "sub/ev.cfg", "--stations", "2", "--task", "1"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_FALSE(Contains(r.out, "Cannot make absolute path")) << r.out;
    EXPECT_TRUE(Contains(r.out, "Output folder " + dir + "/out/ created.")) << r.out;
    ExpectSheet(dir + "/out/map-2.1.svg");
}

TEST_F(WorkingFolderTest, SolutionLogoIsCopiedBesideTheSheets) {
    CopyDemoInputs(dir);
    const std::string logo = "kib-e2e-logo-" + fs::path(dir).filename().string() + ".png";
    fs::create_directory(dir + "/art");
    WriteFile(dir + "/art/" + logo, "not really a picture");
    WriteFile(dir + "/demo.cfg",
              ReadFile(dir + "/demo.cfg") + "\r\n[Solutions]\r\nLOGO=art/" + logo + "\r\n");
    const ProgramResult r = RunProgramIn(dir, {KibBinary(), "solutions", "demo.cfg"});
    EXPECT_LT(r.status, 2) << r.out << r.err;
    EXPECT_EQ(ReadFile(dir + "/" + logo), "not really a picture");
    EXPECT_FALSE(fs::exists("/" + logo)) << "nothing is written to the file-system root";
}

TEST_F(WorkingFolderTest, MissingOutputFolderIsCreatedOrNamedOnceWhenItCannotBe) {
    CopyDemoInputs(dir);
    const std::string cfg = dir + "/demo.cfg";
    const std::string demo = ReadFile(cfg);
    WriteFile(cfg, demo + "\r\n[Target]\r\nDIR=sheets/2026\r\n");
    ProgramResult r = RunProgram({KibBinary(), "solutions", cfg});
    EXPECT_LT(r.status, 2) << r.out << r.err;
    EXPECT_TRUE(Contains(r.out, "Output folder " + dir + "/sheets/2026/ created.\n")) << r.out;
    ExpectSheet(dir + "/sheets/2026/sol-1-4.svg");

    WriteFile(dir + "/blocker", "a file where the folder should be");
    WriteFile(cfg, demo + "\r\n[Target]\r\nDIR=blocker/sheets\r\n");
    for (const char* verb : {"maps", "solutions"}) {
        r = RunProgram({KibBinary(), verb, cfg});
        EXPECT_EQ(r.status, 2) << verb << r.out << r.err;
        EXPECT_TRUE(Contains(r.out, "[** ERROR **] Cannot create output folder " + dir +
                                        "/blocker/sheets/: Not a directory\n"))
            << verb << r.out;
        EXPECT_FALSE(Contains(r.out, "Cannot write file")) << verb << r.out;
    }
}

TEST_F(WorkingFolderTest, ConfigurationThatCannotBeOpenedIsNamedWithTheReason) {
    fs::create_directory(dir + "/folder.cfg");
    ASSERT_EQ(::mkfifo((dir + "/pipe.cfg").c_str(), 0600), 0);
    const struct {
        std::string file;
        std::string reason;
    } cases[] = {
        {dir + "/none.cfg", "No such file or directory"},
        {dir + "/folder.cfg", "Is a directory"},
        {dir + "/pipe.cfg", "not a regular file"},
    };
    const std::vector<std::vector<std::string>> verbs = {
        {"config", "show"},
        {"config", "save"},
        {"check"},
        {"analyse"},
        {"maps"},
        {"solutions"},
        {"images", "--format", "pdf"},
    };
    for (const auto& c : cases) {
        for (const auto& verb : verbs) {
            std::vector<std::string> args = {KibBinary()};
            args.insert(args.end(), verb.begin(), verb.end());
            args.push_back(c.file);
            const ProgramResult r = RunProgram(args);
            EXPECT_EQ(r.status, 2) << verb[0] << " " << c.file;
            EXPECT_EQ(r.err,
                      "error: Cannot open configuration file " + c.file + ": " + c.reason + "\n")
                << verb[0];
        }
    }
}

TEST_F(WorkingFolderTest, EmptyExportFolderIsAUsageError) {
    const ProgramResult r = RunProgramIn(dir, {KibBinary(), "new", ""});
    EXPECT_EQ(r.status, 64) << r.out << r.err;
    EXPECT_EQ(r.out, "") << "nothing is scanned";
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(WorkingFolderTest, VersionNamesTheProduct) {
    const ProgramResult r = RunProgram({KibBinary(), "--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Kib 4.2.5(1)\n");
}

// The debug log holds the debug-only lines though the configuration does not
// switch debugging on; standard output is the same as without the log.
TEST_F(WorkingFolderTest, DebugLogHoldsEveryLineWhateverTheConfigurationSays) {
    CopyDemoInputs(dir);
    const std::string cfg = dir + "/demo.cfg";
    const std::string log = dir + "/debug.log";
    const ProgramResult plain = RunProgram({KibBinary(), "analyse", cfg, "--stations", "1"});
    const ProgramResult logged =
        RunProgram({KibBinary(), "--debug-log", log, "analyse", cfg, "--stations", "1"});
    EXPECT_EQ(logged.status, plain.status);
    EXPECT_EQ(logged.out, plain.out);
    const std::string debug = ReadFile(log);
    EXPECT_TRUE(Contains(debug, "Evaluating string ${EVENT}.${COURSE}.svg\n")) << debug;
    EXPECT_TRUE(Contains(debug, "Configuration loaded.\n"));
    EXPECT_FALSE(Contains(plain.out, "Evaluating string"));
}

} // namespace
} // namespace kib::test
