// The courses file (OCAD's IOF XML export, layouts 3.0 and 2.0.3): the course of one
// station with its start and course controls, the map scale of the event, and the
// zoom factor of the map exports.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/checked_number.h"
#include "foundation/first_letter.h"
#include "foundation/format.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "map_input/document_exports.h"
#include "map_input/kib_svg.h"
#include "map_input/text_scan.h"
#include "map_input/xml_line.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace kib {

namespace {

// Control and start point definitions kept from one courses file.
constexpr int kMaxDefinitions = 1000;

struct Definition {
    std::string code;
    MapPoint position;
};

// "Cannot open courses file %s" and the like, with the reason when something
// else than a regular file is at the name.
std::string CannotOpen(const char* what, const std::string& path, const InputFile& file) {
    std::string text = std::string("Cannot open ") + what + " " + path;
    return file.NotRegular() ? text + ": " + file.Reason() : text;
}

// A line without its line end; a carriage return before the line feed is dropped.
// False at the end of the file, and after an error line at a line too long for
// the file (what) to be an export.
bool ReadLine(std::istream& in, std::string& line, const char* what, const std::string& path) {
    switch (ReadBoundedLine(in, line)) {
    case LineRead::End:
        return false;
    case LineRead::TooLong:
        LogError("[** ERROR **] The %s %s has a line longer than %d MiB!", what, path.c_str(),
                 static_cast<int>(kMaxLineBytes >> 20));
        return false;
    case LineRead::Line:
        break;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Whether the effective Source.MODE lets the courses file be read ("STAT").
bool StationMode(const CKibCfg& cfg) {
    const std::string& mode = cfg.Item(id::Source_MODE).GetValue();
    return FirstLetter(mode, LetterCase::Exact) == 'S';
}

// One pass over the courses file for one course name.
class CourseScan {
  public:
    CourseScan(CKibSvg& svg, const std::string& courseName) : svg_(svg), name_(courseName) {}

    void Run(std::istream& in, const std::string& path) {
        std::string line;
        while (ReadLine(in, line, "courses file", path)) {
            if (!Line(line)) {
                break;
            }
        }
    }

    bool found() const { return found_; }
    int start() const { return start_; }
    int overflow() const { return overflow_; }
    const Definition& definition(int k) const { return definitions_[static_cast<std::size_t>(k)]; }

  private:
    // False when the course has ended.
    bool Line(const std::string& text) {
        const XmlLine x = ScanXmlLine(text);
        if (!x.hasTag) {
            return true;
        }
        if (x.setsContainer) {
            container_ = x.tag;
        }
        if ((container_ == "Control" && (x.tag == "ControlCode" || x.tag == "Id")) ||
            (x.level == 2 && container_ == "StartPoint" && x.tag == "StartPointCode")) {
            Define(XmlElementText(text));
            return true;
        }
        if (cur_ >= 0 && (container_ == "Control" || container_ == "StartPoint") &&
            x.tag == "MapPosition") {
            ReadPosition(text.c_str() + x.tagEnd);
        }
        if (x.closing) {
            cur_ = -1;
        }
        if (found_ && x.closing && x.tag == "Course") {
            return false;
        }
        if (container_ == "Course" && (x.tag == "CourseName" || x.tag == "Name")) {
            found_ = XmlElementText(text) == name_;
            if (found_) {
                LogDebug("Course found at line %d", lineIndex_);
            }
            return true;
        }
        if (found_ && CourseLine(x, text)) {
            return true;
        }
        ++lineIndex_;
        return true;
    }

    // True when the line was the course's and the remaining rules are skipped.
    bool CourseLine(const XmlLine& x, const std::string& text) {
        if (x.tag == "CourseControl") {
            typeLetter_ = text.size() > 27 ? text[27] : 'C';
            return true;
        }
        const bool startTag = x.tag == "StartPointCode";
        if (!startTag &&
            !(container_ == "CourseControl" && (x.tag == "ControlCode" || x.tag == "Control"))) {
            return false;
        }
        const int k = Find(XmlElementText(text));
        if (k < 0) {
            return true;
        }
        if (startTag || typeLetter_ == 'S') {
            start_ = k;
            return true;
        }
        ++svg_.controlCount;
        if (svg_.controlCount <= CKibSvg::kMaxCourseControls) {
            const auto i = static_cast<std::size_t>(svg_.controlCount);
            const Definition& d = definition(k);
            svg_.codes[i] = d.code;
            svg_.positions[i] = d.position;
            LogDebug("Course control point #%d (%s) position: %.3f, %.3f", svg_.controlCount,
                     d.code.c_str(), d.position.x, d.position.y);
        }
        return true;
    }

    void Define(std::string code) {
        if (static_cast<int>(definitions_.size()) >= kMaxDefinitions) {
            ++overflow_;
            cur_ = -1;
            return;
        }
        definitions_.push_back({std::move(code), MapPoint{}});
        cur_ = static_cast<int>(definitions_.size()) - 1;
    }

    void ReadPosition(const char* rest) {
        float x = 0.0f;
        float y = 0.0f;
        if (std::sscanf(rest, " x=\"%f\" y=\"%f\"/>", &x, &y) == 2) {
            definitions_[static_cast<std::size_t>(cur_)].position = MapPoint{x, y};
        }
    }

    int Find(const std::string& code) const {
        for (std::size_t k = 0; k < definitions_.size(); ++k) {
            if (definitions_[k].code == code) {
                return static_cast<int>(k);
            }
        }
        return -1;
    }

    CKibSvg& svg_;
    const std::string& name_;
    std::vector<Definition> definitions_;
    std::string container_;
    int cur_ = -1;
    int start_ = -1;
    bool found_ = false;
    char typeLetter_ = '\0';
    int lineIndex_ = 0;
    int overflow_ = 0;
};

void ClearCourseData(CKibSvg& svg) {
    svg.controlCount = 0;
    svg.codes.fill(std::string());
    svg.positions.fill(MapPoint{});
    svg.startPosition = MapPoint{};
    svg.offsets.fill(MapPoint{});
}

} // namespace

bool CKibSvg::ReadCourses(int station) {
    ClearCourseData(*this);
    const CKibCfg& cfg = GetConfig();
    const std::string path = doc_.MakePath(EvalTemplate(cfg, id::Source_COURSES, station, 0));
    SetStatusText(Format("Reading XML %s...", path.c_str()));
    LogDebug("==== Reading Courses for station %d...", station);
    // The file is read once for all stations of a run: a run holds one CKibSvg.
    if (path != coursesPath_) {
        InputFile file;
        if (!file.Open(path)) {
            LogError("[** ERROR **] %s", CannotOpen("courses file", path, file).c_str());
            return false;
        }
        coursesText_.assign(std::istreambuf_iterator<char>(file.Stream()), {});
        coursesPath_ = path;
    }
    const std::string course = EvalTemplate(cfg, id::Source_COURSE, station, 0);
    if (course.empty()) {
        return false;
    }
    std::istringstream text(coursesText_);
    CourseScan scan(*this, course);
    scan.Run(text, path);
    if (scan.overflow() > 0) {
        LogWarning("[= WARNING =] Exceeded limit for control definitions (%d > %d), the first %d "
                   "are used",
                   kMaxDefinitions + scan.overflow(), kMaxDefinitions, kMaxDefinitions);
    }
    if (controlCount > kMaxCourseControls) {
        LogError("[** ERROR **] Exceeded limit for control points (%d > %d)", controlCount,
                 kMaxCourseControls);
        controlCount = kMaxCourseControls;
    }
    if (!scan.found()) {
        LogError("[** ERROR **] Cannot find course '%s' in the Courses.xml", course.c_str());
        return false;
    }
    if (scan.start() < 0) {
        LogError("[** ERROR **] Cannot find start symbol for station %d in the Courses.xml",
                 station);
        return false;
    }
    const Definition& start = scan.definition(scan.start());
    codes[0] = start.code;
    startPosition = start.position;
    offsets[0] = MapPoint{};
    LogDebug("Start symbol (%s) position: %.3f, %.3f", start.code.c_str(), startPosition.x,
             startPosition.y);
    for (int i = 1; i <= controlCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        offsets[k] = MapPoint{positions[k].x - startPosition.x, startPosition.y - positions[k].y};
        LogDebug("Course control point #%d (%s) offset: %.3f, %.3f", i, codes[k].c_str(),
                 offsets[k].x, offsets[k].y);
    }
    return true;
}

void CKibSvg::LogCourseControl(int i) const {
    if (i < 0 || i > kMaxCourseControls) {
        return;
    }
    const auto k = static_cast<std::size_t>(i);
    LogDebug("Course control #%d (%s) position: %.3f, %.3f ~ %.3f %.3f", i, codes[k].c_str(),
             positions[k].x, positions[k].y, offsets[k].x, offsets[k].y);
}

void ReadCourseList(CKibDoc& doc) {
    const CKibCfg* cfg = doc.GetConfig();
    if (!cfg || !StationMode(*cfg)) {
        return;
    }
    const std::string path = doc.MakePath(EvalTemplate(*cfg, id::Source_COURSES, 1, 0));
    SetStatusText(Format("Reading XML %s...", path.c_str()));
    LogDebug("==== Reading Courses list...");
    const auto started = std::chrono::steady_clock::now();
    InputFile file;
    if (!file.Open(path)) {
        LogWarning("[= WARNING =] %s", CannotOpen("courses file", path, file).c_str());
        return;
    }
    int lines = 0;
    int courses = 0;
    std::string line;
    while (ReadLine(file.Stream(), line, "courses file", path)) {
        ++lines;
        const std::size_t lt = line.find('<');
        if (lt == std::string::npos) {
            continue;
        }
        const std::string_view after = std::string_view(line).substr(lt + 1);
        if (after.substr(0, 7) == "Course>") {
            ++courses;
        }
        if (after.substr(0, 6) == "Scale>") {
            int scale = 0;
            if (TextScan(after.substr(6)).Int(scale)) {
                doc.mapScale = scale;
                LogDebug("Found map scale 1:%d in courses list.", doc.mapScale);
            } else {
                doc.mapScale = 0;
            }
        }
    }
    LogDebug("Found %d course(s) in courses list.", courses);
    LogDebug("Read %d lines in %.3f sec.", lines, SecondsSince(started));
}

void ReadMapZoom(CKibDoc& doc) {
    const CKibCfg* cfg = doc.GetConfig();
    if (!cfg || !StationMode(*cfg)) {
        return;
    }
    LogDebug("==== Reading map to get the scale...");
    std::string path;
    for (int k = 0; k <= 20 && path.empty(); ++k) {
        const std::string name = EvalTemplate(*cfg, id::Source_MAP, k, 1);
        const std::string candidate = doc.MakePath(name);
        if (!name.empty() && IsRegularFile(candidate)) {
            path = candidate;
        }
    }
    if (path.empty()) {
        LogWarning("[= WARNING =] Cannot open map file %s",
                   doc.MakePath(EvalTemplate(*cfg, id::Source_MAP, 1, 1)).c_str());
        return;
    }
    const auto started = std::chrono::steady_clock::now();
    SetStatusText(Format("Reading SVG %s...", path.c_str()));
    doc.mapZoom = 0.0f;
    InputFile file;
    if (!file.Open(path)) {
        LogWarning("[= WARNING =] %s", CannotOpen("map file", path, file).c_str());
        return;
    }
    std::istream& in = file.Stream();
    static constexpr char kScaleLine[] = "<g id=\"scaleTransform\"";
    int lines = 0;
    std::string line;
    while (ReadLine(in, line, "map file", path)) {
        if (line.compare(0, sizeof kScaleLine - 1, kScaleLine) == 0) {
            float zoom = 0.0f;
            if (std::sscanf(line.c_str(), "<g id=\"scaleTransform\" transform=\"scale(%f)\">",
                            &zoom) == 1) {
                LogDebug("Found map zoom %.3f.", zoom);
                // A factor out of range (or no number) is as good as none.
                doc.mapZoom = IsUsableMapZoom(zoom) ? zoom : 0.0f;
            }
            break;
        }
        ++lines;
    }
    if (doc.mapZoom == 0.0f) {
        LogWarning("[= WARNING =] Map zoom not found.");
    }
    LogDebug("Read %d lines in %.3f sec.", lines, SecondsSince(started));
}

} // namespace kib
