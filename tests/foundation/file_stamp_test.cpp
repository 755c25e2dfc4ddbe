#include "foundation/file_stamp.h"

#include "foundation/app_state.h"
#include "support/host_recorder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kib {
namespace {

namespace fs = std::filesystem;

class FileStampTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Install();
        dir = fs::temp_directory_path() /
              ("kib-stamp-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::remove_all(dir);
        ResetAppState();
    }
    std::string Touch(const char* name) {
        const fs::path p = dir / name;
        std::ofstream(p) << "x";
        return p.string();
    }
    test::HostRecorder host;
    fs::path dir;
};

TEST_F(FileStampTest, StampIsTheModificationTimeIn100nsSince1601) {
    const std::string a = Touch("a");
    // 2026-01-01 00:00:00 UTC plus 1234567 ticks.
    const FileStamp want = (1767225600ULL + kEpochDifferenceSeconds) * 10000000ULL + 1234567;
    ASSERT_TRUE(SetFileStamp(a, want));
    FileStamp got = 0;
    ASSERT_TRUE(GetFileStamp(a, got, App().Log()));
    EXPECT_EQ(got, want);
}

TEST_F(FileStampTest, MissingFileHasZeroStampAndReportsOnDebugPane) {
    App().debugSwitch = true;
    FileStamp got = 99;
    const std::string missing = (dir / "missing").string();
    EXPECT_FALSE(GetFileStamp(missing, got, App().Log()));
    EXPECT_EQ(got, 0u);
    ASSERT_EQ(host.debug.size(), 1u);
    EXPECT_EQ(host.debug[0], "Opening file " + missing + " to get the stamp failed with 2");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(FileStampTest, CompareOrdersFilesMissingOnesFirst) {
    const std::string a = Touch("a");
    const std::string b = Touch("b");
    const std::string missing = (dir / "missing").string();
    const FileStamp t = (1767225600ULL + kEpochDifferenceSeconds) * 10000000ULL;
    ASSERT_TRUE(SetFileStamp(a, t));
    ASSERT_TRUE(SetFileStamp(b, t));
    EXPECT_EQ(CompareFileStamps(a, b, App().Log()), 0) << "same 100 ns tick";
    ASSERT_TRUE(SetFileStamp(b, t + 1));
    EXPECT_EQ(CompareFileStamps(a, b, App().Log()), -1);
    EXPECT_EQ(CompareFileStamps(b, a, App().Log()), 1);
    EXPECT_EQ(CompareFileStamps(a, missing, App().Log()), 1);
    EXPECT_EQ(CompareFileStamps(missing, a, App().Log()), -1);
    EXPECT_EQ(CompareFileStamps(missing, missing, App().Log()), 0);
}

} // namespace
} // namespace kib
