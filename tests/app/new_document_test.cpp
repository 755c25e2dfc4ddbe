// A new document from an export folder: the folder choice through the host,
// the state the document is left in, the closing box, and what is derived
// from the file names and the first station's map.
#include "app/builtin_convert.h"
#include "app/documents.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "support/event_builder.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace kib {
namespace {

namespace fs = std::filesystem;

const std::string kDemo = std::string(KIB_SOURCE_DIR) + "/examples/demo/";
const char* const kNoTasksMap = "<svg version=\"1.1\" viewBox=\"0 0 100 100\">\n"
                                "<g id=\"scaleTransform\" transform=\"scale(1.000000)\">\n"
                                "</g>\n</svg>\n";

class NewDocumentTest : public test::EventTest {
  protected:
    void SetUp() override {
        InstallHost(false);
        dir = test::MakeTempDir("create");
        doc.SetTitle("Untitled");
    }
    // The first station's map of the demo under another name.
    void DemoMap(const std::string& name) const {
        fs::copy_file(kDemo + "Demo.S1.svg", dir + "/" + name);
    }
    void DemoCourses(const std::string& name) const {
        fs::copy_file(kDemo + "Demo.Courses.xml", dir + "/" + name);
    }
    void Empty(const std::string& name) const { test::WriteFile(dir + "/" + name, ""); }
    std::string Value(int itemId) const { return doc.GetConfig()->Item(itemId).GetValueText(); }
};

TEST_F(NewDocumentTest, FolderChosenThroughTheHostBecomesTheDocumentsDirectory) {
    LogScope log;
    for (int s = 1; s <= 4; ++s) {
        fs::copy_file(kDemo + "Demo.S" + std::to_string(s) + ".svg",
                      dir + "/Demo.S" + std::to_string(s) + ".svg");
    }
    DemoCourses("Demo.Courses.xml");
    App().lastDirectory = "/somewhere/";
    host.chosenFolder = dir;

    ASSERT_TRUE(CreateDocument(doc));
    EXPECT_EQ(host.folderStarts, std::vector<std::string>{"/somewhere/"});
    EXPECT_EQ(doc.GetDirectory(), dir + "/");
    EXPECT_EQ(doc.GetFileName(), "Untitled");
    EXPECT_EQ(App().lastDirectory, dir);
    EXPECT_TRUE(doc.IsLoaded());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.IsNeverSaved());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Configuration created.");
    EXPECT_EQ(host.boxes[0].icon, BoxIcon::Information);
    EXPECT_EQ(host.pane.attached, &doc);
    EXPECT_EQ(host.pane.forgets, 1);
    EXPECT_NE(std::find(host.pane.ranges.begin(), host.pane.ranges.end(), std::make_pair(1, 4)),
              host.pane.ranges.end());
    EXPECT_NE(std::find(host.pane.values.begin(), host.pane.values.end(),
                        std::make_pair(id::Event_NAME, std::string("Demo"))),
              host.pane.values.end());
    EXPECT_TRUE(doc.GetConfig()->IsLive());
    EXPECT_EQ(host.observer.opened, 1);
    EXPECT_EQ(host.messages.front(), "Checking directory " + dir + "/");
}

