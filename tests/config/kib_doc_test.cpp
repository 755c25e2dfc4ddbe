#include "config/cfg_ids.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/file_stamp.h"
#include "platform/environment.h"
#include "platform/paths.h"
#include "support/recording_host.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kib {
namespace {

namespace fs = std::filesystem;

// 2023-06-01 and a few hours later, as 100 ns ticks since 1601.
constexpr FileStamp kHour = 36000000000ULL;
constexpr FileStamp kOld = 133300000000000000ULL;
constexpr FileStamp kCourses = kOld + kHour;
constexpr FileStamp kMap1 = kOld + 2 * kHour;
constexpr FileStamp kMap2 = kOld + 3 * kHour; // the latest map

class TempDir {
  public:
    TempDir() { path_ = platform::WithSeparator(test::MakeTempDir("doc")); }
    ~TempDir() { fs::remove_all(platform::FsPath(path_)); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& content, FileStamp stamp) {
    std::ofstream(path) << content;
    ASSERT_TRUE(SetFileStamp(path, stamp)) << path;
}

FileStamp StampOf(const std::string& path) {
    FileStamp stamp = 0;
    std::vector<std::string> notes;
    ReadFileStamp(path, stamp, notes);
    return stamp;
}

std::string ContentOf(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class KibDocTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        host.Attach(doc);
        ASSERT_FALSE(dir.path().empty());
        doc.SetPathParts(dir.path() + "event.cfg");
        CKibCfg& cfg = doc.NewConfig();
        cfg.Item(id::Event_NAME).SetText("Sprint");
        cfg.Item(id::Source_COURSE).SetText("S${STAT}");
        cfg.Item(id::Event_MAXSTAT).SetInt(2);
        WriteFile(dir.path() + "Sprint.Courses.xml", "<xml/>", kCourses);
        WriteFile(dir.path() + "Sprint.S1.svg", "<svg/>", kMap1);
        WriteFile(dir.path() + "Sprint.S2.svg", "<svg/>", kMap2);
    }

    // A stamp file with content, so that a rewrite (which empties it) shows.
    void PutStamp(const std::string& path, FileStamp stamp) { WriteFile(path, "old", stamp); }

