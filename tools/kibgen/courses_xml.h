// The courses file in OCAD's IOF XML layout (3.0 or 2.0.3): one element per line,
// two blanks of indentation per level, map positions with y pointing up.
#pragma once

#include "event.h"

#include <string>

namespace kib::gen {

std::string RenderCoursesXml(const Event& event);

// A map position as the courses file writes it, relative to the event's origin.
Pt CoursePosition(const Event& event, Pt mapPoint);

} // namespace kib::gen
