// Whole runs of `kib new`: the demo event's exports give back its configuration;
// folders that are not an export give their messages and no file.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <filesystem>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

const std::string kDemo = std::string(KIB_SOURCE_DIR) + "/examples/demo/";
// The command line has no output window: its boxes never point to one.
const std::string kNotRecognised = "error: Directory structure not recognized!\n";

// Section.KEY -> value of `kib config show`, without the default marks.
std::map<std::string, std::string> ShownValues(const std::string& cfgFile) {
    const ProgramResult r = RunProgram({KibBinary(), "config", "show", cfgFile});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    std::map<std::string, std::string> values;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        std::string value = line.substr(eq + 1);
        const std::size_t mark = value.rfind("  (default)");
        if (mark != std::string::npos && mark + 11 == value.size()) {
            value.erase(mark);
        }
        values[line.substr(0, eq)] = value;
    }
    return values;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class NewCommandTest : public ::testing::Test {
  protected:
    void SetUp() override { dir = MakeTempDir("e2e-new"); }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<std::string> Names(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir;
};

TEST_F(NewCommandTest, DemoExportsGiveBackTheDemoConfiguration) {
    CopyDemoExports(dir);
    const ProgramResult r = RunProgram({KibBinary(), "new", dir});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.err, "info: Configuration created.\n");
    EXPECT_NE(r.out.find("Configuration file " + dir + "/Demo.cfg saved."), std::string::npos)
        << r.out;

    std::map<std::string, std::string> created = ShownValues(dir + "/Demo.cfg");
    std::map<std::string, std::string> demo = ShownValues(kDemo + "demo.cfg");
    for (const char* key :
         {"Event.NAME", "Event.MINSTAT", "Event.MAXSTAT", "Event.NUMFMT", "Event.TASKS",
          "Event.FLAGS", "Source.MODE", "Source.COURSE", "Source.MAP", "Source.COURSES",
          "Source.CHAIR", "Source.FLAG", "Source.ZERO", "Source.LETTERS", "Source.ANSWERS",
          "Target.REDUCESIZE"}) {
        EXPECT_EQ(created[key], demo[key]) << key;
    }
    EXPECT_EQ(created["Target.REDUCESIZE"], "Yes") << "new events leave out what no segment shows";
    EXPECT_NE(ReadFile(dir + "/Demo.cfg").find("[Target]\r\nREDUCESIZE=Yes\r\n"),
              std::string::npos);
    EXPECT_EQ(created["Event.NAME"], "Demo");
    EXPECT_EQ(created["Source.FLAG"], "790.002 790.003");
    EXPECT_EQ(created["Event.TASKS"], "5");
    EXPECT_EQ(created["Event.SCALE"], "4000") << "from the courses file";
}

