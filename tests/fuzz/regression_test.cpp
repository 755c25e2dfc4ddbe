// The kept fuzz inputs (regressions of faults found and the seed corpora) run
// through the fuzz targets in every build: each must pass without a crash, a
// sanitizer report or a failed property.
#include "fuzz_targets.h"

#include "foundation/app_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kib::fuzz {
namespace {

namespace fs = std::filesystem;

using Target = int (*)(const std::uint8_t*, std::size_t);

// The files of the kept corpora of one target, and the example files it reads.
std::vector<fs::path> Inputs(const std::string& target, const std::vector<std::string>& examples) {
    std::vector<fs::path> files;
    const fs::path here = fs::path(KIB_SOURCE_DIR) / "tests" / "fuzz";
    for (const char* kind : {"regressions", "seeds"}) {
        const fs::path dir = here / kind / target;
        if (fs::is_directory(dir)) {
            for (const auto& entry : fs::directory_iterator(dir)) {
                files.push_back(entry.path());
            }
        }
    }
    for (const std::string& example : examples) {
        files.push_back(fs::path(KIB_SOURCE_DIR) / example);
    }
    return files;
}

void RunAll(Target target, const std::vector<fs::path>& files) {
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        std::ifstream in(file, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(target(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
    }
    ResetAppState();
}

TEST(FuzzRegressionTest, Configurations) {
    RunAll(FuzzConfig, Inputs("config", {"examples/demo/demo.cfg", "tests/data/e2e/old-keys.cfg"}));
}

TEST(FuzzRegressionTest, Maps) {
    RunAll(FuzzMap,
           Inputs("map", {"examples/demo/Demo.S1.svg", "tests/data/map_input/Sprint.S1.svg"}));
}

TEST(FuzzRegressionTest, CoursesFiles) {
    RunAll(FuzzCourses, Inputs("courses", {"examples/demo/Demo.Courses.xml",
                                           "tests/data/map_input/courses-iof2.xml",
                                           "tests/data/map_input/courses-iof3.xml"}));
}

TEST(FuzzRegressionTest, ProofInputs) {
    RunAll(FuzzProof,
           Inputs("proof", {"examples/demo/Demo.S1.svg", "tests/fuzz/seeds/map/hand-made.svg"}));
}

TEST(FuzzRegressionTest, SheetDrawings) {
    RunAll(FuzzDrawing, Inputs("drawing", {}));
}

} // namespace
} // namespace kib::fuzz
