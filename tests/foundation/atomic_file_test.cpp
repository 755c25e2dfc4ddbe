// The one writer of Kib's files: a new file takes its name whole or not at all,
// never through a link, and the old file stays on any failure.
#include "foundation/atomic_file.h"

#include "foundation/temp_files.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

namespace kib {
namespace {

namespace fs = std::filesystem;
using platform::FsPath;

class AtomicFileTest : public testing::Test {
  protected:
    void SetUp() override { dir = test::MakeTempDir("atomic-file"); }
    void TearDown() override { fs::remove_all(FsPath(dir)); }
    std::string In(const std::string& name) const {
        return dir + platform::PreferredSeparator() + name;
    }
    // The names in the folder, to see that no temporary file is left.
    std::size_t FileCount() const { return platform::ListFolder(dir).size(); }

    std::string dir;
};

TEST_F(AtomicFileTest, TheNewFileReplacesTheOldOneOnlyWhenCommitted) {
    const std::string target = In("ev.cfg");
    test::WriteFile(target, "old");
    AtomicFile file;
    ASSERT_TRUE(file.Begin(target)) << file.Reason();
    EXPECT_EQ(file.TemporaryPath(),
              target + ".~kib" + std::to_string(platform::ProcessId()) + "-0");
    EXPECT_EQ(TemporaryOwner(fs::path(file.TemporaryPath()).filename().string()),
              platform::ProcessId());
    ASSERT_TRUE(file.Write("new "));
    ASSERT_TRUE(file.Write("text"));
    EXPECT_EQ(test::ReadFile(target), "old") << "nothing changes before the commit";
    ASSERT_TRUE(file.Commit()) << file.Reason();
    EXPECT_EQ(test::ReadFile(target), "new text");
    EXPECT_EQ(FileCount(), 1u);

    // Given up, or not complete by the caller's check: the old file stays.
    ASSERT_TRUE(file.Begin(target));
    file.Write("partial");
    file.Abandon();
    EXPECT_EQ(file.Failed(), AtomicFile::Failure::Abandoned);
    std::string reason;
    EXPECT_FALSE(WriteWholeFile(target, "cut", reason, [](const std::string& path) {
        return test::ReadFile(path) == "cut" ? "the file is cut off" : "";
    }));
    EXPECT_EQ(reason, "the file is cut off");
    EXPECT_EQ(test::ReadFile(target), "new text");
    EXPECT_EQ(FileCount(), 1u);

    // Not replacing: only where nothing is.
    ASSERT_TRUE(file.Begin(target));
    file.Write("other");
    EXPECT_FALSE(file.Commit({}, false));
    EXPECT_EQ(file.Error(), EEXIST);
    EXPECT_EQ(test::ReadFile(target), "new text");
    ASSERT_TRUE(file.Begin(In("free")));
    EXPECT_TRUE(file.Commit({}, false));
    EXPECT_EQ(FileCount(), 2u);
}

TEST_F(AtomicFileTest, ACopyKeepsTheTimeItIsGiven) {
    AtomicFile file;
    ASSERT_TRUE(file.Begin(In("logo.png")));
    file.SetStampOnCommit(130000000000000000ULL);
    ASSERT_TRUE(file.Commit());
    std::uint64_t stamp = 0;
    int error = 0;
    ASSERT_TRUE(platform::GetStamp(In("logo.png"), stamp, error));
    EXPECT_EQ(stamp, 130000000000000000ULL);
}

TEST_F(AtomicFileTest, LinksAreReplacedNeverWrittenThrough) {
    const std::string outside = test::MakeTempDir("atomic-outside");
    const std::string precious = outside + platform::PreferredSeparator() + "precious.txt";
    test::WriteFile(precious, "precious");
    std::error_code ec;
    fs::create_symlink(FsPath(precious), FsPath(In("Ev-maps.pdf")), ec);
    if (ec) {
        fs::remove_all(FsPath(outside));
        GTEST_SKIP() << "no symbolic links here: " << ec.message();
    }
    fs::create_hard_link(FsPath(precious), FsPath(In("proof.html")), ec);
    if (ec) {
        fs::remove_all(FsPath(outside));
        GTEST_SKIP() << "no hard links here: " << ec.message();
    }
    // A link planted at a temporary name of this process.
    const std::string temporary = SheetTemporaryPath(In("map-1.1"), "svg");
    fs::create_symlink(FsPath(precious), FsPath(temporary), ec);

    std::string reason;
    EXPECT_TRUE(WriteWholeFile(In("Ev-maps.pdf"), "combined", reason)) << reason;
    EXPECT_TRUE(WriteWholeFile(In("proof.html"), "page", reason)) << reason;
    AtomicFile sheet;
    ASSERT_TRUE(sheet.BeginAt(In("map-1.1.svg"), temporary)) << sheet.Reason();
    ASSERT_TRUE(sheet.Write("<svg/>"));
    ASSERT_TRUE(sheet.Commit());

    EXPECT_EQ(test::ReadFile(precious), "precious");
    EXPECT_EQ(platform::KindOf(In("Ev-maps.pdf"), false), platform::FileKind::Regular);
    EXPECT_EQ(test::ReadFile(In("Ev-maps.pdf")), "combined");
    EXPECT_EQ(test::ReadFile(In("proof.html")), "page");
    EXPECT_EQ(test::ReadFile(In("map-1.1.svg")), "<svg/>");
    EXPECT_EQ(FileCount(), 3u);
    fs::remove_all(FsPath(outside));
}

TEST_F(AtomicFileTest, OnlyAFileIsReplaced) {
    fs::create_directory(FsPath(In("proof.html")));
    AtomicFile file;
    ASSERT_TRUE(file.Begin(In("proof.html")));
    file.Write("page");
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(file.Failed(), AtomicFile::Failure::Target);
    EXPECT_EQ(file.Reason(), "it is a folder, not a regular file");
    EXPECT_TRUE(fs::is_directory(FsPath(In("proof.html"))));
    EXPECT_EQ(FileCount(), 1u);

    // A folder that does not exist: the reason says so.
    EXPECT_FALSE(file.Begin(In("missing") + platform::PreferredSeparator() + "x.pdf"));
    EXPECT_EQ(file.Failed(), AtomicFile::Failure::Create);
    EXPECT_EQ(file.Reason(), "the folder does not exist");
}

// A batch puts its files in place together: none before all are written, and
// a file that fails keeps its old file without stopping the others.
// A batch keeps the descriptors of its first files to flush them later; those
// beyond are flushed when added: a run of many sheets never runs out of them.
TEST_F(AtomicFileTest, ABatchOfMoreFilesThanItKeepsOpenPutsThemAllInPlace) {
    const std::size_t count = AtomicBatch::kOpenFiles * 2 + 3;
    AtomicBatch batch;
    AtomicFile file;
    for (std::size_t i = 0; i < count; ++i) {
        ASSERT_TRUE(file.Begin(In(std::to_string(i) + ".svg"))) << file.Reason();
        ASSERT_TRUE(file.Write("sheet " + std::to_string(i)));
        ASSERT_TRUE(batch.Add(file));
    }
    EXPECT_TRUE(batch.Commit().empty());
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_EQ(test::ReadFile(In(std::to_string(i) + ".svg")), "sheet " + std::to_string(i));
    }
    EXPECT_EQ(FileCount(), count) << "no temporary file is left";
}

TEST_F(AtomicFileTest, ABatchPutsEveryFileInPlaceButThoseThatFail) {
    const std::vector<std::string> names = {"a.svg", "b.svg", "c.svg", "d.svg", "e.svg"};
    for (const std::string& name : names) {
        test::WriteFile(In(name), "old " + name);
    }
    AtomicBatch batch;
    AtomicFile file;
    std::string lostTemporary;
    for (const std::string& name : names) {
        ASSERT_TRUE(file.Begin(In(name))) << file.Reason();
        ASSERT_TRUE(file.Write("new " + name));
        if (name == "c.svg") {
            lostTemporary = file.TemporaryPath();
        }
        const bool complete = name != "e.svg";
        EXPECT_EQ(batch.Add(file,
                            [complete](const std::string&) {
                                return complete ? std::string() : std::string("cut off");
                            }),
                  complete);
    }
    EXPECT_EQ(file.Failed(), AtomicFile::Failure::Check) << "e.svg fails its check when added";
    EXPECT_EQ(batch.Size(), 4u);
    for (const std::string& name : names) {
        EXPECT_EQ(test::ReadFile(In(name)), "old " + name)
            << "nothing is in place before the commit";
    }
    // b.svg's name is taken by a folder meanwhile; c.svg's temporary file is lost.
    fs::remove(FsPath(In("b.svg")));
    fs::create_directory(FsPath(In("b.svg")));
    fs::remove(FsPath(lostTemporary));

    const std::vector<AtomicBatch::Failure> failures = batch.Commit();
    // The lost file is flushed through its descriptor; its move then fails.
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].target, In("b.svg"));
    EXPECT_EQ(failures[0].failure, AtomicFile::Failure::Target);
    EXPECT_EQ(failures[0].reason, "it is a folder, not a regular file");
    EXPECT_EQ(failures[1].target, In("c.svg"));
    EXPECT_EQ(failures[1].failure, AtomicFile::Failure::Move);
    EXPECT_EQ(test::ReadFile(In("a.svg")), "new a.svg");
    EXPECT_EQ(test::ReadFile(In("d.svg")), "new d.svg");
    EXPECT_EQ(test::ReadFile(In("c.svg")), "old c.svg");
    EXPECT_EQ(test::ReadFile(In("e.svg")), "old e.svg");
    EXPECT_TRUE(fs::is_directory(FsPath(In("b.svg"))));
    EXPECT_EQ(FileCount(), names.size()) << "no temporary file is left";
}

TEST_F(AtomicFileTest, ABatchGivenUpLeavesNoTemporaryFile) {
    test::WriteFile(In("a.svg"), "old");
    {
        AtomicBatch batch;
        AtomicFile file;
        ASSERT_TRUE(file.Begin(In("a.svg")));
        ASSERT_TRUE(file.Write("new"));
        ASSERT_TRUE(batch.Add(file));
        EXPECT_EQ(FileCount(), 2u);
    }
    EXPECT_EQ(test::ReadFile(In("a.svg")), "old");
    EXPECT_EQ(FileCount(), 1u);
}

} // namespace
} // namespace kib
