// The configuration file: reader tolerance, older keys, error limit, messages,
// and the writer's exact format and safe replacement of the old file.
#include "cfg_file_fixture.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kib {
namespace {

namespace fs = std::filesystem;

const std::string kSomeLines = "Some lines in the configuration file weren't recognized!";

struct ReadCase {
    const char* name;
    std::string content;
    bool opens;
    std::map<int, std::string> values; // value texts after reading ("" = unset)
    std::vector<std::string> messages; // lines that must be in the Messages pane
    bool modified;
};

const std::vector<ReadCase> kReadCases = {
    {"only the first line", "# Kib Configuration\r\n", false, {}, {}, false},
    {"byte-order mark",
     "\xEF\xBB\xBF# Kib Configuration\r\n[Event]\r\nTASKS=4\r\n",
     false,
     {},
     {},
     false},
    {"lower-case names, no final line end",
     "[event]\ntasks=4",
     true,
     {{id::Event_TASKS, "4"}},
     {},
     false},
    {"blanks",
     "# Kib Configuration\r\n\r\n[Event]  trailing\r\n TASKS=9\r\n\tFLAGS=2\r\nTASKS = 4\r\n"
     "TITLE1=  Final  \r\nDATE=\r\n",
     true,
     {{id::Event_TASKS, "4"},
      {id::Event_FLAGS, ""},
      {id::Event_TITLE1, "Final  "},
      {id::Event_DATE, ""}},
     {},
     false},
    {"semicolon line stops reading",
     "[Event]\nTASKS=4\n;old comment\nFLAGS=3\n",
     false,
     {{id::Event_FLAGS, ""}},
     {},
     false},
    {"digit line stops reading", "[Event]\nTASKS=4\n1=2\n", false, {}, {}, false},
    {"rejected value still counts",
     "[Event]\nTASKS=20\n",
     true,
     {{id::Event_TASKS, ""}},
     {"[** ERROR **] Event.TASKS: Invalid number of tasks 20 (out of 1 .. 15)"},
     false},
    {"unrecognised lines with their numbers",
     "# c\nNAME=x\n[Event]\n\nNAME=Sprint\nJUSTTEXT\nNONAME=1\n[Nowhere]\nTASKS=3\n[Event\n"
     "[Target]\nANGLE=30\n",
     true,
     {{id::Event_NAME, "Sprint"}, {id::Event_TASKS, ""}},
     {"[** ERROR **] Unrecognized line #2: NAME=x", "[** ERROR **] Unrecognized line #6: JUSTTEXT",
      "[** ERROR **] Unrecognized line #7: NONAME=1",
      "[** ERROR **] Unrecognized line #8: [Nowhere]",
      "[** ERROR **] Unrecognized line #9: TASKS=3", "[** ERROR **] Unrecognized line #10: [Event",
      "[** ERROR **] Unrecognized line #12: ANGLE=30"},
     true},
    {"renamed keys",
     "[Source]\nWINPATH=/opt/ink/\nTGTDPI=300\nSHEET=a3\nFLAGS=790.002\n[Event]\nCOLB=Keep\n"
     "STATS=12\nMAPSRC=m.svg\n",
     true,
     {{id::System_INKSCAPEPATH, "/opt/ink/"},
      {id::Target_DPI, "300"},
      {id::Target_SHEET, "A3Tiled"},
      {id::Source_FLAG, "790.002"},
      {id::Descriptions_COLB, "Keep"},
      {id::Event_MAXSTAT, "12"},
      {id::Source_MAP, "m.svg"}},
     {},
     true},
    {"renamed keys in the wrong section",
     "[Event]\nTASKS=4\nFLAGS=3\n[Target]\nCOLB=Keep\nFLAGS=7\n",
     true,
     {{id::Descriptions_COLB, ""}, {id::Source_FLAG, ""}},
     {"[** ERROR **] Unrecognized line #5: COLB=Keep",
      "[** ERROR **] Unrecognized line #6: FLAGS=7"},
     true},
    {"scale and contour interval",
     "[Event]\nTASKS=4\nSCALEQUID=4000, 5 m\n",
     true,
     {{id::Event_SCALE, "4000"}, {id::Event_EQUID, "5 m"}},
     {},
     true},
    {"scale and contour interval after two blanks",
     "[Event]\nTASKS=4\nSCALEQUID=4000,  5 m\n",
     true,
     {{id::Event_SCALE, "4000"}, {id::Event_EQUID, "5 m"}},
     {},
     true},
    {"scale alone",
     "[Event]\nTASKS=4\nSCALEQUID=1:10 000\n",
     true,
     {{id::Event_SCALE, "10000"}, {id::Event_EQUID, ""}},
     {},
     true},
    {"only uncounted older keys", "[Event]\nSCALEQUID=4000\n", false, {}, {}, true},
    {"paddings, map margin at its default",
     "[Event]\nTASKS=4\nHPAD=10\nVPAD=7\n",
     true,
     {{id::NorthArrow_MARGIN, "5"}, {id::Descriptions_MARGIN, "3"}, {id::MapSegment_MARGIN, "3"}},
     {},
     true},
    {"padding below a wide map margin",
     "[MapSegment]\nMARGIN=12\nHPAD=10\n",
     true,
     {{id::NorthArrow_MARGIN, "5"}, {id::MapSegment_MARGIN, "12"}},
     {},
     true},
    {"angles",
     "[Station 3]\nTASKS=2\nANGLE=30\n[Station 4]\nANGLE=30 90\n[Station 5]\nANGLE=x\n",
     true,
     {{StationItemId(3, id::Station_MINANGLE), "30"},
      {StationItemId(3, id::Station_MAXANGLE), "30"},
      {StationItemId(4, id::Station_MINANGLE), "30"},
      {StationItemId(4, id::Station_MAXANGLE), "90"},
      {StationItemId(5, id::Station_MINANGLE), ""}},
     {},
     true},
    {"flag added before",
     "[Source]\nFLAG=790.002\nCFLAG=790.005\n",
     true,
     {{id::Source_FLAG, "790.005 790.002"}},
     {},
     true},
    {"flag added after",
     "[Source]\nFLAG=790.002\nFFLAG=790.005\n",
     true,
     {{id::Source_FLAG, "790.002 790.005"}},
     {},
     true},
    {"flag added to none",
     "[Source]\nCHAIR=790.001\nCFLAG=790.005\n",
     true,
     {{id::Source_FLAG, "790.005"}},
     {},
     true},
};

TEST_F(CfgFileTest, ReaderToleranceOlderKeysAndMessages) {
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.name);
        CKibDoc fresh;
        fresh.UseServices(App().CurrentHost(), App().Log());
        host.Clear();
        const bool opened = fresh.OnOpenDocument(Write(c.content));
        EXPECT_EQ(opened, c.opens);
        EXPECT_EQ(fresh.IsLoaded(), c.opens);
        EXPECT_EQ(fresh.IsModified(), c.modified);
        for (const auto& [id, value] : c.values) {
            EXPECT_EQ(fresh.GetConfig()->Item(id).GetValueText(), value) << id;
        }
        for (const auto& line : c.messages) {
            EXPECT_TRUE(host.HasMessage(line)) << line;
        }
        const int unrecognised = Count("[** ERROR **] Unrecognized line");
        int listed = 0;
        for (const auto& line : c.messages) {
            listed += line.rfind("[** ERROR **] Unrecognized line", 0) == 0 ? 1 : 0;
        }
        EXPECT_EQ(unrecognised, listed);
        std::vector<std::string> boxes;
        if (!c.opens) {
            boxes.push_back(kNotRecognized);
        } else if (unrecognised > 0) {
            boxes.push_back(kSomeLines);
        }
        EXPECT_EQ(BoxTexts(), boxes);
    }
}

