#include "map_fixture.h"

#include "support/special_files.h"
#include "support/test_files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

using namespace kib;
using kib::test::MapText;

namespace {

namespace fs = std::filesystem;

// The course of the hand-made station map: start (50, 50), controls at
// (70, 40), (90, 60) and (60, 80), given as the courses file has them (y up).
void SetSprintCourse(CKibSvg& svg) {
    const MapPoint start{50, -50};
    const MapPoint controls[] = {{70, -40}, {90, -60}, {60, -80}};
    svg.codes[0] = "S1";
    svg.startPosition = start;
    svg.controlCount = 3;
    for (int i = 1; i <= 3; ++i) {
        svg.codes[static_cast<std::size_t>(i)] = std::to_string(30 + i);
        svg.positions[static_cast<std::size_t>(i)] = controls[i - 1];
        svg.offsets[static_cast<std::size_t>(i)] = {controls[i - 1].x - start.x,
                                                    start.y - controls[i - 1].y};
    }
}

class ReadMapTest : public kib::test::MapFixture {
  protected:
    void SetUp() override {
        MapFixture::SetUp();
        doc.SetPathParts(test::TestData("map_input/event.cfg"));
        Set(id::Event_NAME, "Sprint");
        Set(id::Source_COURSE, "S${STAT}");
        Set(id::Source_CHAIR, "790.001");
        Set(id::Source_FLAG, "790.002 790.003");
        Set(id::Source_ZERO, "790.004");
        Set(id::Source_LETTERS, "791");
        Set(id::Event_TASKS, "5");
        SetSprintCourse(*svg);
    }
};

TEST_F(ReadMapTest, WholeStationIsReadAndAnalysed) {
    ASSERT_TRUE(svg->ReadMap(1, 1));
    CKibMap& m = *svg->GetMap();
    EXPECT_EQ(m.layout, CKibMap::kLayoutScaleGroup);
    EXPECT_FLOAT_EQ(m.zoom, 1.0f);
    EXPECT_EQ(m.lineCount, 196);
    EXPECT_EQ(m.firstContentLine->lineNo, 5);
    EXPECT_EQ(m.Line(5)->text, "<g id=\"scaleTransform\" transform=\"scale(1.000)\">");
    EXPECT_EQ(m.FindSet(301, 0), nullptr);
    EXPECT_EQ(m.circleMajor, 702);
    EXPECT_EQ(m.flagBundles, 5);
    EXPECT_TRUE(m.standardChairFlagsFound);
    EXPECT_TRUE(m.standardLettersFound);
    EXPECT_EQ(m.rotation, 358);
    EXPECT_EQ(m.tasks, 3);
    EXPECT_EQ(m.partCount, 4);
    EXPECT_EQ((std::vector<std::string>(m.assignments.begin(), m.assignments.begin() + 4)),
              (std::vector<std::string>{":1:", ":2:", ":2:", ":3:"}));
    EXPECT_EQ(m.descColour, 166 + 256 * 38 + 65536 * 255);
    EXPECT_EQ(m.RowEntryCount(3), 2); // the knoll and the table line below row 3
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{
                  "Station #1: Viewing angle 85 (-40/#1:45/#5), rotation=358",
                  "Number of tasks at station 1 estimated by control description to 3."}));
    EXPECT_EQ(host.statusTexts.back(),
              "Reading SVG " + test::TestData("map_input/Sprint.S1.svg") + "...");
    EXPECT_TRUE(HasDebug("==== Reading SVG 1.1..."));
    // Hidden: the start, control numbers and course lines, the description symbols.
    EXPECT_TRUE(m.FindSet(701, 0)->groupLine->hidden);
    EXPECT_TRUE(m.FindSet(703, 0)->groupLine->hidden);
    EXPECT_TRUE(m.FindSet(18, 2)->First()->lastLine->hidden);
    EXPECT_FALSE(m.FindSet(702, 0)->groupLine->hidden);
    EXPECT_FALSE(m.FindSet(790, 2)->First()->firstLine->hidden);
}

TEST_F(ReadMapTest, StatisticsReadRunsNoCircleAnalysis) {
    Set(id::Source_CHAIR, "");
    ASSERT_TRUE(svg->ReadMap(1, 0));
    CKibMap& m = *svg->GetMap();
    EXPECT_EQ(m.partCount, 0);
    EXPECT_EQ(m.rotation, 358); // the standard chair and flags
    EXPECT_EQ(m.taskEstimate, 3);
}

TEST_F(ReadMapTest, MissingFileKeepsThePreviousMap) {
    ASSERT_TRUE(svg->ReadMap(1, 1));
    CKibMap* previous = svg->GetMap();
    host.Clear();
    EXPECT_FALSE(svg->ReadMap(2, 1));
    EXPECT_EQ(svg->GetMap(), previous);
    const std::string path = test::TestData("map_input/Sprint.S2.svg");
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"[** ERROR **] Cannot open map file " + path}));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Cannot open map file.");
    // An error box: the command line writes it as "error: Cannot open map file.".
    EXPECT_EQ(host.boxes[0].icon, BoxIcon::Error);
}

