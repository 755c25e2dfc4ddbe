// The course-setting layer of one station's map: start, control circles, control
// numbers, chair, flags, zero markers, flag tags and the control description table.
#pragma once

#include "event.h"
#include "svg_out.h"

#include <string>

namespace kib::gen {

inline constexpr const char* kPurple = "rgb(166,38,255)";

// The attributes of a style group and of the objects in it.
struct Look {
    std::string group;
    std::string object;
};
Look StrokeLook(const char* width);
Look FillLook(const char* colour = kPurple);
Look FillAndStrokeLook(const char* width);

void WriteCourseLayer(SvgOut& out, const Event& event, const Station& station);
void WriteDescriptionTable(SvgOut& out, const Event& event, const Station& station);

} // namespace kib::gen
