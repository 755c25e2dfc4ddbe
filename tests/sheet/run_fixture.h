// The event the generation run tests write to disk: event.cfg of "Demo" in a new
// temporary folder with the output folder "out", the fixture's chair and flags,
// map scale 1:4000, and a run already started as by a Make command. The tests
// add the maps, the courses file and their own settings.
#pragma once

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/run_control.h"
#include "support/recording_host.h"
#include "support/run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace kib::test {

class RunEventTest : public ::testing::Test {
  protected:
    // The event with stations 1 .. maxStation, in a folder named after the tag.
    void MakeRunEvent(const std::string& tag, int maxStation) {
        host.Install();
        App().debugSwitch = true;
        dir = MakeTempDir(tag);
        std::filesystem::create_directory(dir + "/out");
        doc.SetPathParts(dir + "/event.cfg");
        cfg = &doc.NewConfig();
        Set(id::Event_NAME, "Demo");
        Set(id::Event_MAXSTAT, std::to_string(maxStation));
        Set(id::Source_COURSE, "S${STAT}");
        Set(id::Source_CHAIR, "790.1");
        Set(id::Source_FLAG, "790.2 790.3");
        Set(id::Target_DIR, "out");
        doc.mapScale = 4000;
        SetRunning(true); // as the Make command does before the run
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        ResetAppState();
    }

    void Set(int itemId, const std::string& value) {
        ASSERT_TRUE(cfg->Item(itemId).SetText(value)) << value;
    }
    // The names in the output folder, sorted.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir + "/out")) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    RecordingHost host;
    std::string dir;
    CKibDoc doc;
    CKibCfg* cfg = nullptr;
};

} // namespace kib::test