    TempDir dir;
    test::RecordingHost host;
    CKibDoc doc;
};

enum class Stamp { Missing, Same, Other };

struct ExportsCase {
    const char* what;
    Stamp courses;
    Stamp maps;
    BoxAnswer answer; // Ok: no question expected
    bool result;
    bool stampsWritten;
};

TEST_F(KibDocTest, CheckExportsDecisionTable) {
    const ExportsCase cases[] = {
        {"first check", Stamp::Missing, Stamp::Missing, BoxAnswer::Ok, true, true},
        {"nothing renewed", Stamp::Same, Stamp::Same, BoxAnswer::Ok, true, false},
        {"both renewed", Stamp::Other, Stamp::Other, BoxAnswer::Ok, true, true},
        {"maps renewed, No", Stamp::Same, Stamp::Other, BoxAnswer::No, false, false},
        {"maps renewed, Yes", Stamp::Same, Stamp::Other, BoxAnswer::Yes, true, true},
        {"courses renewed, No", Stamp::Other, Stamp::Same, BoxAnswer::No, false, false},
        {"maps stamp missing, Yes", Stamp::Same, Stamp::Missing, BoxAnswer::Yes, true, true},
        {"courses stamp missing, No", Stamp::Missing, Stamp::Same, BoxAnswer::No, false, false},
    };
    const std::string lc = dir.path() + "event.cfg.lc.kib";
    const std::string lm = dir.path() + "event.cfg.lm.kib";
    ASSERT_EQ(doc.CoursesStampPath(), lc);
    ASSERT_EQ(doc.MapsStampPath(), lm);
    auto put = [&](const std::string& path, Stamp s, FileStamp same) {
        fs::remove(path);
        if (s != Stamp::Missing) {
            PutStamp(path, s == Stamp::Same ? same : kOld);
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        put(lc, c.courses, kCourses);
        put(lm, c.maps, kMap2);
        const FileStamp lcBefore = StampOf(lc);
        const FileStamp lmBefore = StampOf(lm);
        host.Clear();
        host.answers.clear();
        if (c.answer != BoxAnswer::Ok) {
            host.answers.push_back(c.answer);
        }

        EXPECT_EQ(doc.CheckExports(), c.result);

        if (c.answer == BoxAnswer::Ok) {
            EXPECT_TRUE(host.boxes.empty());
        } else {
            ASSERT_EQ(host.boxes.size(), 1u);
            const MessageBox& box = host.boxes[0];
            EXPECT_EQ(box.text, "Are you sure to have recently exported both maps and courses?");
            EXPECT_EQ(box.icon, BoxIcon::Warning);
            EXPECT_EQ(box.buttons, BoxButtons::YesNo);
            EXPECT_EQ(box.defaultAnswer, BoxAnswer::No);
        }
        if (c.stampsWritten) {
            EXPECT_EQ(StampOf(lc), kCourses);
            EXPECT_EQ(StampOf(lm), kMap2);
            EXPECT_EQ(ContentOf(lc), "");
            EXPECT_EQ(ContentOf(lm), "");
        } else {
            EXPECT_EQ(StampOf(lc), lcBefore);
            EXPECT_EQ(StampOf(lm), lmBefore);
            EXPECT_EQ(fs::exists(lc) ? ContentOf(lc) : "",
                      c.courses == Stamp::Missing ? "" : "old");
            EXPECT_EQ(fs::exists(lm) ? ContentOf(lm) : "", c.maps == Stamp::Missing ? "" : "old");
        }
    }
}

TEST_F(KibDocTest, AcceptedExportsAreNotAskedAgain) {
    EXPECT_TRUE(doc.CheckExports());
    EXPECT_TRUE(doc.CheckExports());
    EXPECT_TRUE(host.boxes.empty());
    // Re-exporting only the maps is suspicious.
    ASSERT_TRUE(SetFileStamp(dir.path() + "Sprint.S1.svg", kMap2 + kHour));
    EXPECT_FALSE(doc.CheckExports()); // unanswered: No is the default
    EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(KibDocTest, CheckExportsOutsideStationModeTouchesNothing) {
    for (const char* mode : {"stat", "WEB", "Course"}) {
        doc.GetConfig()->Item(id::Source_MODE).SetText(mode);
        EXPECT_TRUE(doc.CheckExports()) << mode;
    }
    EXPECT_FALSE(fs::exists(doc.CoursesStampPath()));
    EXPECT_FALSE(fs::exists(doc.MapsStampPath()));
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(KibDocTest, CheckExportsWithAnEmptyCoursesNameDeclinesSilently) {
    doc.GetConfig()->Item(id::Event_NAME).SetText("");
    doc.GetConfig()->Item(id::Source_COURSES).SetText("${EVENT}");
    EXPECT_FALSE(doc.CheckExports());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_FALSE(fs::exists(doc.CoursesStampPath()));
}

TEST_F(KibDocTest, UnwritableStampsAreReportedOnTheDebugPaneOnly) {
    App().debugSwitch = true;
    const std::string missing = dir.path() + "no-such-dir/event.cfg";
    EXPECT_FALSE(doc.MakeStamp(missing + ".lc.kib", kCourses));
    EXPECT_EQ(host.debug, (std::vector<std::string>{"Opening file " + missing +
                                                    ".lc.kib for making the stamp failed with 2"}));

    doc.SetPathParts(missing);
    host.Clear();
    EXPECT_TRUE(doc.CheckExports()); // the check still answers yes
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(KibDocTest, MakeStampReplacesTheFileAndSetsItsTime) {
    const std::string path = dir.path() + "x.lc.kib";
    PutStamp(path, kOld);
    EXPECT_TRUE(doc.MakeStamp(path, kMap1));
    EXPECT_EQ(ContentOf(path), "");
    EXPECT_EQ(StampOf(path), kMap1);

    // A link at the stamp's name is replaced; its target is neither emptied nor stamped.
    const std::string victim = dir.path() + "precious.txt";
    WriteFile(victim, "precious", kOld);
    fs::remove(path);
    std::error_code linkError;
    fs::create_symlink(victim, path, linkError);
    if (linkError) {
        GTEST_SKIP() << "no symbolic links here: " << linkError.message();
    }
    EXPECT_TRUE(doc.MakeStamp(path, kMap2));
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ(StampOf(path), kMap2);
    EXPECT_EQ(ContentOf(victim), "precious");
    EXPECT_EQ(StampOf(victim), kOld);
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().string().find(".~kib"), std::string::npos) << "a temporary file";
    }
}

bool OnWindows() {
    return platform::ThisSystem() == platform::OperatingSystem::Windows;
}

TEST_F(KibDocTest, PathPartsAndDisplayName) {
    if (OnWindows()) {
        GTEST_SKIP() << "Linux paths";
    }
    CKibDoc other;
    other.UseServices(App().CurrentHost(), App().Log());
    other.SetPathParts("event.cfg");
    EXPECT_EQ(other.GetDirectory(), "");
    EXPECT_EQ(other.GetDisplayName(), "event.cfg");

    other.SetPathParts("/ev/event.cfg");
    EXPECT_EQ(other.GetDirectory(), "/ev/");
    EXPECT_EQ(other.GetFileName(), "event.cfg");
    EXPECT_EQ(other.GetDisplayName(), "event.cfg [/ev/]");
}

TEST_F(KibDocTest, PathsAreRelativeToTheConfigurationFile) {
    if (OnWindows()) {
        GTEST_SKIP() << "Linux paths";
    }
    CKibDoc other;
    other.UseServices(App().CurrentHost(), App().Log());
    other.SetPathParts("/ev/cfg/event.cfg");
    EXPECT_EQ(other.MakePath(""), "/ev/cfg/");
    EXPECT_EQ(other.MakePath("out"), "/ev/cfg/out");
    EXPECT_EQ(other.MakePath("..\\out"), "/ev/out"); // written on Windows
    EXPECT_EQ(other.MakePath("/srv/maps"), "/srv/maps");
    EXPECT_EQ(other.MakeRelativePath("/ev/maps/x.svg"), "../maps/x.svg");
    EXPECT_EQ(other.MakeRelativePath("/ev/cfg/out"), "out");
}

// A configuration named with backslashes, as Windows programs and users name it,
// has its folder: its courses file and maps are found beside it.
TEST_F(KibDocTest, WindowsSplitsPathsAtEitherSeparator) {
    if (!OnWindows()) {
        GTEST_SKIP() << "a backslash is part of a Linux file name";
    }
    for (const char* given : {"Z:\\event\\ev.cfg", "Z:/event/ev.cfg", "Z:\\event/ev.cfg"}) {
        CKibDoc other;
        other.UseServices(App().CurrentHost(), App().Log());
        other.SetPathParts(given);
        EXPECT_EQ(other.GetDirectory(), "Z:\\event\\") << given;
        EXPECT_EQ(other.GetFileName(), "ev.cfg") << given;
        EXPECT_EQ(other.MakePath("${EVENT}.Courses.xml"), "Z:\\event\\${EVENT}.Courses.xml");
        EXPECT_EQ(other.MakePath("../maps/x.svg"), "Z:\\maps\\x.svg");
        EXPECT_EQ(other.MakePath("D:/x"), "D:\\x");
        EXPECT_EQ(other.MakePath("\\\\server\\share"), "\\\\server\\share");
        EXPECT_EQ(other.MakeRelativePath("Z:\\maps\\x.svg"), "..\\maps\\x.svg");
    }
}

TEST_F(KibDocTest, SetMapsModeLogsAndRedrawsOnlyOnChange) {
    App().debugSwitch = true;
    const int& redraws = host.observer.changed;
    doc.SetMapsMode(false); // already competition
    EXPECT_TRUE(host.debug.empty());
    EXPECT_EQ(redraws, 0);

    doc.SetMapsMode(true);
    doc.SetMapsMode(true);
    doc.SetMapsMode(false);
    EXPECT_EQ(host.debug, (std::vector<std::string>{"Setting SOLUTION maps mode",
                                                    "Setting COMPETITION maps mode"}));
    EXPECT_EQ(redraws, 2);
    EXPECT_FALSE(doc.GetMapsMode());
}

TEST_F(KibDocTest, ClosingHidesThePropertiesOnlyOfALoadedDocument) {
    doc.OnCloseDocument();
    EXPECT_EQ(host.pane.hides, 0);

    doc.SetLoaded(true);
    doc.OnCloseDocument();
    EXPECT_EQ(host.pane.hides, 1);
    EXPECT_FALSE(doc.IsLoaded());
}

} // namespace
} // namespace kib
