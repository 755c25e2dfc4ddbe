// Courses file reading: the XML reader against the line scanner it replaced, on one
// generated courses file of more than 5 MB (8 stations of 6 tasks followed by the
// courses of an event's other competitions). Both read what a run reads: the
// courses list once, then the course of every station; the reader parses the file
// once for all of them (the document keeps it while the file does not change). The line scanner is
// kept here, and only here, as it was, to measure against in the same run.
#include "config/kib_doc.h"
#include "foundation/app_state.h"
#include "foundation/input_file.h"
#include "foundation/log.h"
#include "map_input/document_exports.h"
#include "map_input/kib_svg.h"
#include "map_input/map_point.h"
#include "map_input/text_scan.h"

#include "generator.h"
#include "options.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMinimumBytes = 5u * 1000u * 1000u;
constexpr int kStations = 8;

// ---- The line scanner (one element per line, two blanks per level) ----

struct ScannedLine {
    bool hasTag = false;
    int level = 0;
    bool closing = false;
    std::string_view tag;
    std::size_t tagEnd = 0;
    bool setsContainer = false;
};

ScannedLine ScanLine(std::string_view line) {
    ScannedLine x;
    const std::size_t lt = line.find('<');
    if (lt == std::string_view::npos) {
        return x;
    }
    x.hasTag = true;
    x.level = static_cast<int>(lt / 2);
    std::size_t start = lt + 1;
    if (start < line.size() && line[start] == '/') {
        x.closing = true;
        ++start;
    }
    std::size_t end = start;
    while (end < line.size() && line[end] != ' ' && line[end] != '>') {
        ++end;
    }
    x.tag = line.substr(start, end - start);
    x.tagEnd = end;
    const std::size_t gt = line.find('>', end);
    x.setsContainer =
        gt != std::string_view::npos && gt + 1 == line.size() && gt > 0 && line[gt - 1] != '/';
    return x;
}

std::string ElementText(std::string_view line) {
    const std::size_t gt = line.find('>');
    if (gt == std::string_view::npos) {
        return std::string();
    }
    std::size_t begin = gt + 1;
    while (begin < line.size() && line[begin] == ' ') {
        ++begin;
    }
    std::size_t end = line.find('<', begin);
    if (end == std::string_view::npos) {
        end = line.size();
    }
    while (end > begin && line[end - 1] == ' ') {
        --end;
    }
    return std::string(line.substr(begin, end - begin));
}

