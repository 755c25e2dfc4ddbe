// A new event right the first time: for generated events of 1 to 15 tasks and 2
// to 6 flags, `kib new` writes a configuration that passes the layout check, and
// the proof page shows every station green with every answer key equal to the
// generator's intended answers and to the map's. A station's own tasks and
// flags are written where they differ from the event's, and a configuration
// that still differs from the maps, or an answer key edited wrong, is named.
#include "generator.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

bool LoadBody(const std::string& html, pugi::xml_document& xml) {
    const std::size_t body = html.find("<body>");
    const std::size_t end = html.find("</body>");
    return body != std::string::npos && end != std::string::npos &&
           xml.load_string(html.substr(body, end + 7 - body).c_str());
}

std::string Text(const pugi::xml_node& figure, const char* spanClass) {
    return figure.select_node((std::string(".//span[@class='") + spanClass + "']").c_str())
        .node()
        .text()
        .get();
}

class NewEventTest : public ::testing::Test {
  protected:
    void SetUp() override { dir = MakeTempDir("e2e-newevent"); }
    void TearDown() override { fs::remove_all(dir); }

    // Writes the exports into dir/ex and returns the intended answers per station.
    std::vector<std::string> Generate(gen::Options o) {
        o.outDir = dir + "/ex";
        o.quiet = true;
        std::string summary, error;
        EXPECT_TRUE(gen::GenerateEvent(o, summary, error)) << error;
        std::vector<std::string> answers;
        for (const gen::Station& st : gen::BuildEvent(o).stations) {
            std::string letters;
            for (const gen::Task& t : st.tasks) {
                letters += t.answer;
            }
            answers.push_back(letters);
        }
        return answers;
    }
    ProgramResult Kib(std::vector<std::string> args) {
        args.insert(args.begin(), KibBinary());
        return RunProgram(args);
    }
    std::string Cfg() const { return dir + "/ev.cfg"; }
    // Replaces the first occurrence of a text in the configuration.
    void Edit(const std::string& from, const std::string& to) {
        std::string text = ReadFile(Cfg());
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << text;
        text.replace(at, from.size(), to);
        WriteFile(Cfg(), text);
    }

    std::string dir;
};

struct Shape {
    int tasks;
    int flags;
};

class NewEventShapes : public NewEventTest, public ::testing::WithParamInterface<Shape> {};

