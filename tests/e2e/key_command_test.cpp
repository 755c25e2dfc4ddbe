// Whole runs of `kib key` on generated events of 1 to 15 tasks and 2 to 6 flags:
// the CSV file holds exactly the generator's intended answers, zeros included,
// the JSON file the same rows, and the officials' PDF sheet one table per
// station; a key edited wrong, a station whose map is missing and an event
// title full of CSV and JSON delimiters are each told apart.
#include "generator.h"
#include "support/raster.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

using CsvRecord = std::vector<std::string>;

// An RFC 4180 reader: quoted fields with doubled quotes and line breaks inside,
// records ended by CR LF. False when the text is not well-formed CSV.
bool ParseCsv(const std::string& text, std::vector<CsvRecord>& records) {
    records.clear();
    CsvRecord record;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            if (!field.empty() || wasQuoted) {
                return false;
            }
            quoted = wasQuoted = true;
        } else if (c == ',') {
            record.push_back(field);
            field.clear();
            wasQuoted = false;
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            record.push_back(field);
            records.push_back(record);
            record.clear();
            field.clear();
            wasQuoted = false;
            ++i;
        } else if (wasQuoted || c == '\n' || c == '\r') {
            return false;
        } else {
            field += c;
        }
    }
    return !quoted && field.empty() && record.empty();
}

struct Shape {
    int tasks;
    int flags;
};

class KeyCommandTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (!dir.empty()) {
            fs::remove_all(dir);
        }
    }

    // Two stations with at least one zero answer each: station 1 has its key in
    // column H, station 2 in the configuration. Returns the intended answers.
    std::vector<std::string> Generate(Shape shape) {
        dir = MakeTempDir("e2e-key");
        gen::Options o;
        o.seed = static_cast<std::uint64_t>(300 + shape.tasks * 10 + shape.flags);
        o.outDir = dir;
        o.eventName = "Ev";
        o.stations = 2;
        o.tasks = {shape.tasks};
        o.flags = {shape.flags};
        o.objects = 40;
        o.zerosGiven = true;
        o.zeroStations = {1, 2};
        o.cfgName = "ev.cfg";
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
        // The officials' sheet keeps its texts when converted.
        WriteFile(Cfg(), ReadFile(Cfg()) + "\r\n[System]\r\nCONVERTER=Builtin\r\n");
        return answers;
    }
    std::string Cfg() const { return dir + "/ev.cfg"; }
    void Edit(const std::string& from, const std::string& to) {
        std::string text = ReadFile(Cfg());
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        WriteFile(Cfg(), text.replace(at, from.size(), to));
    }
    ProgramResult Kib(std::vector<std::string> args) {
        args.insert(args.begin(), KibBinary());
        return RunProgram(args);
    }
    // The records of the written CSV file after its exact header.
    std::vector<CsvRecord> Rows(const std::string& path) {
        const std::string text = ReadFile(path);
        EXPECT_EQ(text.substr(0, text.find("\r\n")),
                  "station,task,code,key,map,flag,distance_m,agree");
        std::vector<CsvRecord> records;
        EXPECT_TRUE(ParseCsv(text, records)) << text;
        if (!records.empty()) {
            records.erase(records.begin());
        }
        for (const CsvRecord& r : records) {
            EXPECT_EQ(r.size(), 8u);
        }
        return records;
    }

    std::string dir;
};

class KeyShapes : public KeyCommandTest, public ::testing::WithParamInterface<Shape> {};

TEST_P(KeyShapes, CsvHoldsTheIntendedAnswersAndThePdfATablePerStation) {
    const Shape shape = GetParam();
    const std::vector<std::string> intended = Generate(shape);

    ProgramResult r = Kib({"key", Cfg()});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const std::vector<CsvRecord> rows = Rows(dir + "/ev-key.csv");
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(2 * shape.tasks));
    std::string keys[2], maps[2];
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const CsvRecord& row = rows[k];
        const std::size_t s = k / static_cast<std::size_t>(shape.tasks);
        EXPECT_EQ(row[0], std::to_string(s + 1));
        EXPECT_EQ(row[1], std::to_string(k % static_cast<std::size_t>(shape.tasks) + 1));
        EXPECT_EQ(row[2],
                  std::to_string((s + 1) * 100 + k % static_cast<std::size_t>(shape.tasks) + 1));
        keys[s] += row[3];
        maps[s] += row[4];
        // A flag answers within 2 m of the control; a zero task's nearest flag is farther.
        const double metres = std::stod(row[6]);
        EXPECT_EQ(row[3] == "Z", metres >= 2.0) << row[6];
        if (row[3] != "Z") {
            EXPECT_EQ(row[5], row[3]);
        }
        EXPECT_EQ(row[7], "yes");
    }
    EXPECT_EQ(keys[0], intended[0]);
    EXPECT_EQ(keys[1], intended[1]);
    EXPECT_EQ(maps[0], intended[0]);
    EXPECT_EQ(maps[1], intended[1]);
    EXPECT_NE(intended[0].find('Z'), std::string::npos);

    const std::string pdftotext = FindProgram("pdftotext");
    if (pdftotext.empty()) {
        GTEST_SKIP() << "needs pdftotext (poppler-utils)";
    }
    r = Kib({"key", Cfg(), "--format", "pdf"});
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    pugi::xml_document svg;
    ASSERT_TRUE(svg.load_file((dir + "/ev-key.svg").c_str()));
    EXPECT_EQ(svg.select_nodes("//*[local-name()='text'][starts-with(., 'Station ')]").size(), 2u);
    const ProgramResult text = RunProgram({pdftotext, "-layout", dir + "/ev-key.pdf", "-"});
    ASSERT_EQ(text.status, 0) << text.err;
    for (const char* station : {"Station 1", "Station 2"}) {
        const std::size_t at = text.out.find(station);
        EXPECT_NE(at, std::string::npos) << text.out;
        EXPECT_EQ(text.out.find(station, at + 1), std::string::npos) << text.out;
    }
    EXPECT_EQ(text.out.find("Station 3"), std::string::npos);
    EXPECT_NE(text.out.find("Ev (generated by kibgen)"), std::string::npos) << text.out;
}

