#include "platform/file_lock.h"

#include "platform/files.h"
#include "platform_files.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace kib::platform {
namespace {

TEST(FileLockTest, OneHolderAtATimeWhoseTextOthersRead) {
    test::TempFolder dir;
    const std::string path = dir / "ev.cfg.lock.kib";
    FileLock first;
    FileLock second;
    int error = 0;
    ASSERT_TRUE(first.Open(path, error)) << ErrorText(error);
    ASSERT_TRUE(second.Open(path, error)) << ErrorText(error);
    ASSERT_EQ(first.TryLock(error), FileLock::Try::Locked);
    EXPECT_TRUE(first.IsAt(path));
    first.WriteText("Kib process 1 (Make)\n");
    first.WriteText("Kib process 2 (Make)\n");
    EXPECT_EQ(second.TryLock(error), FileLock::Try::Busy);
    EXPECT_EQ(second.ReadText(300), "Kib process 2 (Make)\n");
    EXPECT_EQ(second.ReadText(4), "Kib ");

    first.Close();
    EXPECT_EQ(second.TryLock(error), FileLock::Try::Locked);
    EXPECT_TRUE(second.IsAt(path));
}

TEST(FileLockTest, ARemovedLockFileIsNoLongerAtItsName) {
    test::TempFolder dir;
    const std::string path = dir / "ev.cfg.lock.kib";
    FileLock holder;
    FileLock waiter;
    int error = 0;
    ASSERT_TRUE(holder.Open(path, error));
    ASSERT_TRUE(waiter.Open(path, error));
    ASSERT_EQ(holder.TryLock(error), FileLock::Try::Locked);
    holder.RemoveAndClose(path);
    EXPECT_FALSE(holder.IsOpen());
    EXPECT_EQ(KindOf(path), FileKind::Missing);
    // The waiter gets the lock of a file that has no name any more, and opens anew.
    ASSERT_EQ(waiter.TryLock(error), FileLock::Try::Locked);
    EXPECT_FALSE(waiter.IsAt(path));
    waiter.Close();
    EXPECT_TRUE(ListFolder(dir.Path()).empty()) << "nothing of the lock file is left";
    ASSERT_TRUE(waiter.Open(path, error)) << ErrorText(error);
    EXPECT_EQ(waiter.TryLock(error), FileLock::Try::Locked);
    EXPECT_TRUE(waiter.IsAt(path));
}

TEST(FileLockTest, OnlyARegularFileIsALockFile) {
    test::TempFolder dir;
    FileLock lock;
    int error = 0;
    EXPECT_FALSE(lock.Open(dir.Path(), error));
    EXPECT_NE(error, 0);
    EXPECT_FALSE(lock.Open(dir / "no-folder" + PreferredSeparator() + "x.lock", error));
    EXPECT_FALSE(lock.IsOpen());
}

} // namespace
} // namespace kib::platform