TEST_F(CfgFileTest, TenthUnrecognisedLineEndsTheReading) {
    std::string nine = "[Event]\nTASKS=4\n";
    for (int i = 0; i < 9; ++i) {
        nine += "OLD" + std::to_string(i) + "=1\n";
    }
    ASSERT_TRUE(Open(nine));
    EXPECT_EQ(Count("[** ERROR **] Unrecognized line #"), 9);
    EXPECT_FALSE(host.HasMessage("[** ERROR **] Too many errors in the configuration file!"));
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, kSomeLines);
    EXPECT_EQ(host.boxes[0].icon, BoxIcon::Warning);

    EXPECT_FALSE(Open(nine + "OLD9=1\nFLAGS=3\n"));
    EXPECT_EQ(Count("[** ERROR **] Unrecognized line #"), 10);
    EXPECT_EQ(host.messages.back(), "[** ERROR **] Too many errors in the configuration file!");
    EXPECT_EQ(doc.lineNo, 12); // FLAGS=3 is never read
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, kNotRecognized);
    EXPECT_EQ(host.boxes[0].icon, BoxIcon::Error);
    EXPECT_FALSE(doc.IsLoaded());

    // A format error counts as well: as the tenth error it is reported the same way.
    EXPECT_FALSE(Open(nine + ";old comment\nFLAGS=3\n"));
    EXPECT_EQ(Count("[** ERROR **] Unrecognized line #"), 9);
    EXPECT_EQ(host.messages.back(), "[** ERROR **] Too many errors in the configuration file!");
    EXPECT_EQ(host.boxes.back().text, kNotRecognized);
}

