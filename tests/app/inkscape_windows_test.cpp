// Inkscape on Windows: its command-line program is looked for under
// System.INKSCAPEPATH in three places, each with its dialect, and run from the
// path made of that folder, "bin\" and the program's name.
#include "app/inkscape.h"
#include "app/process_runner.h"

#include "foundation/app_state.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "support/recording_host.h"
#include "support/test_files.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace kib {
namespace {

bool OnWindows() {
    return platform::ThisSystem() == platform::OperatingSystem::Windows;
}

class InkscapeWindowsTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!OnWindows()) {
            GTEST_SKIP() << "Linux finds Inkscape by its own rules";
        }
        host.Install();
        App().debugSwitch = true;
        folder = test::MakeTempDir("inkscape");
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(platform::FsPath(folder), ec);
    }
    void Place(const std::string& program) {
        int error = 0;
        platform::CreateFolders(folder + "\\bin", error);
        test::WriteFile(folder + program, "");
    }

    test::RecordingHost host;
    std::string folder;
};

TEST_F(InkscapeWindowsTest, KindFromTheProgramUnderTheFolder) {
    struct Case {
        std::vector<const char*> programs;
        InkscapeKind kind;
        const char* program;
        const char* version;
    };
    const Case cases[] = {
        {{"\\bin\\inkscapecom.com", "\\bin\\inkscape.com"},
         InkscapeKind::Newest,
         "\\bin\\inkscapecom.com",
         "> 1.3"},
        {{"\\bin\\inkscape.com", "\\inkscape.com"},
         InkscapeKind::New,
         "\\bin\\inkscape.com",
         "1.1 or 1.2"},
        {{"\\inkscape.com"}, InkscapeKind::Old, "\\inkscape.com", "< 1.1"},
    };
    for (const auto& c : cases) {
        TearDown();
        folder = test::MakeTempDir("inkscape");
        for (const char* p : c.programs) {
            Place(p);
        }
        App().inkscapeKind = InkscapeKind::Unknown;
        host.Clear();
        ASSERT_TRUE(DetectInkscape(folder)) << c.program;
        EXPECT_EQ(App().inkscapeKind, c.kind) << c.program;
        EXPECT_EQ(App().inkscapeProgram, folder + c.program);
        EXPECT_EQ(host.debug,
                  std::vector<std::string>{std::string("Found Inkscape version: ") + c.version});
        // A folder given with its final backslash gives a doubled one, which Windows takes.
        App().inkscapeKind = InkscapeKind::Unknown;
        ASSERT_TRUE(DetectInkscape(folder + "\\"));
        EXPECT_EQ(App().inkscapeProgram, folder + "\\" + c.program);
        EXPECT_TRUE(InkscapeInstalled(folder));
    }
}

TEST_F(InkscapeWindowsTest, NoProgramUnderTheFolder) {
    Place("\\bin\\inkscape.exe"); // the window program is no command-line program
    App().inkscapeKind = InkscapeKind::Unknown;
    EXPECT_FALSE(DetectInkscape(folder));
    EXPECT_FALSE(InkscapeInstalled(folder));
    EXPECT_EQ(App().inkscapeKind, InkscapeKind::Unknown);
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"[** ERROR **] Cannot find inkscape.com in path " + folder +
                                       ". Check setting of System.INKSCAPEPATH."});
}

TEST_F(InkscapeWindowsTest, ProgramPathWithBackslashesAndOneBinFolder) {
    struct Case {
        const char* directory;
        bool addBin;
        const char* expected;
    };
    const Case cases[] = {
        {"D:\\Tools", true, "D:\\Tools\\bin\\x.com"},
        {"D:\\Tools\\bin\\", true, "D:\\Tools\\bin\\x.com"},
        {"D:/Tools/bin/", true, "D:/Tools/bin/x.com"},
        {"D:\\Tools\\", false, "D:\\Tools\\x.com"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeProgramPath(c.directory, c.addBin, "x.com"), c.expected) << c.directory;
    }
}

} // namespace
} // namespace kib
