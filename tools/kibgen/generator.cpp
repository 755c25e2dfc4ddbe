#include "generator.h"

#include "cfg_out.h"
#include "course_layer.h"
#include "courses_xml.h"
#include "svg_out.h"
#include "terrain.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace kib::gen {

namespace {

bool WriteFile(const std::filesystem::path& path, const std::string& text, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

} // namespace

std::string MapFileName(const Event& event, const Station& station) {
    const std::string& name = event.options.eventName;
    return (name.empty() ? "" : name + ".") + station.course + ".svg";
}

std::string CoursesFileName(const Event& event) {
    return event.options.eventName + ".Courses.xml";
}

std::string RenderStationMap(const Event& event, const Station& station,
                             const std::string& terrain) {
    const Options& o = event.options;
    std::string text;
    text.reserve(terrain.size() + 65536);
    SvgOut out(text);
    out.BeginDocument(o.width, o.height, o.zoom, o.eventName + " " + station.course);
    text += terrain;
    WriteCourseLayer(out, event, station);
    out.EndDocument();
    return text;
}

bool GenerateEvent(const Options& options, std::string& summary, std::string& error) {
    namespace fs = std::filesystem;
    const fs::path dir(options.outDir);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        error = "cannot create " + dir.string() + ": " + ec.message();
        return false;
    }
    const Event event = BuildEvent(options);
    const std::string terrain = RenderTerrain(options);
    for (const Station& st : event.stations) {
        if (!WriteFile(dir / MapFileName(event, st), RenderStationMap(event, st, terrain), error)) {
            return false;
        }
    }
    if (!WriteFile(dir / CoursesFileName(event), RenderCoursesXml(event), error)) {
        return false;
    }
    if (!options.cfgName.empty() && !WriteFile(dir / options.cfgName, RenderConfig(event), error)) {
        return false;
    }
    summary = RenderSummary(event);
    return true;
}

} // namespace kib::gen