TEST_F(CfgFileTest, LoadingPushesTheValuesAndTellsEveryone) {
    App().debugSwitch = true;
    doc.SetNeverSaved(true);
    ASSERT_TRUE(Open("# Kib Configuration\r\n\r\n[Event]\r\nMINSTAT=3\r\nMAXSTAT=5\r\n"
                     "[System]\r\nDEBUGGING=No\r\n[Station 1]\r\nTASKS=2\r\n"
                     "[Station 8]\r\nMINANGLE=10\r\n"));
    EXPECT_EQ(host.messages.front(), "Parsing config file " + dir + "event.cfg");
    // The exports are read by the application's workflow after the load, not here.
    EXPECT_EQ(host.messages.back(), "Configuration loaded.");
    EXPECT_NE(std::find(host.debug.begin(), host.debug.end(), "Found Event.MINSTAT=3"),
              host.debug.end());
    EXPECT_FALSE(App().debugSwitch); // updated from the file
    EXPECT_EQ(host.pane.attached, &doc);
    EXPECT_EQ(host.pane.forgets, 1);
    const std::vector<std::pair<int, int>> ranges = {{1, 8}, {3, 5}};
    EXPECT_EQ(host.pane.ranges, ranges);
    const std::vector<std::pair<int, std::string>> values = {{id::Event_MINSTAT, "3"},
                                                             {id::Event_MAXSTAT, "5"},
                                                             {id::System_DEBUGGING, "No"},
                                                             {2201, "2"},
                                                             {2903, "10"}};
    EXPECT_EQ(host.pane.values, values);
    EXPECT_EQ(host.pane.visibilityUpdates, 1);
    EXPECT_EQ(host.observer.opened, 1);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(doc.IsLoaded());
    EXPECT_FALSE(doc.IsNeverSaved());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.GetConfig()->IsLive());

    // A file that cannot be read: no message, nothing touched.
    host.Clear();
    EXPECT_FALSE(doc.OnOpenDocument(dir + "missing.cfg"));
    EXPECT_FALSE(doc.OnOpenDocument(dir));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(CfgFileTest, MapAndWebModeAreReadWithoutQuestions) {
    ASSERT_TRUE(Open("[Target]\nMODE=WEB\n"));
    EXPECT_EQ(Value(id::Target_MODE), "WEB");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(CfgFileTest, SavingWritesTheExactFormat) {
    doc.NewConfig();
    const std::string path = dir + "new.cfg";
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(Bytes(path), "# Kib Configuration\r\n");

    CKibCfg& cfg = *doc.GetConfig();
    cfg.StationItem(2, id::Station_TASKS).SetText("4");
    cfg.Item(id::Source_CHAIR).SetText("790.001");
    cfg.Item(id::Event_TASKS).SetText("5");
    cfg.Item(id::Event_NAME).SetText("Sprint");
    cfg.Color(id::MapColors_PURPLECOLOR).SetInt(-1);
    doc.SetModifiedFlag(true);
    App().debugSwitch = true;
    host.Clear();
    ASSERT_TRUE(doc.OnSaveDocument(path));
    EXPECT_EQ(Bytes(path), "# Kib Configuration\r\n"
                           "\r\n[Event]\r\nNAME=Sprint\r\nTASKS=5\r\n"
                           "\r\n[Source]\r\nCHAIR=790.001\r\n"
                           "\r\n[MapColors]\r\nPURPLECOLOR=166 38 255\r\n"
                           "\r\n[Station 2]\r\nTASKS=4\r\n");
    EXPECT_EQ(host.debug.front(), "Configuration file " + path + " opened for output...");
    EXPECT_EQ(host.statusTexts,
              (std::vector<std::string>{"Saving configuration file...", "Ready"}));
    EXPECT_EQ(host.messages, std::vector<std::string>{"Configuration file " + path + " saved."});
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(fs::directory_iterator(platform::FsPath(dir))->path().filename(),
              "new.cfg"); // no temporary left
}

TEST_F(CfgFileTest, AnOldFileIsSavedInTheCurrentFormat) {
    const std::string old = "# Kib Configuration\n"
                            "[Station 3]\nANGLE=30 90\n"
                            "[Source]\nFLAGS=790.002\nCFLAG=790.005\nWIN_PATH=/opt/ink/\n"
                            "[Event]\nSCALEQUID=4000, 5 m\nTITLE1=Cup\nHPAD=10\nTASKS=\n"
                            "\n[Target]\nCANVAS=a4l\n";
    ASSERT_TRUE(Open(old));
    EXPECT_TRUE(doc.IsModified());
    ASSERT_TRUE(doc.OnSaveDocument(dir + "event.cfg"));
    EXPECT_FALSE(doc.IsModified());
    const std::string expected = "# Kib Configuration\r\n"
                                 "\r\n[Event]\r\nTITLE1=Cup\r\nSCALE=4000\r\nEQUID=5 m\r\n"
                                 "\r\n[Source]\r\nFLAG=790.005 790.002\r\n"
                                 "\r\n[Target]\r\nCANVAS=A4Landscape\r\n"
                                 "\r\n[System]\r\nINKSCAPEPATH=/opt/ink/\r\n"
                                 "\r\n[MapSegment]\r\nMARGIN=5\r\n"
                                 "\r\n[NorthArrow]\r\nMARGIN=5\r\n"
                                 "\r\n[Station 3]\r\nMINANGLE=30\r\nMAXANGLE=90\r\n";
    EXPECT_EQ(Bytes(dir + "event.cfg"), expected);

    // Reading the saved file back changes nothing and marks nothing.
    CKibDoc again;
    again.UseServices(App().CurrentHost(), App().Log());
    ASSERT_TRUE(again.OnOpenDocument(dir + "event.cfg"));
    EXPECT_FALSE(again.IsModified());
    ASSERT_TRUE(again.OnSaveDocument(dir + "again.cfg"));
    EXPECT_EQ(Bytes(dir + "again.cfg"), expected);
}

// Whatever a file sets, saving it and reading the saved file back gives the same
// values (an older SCALEQUID with two blanks after its comma once changed EQUID).
TEST_F(CfgFileTest, ASavedFileReadsBackTheSameValues) {
    ASSERT_TRUE(Open("[Event]\nTASKS=4\nSCALEQUID=4000,  5 m\nTITLE1=  Final  \n"
                     "[Source]\nFLAG=790.002\nCFLAG=790.005\n"));
    ASSERT_TRUE(doc.OnSaveDocument(dir + "saved.cfg"));
    CKibDoc again;
    again.UseServices(App().CurrentHost(), App().Log());
    ASSERT_TRUE(again.OnOpenDocument(dir + "saved.cfg"));
    const CKibCfg& first = *doc.GetConfig();
    const CKibCfg& second = *again.GetConfig();
    for (std::size_t k = 0; k < first.Sections().size(); ++k) {
        const auto& items = first.Sections()[k]->Items();
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(second.Sections()[k]->Items()[i]->GetValueText(), items[i]->GetValueText())
                << first.Sections()[k]->GetName() << "." << items[i]->GetKey();
        }
    }
    EXPECT_EQ(second.Item(id::Event_EQUID).GetValueText(), "5 m");
}

