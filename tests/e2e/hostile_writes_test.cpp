// Whole runs of kib where writing goes wrong or is led astray: a full disk
// while the print file is combined, links planted at the names kib writes (the
// temporary names of the print file and the proof page, the lock file). The old
// print file stays byte for byte, and no file outside the event is touched.
#include "support/demo_inputs.h"
#include "support/file_size_limit.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

// Names in the folder that are temporary files of kib.
std::vector<std::string> Temporaries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.find("-tmp") != std::string::npos || name.find(".~kib") != std::string::npos ||
            name.find(".tmp") != std::string::npos) {
            names.push_back(name);
        }
    }
    return names;
}

class HostileWritesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = CopyDemoToTempDir("e2e-hostile");
        outside = MakeTempDir("e2e-hostile-outside");
        cfg = dir + "/demo.cfg";
        precious = outside + "/precious.txt";
        WriteFile(precious, "precious\n");
    }
    void TearDown() override {
        fs::remove_all(dir);
        fs::remove_all(outside);
    }

    std::string dir;
    std::string outside;
    std::string cfg;
    std::string precious;
};

TEST_F(HostileWritesTest, AFullDiskWhileCombiningKeepsTheOldPrintFile) {
    const std::vector<std::string> images = {KibBinary(), "images",     cfg, "--format",
                                             "pdf",       "--stations", "1", "--converter",
                                             "builtin",   "--combine"};
    ProgramResult r = RunProgram(images);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    const std::string combined = dir + "/Demo-maps.pdf";
    const std::string good = ReadFile(combined);
    ASSERT_GT(good.size(), 2000u);

    // Only the print file is written again (the sheets and their PDF files are
    // unchanged), and it does not fit.
    {
        FileSizeLimit full(good.size() / 2);
        ASSERT_TRUE(full.Active());
        r = RunProgram(images);
    }
    EXPECT_EQ(r.status, 2) << r.out << r.err;
    EXPECT_NE(r.out.find("[** ERROR **] Cannot combine the sheets into " + combined + ": "),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.err.find("info: Image files created."), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(combined), good) << "the old print file stays byte for byte";
    EXPECT_TRUE(Temporaries(dir).empty());
}

// Links at every temporary name the run's process could write through: the
// print file's and the proof page's, in the forms kib has used. The shell's
// process id is kib's after exec.
TEST_F(HostileWritesTest, LinksAtTemporaryNamesAreNeverWrittenThrough) {
    const std::string plant =
        "cd '" + dir +
        "' && for name in Demo-maps.pdf-tmp$$.pdf Demo-maps.pdf.~kib$$-0 proof.html.tmp$$ "
        "proof.html.~kib$$-0 demo.cfg.lock.kib.~kib$$-0; do ln -s '" +
        precious + "' \"$name\"; done && exec \"$0\" \"$@\"";
    ProgramResult r = RunProgram({"/bin/sh", "-c", plant, KibBinary(), "images", cfg, "--format",
                                  "pdf", "--stations", "1", "--converter", "builtin", "--combine"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    r = RunProgram({"/bin/sh", "-c", plant, KibBinary(), "proof", cfg, "--stations", "1"});
    EXPECT_LT(r.status, 2) << r.out << r.err;
    EXPECT_EQ(ReadFile(precious), "precious\n");
    EXPECT_EQ(ReadFile(dir + "/Demo-maps.pdf").rfind("%PDF-", 0), 0u);
    EXPECT_EQ(fs::symlink_status(dir + "/proof.html").type(), fs::file_type::regular);
}

TEST_F(HostileWritesTest, ALockFileThatIsALinkIsRefused) {
    const std::string lock = dir + "/demo.cfg.lock.kib";
    for (const bool hard : {true, false}) {
        SCOPED_TRACE(hard ? "hard link" : "symbolic link");
        fs::remove(lock);
        if (hard) {
            fs::create_hard_link(precious, lock);
        } else {
            fs::create_symlink(precious, lock);
        }
        const ProgramResult r = RunProgram({KibBinary(), "maps", cfg, "--stations", "1"});
        EXPECT_EQ(r.status, 2) << r.out << r.err;
        EXPECT_NE(
            r.out.find("[** ERROR **] Cannot lock the event: the lock file " + lock + " is " +
                       (hard ? "a file with another name too (a hard link)" : "a symbolic link") +
                       ", not a lock file. Remove it and try again."),
            std::string::npos)
            << r.out;
        EXPECT_EQ(ReadFile(precious), "precious\n");
        EXPECT_FALSE(fs::exists(dir + "/map-1.1.svg")) << "nothing is made unlocked";
    }
    // Once it is gone, the run locks and makes its sheets.
    fs::remove(lock);
    EXPECT_EQ(RunProgram({KibBinary(), "maps", cfg, "--stations", "1"}).status, 0);
    EXPECT_TRUE(fs::exists(dir + "/map-1.1.svg"));
    EXPECT_FALSE(fs::exists(lock));
}

} // namespace
} // namespace kib::test
