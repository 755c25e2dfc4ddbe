// Whole runs on a generated event whose course or answer key an organiser got
// wrong: a course that lacks a control or has one too many makes its station
// fail before any of its sheets is drawn, whatever the choice of stations and
// tasks or TASKS say; an answer key that differs from the map is named by every
// run that prints it; a solution sheet that would show a failed station keeps
// its old file.
#include "generator.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

// Control 302 in course S3 as the generator writes it: start, 301 .. 304, finish.
constexpr const char* kControl302 = "      <CourseControl type=\"Control\">\n"
                                    "        <Control>302</Control>\n";
constexpr const char* kControlEnd = "      </CourseControl>\n";

class PairedTasksTest : public ::testing::Test {
  protected:
    // Four stations of four tasks and five flags; the answers of stations 2
    // and 4 are in the configuration (2: DBCA), those of 1 and 3 in column H.
    void SetUp() override {
        dir = MakeTempDir("e2e-paired");
        gen::Options o;
        o.seed = 31;
        o.outDir = dir;
        o.eventName = "Ev";
        o.stations = 4;
        o.tasks = {4};
        o.flags = {5};
        o.objects = 60;
        o.cfgName = "ev.cfg";
        o.quiet = true;
        std::string summary;
        std::string error;
        ASSERT_TRUE(gen::GenerateEvent(o, summary, error)) << error;
        cfg = dir + "/ev.cfg";
        courses = dir + "/Ev.Courses.xml";
    }
    void TearDown() override { fs::remove_all(dir); }

    ProgramResult Kib(std::vector<std::string> args) {
        args.insert(args.begin(), {KibBinary(), "--yes"});
        return RunProgram(args);
    }
    // Replaces the course control 302 of course S3 with the text.
    void ReplaceControl302(const std::string& text) const {
        std::string xml = ReadFile(courses);
        const std::size_t at = xml.find(kControl302);
        ASSERT_NE(at, std::string::npos);
        const std::size_t end = xml.find(kControlEnd, at) + std::string(kControlEnd).size();
        WriteFile(courses, xml.replace(at, end - at, text));
    }
    static void Replace(const std::string& file, const std::string& from, const std::string& to) {
        std::string text = ReadFile(file);
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        WriteFile(file, text.replace(at, from.size(), to));
    }
    // The sheets of the output folder whose names begin with the prefix, with their bytes.
    std::map<std::string, std::string> Sheets(const std::string& prefix) const {
        std::map<std::string, std::string> sheets;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) == 0 && entry.path().extension() == ".svg") {
                sheets[name] = ReadFile(entry.path().string());
            }
        }
        return sheets;
    }

    // The names of the sheets that differ from the ones given, or are missing or new.
    std::vector<std::string> ChangedSheets(const std::map<std::string, std::string>& sheets,
                                           const std::string& prefix) const {
        std::map<std::string, std::string> now = Sheets(prefix);
        std::vector<std::string> changed;
        for (const auto& [name, bytes] : sheets) {
            if (now[name] != bytes) {
                changed.push_back(name);
            }
        }
        for (const auto& entry : now) {
            if (sheets.count(entry.first) == 0) {
                changed.push_back(entry.first);
            }
        }
        return changed;
    }

    std::string dir;
    std::string cfg;
    std::string courses;
};

