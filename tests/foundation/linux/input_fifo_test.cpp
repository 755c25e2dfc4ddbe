// Input files on Linux: a FIFO at a file's name is refused without waiting for
// a writer.
#include "foundation/input_file.h"

#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace kib {
namespace {

TEST(InputFileTest, AFifoIsRefusedWithoutBlocking) {
    const std::string dir = test::MakeTempDir("input-fifo");
    const std::string fifo = dir + "/map.svg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    InputFile in;
    EXPECT_FALSE(in.Open(fifo));
    EXPECT_TRUE(in.NotRegular());
    EXPECT_EQ(in.Reason(), "it is a FIFO (named pipe), not a regular file");
    EXPECT_FALSE(IsRegularFile(fifo));
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace kib