bool ReadLine(std::istream& in, std::string& line) {
    if (kib::ReadBoundedLine(in, line) != kib::LineRead::Line) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

struct ScannedCourse {
    int controlCount = 0;
    std::vector<std::string> codes;
    std::vector<kib::MapPoint> positions;
    int start = -1;
};

// One course, as the scanner read it (definitions, the course's start and controls).
class CourseScan {
  public:
    explicit CourseScan(const std::string& name) : name_(name) {}

    bool Run(const std::string& path, ScannedCourse& out) {
        kib::InputFile file;
        if (!file.Open(path)) {
            return false;
        }
        std::string line;
        while (ReadLine(file.Stream(), line) && Line(line, out)) {
        }
        return found_ && out.start >= 0;
    }

  private:
    bool Line(const std::string& text, ScannedCourse& out) {
        const ScannedLine x = ScanLine(text);
        if (!x.hasTag) {
            return true;
        }
        if (x.setsContainer) {
            container_ = x.tag;
        }
        if ((container_ == "Control" && (x.tag == "ControlCode" || x.tag == "Id")) ||
            (x.level == 2 && container_ == "StartPoint" && x.tag == "StartPointCode")) {
            if (codes_.size() < 1000) {
                codes_.push_back(ElementText(text));
                positions_.push_back(kib::MapPoint{});
                cur_ = static_cast<int>(codes_.size()) - 1;
            } else {
                cur_ = -1;
            }
            return true;
        }
        if (cur_ >= 0 && (container_ == "Control" || container_ == "StartPoint") &&
            x.tag == "MapPosition") {
            float px = 0.0f;
            float py = 0.0f;
            if (std::sscanf(text.c_str() + x.tagEnd, " x=\"%f\" y=\"%f\"/>", &px, &py) == 2) {
                positions_[static_cast<std::size_t>(cur_)] = kib::MapPoint{px, py};
            }
        }
        if (x.closing) {
            cur_ = -1;
        }
        if (found_ && x.closing && x.tag == "Course") {
            return false;
        }
        if (container_ == "Course" && (x.tag == "CourseName" || x.tag == "Name")) {
            found_ = ElementText(text) == name_;
            if (found_) {
                kib::App().Log().Debug("Course found at line %d", lineIndex_);
            }
            return true;
        }
        if (found_ && CourseLine(x, text, out)) {
            return true;
        }
        ++lineIndex_;
        return true;
    }

    bool CourseLine(const ScannedLine& x, const std::string& text, ScannedCourse& out) {
        if (x.tag == "CourseControl") {
            typeLetter_ = text.size() > 27 ? text[27] : 'C';
            return true;
        }
        const bool startTag = x.tag == "StartPointCode";
        if (!startTag &&
            !(container_ == "CourseControl" && (x.tag == "ControlCode" || x.tag == "Control"))) {
            return false;
        }
        const std::string code = ElementText(text);
        const auto at = std::find(codes_.begin(), codes_.end(), code);
        if (at == codes_.end()) {
            return true;
        }
        const auto k = static_cast<std::size_t>(at - codes_.begin());
        if (startTag || typeLetter_ == 'S') {
            out.start = static_cast<int>(k);
            return true;
        }
        ++out.controlCount;
        out.codes.push_back(codes_[k]);
        out.positions.push_back(positions_[k]);
        kib::App().Log().Debug("Course control point #%d (%s) position: %.3f, %.3f",
                               out.controlCount, codes_[k].c_str(), positions_[k].x,
                               positions_[k].y);
        return true;
    }

    const std::string& name_;
    std::vector<std::string> codes_;
    std::vector<kib::MapPoint> positions_;
    std::string container_;
    int cur_ = -1;
    bool found_ = false;
    char typeLetter_ = '\0';
    int lineIndex_ = 0;
};

// The courses list as the scanner read it: the scale and the count of courses.
int ScanCourseList(const std::string& path, int& scale) {
    kib::InputFile file;
    if (!file.Open(path)) {
        return -1;
    }
    int courses = 0;
    std::string line;
    while (ReadLine(file.Stream(), line)) {
        const std::size_t lt = line.find('<');
        if (lt == std::string::npos) {
            continue;
        }
        const std::string_view after = std::string_view(line).substr(lt + 1);
        if (after.substr(0, 7) == "Course>") {
            ++courses;
        }
        if (after.substr(0, 6) == "Scale>") {
            kib::TextScan(after.substr(6)).Int(scale);
        }
    }
    return courses;
}

// ---- The event and the measurements ----

struct Event {
    std::string dir;
    std::string cfg;
    std::string courses;
    std::uintmax_t bytes = 0;
    int otherCourses = 0;
};

bool MakeEvent(Event& ev, std::string& error) {
    std::string pattern = (fs::temp_directory_path() / "kib-courses-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        error = "cannot make a temporary directory";
        return false;
    }
    ev.dir = pattern + "/";
    kib::gen::Options o;
    o.outDir = ev.dir;
    o.eventName = "Bench";
    o.stations = kStations;
    o.tasks = {6};
    o.objects = 50;
    o.cfgName = "bench.cfg";
    o.quiet = true;
    o.otherCourses = 2000;
    std::string summary;
    for (;;) {
        if (!kib::gen::GenerateEvent(o, summary, error)) {
            return false;
        }
        ev.courses = ev.dir + "Bench.Courses.xml";
        ev.bytes = fs::file_size(ev.courses);
        if (ev.bytes >= kMinimumBytes) {
            break;
        }
        o.otherCourses += o.otherCourses / 4;
    }
    ev.otherCourses = o.otherCourses;
    ev.cfg = ev.dir + "bench.cfg";
    return true;
}

// Milliseconds of one run; prepare runs before it, untimed.
double Milliseconds(const std::function<bool()>& run, const std::function<void()>& prepare) {
    prepare();
    const auto started = std::chrono::steady_clock::now();
    if (!run()) {
        std::fprintf(stderr, "courses_reader_bench: a read failed\n");
        std::exit(1);
    }
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - started;
    return took.count();
}

struct Pair {
    double scanner = 1e30;
    double reader = 1e30;
};

// The best of a few runs of each, the two taking turns so that both meet the same
// load of a shared machine.
Pair Best(const std::function<bool()>& scan, const std::function<bool()>& read,
          const std::function<void()>& prepareRead, int repetitions) {
    Pair best;
    for (int r = 0; r < repetitions; ++r) {
        best.scanner = std::min(best.scanner, Milliseconds(scan, [] {}));
        best.reader = std::min(best.reader, Milliseconds(read, prepareRead));
    }
    return best;
}

void Row(const char* what, const Pair& p) {
    std::printf("%-34s %12.2f %12.2f %8.2f\n", what, p.scanner, p.reader, p.reader / p.scanner);
}

} // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    Event ev;
    std::string error;
    if (!MakeEvent(ev, error)) {
        std::fprintf(stderr, "courses_reader_bench: %s\n", error.c_str());
        return 1;
    }
    kib::ResetAppState();
    kib::CKibDoc doc;
    if (!doc.OnOpenDocument(ev.cfg)) {
        std::fprintf(stderr, "courses_reader_bench: cannot open the generated configuration\n");
        return 1;
    }
    kib::CKibSvg svg(doc);
    const std::string last = "S" + std::to_string(kStations);

    const auto scanList = [&] {
        int scale = 0;
        return ScanCourseList(ev.courses, scale) > 0 && scale == 4000;
    };
    // Each measured read starts without the document's copy of the file.
    const auto forget = [&] { doc.coursesFile.reset(); };
    const auto readList = [&] { return ReadCourseList(doc).read && doc.mapScale == 4000; };
    const auto scanLast = [&] {
        ScannedCourse c;
        return CourseScan(last).Run(ev.courses, c) && c.controlCount == 7;
    };
    const auto readLast = [&] { return svg.ReadCourses(kStations) && svg.controlCount == 7; };
    const auto scanRun = [&] {
        bool ok = scanList();
        for (int s = 1; s <= kStations; ++s) {
            ScannedCourse c;
            ok = CourseScan("S" + std::to_string(s)).Run(ev.courses, c) && ok;
        }
        return ok;
    };
    const auto readRun = [&] {
        bool ok = readList();
        for (int s = 1; s <= kStations; ++s) {
            ok = svg.ReadCourses(s) && ok;
        }
        return ok;
    };

    std::printf("courses file: %.2f MB, %d stations of 6 tasks and %d other courses of 24 "
                "controls; best of %d, taking turns\n",
                static_cast<double>(ev.bytes) / 1e6, kStations, ev.otherCourses, repetitions);
    std::printf("%-34s %12s %12s %8s\n", "", "scanner ms", "reader ms", "ratio");
    Row("courses list", Best(scanList, readList, forget, repetitions));
    Row("course of the last station", Best(scanLast, readLast, forget, repetitions));
    const Pair run = Best(scanRun, readRun, forget, repetitions);
    Row("a run: list and every station", run);
    const double scanner = run.scanner;
    const double reader = run.reader;
    std::printf("the reader takes %s time than the scanner in a run (ratio %.2f)\n",
                reader <= scanner ? "no more" : "MORE", reader / scanner);
    std::error_code ec;
    fs::remove_all(ev.dir, ec);
    return reader <= scanner ? 0 : 1;
}