TEST_F(NewDocumentTest, CancelledFolderChoiceMakesNoDocument) {
    host.chosenFolder.reset();
    EXPECT_FALSE(CreateDocument(doc));
    EXPECT_FALSE(doc.IsLoaded());
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(NewDocumentTest, FixedNumbersAndOwnSheetsAmongTheExports) {
    std::string courses = test::ReadFile(kDemo + "Demo.Courses.xml");
    for (std::size_t at = 0; (at = courses.find("<Name>S", at)) != std::string::npos; at += 7) {
        courses.insert(at + 7, "0"); // the courses S01 ... S04, as the map files say
    }
    test::WriteFile(dir + "/Sprint.Courses.xml", courses);
    DemoMap("Sprint.S01.svg");
    for (const char* name : {"Sprint.S02.svg", "Sprint.S12.svg", "map-1.1.svg", "prn-1.0-1.1.svg",
                             "sol-1-8.svg", "sol-3-tmp.svg"}) {
        Empty(name);
    }
    fs::create_directory(dir + "/Folder.svg"); // not a file
    ASSERT_TRUE(CreateDocumentFromFolder(doc, dir));
    EXPECT_EQ(Value(id::Event_NAME), "Sprint");
    EXPECT_EQ(Value(id::Event_NUMFMT), "Fixed");
    EXPECT_EQ(Value(id::Source_COURSE), "S${STAT}");
    EXPECT_EQ(Value(id::Source_MAP), "${EVENT}.${COURSE}.svg");
    EXPECT_EQ(Value(id::Source_COURSES), "${EVENT}.Courses.xml");
    EXPECT_EQ(Value(id::Event_MINSTAT), "1");
    EXPECT_EQ(Value(id::Event_MAXSTAT), "12");
    EXPECT_EQ(Value(id::Event_SCALE), "4000");
    // Every station's map and course is read: the courses file holds S01 ... S04,
    // not S12, and the maps of stations 2 and 12 are empty.
    EXPECT_FALSE(host.HasMessage("[** ERROR **] Cannot find course 'S01' in the Courses.xml"));
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Cannot find course 'S12' in the Courses.xml"));
    EXPECT_EQ(Value(id::Event_TASKS), "5") << "the map and course of station 1";
    EXPECT_EQ(host.boxes.back().text,
              "Configuration created with some errors!\nSee the Output Window for details.");
}

// The course name guessed from the map files' names must be a course of the
// courses file, whichever program wrote it.
TEST_F(NewDocumentTest, GuessedCourseNameNotInTheCoursesFile) {
    DemoCourses("Sprint.Courses.xml");
    DemoMap("Sprint.S01.svg");
    ASSERT_TRUE(CreateDocumentFromFolder(doc, dir));
    EXPECT_EQ(Value(id::Source_COURSE), "S${STAT}");
    EXPECT_TRUE(host.HasMessage("[= WARNING =] The Courses.xml has no course 'S01' for station 1 "
                                "(its courses: S1, S2, S3, S4); check Source.COURSE!"));
    // Reading the station's course then fails too: the event cannot be made as guessed.
    EXPECT_EQ(host.boxes.back().text,
              "Configuration created with some errors!\nSee the Output Window for details.");
}

// Map files named without the event: the name stays empty and the courses
// template refers to the empty name twice, which still names ".Courses.xml".
TEST_F(NewDocumentTest, ExportsWithoutEventName) {
    DemoCourses(".Courses.xml");
    DemoMap("S1.svg");
    Empty("S2.svg");
    ASSERT_TRUE(CreateDocumentFromFolder(doc, dir));
    EXPECT_FALSE(doc.GetConfig()->Item(id::Event_NAME).IsSet());
    EXPECT_EQ(Value(id::Source_MAP), "${COURSE}.svg");
    EXPECT_EQ(Value(id::Source_COURSES), "${EVENT}${EVENT}.Courses.xml");
    EXPECT_EQ(Value(id::Event_TASKS), "5") << "the first map was found and read";
}

// A new event converts with the built-in converter where this Kib has one (not
// in a build without it); a configuration that does not name its converter, as
// every one made before, keeps Inkscape.
TEST_F(NewDocumentTest, NewEventsConvertWithTheBuiltInConverterWhereThereIsOne) {
    DemoCourses("Demo.Courses.xml");
    DemoMap("Demo.S1.svg");
    EXPECT_EQ(ConfiguredConverter(*doc.GetConfig()), Converter::Inkscape) << "without the key";
    ASSERT_TRUE(CreateDocumentFromFolder(doc, dir));
    const CCfgItem& item = doc.GetConfig()->Item(id::System_CONVERTER);
    if (BuiltInConverterAvailable()) {
        EXPECT_TRUE(item.IsSet());
        EXPECT_EQ(item.GetValueText(), "Builtin");
        EXPECT_EQ(ConfiguredConverter(*doc.GetConfig()), Converter::BuiltIn);
        EXPECT_NE(std::find(host.pane.values.begin(), host.pane.values.end(),
                            std::make_pair(id::System_CONVERTER, std::string("Builtin"))),
                  host.pane.values.end())
            << "shown in the properties pane";
    } else {
        EXPECT_FALSE(item.IsSet());
        EXPECT_EQ(ConfiguredConverter(*doc.GetConfig()), Converter::Inkscape);
    }
}

struct PartialCase {
    const char* what;
    const char* mapFile;
    const char* firstMap; // content of the first station's map
    const char* tasks;    // Event.TASKS, "" when not guessed
    const char* box;
    BoxIcon icon;
};

// A first map without a description table takes its tasks from the course; one
// that has no course either, or cannot be read, still gives a configuration:
// six flags and the tasks left to the user.
TEST_F(NewDocumentTest, PartiallyCreatedConfigurations) {
    const PartialCase cases[] = {
        {"no description table", "Sprint.S1.svg", kNoTasksMap, "5",
         "Configuration created with some warnings!\nSee the Output Window for details.",
         BoxIcon::Warning},
        {"no description table and no course", "Sprint.S9.svg", kNoTasksMap, "",
         "Configuration created with some errors!\nSee the Output Window for details.",
         BoxIcon::Error},
        {"unreadable map", "Sprint.S1.svg", "<svg width=\"1\">\n</svg>\n", "",
         "Configuration created with some errors!\nSee the Output Window for details.",
         BoxIcon::Error},
    };
    for (const PartialCase& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir);
        fs::create_directory(dir);
        host.Clear();
        DemoCourses("Sprint.Courses.xml");
        test::WriteFile(dir + "/" + c.mapFile, c.firstMap);
        ASSERT_TRUE(CreateDocumentFromFolder(doc, dir));
        EXPECT_EQ(Value(id::Event_FLAGS), "6");
        EXPECT_EQ(Value(id::Event_TASKS), c.tasks);
        if (*c.tasks != 0) {
            EXPECT_TRUE(host.HasMessage("Station 1: 5 tasks (course controls), 0 flags, rotation "
                                        "none, answers ????? by the map"));
        } else {
            EXPECT_TRUE(host.HasMessage(
                "[= WARNING =] Number of tasks not guessed! You must configure it manually."));
            EXPECT_EQ(host.messages.back(), "Configuration partially created, you can save it, "
                                            "but check the Output Window.");
        }
        ASSERT_FALSE(host.boxes.empty());
        EXPECT_EQ(host.boxes.back().text, c.box);
        EXPECT_EQ(host.boxes.back().icon, c.icon);
    }
}

TEST_F(NewDocumentTest, UnrecognisedFolderDiscardsTheDocument) {
    DemoMap("Sprint.S1.svg"); // but no courses file
    EXPECT_FALSE(CreateDocumentFromFolder(doc, dir));
    EXPECT_FALSE(doc.IsLoaded());
    EXPECT_FALSE(doc.IsNeverSaved());
    EXPECT_EQ(host.messages.back(), "[** ERROR **] Cannot find XML file for course definition");
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Directory structure not recognized!\nSee the Output Window for "
                                  "details.");
    EXPECT_EQ(host.boxes[0].icon, BoxIcon::Error);
}

TEST_F(NewDocumentTest, NoFolderIsNotTheFileSystemRoot) {
    EXPECT_FALSE(CreateDocumentFromFolder(doc, ""));
    EXPECT_FALSE(doc.IsLoaded());
    EXPECT_TRUE(host.messages.empty()) << "nothing is searched";
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].icon, BoxIcon::Error);
}

} // namespace
} // namespace kib
