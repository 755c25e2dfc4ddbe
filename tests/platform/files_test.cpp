#include "platform/environment.h"
#include "platform/files.h"
#include "platform/paths.h"

#include "platform_files.h"
#include "temp_folder.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kib::platform {
namespace {

using test::GetFile;
using test::PutFile;
using testing::UnorderedElementsAre;

bool OnWindows() {
    return PreferredSeparator() == '\\';
}

// The null device, which is no regular file.
std::string NullDevice() {
    return OnWindows() ? "NUL" : "/dev/null";
}

TEST(FilesTest, WritesAndReadsRawBytes) {
    test::TempFolder dir;
    const std::string path = dir / "raw.bin";
    // Line ends, a NUL and the old end-of-file character stay as they are.
    const std::string bytes = std::string("a\r\nb\nc\0d\x1a\xff", 10);
    int error = 0;
    File file = CreateExclusive(path, error);
    ASSERT_TRUE(file.IsOpen()) << ErrorText(error);
    ASSERT_TRUE(file.WriteAll(bytes));
    ASSERT_TRUE(file.FlushToDisk());
    ASSERT_TRUE(file.Close());

    EXPECT_EQ(GetFile(path), bytes);
    EXPECT_EQ(FileSize(path), 10);
    File reader = OpenForReading(path, error);
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_EQ(reader.Size(), 10);
    EXPECT_EQ(reader.Kind(), FileKind::Regular);
    std::string part;
    ASSERT_TRUE(reader.ReadAt(part, 3, 6));
    EXPECT_EQ(part, std::string("\0d\x1a", 3));
    EXPECT_FALSE(reader.ReadAt(part, 5, 8)) << "only two bytes are there";

    File writer = OpenForWriting(path, error);
    ASSERT_TRUE(writer.IsOpen()) << ErrorText(error);
    ASSERT_TRUE(writer.ReplaceContent("new"));
    ASSERT_TRUE(writer.Close());
    EXPECT_EQ(GetFile(path), "new");
}

TEST(FilesTest, CreatesOnlyWhereNothingIs) {
    test::TempFolder dir;
    ASSERT_TRUE(PutFile(dir / "taken", "old"));
    int made = 0;
    ASSERT_TRUE(CreateFolders(dir / "folder", made));
    for (const char* name : {"taken", "folder"}) {
        int error = 0;
        EXPECT_FALSE(CreateExclusive(dir / name, error).IsOpen()) << name;
        EXPECT_EQ(error, EEXIST) << name;
    }
    EXPECT_EQ(GetFile(dir / "taken"), "old");
    int error = 0;
    EXPECT_FALSE(CreateExclusive(dir / "no-folder" + PreferredSeparator() + "x", error).IsOpen());
    EXPECT_EQ(error, ENOENT);
}

TEST(FilesTest, OpensOnlyRegularFilesAndNamesWhatElseIsThere) {
    test::TempFolder dir;
    ASSERT_TRUE(PutFile(dir / "file", "x"));
    struct Case {
        std::string path;
        bool opens;
        FileKind kind;
        int error;
    };
    const Case cases[] = {
        {dir / "file", true, FileKind::Regular, 0},
        {dir.Path(), false, FileKind::Directory, EISDIR},
        {dir / "missing", false, FileKind::Missing, ENOENT},
        {NullDevice(), false, FileKind::CharDevice, EINVAL},
    };
    for (const auto& c : cases) {
        int error = 0;
        FileKind kind = FileKind::Other;
        EXPECT_EQ(OpenRegularFile(c.path, error, kind).IsOpen(), c.opens) << c.path;
        EXPECT_EQ(kind, c.kind) << c.path;
        EXPECT_EQ(KindOf(c.path), c.kind) << c.path;
        if (!c.opens) {
            EXPECT_EQ(error, c.error) << c.path;
        }
    }
}

TEST(FilesTest, StampsAreHundredNanosecondsSince1601) {
    test::TempFolder dir;
    const std::string path = dir / "stamped";
    ASSERT_TRUE(PutFile(path, "x"));
    std::uint64_t stamp = 0;
    int error = 0;
    ASSERT_TRUE(GetStamp(path, stamp, error));
    // Written just now: after 2020-01-01 (132223104000000000) and not far in the future.
    EXPECT_GT(stamp, 132223104000000000ULL);
    EXPECT_LT(stamp, 200000000000000000ULL);

    // 2023-11-14 22:13:20 UTC and 1234567 hundreds of nanoseconds.
    const std::uint64_t set = 133444484001234567ULL;
    ASSERT_TRUE(SetStamp(path, set, error)) << ErrorText(error);
    ASSERT_TRUE(GetStamp(path, stamp, error));
    EXPECT_EQ(stamp, set);
    File file = OpenForReading(path, error);
    std::uint64_t viaFile = 0;
    ASSERT_TRUE(file.Stamp(viaFile));
    EXPECT_EQ(viaFile, set);

    EXPECT_FALSE(GetStamp(dir / "missing", stamp, error));
    EXPECT_EQ(stamp, 0u);
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(SetStamp(dir / "missing", set, error));
}

TEST(FilesTest, MoveReplacingPutsTheNewFileInPlace) {
    test::TempFolder dir;
    ASSERT_TRUE(PutFile(dir / "new", "new content"));
    ASSERT_TRUE(PutFile(dir / "sheet.svg", "old content"));
    int error = 0;
    ASSERT_TRUE(MoveReplacing(dir / "new", dir / "sheet.svg", error)) << ErrorText(error);
    EXPECT_EQ(GetFile(dir / "sheet.svg"), "new content");
    EXPECT_EQ(KindOf(dir / "new"), FileKind::Missing);

    ASSERT_TRUE(PutFile(dir / "again", "first"));
    ASSERT_TRUE(MoveReplacing(dir / "again", dir / "fresh", error));
    EXPECT_EQ(GetFile(dir / "fresh"), "first");
    EXPECT_FALSE(MoveReplacing(dir / "gone", dir / "fresh", error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_EQ(GetFile(dir / "fresh"), "first");
}

TEST(FilesTest, MoveWithoutReplacingLeavesAnExistingFile) {
    test::TempFolder dir;
    ASSERT_TRUE(PutFile(dir / "copy", "copy"));
    ASSERT_TRUE(PutFile(dir / "logo.svg", "user's logo"));
    int error = 0;
    EXPECT_FALSE(MoveWithoutReplacing(dir / "copy", dir / "logo.svg", error));
    EXPECT_EQ(error, EEXIST);
    EXPECT_EQ(GetFile(dir / "logo.svg"), "user's logo");
    EXPECT_EQ(GetFile(dir / "copy"), "copy");

    ASSERT_TRUE(MoveWithoutReplacing(dir / "copy", dir / "free.svg", error));
    EXPECT_EQ(GetFile(dir / "free.svg"), "copy");
    EXPECT_EQ(KindOf(dir / "copy"), FileKind::Missing);
}

TEST(FilesTest, RemovesFlushesAndTellsWritable) {
    test::TempFolder dir;
    ASSERT_TRUE(PutFile(dir / "f", "x"));
    int error = 0;
    EXPECT_TRUE(FlushFileToDisk(dir / "f", error)) << ErrorText(error);
    EXPECT_TRUE(IsWritable(dir / "f"));
    EXPECT_FALSE(IsWritable(dir / "missing"));
    FlushFolderOf(dir / "f");

    EXPECT_TRUE(RemoveFile(dir / "f", error));
    EXPECT_EQ(KindOf(dir / "f"), FileKind::Missing);
    EXPECT_FALSE(RemoveFile(dir / "f", error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(FlushFileToDisk(dir / "f", error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(ErrorText(ENOSPC).empty());
}

TEST(FilesTest, ListsAndCreatesFolders) {
    test::TempFolder dir;
    int error = 0;
    const std::string nested = dir / "a" + PreferredSeparator() + "b";
    ASSERT_TRUE(CreateFolders(nested, error)) << ErrorText(error);
    EXPECT_TRUE(CreateFolders(nested, error)) << "already there";
    EXPECT_EQ(KindOf(nested), FileKind::Directory);
    ASSERT_TRUE(PutFile(dir / "file.svg", ""));
    ASSERT_TRUE(PutFile(dir / "caf\xc3\xa9 \xce\xa9.svg", "")); // "café Ω.svg"
    EXPECT_THAT(ListFolder(dir.Path()),
                UnorderedElementsAre("a", "file.svg", "caf\xc3\xa9 \xce\xa9.svg"));
    EXPECT_TRUE(ListFolder(dir / "missing").empty());

    EXPECT_FALSE(CreateFolders(dir / "file.svg" + PreferredSeparator() + "x", error));
    EXPECT_NE(error, 0);
}

TEST(FilesTest, PrivateFoldersAreNewAndRemovedWhenEmpty) {
    int error = 0;
    const std::string a = CreatePrivateFolder(error);
    const std::string b = CreatePrivateFolder(error);
    ASSERT_FALSE(a.empty()) << ErrorText(error);
    ASSERT_FALSE(b.empty()) << ErrorText(error);
    EXPECT_NE(a, b);
    EXPECT_EQ(KindOf(a), FileKind::Directory);
    EXPECT_TRUE(ListFolder(a).empty());
    ASSERT_TRUE(PutFile(WithSeparator(a) + "x", "x"));
    EXPECT_FALSE(RemoveFolder(a, error)) << "not empty";
    ASSERT_TRUE(RemoveFile(WithSeparator(a) + "x", error));
    EXPECT_TRUE(RemoveFolder(a, error)) << ErrorText(error);
    EXPECT_TRUE(RemoveFolder(b, error)) << ErrorText(error);
    EXPECT_EQ(KindOf(a), FileKind::Missing);
    if (ThisSystem() == OperatingSystem::Linux) {
        const std::string c = CreatePrivateFolder(error);
        EXPECT_EQ(std::filesystem::status(c).permissions(), std::filesystem::perms::owner_all);
        RemoveFolder(c, error);
    }
}

TEST(FilesTest, LinksAreNamedNotFollowedWhenReplacing) {
    test::TempFolder dir;
    ASSERT_TRUE(PutFile(dir / "target", "target"));
    EXPECT_EQ(ResolveLinks(dir / "target"), dir / "target");
    std::error_code ec;
    std::filesystem::create_symlink(FsPath(dir / "target"), FsPath(dir / "link"), ec);
    if (ec) {
        GTEST_SKIP() << "no symbolic links here: " << ec.message();
    }
    EXPECT_EQ(KindOf(dir / "link", false), FileKind::Link);
    EXPECT_EQ(KindOf(dir / "link", true), FileKind::Regular);
    EXPECT_EQ(FsPath(ResolveLinks(dir / "link")), FsPath(AbsolutePath(dir / "target")));

    int error = 0;
    EXPECT_FALSE(CreateExclusive(dir / "link", error).IsOpen());
    ASSERT_TRUE(PutFile(dir / "new", "new"));
    ASSERT_TRUE(MoveReplacing(dir / "new", dir / "link", error));
    EXPECT_EQ(KindOf(dir / "link", false), FileKind::Regular);
    EXPECT_EQ(GetFile(dir / "target"), "target");
}

} // namespace
} // namespace kib::platform
