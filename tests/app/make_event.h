// The event the Make command tests run on: event.cfg in a new temporary folder
// with two stations of three tasks, their map exports, the courses file and the
// output folder "out"; and what the tests read back from the recording host.
#pragma once

#include "app/make_command.h"
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "sheet/event_fixture.h"
#include "support/recording_host.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kib::test {

class MakeEventTest : public ::testing::Test {
  protected:
    // Writes the event into a new temporary folder named after the tag.
    void MakeEvent(const std::string& tag) {
        host.Install();
        host.title = "Kib - event.cfg";
        dir = MakeTempDir(tag);
        std::filesystem::create_directory(dir + "/out");
        doc.SetPathParts(dir + "/event.cfg");
        cfg = &doc.NewConfig();
        Set(id::Event_NAME, "Demo");
        Set(id::Event_MAXSTAT, "2");
        Set(id::Event_TASKS, "3");
        Set(id::Source_COURSE, "S${STAT}");
        Set(id::Source_CHAIR, "790.1");
        Set(id::Source_FLAG, "790.2 790.3");
        Set(id::Source_ANSWERS, "792.1");
        Set(id::Target_DIR, "out");
        for (int s : {1, 2}) {
            Set(StationMinAngle(s), "10");
            WriteFile(dir + "/Demo.S" + std::to_string(s) + ".svg", FixtureMap(FixtureOptions{}));
        }
        WriteFile(dir + "/Demo.Courses.xml", FixtureCourses({1, 2}, 3));
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        ResetAppState();
    }

    void Set(int itemId, const std::string& value) {
        ASSERT_TRUE(cfg->FindItemById(itemId)->SetText(value)) << value;
    }
    static int StationMinAngle(int s) { return 2100 + 100 * s + 3; }
    std::string LastBoxText() const { return host.boxes.empty() ? "" : host.boxes.back().text; }

    RecordingHost host;
    std::string dir;
    CKibDoc doc;
    CKibCfg* cfg = nullptr;
    std::vector<MakeDialogRequest> requests;
};

} // namespace kib::test