// Two stations each: the first has its answers in column H, the second none, so
// its key comes from the map. Every task count and every flag count is met once.
TEST_P(NewEventShapes, CreatedEventPassesTheCheckAndItsProofIsGreenWithTheIntendedAnswers) {
    const Shape shape = GetParam();
    gen::Options o;
    o.seed = static_cast<std::uint64_t>(100 + shape.tasks * 10 + shape.flags);
    o.stations = 2;
    o.tasks = {shape.tasks};
    o.flags = {shape.flags};
    const std::vector<std::string> intended = Generate(o);

    ProgramResult r = Kib({"new", dir + "/ex", "-o", Cfg()});
    ASSERT_LE(r.status, 1) << r.out << r.err;
    EXPECT_NE(r.out.find("Layout check: every station fits"), std::string::npos) << r.out;
    if (shape.tasks >= 6) {
        EXPECT_NE(r.out.find("\nLayout: "), std::string::npos) << "what it chose\n" << r.out;
    }
    const std::string cfg = ReadFile(Cfg());
    // The standard chair and flags, whatever their number (false flags 790.3 only when drawn).
    EXPECT_TRUE(std::regex_search(
        cfg, std::regex("CHAIR=790\\.001\r\nFLAG=790\\.002( 790\\.003)?\r\nZERO=790\\.004\r\n")))
        << cfg;
    EXPECT_NE(cfg.find("ANSWERS=792\r\n"), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("[Station 2]\r\nANSWERS=" + intended[1] + "\r\n"), std::string::npos) << cfg;

    r = Kib({"check", Cfg()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;

    r = Kib({"proof", Cfg()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    pugi::xml_document xml;
    ASSERT_TRUE(LoadBody(ReadFile(dir + "/proof.html"), xml));
    for (int s = 1; s <= 2; ++s) {
        SCOPED_TRACE(s);
        const std::string section = "//section[@id='station-" + std::to_string(s) + "']";
        EXPECT_STREQ(
            xml.select_node((section + "/h2/span").c_str()).node().attribute("class").value(),
            "mark green");
        const auto figures =
            xml.select_nodes((section + "//div[@class='canvases']/figure").c_str());
        ASSERT_EQ(figures.size(), static_cast<std::size_t>(shape.tasks) + 1);
        std::string keys, maps;
        for (std::size_t t = 1; t < figures.size(); ++t) {
            keys += Text(figures[t].node(), "answer");
            maps += Text(figures[t].node(), "map-answer");
        }
        EXPECT_EQ(keys, intended[static_cast<std::size_t>(s - 1)]);
        EXPECT_EQ(maps, intended[static_cast<std::size_t>(s - 1)]);
    }
}

INSTANTIATE_TEST_SUITE_P(TasksAndFlags, NewEventShapes,
                         ::testing::Values(Shape{1, 2}, Shape{4, 3}, Shape{6, 4}, Shape{10, 5},
                                           Shape{15, 6}),
                         [](const ::testing::TestParamInfo<Shape>& info) {
                             return std::to_string(info.param.tasks) + "Tasks" +
                                    std::to_string(info.param.flags) + "Flags";
                         });

// Stations of 4, 6 and 5 tasks with 6, 5 and 6 flags: each station's own values
// are written, and every task's map is made. The same configuration with the
// event's values only is named station by station in every Make run.
TEST_F(NewEventTest, EveryStationGetsItsOwnTasksAndFlags) {
    gen::Options o;
    o.seed = 21;
    o.stations = 3;
    o.tasks = {4, 6, 5};
    o.flags = {6, 5, 6};
    Generate(o);
    ProgramResult r = Kib({"new", dir + "/ex", "-o", Cfg()});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const std::string cfg = ReadFile(Cfg());
    EXPECT_NE(cfg.find("TASKS=4\r\nFLAGS=6\r\n"), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("[Station 2]\r\nTASKS=6\r\nFLAGS=5\r\n"), std::string::npos) << cfg;
    EXPECT_NE(cfg.find("[Station 3]\r\nTASKS=5\r\n"), std::string::npos) << cfg;

    r = Kib({"maps", Cfg()});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    for (const auto& [station, tasks] : {std::pair{1, 4}, std::pair{2, 6}, std::pair{3, 5}}) {
        for (int t = 1; t <= tasks; ++t) {
            EXPECT_TRUE(fs::exists(dir + "/map-" + std::to_string(station) + "." +
                                   std::to_string(t) + ".svg"))
                << station << "." << t;
        }
        EXPECT_FALSE(fs::exists(dir + "/map-" + std::to_string(station) + "." +
                                std::to_string(tasks + 1) + ".svg"));
    }

    Edit("[Station 2]\r\nTASKS=6\r\nFLAGS=5", "[Station 2]");
    for (const char* verb : {"maps", "analyse"}) {
        r = Kib({verb, Cfg(), "--stations", "2"});
        EXPECT_EQ(r.status, 1) << r.out << r.err;
        EXPECT_NE(r.out.find("[= WARNING =] Station 2: TASKS=4 of the event, but its map holds 6 "
                             "tasks (6 description rows, 6 course controls, 2 circle parts near "
                             "no task)"),
                  std::string::npos)
            << verb << "\n"
            << r.out;
        EXPECT_NE(r.out.find("[= WARNING =] Station 2: FLAGS=6 of the event (A-F), but its map "
                             "holds 5 flags"),
                  std::string::npos)
            << verb << "\n"
            << r.out;
    }
    r = Kib({"proof", Cfg(), "--stations", "2"});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_NE(ReadFile(dir + "/proof.html").find("<span class=\"mark amber\""), std::string::npos);
}

// An answer key edited to a wrong answer on one task: kib analyse names the
// task with both letters; the proof page marks the task and its station red.
TEST_F(NewEventTest, AWrongAnswerIsNamedAndMarkedRed) {
    gen::Options o;
    o.seed = 44;
    o.stations = 2;
    o.tasks = {4};
    o.flags = {4};
    const std::vector<std::string> intended = Generate(o);
    ProgramResult r = Kib({"new", dir + "/ex", "-o", Cfg()});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    std::string wrong = intended[1];
    wrong[2] = wrong[2] == 'A' ? 'B' : 'A';
    Edit("ANSWERS=" + intended[1] + "\r", "ANSWERS=" + wrong + "\r");

    r = Kib({"analyse", Cfg()});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_NE(r.out.find(std::string("[= WARNING =] Station 2, task 3: the answer key says ") +
                         wrong[2] + " (ANSWERS of the station), but the map says " +
                         intended[1][2] + " ("),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(std::string("    task 3: key ") + wrong[2]), std::string::npos) << r.out;

    r = Kib({"proof", Cfg()});
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    pugi::xml_document xml;
    ASSERT_TRUE(LoadBody(ReadFile(dir + "/proof.html"), xml));
    EXPECT_STREQ(
        xml.select_node("//section[@id='station-2']/h2/span").node().attribute("class").value(),
        "mark red");
    const pugi::xml_node task3 = xml.select_node("//figure[@id='s2t3']").node();
    EXPECT_STREQ(task3.attribute("class").value(), "red");
    EXPECT_EQ(Text(task3, "answer"), std::string(1, wrong[2]));
    EXPECT_EQ(Text(task3, "map-answer"), std::string(1, intended[1][2]));
    EXPECT_NE(Text(task3, "evidence").find(" m from the circle's centre"), std::string::npos);
    EXPECT_STREQ(xml.select_node("//figure[@id='s2t2']").node().attribute("class").value(), "");
    EXPECT_STREQ(
        xml.select_node("//section[@id='station-1']/h2/span").node().attribute("class").value(),
        "mark green");
}

} // namespace
} // namespace kib::test
