// Writing a sheet through the write-if-changed step.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/temp_files.h"
#include "sheet/sheet_output.h"
#include "support/file_size_limit.h"
#include "support/recording_host.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace kib {
namespace {

namespace fs = std::filesystem;

class SheetOutputTest : public ::testing::Test {
  protected:
    SheetOutputTest() { doc.UseServices(App().CurrentHost(), App().Log()); }
    void SetUp() override {
        host.Install();
        App().debugSwitch = true;
        dir = test::MakeTempDir("sheet-output");
        doc.SetPathParts(dir + "/event.cfg");
        cfg = &doc.NewConfig();
        ASSERT_TRUE(cfg->Item(id::Target_DIR).SetText("out"));
        fs::create_directory(dir + "/out");
    }
    void TearDown() override {
        fs::remove_all(dir);
        ResetAppState();
    }

    // Writes one sheet with the given content; the result of the finish.
    bool Write(const std::string& content, bool composed = true) {
        if (!output.OpenSheetOutput("map", 1, 2, -1)) {
            return false;
        }
        output.Stream() << content;
        return output.FinishSheetOutput(composed);
    }
    bool HasDebug(const std::string& line) const {
        return std::find(host.debug.begin(), host.debug.end(), line) != host.debug.end();
    }
    bool HasDebugStartingWith(const std::string& prefix) const {
        return std::any_of(host.debug.begin(), host.debug.end(),
                           [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }
    std::vector<std::string> OutputFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir + "/out")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static void MakeOld(const std::string& path) {
        struct utimbuf times {
            1000000000, 1000000000
        };
        ASSERT_EQ(::utime(path.c_str(), &times), 0);
    }
    static long long ModificationTime(const std::string& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return static_cast<long long>(info.st_mtime);
    }

    test::RecordingHost host;
    std::string dir;
    CKibDoc doc;
    CKibCfg* cfg = nullptr;
    SheetOutput output{doc, nullptr, App().Log()};
};

TEST_F(SheetOutputTest, SheetIsWrittenOnceAndLeftAloneWhileUnchanged) {
    ASSERT_TRUE(Write("<svg><g>one</g>"));
    const std::string final = dir + "/out/map-1.2.svg";
    EXPECT_EQ(output.FinalPath(), final);
    EXPECT_EQ(test::ReadFile(final), "<svg><g>one</g></g></svg>\r\n");
    EXPECT_TRUE(HasDebugStartingWith("File " + output.TemporaryPath() + " written in "));
    EXPECT_EQ(output.TemporaryPath(), SheetTemporaryPath(dir + "/out/map-1.2", "svg"));
    MakeOld(final);

    host.Clear();
    ASSERT_TRUE(Write("<svg><g>one</g>"));
    EXPECT_TRUE(HasDebug("File " + final + " not changed."));
    EXPECT_EQ(ModificationTime(final), 1000000000) << "an unchanged sheet keeps its time";
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"map-1.2.svg"});

    // The same size with one byte changed is written again.
    host.Clear();
    ASSERT_TRUE(Write("<svg><g>two</g>"));
    EXPECT_FALSE(HasDebug("File " + final + " not changed."));
    EXPECT_EQ(test::ReadFile(final), "<svg><g>two</g></g></svg>\r\n");
    EXPECT_NE(ModificationTime(final), 1000000000);
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"map-1.2.svg"});
}

TEST_F(SheetOutputTest, LargeSheetsAreComparedToTheirLastByte) {
    // Larger than one chunk of the comparison: a difference in a later chunk counts.
    std::string content(2500000, 'x');
    const std::string final = dir + "/out/map-1.2.svg";
    for (std::size_t at : {std::size_t{10}, std::size_t{1048576}, content.size() - 1}) {
        content[at] = 'a';
        ASSERT_TRUE(Write(content));
        MakeOld(final);
        host.Clear();
        ASSERT_TRUE(Write(content));
        EXPECT_TRUE(HasDebug("File " + final + " not changed.")) << at;
        EXPECT_EQ(ModificationTime(final), 1000000000) << at;
        content[at] = 'b';
        host.Clear();
        ASSERT_TRUE(Write(content));
        EXPECT_FALSE(HasDebug("File " + final + " not changed.")) << at;
        EXPECT_EQ(test::ReadFile(final), content + "</g></svg>\r\n") << at;
    }
}

TEST_F(SheetOutputTest, FailedCompositionLeavesTheOldSheet) {
    ASSERT_TRUE(Write("<svg>old"));
    EXPECT_FALSE(Write("<svg>half", false));
    EXPECT_EQ(test::ReadFile(dir + "/out/map-1.2.svg"), "<svg>old</g></svg>\r\n");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"map-1.2.svg"});
}