// Control 302 removed from course S3, or control 401 of another course added
// after 301: no sheet of station 3 is written, by any choice or TASKS, and the
// other stations are made. kib analyse names the course instead of the key.
TEST_F(PairedTasksTest, ACourseThatDoesNotPairWithTheMapMakesNoSheetOfItsStation) {
    ASSERT_EQ(Kib({"maps", cfg}).status, 0);
    ASSERT_EQ(Kib({"solutions", cfg}).status, 0);
    const std::map<std::string, std::string> maps = Sheets("map-3.");
    const std::map<std::string, std::string> prints = Sheets("prn-3.");
    ASSERT_EQ(maps.size(), 5u);
    ASSERT_FALSE(prints.empty());
    const std::string solution = ReadFile(dir + "/sol-1-4.svg");
    const std::string good = ReadFile(courses);
    const std::string goodCfg = ReadFile(cfg);

    const struct {
        const char* what;
        std::string control; // what replaces control 302's lines
        std::string error;
    } courseCases[] = {
        {"a control missing", "",
         "[** ERROR **] Course S3 has 3 controls for 4 description rows; the circle at 88.5, 23.5 "
         "(control 302 in the courses file) has no control in the course"},
        {"a control too many",
         "      <CourseControl type=\"Control\">\n"
         "        <Control>401</Control>\n"
         "      </CourseControl>\n"
         "      <CourseControl type=\"Control\">\n"
         "        <Control>302</Control>\n"
         "      </CourseControl>\n",
         "[** ERROR **] Course S3 has 5 controls for 4 description rows; control 401 has no "
         "circle in the map"},
    };
    const std::vector<std::vector<std::string>> runs = {
        {"maps", cfg},
        {"maps", cfg, "--stations", "3", "--task", "2"},
        {"maps", cfg, "--stations", "2-3", "--task", "cover"},
        {"solutions", cfg, "--stations", "3"},
    };
    for (const auto& c : courseCases) {
        SCOPED_TRACE(c.what);
        WriteFile(courses, good);
        ReplaceControl302(c.control);
        for (const char* tasks : {"", "\r\n[Station 3]\r\nTASKS=3\r\n"}) {
            WriteFile(cfg, goodCfg + tasks);
            for (const std::vector<std::string>& run : runs) {
                SCOPED_TRACE(run[0] + " " + (run.size() > 2 ? run[3] : "") + tasks);
                const ProgramResult r = Kib(run);
                EXPECT_EQ(r.status, 2) << r.out << r.err;
                EXPECT_NE(r.out.find(c.error + "\n"), std::string::npos) << r.out;
                EXPECT_EQ(r.out.find("Found no control circle"), std::string::npos) << r.out;
                EXPECT_EQ(ChangedSheets(maps, "map-3."), std::vector<std::string>{});
                EXPECT_EQ(ChangedSheets(prints, "prn-3."), std::vector<std::string>{});
                EXPECT_FALSE(fs::exists(dir + "/sol-3-3.svg"));
            }
            const ProgramResult analysed = Kib({"analyse", cfg, "--stations", "3"});
            EXPECT_EQ(analysed.status, 2) << analysed.out;
            EXPECT_NE(analysed.out.find(c.error + "\n"), std::string::npos) << analysed.out;
            EXPECT_EQ(analysed.out.find("DIFFERENT"), std::string::npos) << analysed.out;
            EXPECT_EQ(analysed.out.find("TASKS="), std::string::npos) << analysed.out;
        }
    }
    // The other stations are made as before; the solution sheet that shows
    // station 3 keeps its old file.
    const ProgramResult r = Kib({"maps", cfg, "--stations", "1-2"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(ReadFile(dir + "/sol-1-4.svg"), solution);
    // The proof shows station 3 red with the error and no picture.
    const ProgramResult proof = Kib({"proof", cfg, "--stations", "3"});
    EXPECT_EQ(proof.status, 2) << proof.out;
    const std::string page = ReadFile(dir + "/proof.html");
    EXPECT_NE(page.find("<span class=\"mark red\""), std::string::npos);
    EXPECT_NE(page.find("Course S3 has 5 controls for 4 description rows"), std::string::npos);
    EXPECT_EQ(page.find("proof-files/map-3."), std::string::npos);
}

// The answer key against the map in the solution run: a key that differs, one
// with more or fewer answers than tasks, or with a character that is no
// answer, is named (exit 1); small letters are the capitals.
TEST_F(PairedTasksTest, TheSolutionRunNamesAnAnswerKeyThatIsWrong) {
    ASSERT_EQ(Kib({"solutions", cfg}).status, 0);
    const std::string capitals = ReadFile(dir + "/sol-1-4.svg");
    const struct {
        const char* answers;
        int status;
        std::vector<std::string> warnings;
    } cases[] = {
        {"dbca", 0, {}},
        {"DDCA",
         1,
         {"[= WARNING =] Station 2, task 2: the answer key says D (ANSWERS of the station), but "
          "the map says B (flag B 0.0 m from the circle's centre)"}},
        {"DBCAE",
         1,
         {"[= WARNING =] Station 2: ANSWERS=DBCAE of the station has 5 answers for 4 tasks"}},
        {"DBC",
         1,
         {"[= WARNING =] Station 2: ANSWERS=DBC of the station has 3 answers for 4 tasks"}},
        {"DB-A",
         1,
         {"[= WARNING =] Station 2: ANSWERS=DB-A of the station holds \"-\", which is no answer "
          "(A to F, or Z for none of the flags)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers);
        Replace(cfg, "\r\nANSWERS=DBCA\r\n", std::string("\r\nANSWERS=") + c.answers + "\r\n");
        const ProgramResult r = Kib({"solutions", cfg});
        EXPECT_EQ(r.status, c.status) << r.out << r.err;
        for (const std::string& warning : c.warnings) {
            EXPECT_NE(r.out.find(warning + "\n"), std::string::npos) << r.out;
        }
        EXPECT_EQ(r.out.find("is not set"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("[= WARNING =]") == std::string::npos, c.warnings.empty()) << r.out;
        pugi::xml_document xml;
        EXPECT_TRUE(xml.load_file((dir + "/sol-1-4.svg").c_str()));
        if (c.status == 0) {
            EXPECT_EQ(ReadFile(dir + "/sol-1-4.svg"), capitals) << "the key printed in capitals";
        }
        // kib analyse reads the key the same way.
        const ProgramResult analysed = Kib({"analyse", cfg, "--stations", "2"});
        EXPECT_EQ(analysed.status, c.status) << analysed.out;
        EXPECT_EQ(analysed.out.find("is not set"), std::string::npos) << analysed.out;
        if (std::string(c.answers) == "DDCA") {
            // The proof's log of the station names the task too.
            EXPECT_EQ(Kib({"proof", cfg, "--stations", "2"}).status, 2);
            EXPECT_NE(
                ReadFile(dir + "/proof.html").find("Station 2, task 2: the answer key says D"),
                std::string::npos);
        }
        Replace(cfg, std::string("\r\nANSWERS=") + c.answers + "\r\n", "\r\nANSWERS=DBCA\r\n");
    }
}

// A station whose map cannot be read: the solution sheet that would show it
// keeps its old file, and the run names the station that held it back.
TEST_F(PairedTasksTest, ASolutionSheetIsAllOrNothing) {
    ASSERT_EQ(Kib({"solutions", cfg}).status, 0);
    const std::string before = ReadFile(dir + "/sol-1-4.svg");
    const std::string map = ReadFile(dir + "/Ev.S3.svg");
    WriteFile(dir + "/Ev.S3.svg", map.substr(0, map.size() / 2));
    WriteFile(cfg, ReadFile(cfg) + "\r\n[Solutions]\r\nTASKNUMS=No\r\n");
    const ProgramResult r = Kib({"solutions", cfg});
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    EXPECT_NE(r.out.find("[** ERROR **] Solution sheet sol-1-4.svg is not written: station 3 "
                         "failed; its old file is kept.\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(ReadFile(dir + "/sol-1-4.svg"), before);
    EXPECT_EQ(Sheets("sol-").size(), 1u) << "no temporary file left";

    // Once the map is whole again the sheet is made, with the changed setting.
    WriteFile(dir + "/Ev.S3.svg", map);
    EXPECT_EQ(Kib({"solutions", cfg}).status, 0);
    const std::string after = ReadFile(dir + "/sol-1-4.svg");
    EXPECT_NE(after, before);
    pugi::xml_document xml;
    EXPECT_TRUE(xml.load_string(after.c_str()));
}

} // namespace
} // namespace kib::test