TEST_F(ReadMapTest, DirectoryOrEmptyNameIsNoMapFile) {
    Set(id::Source_MAP, ".");
    EXPECT_FALSE(svg->ReadMap(1, 1));
    Set(id::Source_MAP, "S${TASK}.svg");
    EXPECT_FALSE(svg->ReadMap(1, 0));
    EXPECT_EQ(CountMessagesStartingWith("[** ERROR **] Cannot open map file "), 2);
    EXPECT_EQ(svg->GetMap(), nullptr);
}

// Malformed maps: every one is read and analysed without a crash, whatever it holds.
class MalformedMapTest : public kib::test::MapFixture {
  protected:
    void SetUp() override {
        MapFixture::SetUp();
        dir = test::MakeTempDir("map-input");
        ASSERT_NE(dir, "");
        doc.SetPathParts(dir + "/event.cfg");
        Set(id::Source_MAP, "map${STAT}.svg");
        Set(id::Source_CHAIR, "790.001");
        Set(id::Source_FLAG, "790.002 790.003");
        Set(id::Source_LETTERS, "791.001");
        Set(id::Source_ANSWERS, "792");
        Set(id::Source_ZEROTOL, "19.5");
        Set(id::Event_TASKS, "15");
        std::mt19937 random(7);
        svg->controlCount = 100;
        for (std::size_t i = 1; i <= 100; ++i) {
            svg->codes[i] = std::to_string(i);
            svg->positions[i] = {static_cast<float>(random() % 50),
                                 static_cast<float>(random() % 50)};
            svg->offsets[i] = svg->positions[i];
        }
    }
    void TearDown() override { fs::remove_all(dir); }

    bool ReadText(const std::string& content) {
        std::ofstream(dir + "/map1.svg", std::ios::binary) << content;
        host.Clear();
        return svg->ReadMap(1, 1);
    }

    std::string dir;
};

