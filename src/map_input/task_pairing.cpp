// The tasks of a station against its course, its circles and its descriptions.
#include "map_input/task_pairing.h"

#include "foundation/diagnostics.h"
#include "foundation/format.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "map_input/path_geometry.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kib {

namespace {

std::string Counted(int n, const char* one, const char* many) {
    return Format("%d %s", n, n == 1 ? one : many);
}

// "a", "a and b", "a, b and c"; beyond five names "a, b, c, d, e and 3 more",
// so that a map of a hundred stray circles still gives a line one can read.
std::string Listed(const std::vector<std::string>& names) {
    constexpr std::size_t kNamed = 5;
    const std::size_t shown = names.size() > kNamed ? kNamed : names.size();
    std::string text;
    for (std::size_t k = 0; k < shown; ++k) {
        text += (k == 0 ? "" : k + 1 == names.size() ? " and " : ", ") + names[k];
    }
    if (names.size() > shown) {
        text += Format(" and %d more", static_cast<int>(names.size() - shown));
    }
    return text;
}

// The controls of the course that a task can be: every one but a finish.
int TaskControls(const CKibSvg& svg) {
    int count = 0;
    for (int i = 1; i <= std::min(svg.controlCount, CKibSvg::kMaxCourseControls); ++i) {
        count += svg.finish[static_cast<std::size_t>(i)] ? 0 : 1;
    }
    return count;
}

std::string Code(const CKibSvg& svg, int i) {
    return svg.codes[static_cast<std::size_t>(i)];
}

// A circle part by where it lies, in the map positions of the courses file
// (which the course-setting program shows), with the control the file defines
// there: "the circle at 88.5, 43.5 (control 302 in the courses file)". Without a
// start in the map the part has no such position: "circle part #2".
std::string CircleName(const CKibSvg& svg, const CKibMap& map, int p) {
    const SymbolInstance* part = map.Part(p);
    if (!part || !map.circleBaseIsStart) {
        return Format("circle part #%d", p + 1);
    }
    const MapPoint at{svg.startPosition.x + (part->centre.x - map.circleBase.x),
                      svg.startPosition.y - (part->centre.y - map.circleBase.y)};
    std::string name =
        Format("the circle at %.1f, %.1f", static_cast<double>(at.x), static_cast<double>(at.y));
    for (const CKibSvg::DefinedControl& defined : svg.definedControls) {
        if (Distance(defined.position, at) < map.circleDelta) {
            return name + " (control " + defined.code + " in the courses file)";
        }
    }
    return name;
}

// "; the circle at 88.5, 43.5 has no control in the course" for the parts
// near no control of the course.
std::string StrayCircles(const CKibSvg& svg, const CKibMap& map) {
    if (map.strayParts.empty()) {
        return std::string();
    }
    std::vector<std::string> names;
    for (int p : map.strayParts) {
        names.push_back(CircleName(svg, map, p));
    }
    return "; " + Listed(names) + (names.size() == 1 ? " has" : " have") +
           " no control in the course";
}

// "; control 305 has no circle in the map" for the controls of the course
// near no circle.
std::string ControlsWithoutCircle(const CKibSvg& svg, const CKibMap& map) {
    std::vector<std::string> codes;
    for (int i : map.controlsWithoutCircle) {
        codes.push_back(Code(svg, i));
    }
    if (codes.empty()) {
        return std::string();
    }
    return codes.size() == 1 ? "; control " + codes.front() + " has no circle in the map"
                             : "; controls " + Listed(codes) + " have no circle in the map";
}

// Whether a circle part is drawn for the task.
bool HasCircle(const CKibMap& map, int task) {
    for (int p = 0; p < map.partCount; ++p) {
        if (map.PartHasTask(p, task)) {
            return true;
        }
    }
    return false;
}

// "control 302 of task 3.2" for each task without a circle.
std::vector<std::string> TasksWithoutCircle(const CKibSvg& svg, const CKibMap& map, int station) {
    std::vector<std::string> tasks;
    for (int t = 1; t <= map.tasks; ++t) {
        if (!HasCircle(map, t)) {
            tasks.push_back(Format("control %s of task %d.%d", Code(svg, t).c_str(), station, t));
        }
    }
    return tasks;
}

} // namespace

bool CheckTaskPairing(const CKibSvg& svg, const CKibMap& map, int station) {
    if (map.tasks <= 0) {
        return true;
    }
    const int controls = TaskControls(svg);
    const int rows = map.taskEstimate; // 0: no description table was found
    const std::string course = "Course " + svg.courseName;
    const std::string partners = StrayCircles(svg, map) + ControlsWithoutCircle(svg, map);
    if (rows > 0 && rows != controls) {
        svg.Diag().Error(
            "%s has %s for %s%s", course.c_str(), Counted(controls, "control", "controls").c_str(),
            Counted(rows, "description row", "description rows").c_str(), partners.c_str());
        return false;
    }
    if (map.tasks > controls) {
        svg.Diag().Error("%s has %s for %s%s", course.c_str(),
                         Counted(controls, "control", "controls").c_str(),
                         Counted(map.tasks, "task", "tasks").c_str(), partners.c_str());
        return false;
    }
    const std::vector<std::string> without = TasksWithoutCircle(svg, map, station);
    if (!without.empty()) {
        svg.Diag().Error("%s: %s %s no circle in the map%s", course.c_str(),
                         Listed(without).c_str(), without.size() == 1 ? "has" : "have",
                         StrayCircles(svg, map).c_str());
        return false;
    }
    return true;
}

} // namespace kib
