// Whole runs of kib where writing goes wrong or is led astray: a full disk
// while the print file is combined, links planted at the names kib writes (the
// temporary names of the print file and the proof page, the lock file). The old
// print file stays byte for byte, and no file outside the event is touched.
#include "support/demo_inputs.h"
#include "support/file_size_limit.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

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

// Every file a run writes in the event's folder is opened for writing once, when
// it is created: cairo and libpng write converted files and the proof's pictures
// through the descriptor Kib created, and Inkscape writes by name only into a
// private folder outside the event. A link someone swaps in at a temporary name
// (a shared folder) is never written through.
TEST_F(HostileWritesTest, EveryFileIsWrittenThroughTheDescriptorThatCreatedIt) {
    if (!fs::exists("/usr/bin/strace")) {
        GTEST_SKIP() << "strace is not installed";
    }
    ASSERT_EQ(RunProgram({KibBinary(), "images", cfg, "--format", "pdf", "--stations", "1",
                          "--converter", "builtin"})
                  .status,
              0);
    const std::string sample = outside + "/sample.pdf";
    fs::copy_file(dir + "/prn-1.0-1.1.pdf", sample);
    const std::string fake = outside + "/ink";
    fs::create_directories(fake + "/bin");
    WriteFile(fake + "/bin/inkscape",
              "#!/bin/sh\n"
              "case \"$1\" in --version) echo 'Inkscape 1.2.2 (stand-in)'; exit 0;; esac\n"
              "for a in \"$@\"; do case \"$a\" in --export-filename=*) "
              "out=\"${a#--export-filename=}\";; esac; done\n"
              "cat '" +
                  sample + "' > \"$out\"\n");
    fs::permissions(fake + "/bin/inkscape", fs::perms::owner_all);
    const std::string inkscapeCfg = dir + "/ink.cfg";
    WriteFile(inkscapeCfg, ReadFile(cfg) + "\r\n[System]\r\nINKSCAPEPATH=" + fake + "/\r\n");

    const std::vector<std::vector<std::string>> runs = {
        {"images", cfg, "--format", "pdf", "--stations", "1", "--converter", "builtin"},
        {"images", cfg, "--format", "png", "--stations", "1", "--converter", "builtin"},
        {"proof", cfg, "--stations", "1"},
        {"images", inkscapeCfg, "--format", "pdf", "--stations", "1", "--converter", "inkscape"},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run[0] + " " + run[1] + " " + run[3]);
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".pdf" || ext == ".png") {
                fs::remove(entry.path()); // converted again
            }
        }
        const std::string trace = outside + "/strace.txt";
        std::vector<std::string> args = {"/usr/bin/strace",         "-f", "-qq", "-e",
                                         "trace=open,openat,creat", "-o", trace, KibBinary()};
        args.insert(args.end(), run.begin(), run.end());
        const ProgramResult r = RunProgram(args);
        EXPECT_LT(r.status, 2) << r.out << r.err;
        std::map<std::string, int> writes;
        std::istringstream calls(ReadFile(trace));
        int inkscapeWrites = 0;
        for (std::string line; std::getline(calls, line);) {
            const std::size_t open = line.find("open");
            const std::size_t quote = line.find('"', open);
            const std::size_t end = line.find('"', quote + 1);
            if (open == std::string::npos || quote == std::string::npos ||
                end == std::string::npos || line.ends_with("= -1") ||
                line.find(" = -1 ") != std::string::npos) {
                continue;
            }
            const std::string path = line.substr(quote + 1, end - quote - 1);
            const std::string flags = line.substr(end);
            const bool writing = flags.find("O_WRONLY") != std::string::npos ||
                                 flags.find("O_RDWR") != std::string::npos ||
                                 line.find("creat(") != std::string::npos;
            if (writing && path.ends_with("/sheet.pdf")) {
                ++inkscapeWrites;
                EXPECT_EQ(path.find(dir), std::string::npos) << line;
            }
            // The lock file is opened again to be locked (never written there);
            // everything else is written once, by the descriptor that created it.
            if (writing && path.starts_with(dir + "/") &&
                path.find(".lock.kib") == std::string::npos) {
                EXPECT_NE(flags.find("O_EXCL"), std::string::npos) << line;
                EXPECT_EQ(++writes[path], 1) << line;
            }
        }
        EXPECT_FALSE(writes.empty());
        EXPECT_EQ(inkscapeWrites > 0, run[1] == inkscapeCfg);
        fs::remove(trace);
    }
    EXPECT_EQ(ReadFile(precious), "precious\n");
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