std::string SprintMap() {
    std::ifstream in(test::TestData("map_input/Sprint.S1.svg"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(MalformedMapTest, TruncatedAnywhere) {
    const std::string full = SprintMap();
    ASSERT_GT(full.size(), 1000u);
    for (std::size_t cut = 0; cut < full.size(); cut += 29) {
        EXPECT_FALSE(ReadText(full.substr(0, cut))) << cut;
    }
    EXPECT_TRUE(ReadText(full));
}

TEST_F(MalformedMapTest, HugeAndStrangeNumbers) {
    const std::vector<std::string> numbers = {
        "1e39", "-1e39", "nan", "inf", "-inf", "99999999999999999999999999", "0x1p200", "-0"};
    for (const std::string& n : numbers) {
        MapText text("<g id=\"scaleTransform\" transform=\"scale(" + n + ")\">");
        text.Line("<g id=\"Sym_2147483648.0 Too big\">").Line("<g id=\"Sym_702.99999999999 X\">");
        text.Line("<g id=\"Sym_-2147483649.-1 X\">");
        text.Symbol(701, 0, "Start").Circle(0, 0).EndSymbol();
        text.Symbol(18, 2, "Vertical", "<g stroke=\"rgb(" + n + ", 99999999999, -5)\">");
        for (int k = 0; k < 6; ++k) {
            text.Path({"M" + n + "," + n, "L" + n + ",1"});
        }
        text.EndSymbol();
        text.Symbol(18, 1, "Horizontal").Path({"M0,0", "L" + n + ",0"}).EndSymbol();
        text.Symbol(702, 0, "Circle").Line("<circle cx=\"" + n + "\" cy=\"" + n + "\"/>");
        text.Path({"M1,1", "C" + n + ",1 1," + n + " " + n + "," + n}).EndSymbol();
        text.Symbol(790, 1, "Chair").Path({"M" + n + ",0", "L0," + n}).EndSymbol();
        text.Symbol(790, 2, "Flag").Circle(1, 1).Line("<circle cx=\"" + n + "\" cy=\"2\"/>");
        text.EndSymbol();
        text.Symbol(5, 1, "Row symbol").Line("<circle cx=\"3\" cy=\"" + n + "\"/>").EndSymbol();
        ReadText(text.Text());
        ASSERT_NE(svg->GetMap(), nullptr) << n;
        EXPECT_GE(svg->GetMap()->rotation, -1) << n;
        EXPECT_LE(svg->GetMap()->rotation, 359) << n;
        EXPECT_LE(svg->GetMap()->partCount, 100) << n;
    }
}

TEST_F(MalformedMapTest, VeryLongLines) {
    const std::string longText(200000, '7');
    MapText text;
    text.Line("<g id=\"Sym_702.0 " + std::string(50000, 'n') + "\">");
    text.Symbol(702, 0, "Circle").Circle(1, 1).Path({"M" + longText + ",1", "L1," + longText});
    text.Line(longText).Line("<" + longText).Line("<g" + longText).Line("</g" + longText);
    text.Line("d=\"M1," + longText).Line("C" + longText);
    text.EndSymbol();
    text.Symbol(16, 2, "Description", "<g stroke=\"rgb(" + longText + ", 1, 1)\">").EndSymbol();
    EXPECT_TRUE(ReadText(text.Text()));
    EXPECT_EQ(svg->GetMap()->FindSet(702, 0)->count, 2);
    for (const auto& line : host.debug) {
        EXPECT_LE(line.size(), 999u);
    }
}

TEST_F(MalformedMapTest, SomethingElseThanAFileOrALineWithoutEnd) {
    // A FIFO at the map's name once hung the reading for good.
    const std::string path = test::NativePath(dir + "/map1.svg");
    if (test::MakeFifo(path)) {
        EXPECT_FALSE(svg->ReadMap(1, 1));
        EXPECT_EQ(host.messages,
                  (std::vector<std::string>{"[** ERROR **] Cannot open map file " + path +
                                            ": it is a FIFO (named pipe), not a "
                                            "regular file"}));
        fs::remove(path);
    }

    // A sparse file of 65 MiB after two lines: its third line has no end.
    ASSERT_FALSE(ReadText("<svg viewBox=\"0 0 10 10\">\n<pattern id=\"p\">\n"));
    fs::resize_file(path, std::uintmax_t{65} << 20);
    host.Clear();
    EXPECT_FALSE(svg->ReadMap(1, 1));
    EXPECT_EQ(host.messages, (std::vector<std::string>{
                                 "[** ERROR **] Line #3 of the map for 1.1 is longer than 64 MiB: "
                                 "the file is no map export!"}));
    EXPECT_LT(svg->GetMap()->lineCount, 3);
}

TEST_F(MalformedMapTest, BinaryGarbage) {
    std::mt19937 random(11);
    const std::string header = MapText().Symbol(702, 0, "Circle").Text(false);
    for (int round = 0; round < 40; ++round) {
        std::string garbage;
        const std::size_t size = 1 + random() % 20000;
        for (std::size_t k = 0; k < size; ++k) {
            // Mostly bytes that matter to the reader, and NUL and high bytes.
            static const char interesting[] = "<>/gdLC0123456789.,\"\r\n ";
            const unsigned r = random() % 4;
            garbage += r == 0 ? static_cast<char>(random() % 256)
                              : interesting[random() % (sizeof interesting - 1)];
        }
        ReadText(round % 2 ? header + garbage : garbage);
        ReadText(header + garbage + "\n</svg>\n");
    }
    EXPECT_FALSE(ReadText(std::string()));
    EXPECT_FALSE(ReadText("\r\n\r\n"));
    static const char nulsFirst[] = "\0\0\0<svg viewBox=\"0 0 1 1\">\n";
    EXPECT_FALSE(ReadText(std::string(nulsFirst, sizeof nulsFirst - 1)));
}

TEST_F(MalformedMapTest, OversizedTablesAndUnbalancedGroups) {
    MapText text;
    text.Symbol(702, 0, "Circle");
    for (int k = 0; k < 300; ++k) {
        text.Circle(static_cast<float>(k % 50), static_cast<float>(k / 50));
    }
    text.EndSymbol();
    text.Symbol(790, 1, "Chair").Circle(25, 25).EndSymbol();
    text.Symbol(790, 2, "Flag");
    for (int k = 0; k < 500; ++k) {
        text.Circle(static_cast<float>(k % 37), static_cast<float>(k % 41));
    }
    text.EndSymbol();
    text.Symbol(18, 1, "Horizontal").Segment(0, 0, 48, 0).EndSymbol();
    text.Symbol(18, 2, "Vertical", "<g stroke=\"rgb(1, 2, 3)\">");
    for (float x : {6.0f, 12.0f, 24.0f, 30.0f, 42.0f}) {
        text.Segment(x, 0, x, 6);
    }
    text.EndSymbol();
    text.Symbol(5, 1, "Row symbols");
    for (int k = 0; k < 3000; ++k) {
        text.Circle(static_cast<float>(k % 60), static_cast<float>(k % 250) - 20.0f);
    }
    text.EndSymbol();
    text.Symbol(792, 3, "Answer").Circle(45, 9).EndSymbol();
    for (int k = 0; k < 50; ++k) {
        text.Line("</g>");
    }
    for (int k = 0; k < 50; ++k) {
        text.Line("<g id=\"Sym_790.2 Flag\">").Line("<g>").Line("<g>").Line("<g>");
    }
    ReadText(text.Text());
    const CKibMap& m = *svg->GetMap();
    EXPECT_EQ(m.partCount, 100);
    EXPECT_EQ(m.rotation, -1);
    EXPECT_EQ(CountMessages("[** ERROR **] Exceeded limit for circle parts (300 > 100)"), 1);
    for (int row = 0; row <= 31; ++row) {
        EXPECT_LE(m.RowEntryCount(row), 200);
    }
}

} // namespace