TEST_F(SheetOutputTest, AShortWriteNamesItsReasonAndKeepsTheOldSheet) {
    ASSERT_TRUE(Write("<svg>old"));
    // The file system takes no more than 64 bytes, as a full disk would.
    test::FileSizeLimit limit(64);
    ASSERT_TRUE(limit.Active());
    host.Clear();
    const bool written = Write("<svg>" + std::string(200, 'x'));
    limit.Lift();

    EXPECT_FALSE(written);
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Cannot write file " + output.TemporaryPath() +
                                ": File too large"));
    EXPECT_EQ(test::ReadFile(dir + "/out/map-1.2.svg"), "<svg>old</g></svg>\r\n");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"map-1.2.svg"});
}

TEST_F(SheetOutputTest, MissingOutputDirectoryIsAnError) {
    ASSERT_TRUE(cfg->Item(id::Target_DIR).SetText("nowhere"));
    EXPECT_FALSE(output.OpenSheetOutput("prn", 3, 0, 1));
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Cannot write file " +
                                SheetTemporaryPath(dir + "/nowhere/prn-3.0-3.1", "svg") +
                                ": the folder does not exist"));
    EXPECT_FALSE(output.FinishSheetOutput(true));
    EXPECT_FALSE(fs::exists(dir + "/nowhere"));
}

TEST_F(SheetOutputTest, OnlyAFileAtTheSheetsNameIsReplaced) {
    // A FIFO at the name once made every run hang while it compared the old sheet.
    const std::string final = dir + "/out/map-1.2.svg";
    ASSERT_EQ(::mkfifo(final.c_str(), 0666), 0);
    EXPECT_FALSE(Write("<svg>"));
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Cannot replace " + final +
                                ": it is a FIFO (named pipe), not a regular file"));
    fs::remove(final);
    fs::create_directory(final);
    EXPECT_FALSE(Write("<svg>"));
    EXPECT_TRUE(host.HasMessage("[** ERROR **] Cannot replace " + final +
                                ": it is a folder, not a regular file"));
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"map-1.2.svg"}) << "no temporary file left";
    EXPECT_TRUE(fs::is_directory(final));

    // A link at the name is replaced by the sheet; its target stays as it was.
    fs::remove(final);
    test::WriteFile(dir + "/elsewhere.svg", "kept");
    fs::create_symlink(dir + "/elsewhere.svg", final);
    EXPECT_TRUE(Write("<svg>"));
    EXPECT_FALSE(fs::is_symlink(final));
    EXPECT_EQ(test::ReadFile(dir + "/elsewhere.svg"), "kept");
}

TEST_F(SheetOutputTest, TemporaryFileIsNeverWrittenThroughALink) {
    // A link planted at the temporary name once had the sheet written into its target.
    test::WriteFile(dir + "/victim.txt", "precious");
    fs::create_symlink(dir + "/victim.txt", SheetTemporaryPath(dir + "/out/map-1.2", "svg"));
    EXPECT_TRUE(Write("<svg>sheet"));
    EXPECT_EQ(test::ReadFile(dir + "/victim.txt"), "precious");
    EXPECT_EQ(test::ReadFile(dir + "/out/map-1.2.svg"), "<svg>sheet</g></svg>\r\n");
    EXPECT_EQ(OutputFiles(), std::vector<std::string>{"map-1.2.svg"});
}

TEST_F(SheetOutputTest, ConfigurationWithoutDirectoryWritesBesideItself) {
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    CKibDoc here;
    here.UseServices(App().CurrentHost(), App().Log());
    here.SetPathParts("event.cfg");
    here.NewConfig();
    SheetOutput local(here, nullptr, App().Log());
    ASSERT_TRUE(local.OpenSheetOutput("map", 1, 1, -1));
    EXPECT_EQ(local.FinalPath(), "map-1.1.svg");
    local.Stream() << "<svg>";
    EXPECT_TRUE(local.FinishSheetOutput(true));
    fs::current_path(before);
    EXPECT_TRUE(fs::exists(dir + "/map-1.1.svg"));
}

TEST_F(SheetOutputTest, SheetNames) {
    struct Case {
        const char* kind;
        int s, a, b;
        const char* base;
    };
    const Case cases[] = {{"map", 3, 2, -1, "map-3.2"},
                          {"prn", 3, 5, -1, "prn-3.5"},
                          {"prn", 3, 0, 1, "prn-3.0-3.1"},
                          {"sol", -1, 4, -1, "sol-4"},
                          {"sol", -1, 1, 8, "sol-1-8"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(output.OpenSheetOutput(c.kind, c.s, c.a, c.b));
        EXPECT_EQ(output.BaseName(), c.base);
        EXPECT_EQ(output.TemporaryPath(),
                  dir + "/out/" + c.base + "-tmp-" + std::to_string(::getpid()) + ".svg");
        EXPECT_FALSE(output.FinishSheetOutput(false));
    }
    EXPECT_TRUE(OutputFiles().empty());
}

} // namespace
} // namespace kib