INSTANTIATE_TEST_SUITE_P(TasksAndFlags, KeyShapes,
                         ::testing::Values(Shape{1, 2}, Shape{4, 3}, Shape{7, 4}, Shape{10, 5},
                                           Shape{15, 6}),
                         [](const ::testing::TestParamInfo<Shape>& info) {
                             return std::to_string(info.param.tasks) + "Tasks" +
                                    std::to_string(info.param.flags) + "Flags";
                         });

TEST_F(KeyCommandTest, AKeyEditedWrongIsWarnedAndMarked) {
    const std::vector<std::string> intended = Generate({5, 4});
    std::string wrong = intended[1];
    wrong[2] = wrong[2] == 'A' ? 'B' : 'A';
    Edit("ANSWERS=" + intended[1], "ANSWERS=" + wrong);

    // -o is taken from the working folder.
    fs::create_directory(dir + "/desk");
    const ProgramResult r =
        RunProgramIn(dir + "/desk", {KibBinary(), "key", Cfg(), "-o", "key.csv"});
    const std::string path = dir + "/desk/key.csv";
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    const std::string warning = "[= WARNING =] Station 2, task 3: the answer key says " +
                                std::string(1, wrong[2]) + " (ANSWERS of the station), but the ";
    EXPECT_NE(r.out.find(warning), std::string::npos) << r.out;
    const std::vector<CsvRecord> rows = Rows(path);
    ASSERT_EQ(rows.size(), 10u);
    for (const CsvRecord& row : rows) {
        const bool edited = row[0] == "2" && row[1] == "3";
        EXPECT_EQ(row[7], edited ? "no" : "yes") << row[0] << "." << row[1];
        if (edited) {
            EXPECT_EQ(row[3], std::string(1, wrong[2]));
            EXPECT_EQ(row[4], std::string(1, intended[1][2]));
        }
    }
}

TEST_F(KeyCommandTest, AStationThatCannotBeReadIsAnErrorAndLeftOut) {
    Generate({3, 3});
    fs::remove(dir + "/Ev.S2.svg");
    const ProgramResult r = Kib({"key", Cfg(), "--format", "json"});
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    EXPECT_NE(r.out.find("[** ERROR **] Station 2: map not read, its tasks are left out of the "
                         "answer key"),
              std::string::npos)
        << r.out;
    const std::string json = ReadFile(dir + "/ev-key.json");
    EXPECT_NE(json.find("\"station\": 1,"), std::string::npos) << json;
    EXPECT_EQ(json.find("\"station\": 2,"), std::string::npos) << json;
}

TEST_F(KeyCommandTest, DelimitersInTheTitleGiveValidCsvAndJson) {
    Generate({2, 2});
    // A carriage return is the one line break a configuration value can hold.
    const std::string title = "Cup, \"Day 2\"\rFinal";
    Edit("TITLE1=Ev (generated by kibgen)", "TITLE1=" + title);
    ASSERT_EQ(Kib({"key", Cfg()}).status, 0);
    EXPECT_EQ(Rows(dir + "/ev-key.csv").size(), 4u);
    ASSERT_EQ(Kib({"key", Cfg(), "--format", "json"}).status, 0);
    const std::string jq = FindProgram("jq");
    if (jq.empty()) {
        GTEST_SKIP() << "needs jq";
    }
    const ProgramResult title1 = RunProgram({jq, "-j", ".title1", dir + "/ev-key.json"});
    ASSERT_EQ(title1.status, 0) << title1.err;
    EXPECT_EQ(title1.out, title);
    const ProgramResult rows = RunProgram(
        {jq, "-c", "[.rows[] | [.station, .task, .key == .map, .agree]]", dir + "/ev-key.json"});
    EXPECT_EQ(rows.out, "[[1,1,true,true],[1,2,true,true],[2,1,true,true],[2,2,true,true]]\n");
}

TEST_F(KeyCommandTest, BadFormatOrPdfNameIsBadUsage) {
    Generate({1, 2});
    EXPECT_EQ(Kib({"key", Cfg(), "--format", "xlsx"}).status, 64);
    EXPECT_EQ(Kib({"key", Cfg(), "--format", "pdf", "-o", dir + "/key.csv"}).status, 64);
    EXPECT_FALSE(fs::exists(dir + "/key.csv"));
}

} // namespace
} // namespace kib::test
