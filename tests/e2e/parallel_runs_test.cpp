// Runs of kib on one event at the same time: they take turns and every sheet
// comes out whole.
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <future>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

// The demo event in a folder of its own.
std::string CopyDemo(const std::string& tag) {
    const std::string dir = MakeTempDir(tag);
    const fs::path demo = fs::path(KIB_SOURCE_DIR) / "examples" / "demo";
    for (const char* name : {"demo.cfg", "Demo.Courses.xml", "Demo.S1.svg", "Demo.S2.svg",
                             "Demo.S3.svg", "Demo.S4.svg"}) {
        fs::copy_file(demo / name, fs::path(dir) / name);
    }
    return dir;
}

TEST(ParallelRunsTest, FourMapsRunsAtOnceAllSucceedWithWholeSheets) {
    const std::string dir = CopyDemo("e2e-parallel");
    const std::string cfg = dir + "/demo.cfg";
    std::vector<std::future<ProgramResult>> runs;
    for (int i = 0; i < 4; ++i) {
        runs.push_back(std::async(std::launch::async, [&cfg] {
            return RunProgram({KibBinary(), "--quiet", "maps", cfg});
        }));
    }
    for (auto& run : runs) {
        const ProgramResult r = run.get();
        EXPECT_EQ(r.status, 0) << r.out << r.err;
    }
    int sheets = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(name.find("-tmp"), std::string::npos) << name;
        EXPECT_EQ(name.find(".lock.kib"), std::string::npos) << name;
        if (entry.path().extension() != ".svg" || name.rfind("Demo.", 0) == 0) {
            continue;
        }
        ++sheets;
        pugi::xml_document xml;
        const pugi::xml_parse_result parsed = xml.load_file(entry.path().c_str());
        EXPECT_TRUE(parsed) << name << ": " << parsed.description();
        EXPECT_STREQ(xml.document_element().attribute("id").value(), "mainSheet") << name;
    }
    EXPECT_GT(sheets, 20);
    fs::remove_all(dir);
}

} // namespace
} // namespace kib::test
