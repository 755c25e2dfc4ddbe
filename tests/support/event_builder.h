// How the tests of the configuration and the layers above it build their events:
// a recording host, a document with a fresh configuration whose items the test
// sets from their texts (the test fails when an item refuses its text), and the
// event folder of the generation runs and the Make commands.
#pragma once

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/run_control.h"
#include "support/recording_host.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kib::test {

// The program's stop request (the Stop command through CheckBreak), for the
// runs of the tests.
inline StopRequest& TheStopCommand() {
    static StopCommand stop;
    return stop;
}

class EventTest : public ::testing::Test {
  protected:
    // The document reports into the application log, whose host the test installs.
    EventTest() {
        host.Attach(doc);
        cfg = &doc.NewConfig();
    }
    void TearDown() override {
        if (!dir.empty()) {
            std::filesystem::remove_all(dir);
        }
        ResetAppState();
    }

    // Installs the recording host; with debugLines the debug-only lines are recorded too.
    void InstallHost(bool debugLines) {
        host.Install();
        App().debugSwitch = debugLines;
    }

    void Set(int itemId, const std::string& value) {
        ASSERT_TRUE(cfg->Item(itemId).SetText(value)) << itemId << "=" << value;
    }
    // Station n's item given the id of station 0.
    void SetStation(int station, int station0Id, const std::string& value) {
        ASSERT_TRUE(cfg->StationItem(station, station0Id).SetText(value))
            << station << ":" << station0Id << "=" << value;
    }

    // The event of the generation runs and the Make commands: event.cfg (not saved)
    // of "Demo" with the stations 1 .. maxStation in a new temporary folder named
    // after the tag (removed after the test), its output folder "out", the courses
    // S1, S2, ... and the chair and flags of tests/sheet/event_fixture.h. The test
    // adds the exports and its own settings.
    void MakeEventFolder(const std::string& tag, int maxStation) {
        dir = MakeTempDir(tag);
        std::filesystem::create_directory(dir + "/out");
        doc.SetPathParts(dir + "/event.cfg");
        Set(id::Event_NAME, "Demo");
        Set(id::Event_MAXSTAT, std::to_string(maxStation));
        Set(id::Source_COURSE, "S${STAT}");
        Set(id::Source_CHAIR, "790.1");
        Set(id::Source_FLAG, "790.2 790.3");
        Set(id::Target_DIR, "out");
    }

    RecordingHost host;
    CKibDoc doc;
    CKibCfg* cfg = nullptr; // the document's configuration
    std::string dir;        // the event folder, once made
};

} // namespace kib::test
