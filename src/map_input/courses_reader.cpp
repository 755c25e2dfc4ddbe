// The courses file (IOF XML 3.0 or 2.0.3, from any course-setting program): the
// course of one station with its start and course controls, the map scale and the
// courses of the event; and the zoom factor of the map exports.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "config/name_templates.h"
#include "foundation/checked_number.h"
#include "foundation/content_digest.h"
#include "foundation/file_stamp.h"
#include "foundation/first_letter.h"
#include "foundation/format.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "map_input/courses_xml.h"
#include "map_input/document_exports.h"
#include "map_input/kib_svg.h"
#include "map_input/map_export_read.h"
#include "map_input/text_scan.h"
#include "platform/files.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace kib {

namespace {

// Control and start point definitions kept from one courses file.
constexpr int kMaxDefinitions = 1000;

// "Cannot open courses file %s" and the like, with the reason when something
// else than a regular file is at the name.
std::string CannotOpen(const char* what, const std::string& path, const MapExportInput& file) {
    std::string text = std::string("Cannot open ") + what + " " + path;
    return file.NotRegular() ? text + ": " + file.Reason() : text;
}

// A line without its line end; a carriage return before the line feed is dropped.
// False at the end of the file, and after an error line at a line too long for
// the file (what) to be an export.
bool ReadLine(std::istream& in, std::string& line, const char* what, const std::string& path,
              Diagnostics& diagnostics) {
    switch (ReadBoundedLine(in, line)) {
    case LineRead::End:
        return false;
    case LineRead::TooLong:
        diagnostics.Error("The %s %s has a line longer than %d MiB!", what, path.c_str(),
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

// The largest courses file Kib reads: far above any event's (a few megabytes for
// thousands of courses), low enough that the parsed file fits in memory.
constexpr std::size_t kMaxCoursesFileBytes = std::size_t{64} << 20;

// How a problem with the courses file counts: an error where a station's course
// is read, a warning where only the courses list is.
enum class Problem { Error, Warning };

void Report(Problem problem, const std::string& text, Diagnostics& diagnostics) {
    if (problem == Problem::Error) {
        diagnostics.Say(DiagnosticKind::Error, text);
    } else {
        diagnostics.Say(DiagnosticKind::Warning, text);
    }
}

// Opens the courses file; false after the reason was reported (with what is at
// the name when it is something else than a regular file).
bool OpenCourses(const std::string& path, Problem problem, platform::File& file,
                 Diagnostics& diagnostics) {
    std::string reason;
    file = OpenRegularFile(path, reason);
    if (file.IsOpen()) {
        return true;
    }
    const std::string text = "Cannot open courses file " + path;
    Report(problem, NonRegularKind(path).empty() ? text : text + ": " + reason, diagnostics);
    return false;
}

// The whole open courses file; false after a file too large to be one, or one that
// could not be read, was reported.
bool ReadWholeFile(platform::File& file, const std::string& path, std::int64_t size,
                   Problem problem, std::string& bytes, Diagnostics& diagnostics) {
    bytes.resize(size > 0 ? std::min(static_cast<std::size_t>(size), kMaxCoursesFileBytes) + 1
                          : std::size_t{65536});
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > kMaxCoursesFileBytes) {
                Report(problem,
                       Format("The courses file %s is larger than %d MiB!", path.c_str(),
                              static_cast<int>(kMaxCoursesFileBytes >> 20)),
                       diagnostics);
                return false;
            }
            bytes.resize(std::min(used * 2, kMaxCoursesFileBytes + 1));
        }
        const long long n = file.Read(bytes.data() + used, bytes.size() - used);
        if (n < 0) {
            Report(problem,
                   Format("Cannot read courses file %s: %s", path.c_str(),
                          platform::ErrorText(file.Error()).c_str()),
                   diagnostics);
            return false;
        }
        if (n == 0) {
            break;
        }
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    return true;
}

} // namespace

std::shared_ptr<const CoursesFileData> KeptCourses(const CKibDoc& doc, const std::string& path) {
    const std::shared_ptr<const CoursesFileData>& kept = doc.coursesFile;
    if (!kept || kept->path != path || platform::FileSize(path) != kept->size) {
        return nullptr;
    }
    FileStamp stamp = 0;
    return GetFileStamp(path, stamp, doc.Diag()) && stamp == kept->stamp ? kept : nullptr;
}

namespace {

// The courses file read from the open file, kept by the document with the size and
// time the open file has; none after a file too large was reported.
std::shared_ptr<const CoursesFileData> LoadCourses(CKibDoc& doc, platform::File& file,
                                                   const std::string& path, Problem problem,
                                                   Diagnostics& diagnostics) {
    const std::int64_t size = file.Size();
    FileStamp stamp = 0;
    const bool stamped = size >= 0 && file.Stamp(stamp);
    diagnostics.Debug("Parsing courses file %s...", path.c_str());
    std::string bytes;
    if (!ReadWholeFile(file, path, size, problem, bytes, diagnostics)) {
        return nullptr;
    }
    const std::uint64_t digest = DigestOf(bytes);
    auto read = std::make_shared<CoursesFileData>(ReadCoursesXml(std::move(bytes)));
    read->path = path;
    read->digest = digest;
    read->size = size;
    read->stamp = stamp;
    doc.coursesFile = stamped ? read : nullptr;
    return read;
}

// The courses file: the document's copy while the file is unchanged, else read from
// the file; none after a problem with it was reported.
std::shared_ptr<const CoursesFileData> Courses(CKibDoc& doc, const std::string& path,
                                               Diagnostics& diagnostics, Problem problem) {
    if (std::shared_ptr<const CoursesFileData> kept = KeptCourses(doc, path)) {
        return kept;
    }
    platform::File file;
    if (!OpenCourses(path, problem, file, diagnostics)) {
        return nullptr;
    }
    return LoadCourses(doc, file, path, problem, diagnostics);
}

// The parsed file; false after a file that is not well-formed XML was reported.
bool WellFormed(const CoursesFileData& xml, const std::string& path, Problem problem,
                Diagnostics& diagnostics) {
    if (!xml.wellFormed) {
        Report(problem,
               Format("The courses file %s is not well-formed XML: line %d: %s", path.c_str(),
                      xml.errorLine, xml.errorText.c_str()),
               diagnostics);
    }
    return xml.wellFormed;
}

std::string Ordinal(int n) {
    static const char* const kWords[] = {"first", "second", "third", "fourth", "fifth"};
    return n >= 1 && n <= 5 ? kWords[n - 1] : Format("%dth", n);
}

// The course's steps turned into the station's start and course controls.
class CourseSteps {
  public:
    CourseSteps(CKibSvg& svg, const std::string& name, const CourseContent& course)
        : svg_(svg), name_(name), definitions_(course.definitions), steps_(course.steps),
          kept_(std::min<std::size_t>(definitions_.size(), kMaxDefinitions)) {}

