// The one writer on a full disk (a file-size limit stands in for it): the
// writing fails with its reason, the old file stays byte for byte and no
// temporary file is left.
#include "foundation/atomic_file.h"

#include "platform/files.h"
#include "support/file_size_limit.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kib {
namespace {

TEST(AtomicFileFullDiskTest, TheOldFileStaysWhenTheNewOneDoesNotFit) {
    const std::string dir = test::MakeTempDir("atomic-full");
    const std::string target = dir + "/Ev-maps.pdf";
    const std::string old(3000, 'o');
    test::WriteFile(target, old);
    AtomicFile file;
    {
        test::FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.Active());
        ASSERT_TRUE(file.Begin(target));
        EXPECT_FALSE(file.Write(std::string(4000, 'n')));
        EXPECT_FALSE(file.Write("more")) << "a failed file stays failed";
        EXPECT_FALSE(file.Commit());
    }
    EXPECT_EQ(file.Failed(), AtomicFile::Failure::Write);
    EXPECT_EQ(file.Error(), EFBIG);
    EXPECT_FALSE(file.Reason().empty());
    EXPECT_EQ(test::ReadFile(target), old);
    EXPECT_EQ(platform::ListFolder(dir).size(), 1u);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace kib
