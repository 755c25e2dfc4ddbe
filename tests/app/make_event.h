// The event the Make command tests run on: event.cfg in a new temporary folder
// with two stations of three tasks, their map exports, the courses file and the
// output folder "out"; and what the tests read back from the recording host.
#pragma once

#include "app/make_command.h"
#include "sheet/event_fixture.h"
#include "support/event_builder.h"
#include "support/run_program.h"

#include <string>
#include <vector>

namespace kib::test {

class MakeEventTest : public EventTest {
  protected:
    // Writes the event into a new temporary folder named after the tag.
    void MakeEvent(const std::string& tag) {
        InstallHost(false);
        host.title = "Kib - event.cfg";
        MakeEventFolder(tag, 2);
        Set(id::Event_TASKS, "3");
        Set(id::Event_FLAGS, "2"); // as the fixture's maps hold
        Set(id::Source_ANSWERS, "792.1");
        for (int s : {1, 2}) {
            SetStation(s, id::Station_MINANGLE, "10");
            WriteFile(dir + "/Demo.S" + std::to_string(s) + ".svg", FixtureMap(FixtureOptions{}));
        }
        WriteFile(dir + "/Demo.Courses.xml", FixtureCourses({1, 2}, 3));
    }

    std::string LastBoxText() const { return host.boxes.empty() ? "" : host.boxes.back().text; }

    std::vector<MakeDialogRequest> requests;
};

} // namespace kib::test
