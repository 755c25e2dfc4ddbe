#include "platform/environment.h"
#include "platform/files.h"
#include "platform/paths.h"

#include "platform_files.h"
#include "temp_folder.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace kib::platform {
namespace {

bool OnWindows() {
    return PreferredSeparator() == '\\';
}

TEST(PathsTest, SeparatorsAndAbsolutePaths) {
    struct Case {
        const char* path;
        bool absoluteOnLinux;
        bool absoluteOnWindows;
    };
    const Case cases[] = {
        {"/srv/event/ev.cfg", true, true},
        {"\\\\server\\share\\ev.cfg", false, true},
        {"\\event\\ev.cfg", false, true},
        {"Z:\\event\\ev.cfg", false, true},
        {"C:/event/ev.cfg", false, true},
        {"C:ev.cfg", false, false}, // relative to the drive's current folder
        {"cfg\\made.cfg", false, false},
        {"../out", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsAbsolutePath(c.path), OnWindows() ? c.absoluteOnWindows : c.absoluteOnLinux)
            << c.path;
    }
    EXPECT_TRUE(IsSeparator('/'));
    EXPECT_EQ(IsSeparator('\\'), OnWindows());
    EXPECT_TRUE(IsSeparator(PreferredSeparator()));
    EXPECT_EQ(PathListSeparator(), OnWindows() ? ';' : ':');
    EXPECT_EQ(ExecutableSuffix(), OnWindows() ? ".exe" : "");
    const std::string sep(1, PreferredSeparator());
    EXPECT_EQ(WithSeparator("dir"), "dir" + sep);
    EXPECT_EQ(WithSeparator("dir/"), "dir/");
    EXPECT_EQ(WithSeparator(""), "");
}

TEST(PathsTest, MakesPathsAbsoluteAgainstTheCurrentFolder) {
    const std::string here = CurrentDirectory();
    ASSERT_TRUE(IsAbsolutePath(here)) << here;
    EXPECT_EQ(KindOf(here), FileKind::Directory);
    const std::string sep(1, PreferredSeparator());
    EXPECT_EQ(AbsolutePath("a" + sep + ".." + sep + "b.cfg"), WithSeparator(here) + "b.cfg");
    EXPECT_EQ(AbsolutePath(WithSeparator(here) + "x.cfg"), WithSeparator(here) + "x.cfg");
    EXPECT_EQ(AbsolutePath(""), "");

    const std::string temp = TempDirectory();
    EXPECT_TRUE(IsAbsolutePath(temp)) << temp;
    EXPECT_EQ(KindOf(temp), FileKind::Directory);
    EXPECT_FALSE(IsSeparator(temp.back()));
}

TEST(PathsTest, ProgramsAreRegularFilesThatMayRun) {
    test::TempFolder dir;
    EXPECT_TRUE(IsExecutableFile(test::StandinProgram()));
    EXPECT_FALSE(IsExecutableFile(dir.Path())) << "a folder";
    EXPECT_FALSE(IsExecutableFile(dir / "missing"));
    ASSERT_TRUE(test::PutFile(dir / "notes.txt", "text"));
    // Windows runs by name; Linux needs the permission to run it.
    EXPECT_EQ(IsExecutableFile(dir / "notes.txt"), OnWindows());
}

TEST(PathsTest, FileNamesOutsideAsciiArriveWhole) {
    test::TempFolder dir;
    const std::string name = "\xc3\x89tape \xc5\xa0umava \xce\xa9"; // "Étape Šumava Ω"
    const std::string path = dir / name;
    ASSERT_TRUE(test::PutFile(path, "x"));
    EXPECT_TRUE(std::filesystem::is_regular_file(FsPath(path)));
    EXPECT_EQ(PathString(FsPath(path)), path);
    EXPECT_EQ(PathString(FsPath(path).filename()), name);
}

TEST(PathsTest, WindowsReadsANameThatIsNotUtf8InTheCodePage) {
    if (!OnWindows()) {
        GTEST_SKIP() << "Linux file names are bytes";
    }
    test::TempFolder dir;
    const auto saved = EnvironmentValue("KIB_CODEPAGE");
    SetEnvironmentValue("KIB_CODEPAGE", std::nullopt);
    // "café.txt" written in Windows-1252, as a configuration made there holds it.
    ASSERT_TRUE(test::PutFile(dir / "caf\xe9.txt", "1252"));
    EXPECT_EQ(test::GetFile(dir / "caf\xc3\xa9.txt"), "1252");
    SetEnvironmentValue("KIB_CODEPAGE", "CP1250");
    ASSERT_TRUE(test::PutFile(dir / "\x8a.txt", "1250")); // "Š.txt"
    EXPECT_EQ(test::GetFile(dir / "\xc5\xa0.txt"), "1250");
    SetEnvironmentValue("KIB_CODEPAGE", saved);
}

} // namespace
} // namespace kib::platform
