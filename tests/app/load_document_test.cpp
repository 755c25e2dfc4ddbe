// Opening a configuration file as the programs do: the file is read, and only
// once it is loaded are the courses list and the map zoom read from the exports.
#include "app/documents.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "support/demo_inputs.h"
#include "support/event_builder.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace kib {
namespace {

class LoadDocumentTest : public test::EventTest {
  protected:
    void SetUp() override {
        InstallHost(false);
        dir = test::MakeTempDir("load");
    }
};

TEST_F(LoadDocumentTest, TheExportsAreReadAfterTheLoad) {
    test::WriteFile(dir + "/event.cfg", "# Kib Configuration\r\n[Event]\r\nMAXSTAT=2\r\n");
    ASSERT_TRUE(LoadDocument(doc, dir + "/event.cfg"));
    // No exports beside the file: the courses list and the map zoom warn.
    const auto loaded =
        std::find(host.messages.begin(), host.messages.end(), "Configuration loaded.");
    ASSERT_NE(loaded, host.messages.end());
    ASSERT_NE(loaded + 1, host.messages.end());
    EXPECT_EQ(loaded[1].rfind("[= WARNING =] Cannot open courses file ", 0), 0u) << loaded[1];
    EXPECT_EQ(host.messages.back().rfind("[= WARNING =] Cannot open map file ", 0), 0u)
        << host.messages.back();

    test::CopyDemoInputs(dir);
    CKibDoc demo;
    demo.UseServices(App().CurrentHost(), App().Log());
    ASSERT_TRUE(LoadDocument(demo, dir + "/demo.cfg"));
    EXPECT_EQ(demo.mapScale, 4000);
    EXPECT_FLOAT_EQ(demo.mapZoom, 1.0f);
}

TEST_F(LoadDocumentTest, AFileThatIsNotLoadedReadsNoExports) {
    test::CopyDemoExports(dir);
    test::WriteFile(dir + "/bad.cfg", "\x01 not a configuration\r\n");
    EXPECT_FALSE(LoadDocument(doc, dir + "/missing.cfg"));
    EXPECT_FALSE(LoadDocument(doc, dir + "/bad.cfg"));
    EXPECT_EQ(doc.mapScale, 0);
    EXPECT_FLOAT_EQ(doc.mapZoom, 0.0f);
    for (const std::string& line : host.debug) {
        EXPECT_EQ(line.find("Reading Courses"), std::string::npos) << line;
    }
}

} // namespace
} // namespace kib
