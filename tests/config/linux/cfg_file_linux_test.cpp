// The configuration file on Linux: a save that the file system cuts short, FIFOs
// and devices in place of a configuration, and files that may not be written.
#include "../cfg_file_fixture.h"

#include "config/cfg_ids.h"
#include "support/file_size_limit.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kib {
namespace {

namespace fs = std::filesystem;

TEST_F(CfgFileTest, AFailedSaveKeepsTheOldFileWhole) {
    const std::string old = "# Kib Configuration\r\n\r\n[Event]\r\nNAME=Old\r\n";
    ASSERT_TRUE(Open(old));
    doc.GetConfig()->Item(id::Event_TITLE1).SetText(std::string(4000, 'T'));
    doc.SetModifiedFlag(true);

    // The file system refuses more than a few bytes in the middle of the write.
    test::FileSizeLimit limit(64);
    ASSERT_TRUE(limit.Active());
    host.Clear();
    const bool saved_ok = doc.OnSaveDocument(dir + "event.cfg");
    limit.Lift();

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(Bytes(dir + "event.cfg"), old);
    EXPECT_EQ(host.messages, std::vector<std::string>{"[** ERROR **] Configuration file " + dir +
                                                      "event.cfg saving failed."});
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "Configuration file not saved!");
    EXPECT_EQ(host.boxes[0].icon, BoxIcon::Error);
    EXPECT_EQ(host.statusTexts.back(), "Ready");
    EXPECT_TRUE(doc.IsModified());
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) {
        ++files;
    }
    EXPECT_EQ(files, 1); // the temporary file is gone

    // A folder that does not exist.
    host.Clear();
    EXPECT_FALSE(doc.OnSaveDocument(dir + "gone/event.cfg"));
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Configuration file " + dir +
                                "gone/event.cfg saving failed."));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Configuration file not saved!"});
    EXPECT_TRUE(host.statusTexts == std::vector<std::string>{"Ready"});
}

TEST_F(CfgFileTest, OnlyARegularFileIsReadAndItsLinesAreBounded) {
    // A FIFO or a device once hung the reading for good, or grew one line to gigabytes.
    const std::string fifo = dir + "fifo.cfg";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_FALSE(doc.OnOpenDocument(fifo));
    EXPECT_EQ(doc.OpenFailure(), "it is a FIFO (named pipe), not a regular file");
    EXPECT_FALSE(doc.OnOpenDocument("/dev/zero"));
    EXPECT_EQ(doc.OpenFailure(), "it is a character device, not a regular file");
    EXPECT_FALSE(doc.OnOpenDocument(dir + "missing.cfg"));
    EXPECT_EQ(doc.OpenFailure(), "No such file or directory");
    EXPECT_TRUE(host.messages.empty());

    // A file of 65 MiB whose third line has no end (a sparse file: zeros).
    const std::string huge = Write("[Event]\nTASKS=4\n");
    fs::resize_file(huge, std::uintmax_t{65} << 20);
    EXPECT_FALSE(doc.OnOpenDocument(huge));
    EXPECT_EQ(doc.OpenFailure(), "");
    const std::vector<std::string> expected = {
        "Parsing config file " + huge,
        "[** ERROR **] Line #3 of the configuration file is longer than 64 MiB!"};
    EXPECT_EQ(host.messages, expected);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kNotRecognized});
}

TEST_F(CfgFileTest, ReadOnlyFileIsNotReplaced) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser may write anything";
    }
    const std::string path = Write("# Kib Configuration\r\n\r\n[Event]\r\nNAME=Old\r\n");
    ASSERT_TRUE(doc.OnOpenDocument(path));
    fs::permissions(path, fs::perms::owner_read);
    EXPECT_FALSE(doc.OnSaveDocument(path));
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(doc.OnSaveDocument(dir + "other.cfg"));
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(Bytes(path), "# Kib Configuration\r\n\r\n[Event]\r\nNAME=Old\r\n");
}

} // namespace
} // namespace kib
