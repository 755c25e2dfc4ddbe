// Whole runs of kib with something else than a regular file where it reads or
// writes (a FIFO, a device): every command ends with a clear message instead of
// hanging beyond the reach of Ctrl+C.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

// kib under a time limit: a hang ends with the status 124 of timeout.
ProgramResult Kib(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"/usr/bin/timeout", "60", KibBinary()};
    all.insert(all.end(), args.begin(), args.end());
    return RunProgram(all);
}

void MakeFifo(const std::string& path) {
    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0) << path;
}

TEST(SpecialFilesTest, ConfigurationThatIsNoFile) {
    const std::string dir = MakeTempDir("e2e-special-cfg");
    MakeFifo(dir + "/event.cfg");
    for (const std::string& cfg : {dir + "/event.cfg", std::string("/dev/zero")}) {
        const ProgramResult r = Kib({"config", "show", cfg});
        EXPECT_EQ(r.status, 2) << cfg << ": " << r.out << r.err;
    }
    fs::remove_all(dir);
}

TEST(SpecialFilesTest, MapCoursesOrSheetThatIsAFifo) {
    const std::string dir = CopyDemoToTempDir("e2e-special-fifo");
    const std::string cfg = dir + "/demo.cfg";
    struct Case {
        const char* name;
        std::string message;
        int status;
    };
    const Case cases[] = {
        // A station whose map cannot be read is skipped, and it fails the run
        // wherever it stands among the stations.
        {"Demo.S2.svg",
         "[** ERROR **] Cannot open map file " + dir +
             "/Demo.S2.svg: it is a FIFO (named pipe), not a regular file",
         2},
        {"Demo.S4.svg",
         "[** ERROR **] Cannot open map file " + dir +
             "/Demo.S4.svg: it is a FIFO (named pipe), not a regular file",
         2},
        {"Demo.Courses.xml",
         "[** ERROR **] Cannot open courses file " + dir +
             "/Demo.Courses.xml: it is a FIFO (named pipe), not a regular file",
         2},
        {"map-3.1.svg",
         "[** ERROR **] Cannot replace " + dir +
             "/map-3.1.svg: it is a FIFO (named pipe), not a regular file",
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir + "/" + c.name;
        const std::string kept = dir + "/kept";
        if (fs::exists(path)) {
            fs::rename(path, kept);
        }
        MakeFifo(path);
        const ProgramResult r = Kib({"--yes", "maps", cfg});
        EXPECT_EQ(r.status, c.status) << r.out << r.err;
        EXPECT_NE(r.out.find(c.message + "\n"), std::string::npos) << r.out;
        EXPECT_TRUE(fs::is_fifo(path));
        fs::remove(path);
        if (fs::exists(kept)) {
            fs::rename(kept, path);
        }
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace kib::test