    void Run() {
        for (const CourseStep& step : steps_) {
            if (step.start) {
                Start(step.code);
            } else {
                Control(step.code);
                svg_.finishCount += step.finish ? 1 : 0;
            }
        }
    }

    // The definition of the course's start, none when it has none.
    const CourseDefinition* start() const { return start_; }
    // Codes of the start and course controls whose definition has no map position.
    const std::vector<std::string>& unmapped() const { return unmapped_; }
    // Whether each of them has a geographic position instead.
    bool allGeographic() const { return allGeographic_; }

  private:
    void Start(const std::string& code) {
        ++starts_;
        if (starts_ > 1) {
            svg_.Diag().Warning("The %s start %s in course %s is passed over",
                                Ordinal(starts_).c_str(), code.c_str(), name_.c_str());
            return;
        }
        start_ = Find(code);
        if (!start_) {
            svg_.Diag().Warning("The start %s of course %s is not defined in the "
                                "Courses.xml",
                                code.c_str(), name_.c_str());
        } else if (!start_->hasMapPosition) {
            Unmapped(*start_);
        }
    }

    void Control(const std::string& code) {
        const int i = ++svg_.controlCount;
        const CourseDefinition* d = Find(code);
        if (!d) {
            if (code.empty()) {
                svg_.Diag().Warning("Course control #%d of course %s names no control: "
                                    "task %d has no position",
                                    i, name_.c_str(), i);
            } else {
                svg_.Diag().Warning("Control %s of course %s is not defined in the "
                                    "Courses.xml: task %d has no position",
                                    code.c_str(), name_.c_str(), i);
            }
        } else if (!d->hasMapPosition) {
            Unmapped(*d);
        }
        if (i > CKibSvg::kMaxCourseControls) {
            return;
        }
        const auto k = static_cast<std::size_t>(i);
        svg_.codes[k] = code;
        svg_.noPosition[k] = !d || !d->hasMapPosition;
        if (!svg_.noPosition[k]) {
            svg_.positions[k] = d->mapPosition;
            svg_.Diag().Debug("Course control point #%d (%s) position: %.3f, %.3f", i, code.c_str(),
                              d->mapPosition.x, d->mapPosition.y);
        }
    }