// A value the item refuses is never lost without a word: a warning names the
// key, the refused text and the value used, and saving writes the line back.
TEST_F(CfgFileTest, ARefusedValueIsReportedAndKeptForSaving) {
    LogScope log;
    const struct {
        const char* line;
        int id;
        const char* warning;
    } cases[] = {
        {"[Target]\nSHEET=A4", id::Target_SHEET,
         "[= WARNING =] Target.SHEET: SHEET=A4 is not a sheet size; A4Tiled is used"},
        {"[Target]\nSHEET=Letter", id::Target_SHEET,
         "[= WARNING =] Target.SHEET: SHEET=Letter is not a sheet size; A4Tiled is used"},
        {"[Target]\nCANVAS=A6", id::Target_CANVAS,
         "[= WARNING =] Target.CANVAS: CANVAS=A6 is not a canvas size; A5Cut is used"},
        {"[OrderTabs]\nDRAW=maybe", id::OrderTabs_DRAW,
         "[= WARNING =] OrderTabs.DRAW: DRAW=maybe is neither Yes nor No; Yes is used"},
        {"[Event]\nSCALE=large", id::Event_SCALE,
         "[= WARNING =] Event.SCALE: SCALE=large is not a map scale; it stays unset"},
        {"[Event]\nTASKS=20", id::Event_TASKS,
         "[= WARNING =] Event.TASKS: TASKS=20 is out of range; it stays unset"},
        {"[Event]\nTASKS=4\nTASKS=many", id::Event_TASKS,
         "[= WARNING =] Event.TASKS: TASKS=many is not a number; 4 is used"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_TRUE(Open(std::string("# Kib Configuration\n[Event]\nNAME=Cup\n") + c.line + "\n"));
        EXPECT_EQ(Count(c.warning), 1);
        EXPECT_GT(log.Warnings(), 0);
        const std::string line = std::string(c.line).substr(std::string(c.line).rfind('\n') + 1);
        const CCfgItem& item = doc.GetConfig()->Item(c.id);
        ASSERT_TRUE(doc.OnSaveDocument(dir + "saved.cfg"));
        const std::string saved = Bytes(dir + "saved.cfg");
        if (item.IsSet()) {
            EXPECT_NE(saved.find(item.GetKey() + "=" + item.GetValueText() + "\r\n"),
                      std::string::npos)
                << saved << "a value of its own wins";
        } else {
            EXPECT_NE(saved.find(line + "\r\n"), std::string::npos) << saved;
        }
    }
    // A value accepted later replaces the refused text.
    ASSERT_TRUE(Open("[Target]\nSHEET=A4\n"));
    doc.GetConfig()->Item(id::Target_SHEET).SetText("A3");
    ASSERT_TRUE(doc.OnSaveDocument(dir + "saved.cfg"));
    EXPECT_NE(Bytes(dir + "saved.cfg").find("SHEET=A3Tiled\r\n"), std::string::npos);
}

} // namespace
} // namespace kib
