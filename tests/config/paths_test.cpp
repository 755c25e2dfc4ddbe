#include "config/paths.h"
#include "foundation/app_state.h"
#include "platform/environment.h"
#include "support/recording_host.h"

#include <gtest/gtest.h>

#include <string>

namespace kib {
namespace {

struct PathCase {
    const char* dir;
    const char* input;
    const char* expected;
    char sep;
};

class PathsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        App().debugSwitch = true;
    }
    test::RecordingHost host;
};

TEST_F(PathsTest, MakePathFromResolvesAgainstTheConfigurationDirectory) {
    const PathCase cases[] = {
        // Windows-style
        {"C:\\ev\\cfg\\", "", "C:\\ev\\cfg\\", '\\'},
        {"C:\\ev\\cfg\\", "out", "C:\\ev\\cfg\\out", '\\'},
        {"C:\\ev\\cfg\\", "..\\out", "C:\\ev\\out", '\\'},
        {"C:\\ev\\cfg\\", "..\\..\\x", "C:\\x", '\\'},
        {"C:\\ev\\cfg\\", "..", "C:\\ev\\", '\\'},
        {"C:\\ev\\cfg\\", "..\\..", "C:\\", '\\'},
        {"C:\\ev\\cfg\\", "D:\\x", "D:\\x", '\\'},
        {"C:\\ev\\cfg\\", "\\x", "\\x", '\\'},
        {"C:\\ev\\cfg\\", ".\\x", "C:\\ev\\cfg\\.\\x", '\\'},
        {"C:\\ev\\cfg\\", "...\\x", "...\\x", '\\'},
        {"C:\\ev\\cfg\\", "..x", "..x", '\\'},
        // Linux
        {"/ev/cfg/", "", "/ev/cfg/", '/'},
        {"/ev/cfg/", "out", "/ev/cfg/out", '/'},
        {"/ev/cfg/", "../out", "/ev/out", '/'},
        {"/ev/cfg/", "../../x", "/x", '/'},
        {"/ev/cfg/", "..", "/ev/", '/'},
        {"/ev/cfg/", "/x", "/x", '/'},
        {"/ev/cfg/", "C:\\x", "/ev/cfg/C:\\x", '/'}, // no drives on Linux
        {"", "out", "out", '/'},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakePathFrom(c.dir, c.input, c.sep), c.expected) << c.dir << " + " << c.input;
    }
    EXPECT_TRUE(host.debug.empty());
}

TEST_F(PathsTest, ClimbingPastTheRootReturnsTheInputWithADebugLine) {
    const PathCase cases[] = {
        {"C:\\ev\\cfg\\", "..\\..\\..\\x", "..\\..\\..\\x", '\\'},
        {"/ev/cfg/", "../../../x", "../../../x", '/'},
        {"", "../x", "../x", '/'},
    };
    for (const auto& c : cases) {
        host.Clear();
        EXPECT_EQ(MakePathFrom(c.dir, c.input, c.sep, &App().Log()), c.expected);
        ASSERT_EQ(host.debug.size(), 1u);
        EXPECT_EQ(host.debug[0],
                  std::string("Cannot make absolute path from ") + c.dir + "+" + c.input + "!");
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST_F(PathsTest, MakeRelativePathFromIsTheInverse) {
    const PathCase cases[] = {
        {"C:\\ev\\cfg\\", "C:\\ev\\cfg\\out", "out", '\\'},
        {"C:\\ev\\cfg\\", "C:\\ev\\cfg\\", "", '\\'},
        {"C:\\ev\\cfg\\", "C:\\ev\\maps\\x.svg", "..\\maps\\x.svg", '\\'},
        {"C:\\ev\\cfg\\", "C:\\other", "..\\..\\other", '\\'},
        {"C:\\ev\\cfg\\", "C:\\ev", "..", '\\'},
        {"C:\\ev\\cfg\\", "D:\\x", "D:\\x", '\\'},
        {"/ev/cfg/", "/ev/cfg/out", "out", '/'},
        {"/ev/cfg/", "/ev/maps/x.svg", "../maps/x.svg", '/'},
        {"/ev/cfg/", "/other", "../../other", '/'},
        {"/ev/cfg/", "/ev", "..", '/'},
        {"/ev/cfg/", "relative/x", "relative/x", '/'},
    };
    for (const auto& c : cases) {
        const std::string relative = MakeRelativePathFrom(c.dir, c.input, c.sep);
        EXPECT_EQ(relative, c.expected) << c.dir << " - " << c.input;
        // ".." stands for the parent directory, which MakePath gives with its separator.
        const bool absolute = c.input[0] == c.sep || (c.sep == '\\' && c.input[1] == ':');
        if (absolute && relative != "..") {
            EXPECT_EQ(MakePathFrom(c.dir, relative, c.sep), c.input) << "round trip of " << c.input;
        }
    }
}

TEST_F(PathsTest, SeparatorsBecomeTheSystemsOwn) {
    struct Case {
        const char* path;
        const char* onLinux;
        const char* onWindows;
    };
    const Case cases[] = {
        {"..\\out\\maps", "../out/maps", "..\\out\\maps"}, // written on Windows
        {"../out/maps", "../out/maps", "..\\out\\maps"},
        {"\\x", "/x", "\\x"},
        {"/srv/a\\b", "/srv/a\\b", "\\srv\\a\\b"}, // a Linux file name keeps it
        {"Z:/event/ev.cfg", "Z:/event/ev.cfg", "Z:\\event\\ev.cfg"},
        {"", "", ""},
    };
    const bool windows = platform::ThisSystem() == platform::OperatingSystem::Windows;
    for (const auto& c : cases) {
        EXPECT_EQ(NormaliseSeparators(c.path), windows ? c.onWindows : c.onLinux) << c.path;
    }
}

} // namespace
} // namespace kib