    void Unmapped(const CourseDefinition& d) {
        if (std::find(unmapped_.begin(), unmapped_.end(), d.code) == unmapped_.end()) {
            unmapped_.push_back(d.code);
        }
        allGeographic_ = allGeographic_ && d.hasGeoPosition;
    }

    // The first definition with exactly this code among the ones kept.
    const CourseDefinition* Find(const std::string& code) const {
        for (std::size_t k = 0; k < kept_; ++k) {
            if (definitions_[k].code == code) {
                return &definitions_[k];
            }
        }
        return nullptr;
    }

    CKibSvg& svg_;
    const std::string& name_;
    const std::vector<CourseDefinition>& definitions_;
    const std::vector<CourseStep>& steps_;
    std::size_t kept_; // the first definitions, up to the limit
    const CourseDefinition* start_ = nullptr;
    int starts_ = 0;
    std::vector<std::string> unmapped_;
    bool allGeographic_ = true;
};

// "S1, 31, 32" (the first five, then "...").
std::string CodeList(const std::vector<std::string>& codes) {
    std::string list;
    for (std::size_t k = 0; k < codes.size() && k < 5; ++k) {
        list += (k > 0 ? ", " : "") + codes[k];
    }
    return codes.size() > 5 ? list + ", ..." : list;
}

void ReportUnmapped(const CourseSteps& steps, const CoursesFileData& xml, const std::string& course,
                    Diagnostics& diagnostics) {
    const std::string writer = xml.creator.empty() ? std::string() : " from " + xml.creator;
    diagnostics.Error(
        "The Courses.xml has no map positions for course '%s'%s (%s): Kib "
        "needs the controls' positions on the map (MapPosition); export the courses%s "
        "again with map positions",
        course.c_str(), steps.allGeographic() ? ", only geographic ones" : "",
        CodeList(steps.unmapped()).c_str(), writer.c_str());
}

void ClearCourseData(CKibSvg& svg) {
    svg.controlCount = 0;
    svg.finishCount = 0;
    svg.codes.fill(std::string());
    svg.positions.fill(MapPoint{});
    svg.noPosition.fill(false);
    svg.startPosition = MapPoint{};
    svg.offsets.fill(MapPoint{});
}

} // namespace

bool CKibSvg::ReadCourses(int station) {
    ClearCourseData(*this);
    const CKibCfg& cfg = GetConfig();
    const std::string path = doc_.MakePath(EvalTemplate(cfg, id::Source_COURSES, station, 0));
    GetHost().SetStatusText(Format("Reading XML %s...", path.c_str()));
    Diag().Debug("==== Reading Courses for station %d...", station);
    const std::shared_ptr<const CoursesFileData> xml = Courses(doc_, path, Diag(), Problem::Error);
    if (!xml) {
        return false;
    }
    const std::string course = EvalTemplate(cfg, id::Source_COURSE, station, 0);
    if (course.empty()) {
        return false;
    }
    if (!WellFormed(*xml, path, Problem::Error, Diag())) {
        return false;
    }
    const int k = FindCourse(*xml, course);
    if (k < 0) {
        Diag().Error("Cannot find course '%s' in the Courses.xml", course.c_str());
        return false;
    }
    const CourseEntry& found = xml->courses[static_cast<std::size_t>(k)];
    Diag().Debug("Course found at line %d", found.line);
    const CourseContent content = ReadCourse(*xml, k);
    if (content.variations > 1) {
        Diag().Error("Course '%s' has %d course variations in the Courses.xml; Kib "
                     "needs one course per station",
                     course.c_str(), content.variations);
        return false;
    }
    const std::vector<CourseDefinition>& definitions = content.definitions;
    CourseSteps steps(*this, found.name, content);
    steps.Run();
    if (definitions.size() > static_cast<std::size_t>(kMaxDefinitions)) {
        Diag().Warning("Exceeded limit for control definitions (%d > %d), the first %d "
                       "are used",
                       static_cast<int>(definitions.size()), kMaxDefinitions, kMaxDefinitions);
    }
    if (controlCount > kMaxCourseControls) {
        Diag().Error("Exceeded limit for control points (%d > %d)", controlCount,
                     kMaxCourseControls);
        controlCount = kMaxCourseControls;
    }
    if (!steps.start()) {
        Diag().Error("Cannot find start symbol for station %d in the Courses.xml", station);
        return false;
    }
    if (!steps.unmapped().empty()) {
        ReportUnmapped(steps, *xml, course, Diag());
        ClearCourseData(*this);
        return false;
    }
    const CourseDefinition& start = *steps.start();
    codes[0] = start.code;
    startPosition = start.mapPosition;
    offsets[0] = MapPoint{};
    Diag().Debug("Start symbol (%s) position: %.3f, %.3f", start.code.c_str(), startPosition.x,
                 startPosition.y);
    for (int i = 1; i <= controlCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (noPosition[k]) {
            continue;
        }
        offsets[k] = MapPoint{positions[k].x - startPosition.x, startPosition.y - positions[k].y};
        Diag().Debug("Course control point #%d (%s) offset: %.3f, %.3f", i, codes[k].c_str(),
                     offsets[k].x, offsets[k].y);
    }
    return true;
}

void CKibSvg::LogCourseControl(int i) const {
    if (i < 0 || i > kMaxCourseControls) {
        return;
    }
    const auto k = static_cast<std::size_t>(i);
    if (i > 0 && noPosition[k]) {
        Diag().Debug("Course control #%d (%s) has no position", i, codes[k].c_str());
        return;
    }
    Diag().Debug("Course control #%d (%s) position: %.3f, %.3f ~ %.3f %.3f", i, codes[k].c_str(),
                 positions[k].x, positions[k].y, offsets[k].x, offsets[k].y);
}

CourseList ReadCourseList(CKibDoc& doc) {
    CourseList list;
    const CKibCfg* cfg = doc.GetConfig();
    if (!cfg || !StationMode(*cfg)) {
        return list;
    }
    const std::string path = doc.MakePath(EvalTemplate(*cfg, id::Source_COURSES, 1, 0));
    doc.GetHost().SetStatusText(Format("Reading XML %s...", path.c_str()));
    doc.Diag().Debug("==== Reading Courses list...");
    const auto started = std::chrono::steady_clock::now();
    const std::shared_ptr<const CoursesFileData> xml =
        Courses(doc, path, doc.Diag(), Problem::Warning);
    if (!xml || !WellFormed(*xml, path, Problem::Warning, doc.Diag())) {
        return list;
    }
    if (xml->scaleFound) {
        int scale = 0;
        if (TextScan(xml->scaleText).Int(scale)) {
            doc.mapScale = scale;
            doc.Diag().Debug("Found map scale 1:%d in courses list.", doc.mapScale);
        } else {
            doc.mapScale = 0;
        }
    }
    list.read = true;
    for (const CourseEntry& c : xml->courses) {
        list.names.push_back(c.name);
    }
    doc.Diag().Debug("Found %d course(s) in courses list.", static_cast<int>(list.names.size()));
    doc.Diag().Debug("Read %d lines in %.3f sec.", xml->lines, SecondsSince(started));
    return list;
}

void ReadMapZoom(CKibDoc& doc) {
    const CKibCfg* cfg = doc.GetConfig();
    if (!cfg || !StationMode(*cfg)) {
        return;
    }
    doc.Diag().Debug("==== Reading map to get the scale...");
    std::string path;
    for (int k = 0; k <= 20 && path.empty(); ++k) {
        const std::string name = EvalTemplate(*cfg, id::Source_MAP, k, 1);
        const std::string candidate = doc.MakePath(name);
        if (!name.empty() && IsRegularFile(candidate)) {
            path = candidate;
        }
    }
    if (path.empty()) {
        doc.Diag().Warning("Cannot open map file %s",
                           doc.MakePath(EvalTemplate(*cfg, id::Source_MAP, 1, 1)).c_str());
        return;
    }
    const auto started = std::chrono::steady_clock::now();
    doc.GetHost().SetStatusText(Format("Reading SVG %s...", path.c_str()));
    doc.mapZoom = 0.0f;
    MapExportInput file;
    if (!file.Open(doc, path)) {
        doc.Diag().Warning("%s", CannotOpen("map file", path, file).c_str());
        return;
    }
    std::istream& in = file.Stream();
    static constexpr char kScaleLine[] = "<g id=\"scaleTransform\"";
    int lines = 0;
    std::string line;
    while (ReadLine(in, line, "map file", path, doc.Diag())) {
        if (line.compare(0, sizeof kScaleLine - 1, kScaleLine) == 0) {
            float zoom = 0.0f;
            if (std::sscanf(line.c_str(), "<g id=\"scaleTransform\" transform=\"scale(%f)\">",
                            &zoom) == 1) {
                doc.Diag().Debug("Found map zoom %.3f.", zoom);
                // A factor out of range (or no number) is as good as none.
                doc.mapZoom = IsUsableMapZoom(zoom) ? zoom : 0.0f;
            }
            break;
        }
        ++lines;
    }
    if (doc.mapZoom == 0.0f) {
        doc.Diag().Warning("Map zoom not found.");
    }
    doc.Diag().Debug("Read %d lines in %.3f sec.", lines, SecondsSince(started));
}

} // namespace kib
