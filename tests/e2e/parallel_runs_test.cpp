// Runs of kib on one event at the same time take turns and every sheet comes
// out whole; a killed run leaves no converter running.
#include "support/demo_inputs.h"
#include "support/run_program.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kib::test {
namespace {

namespace fs = std::filesystem;

TEST(ParallelRunsTest, FourMapsRunsAtOnceAllSucceedWithWholeSheets) {
    const std::string dir = CopyDemoToTempDir("e2e-parallel");
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

// Whether a process has ended (gone, or a zombie nobody has reaped yet).
bool Ended(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return true;
    }
    const std::size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

TEST(ParallelRunsTest, AKilledRunLeavesNoConverterRunning) {
    const std::string dir = CopyDemoToTempDir("e2e-killed");
    // A stand-in Inkscape that notes its process id and works for half a minute.
    const std::string fake = dir + "/ink/bin/inkscape";
    fs::create_directories(dir + "/ink/bin");
    WriteFile(fake,
              "#!/bin/sh\n"
              "if [ \"$1\" = --version ]; then echo 'Inkscape 1.2.2 (x, 2022-12-01)'; exit 0; "
              "fi\n"
              "echo $$ > \"" +
                  dir + "/converter.pid\"\nexec sleep 30\n");
    fs::permissions(fake, fs::perms::owner_all);
    const std::string cfg = dir + "/demo.cfg";
    WriteFile(cfg, ReadFile(cfg) + "\r\n[System]\r\nINKSCAPEPATH=" + dir + "/ink/\r\n");

    const pid_t kib = ::fork();
    if (kib == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        const std::string binary = KibBinary();
        ::execl(binary.c_str(), binary.c_str(), "images", cfg.c_str(), "--format", "pdf",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_GT(kib, 0);
    const std::string pidFile = dir + "/converter.pid";
    for (int i = 0; i < 600 && ReadFile(pidFile).empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const pid_t converter = static_cast<pid_t>(std::atoi(ReadFile(pidFile).c_str()));
    ::kill(kib, SIGKILL);
    ::waitpid(kib, nullptr, 0);
    ASSERT_GT(converter, 0) << "the converter never started";

    bool ended = false;
    for (int i = 0; i < 100 && !ended; ++i) {
        ended = Ended(converter);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(ended) << "the converter outlived Kib";
    if (!ended) {
        ::kill(converter, SIGKILL);
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace kib::test