TEST_F(NewCommandTest, AnExistingConfigurationIsReplacedOnlyWithForce) {
    CopyDemoExports(dir);
    WriteFile(dir + "/Demo.cfg", "# mine\n");
    ProgramResult r = RunProgram({KibBinary(), "new", dir});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(
        r.err.find("error: File " + dir + "/Demo.cfg already exists; use --force to replace it.\n"),
        std::string::npos)
        << r.err;
    EXPECT_EQ(ReadFile(dir + "/Demo.cfg"), "# mine\n");

    r = RunProgram({KibBinary(), "new", dir, "-o", dir + "/Demo.cfg"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "") << "refused before anything is read";
    EXPECT_EQ(ReadFile(dir + "/Demo.cfg"), "# mine\n");

    r = RunProgram({KibBinary(), "new", dir, "--force"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(ShownValues(dir + "/Demo.cfg")["Event.NAME"], "Demo");
}

// A configuration saved elsewhere is given the way to the exports, so that it
// loads without missing files.
TEST_F(NewCommandTest, ConfigurationSavedOutsideTheExportsFindsThem) {
    CopyDemoExports(dir + "/exports");
    fs::create_directory(dir + "/event");
    const ProgramResult r =
        RunProgram({KibBinary(), "new", dir + "/exports", "-o", dir + "/event/sprint.cfg"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(Names(dir + "/exports").size(), 5u) << "nothing written beside the exports";
    std::map<std::string, std::string> values = ShownValues(dir + "/event/sprint.cfg");
    EXPECT_EQ(values["Source.MAP"], "../exports/${EVENT}.${COURSE}.svg");
    EXPECT_EQ(values["Source.COURSES"], "../exports/${EVENT}.Courses.xml");
}

struct WrongFolder {
    const char* what;
    std::vector<const char*> files;
    std::vector<const char*> errors; // after "Checking directory ..."
};

TEST_F(NewCommandTest, FoldersThatAreNoExportGiveTheirMessagesAndNoFile) {
    const WrongFolder cases[] = {
        {"no courses file",
         {"Sprint.S1.svg"},
         {"[** ERROR **] Cannot find XML file for course definition"}},
        {"no map file", {"Sprint.Courses.xml"}, {"[** ERROR **] Cannot find SVG map files"}},
        {"maps without the event name",
         {"Sprint.Courses.xml", "S1.svg", "S2.svg", "S3.svg"},
         {"[** ERROR **] Found files with different name formats"}},
        {"another map first",
         {"Sprint.Courses.xml", "Overview.svg", "Sprint.S1.svg", "Sprint.S2.svg"},
         {"[** ERROR **] Found files with different name formats"}},
        {"another map last",
         {"Sprint.Courses.xml", "Sprint.S1.svg", "Sprint.S2.svg", "Zulu.svg"},
         {"[** ERROR **] Found files with different name formats"}},
        {"only Kib's own sheets",
         {"Sprint.Courses.xml", "map-1.1.svg", "prn-1.0-1.1.svg", "sol-1-8.svg"},
         {"[** ERROR **] No map SVG files found!"}},
        {"only stations above 20",
         {"Sprint.Courses.xml", "Sprint.S21.svg", "Sprint.S30.svg"},
         {"[** ERROR **] Too high station number in file Sprint.S21.svg",
          "[** ERROR **] Too high station number in file Sprint.S30.svg",
          "[** ERROR **] No map SVG files found!"}},
    };
    for (const WrongFolder& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string folder = dir + "/" + std::to_string(&c - cases);
        fs::create_directory(folder);
        for (const char* name : c.files) {
            WriteFile(folder + "/" + name, "");
        }
        const std::vector<std::string> before = Names(folder);
        const ProgramResult r = RunProgram({KibBinary(), "new", folder});
        EXPECT_EQ(r.status, 2);
        std::vector<std::string> expected{"Checking directory " + folder + "/"};
        expected.insert(expected.end(), c.errors.begin(), c.errors.end());
        EXPECT_EQ(Lines(r.out), expected);
        EXPECT_EQ(r.err, kNotRecognised);
        EXPECT_EQ(Names(folder), before) << "nothing is created";
    }
}

TEST_F(NewCommandTest, StationAboveTwentyAmongGoodOnesIsReportedAndLeftOut) {
    fs::copy_file(kDemo + "Demo.Courses.xml", dir + "/Sprint.Courses.xml");
    fs::copy_file(kDemo + "Demo.S1.svg", dir + "/Sprint.S1.svg");
    WriteFile(dir + "/Sprint.S21.svg", "");
    const ProgramResult r = RunProgram({KibBinary(), "new", dir});
    EXPECT_EQ(r.status, 2) << "the error closing box";
    EXPECT_NE(r.out.find("\n[** ERROR **] Too high station number in file Sprint.S21.svg\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.err, "error: Configuration created with some errors!\n");
    std::map<std::string, std::string> values = ShownValues(dir + "/Sprint.cfg");
    EXPECT_EQ(values["Event.MINSTAT"], "1");
    EXPECT_EQ(values["Event.MAXSTAT"], "1");
}

// Without a description table the course tells the station's tasks; the empty
// map's warnings say what is missing.
TEST_F(NewCommandTest, MapWithoutDescriptionsTakesTheTasksFromTheCourse) {
    fs::copy_file(kDemo + "Demo.Courses.xml", dir + "/Demo.Courses.xml");
    WriteFile(dir + "/Demo.S1.svg", "<svg version=\"1.1\" viewBox=\"0 0 100 100\">\n"
                                    "<g id=\"scaleTransform\" transform=\"scale(1.000000)\">\n"
                                    "</g>\n</svg>\n");
    const ProgramResult r = RunProgram({KibBinary(), "new", dir});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_NE(r.out.find("Station 1: 5 tasks (course controls), 0 flags, rotation none"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("[= WARNING =] Control descriptions seems to be missing or incomplete in "
                         "the map!"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.err, "warning: Configuration created with some warnings!\n");
    std::map<std::string, std::string> values = ShownValues(dir + "/Demo.cfg");
    EXPECT_EQ(values["Event.FLAGS"], "6");
    EXPECT_EQ(values["Event.TASKS"], "5");
}

} // namespace
} // namespace kib::test
