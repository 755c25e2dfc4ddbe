// Kib's temporary file names: unique per process, recognised when left behind.
#include "foundation/temp_files.h"

#include "platform/process.h"

#include <gtest/gtest.h>

namespace kib {
namespace {

TEST(TempFilesTest, NamesCarryTheProcessAndAreRecognised) {
    const std::string pid = std::to_string(platform::ProcessId());
    EXPECT_EQ(SheetTemporaryPath("/o/map-1.2", "svg"), "/o/map-1.2-tmp-" + pid + ".svg");
    EXPECT_EQ(SheetTemporaryPath("/o/logo", ""), "/o/logo-tmp-" + pid);
    EXPECT_EQ(ReplacementTemporaryPath("/e/event.cfg", 3), "/e/event.cfg.~kib" + pid + "-3");

    struct Case {
        const char* name;
        int owner;
    };
    const Case cases[] = {
        {"map-1.2-tmp-4711.svg", 4711},
        {"prn-3.0-3.1-tmp-4711.pdf", 4711},
        {"sol-1-8-tmp-12.png", 12},
        {"map-1.1-tmp.svg", 0}, // earlier versions
        {"prn-3.0-3.1-tmp.eps", 0},
        {"event.cfg.~kib4711-0", 4711},
        {"event.cfg.lc.kib.~kib99-12", 99},
        {"map-1.2.svg", -1},
        {"map-1.2-tmp-47a.svg", -1},
        {"map-1.2-tmp-.svg", -1},
        {"map-1.2-tmp-4711.svg.bak", -1},
        {"mapx-1.2-tmp-4711.svg", -1},
        {"map-x-tmp-4711.svg", -1},
        {"notes-tmp-4711.txt", -1},
        {"event.cfg.~kib4711", -1},
        {"event.cfg.~kib-0", -1},
        {".~kib4711-0", -1},
        {"map-1.2-tmp-0.svg", -1},
        {"map-1.2-tmp-99999999999.svg", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TemporaryOwner(c.name), c.owner) << c.name;
    }
    EXPECT_TRUE(ProcessRuns(platform::ProcessId()));
    EXPECT_FALSE(ProcessRuns(0));
}

} // namespace
} // namespace kib
