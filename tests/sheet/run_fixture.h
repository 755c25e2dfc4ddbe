// The event the generation run tests write to disk: event.cfg of "Demo" in a new
// temporary folder with the output folder "out", the fixture's chair and flags,
// map scale 1:4000, and a run already started as by a Make command. The tests
// add the maps, the courses file and their own settings.
#pragma once

#include "foundation/run_control.h"
#include "sheet/sheet_record.h"
#include "support/event_builder.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace kib::test {

class RunEventTest : public EventTest {
  protected:
    // The event with stations 1 .. maxStation, in a folder named after the tag.
    void MakeRunEvent(const std::string& tag, int maxStation) {
        InstallHost(true);
        MakeEventFolder(tag, maxStation);
        doc.mapScale = 4000;
        SetRunning(true); // as the Make command does before the run
    }

    // The names in the output folder, sorted, but the runs' records.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir + "/out")) {
            const std::string name = entry.path().filename().string();
            if (name != kMapsRecordName && name != kSolutionsRecordName) {
                names.push_back(name);
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace kib::test
