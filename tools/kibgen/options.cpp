#include "options.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace kib::gen {

namespace {

bool ParseInt(const std::string& text, int& value) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || v < -1000000 || v > 100000000) {
        return false;
    }
    value = static_cast<int>(v);
    return true;
}

bool ParseDouble(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

bool ParseIntList(const std::string& text, std::vector<int>& values) {
    values.clear();
    for (const std::string& part : Split(text, ',')) {
        int v = 0;
        if (!ParseInt(part, v)) {
            return false;
        }
        values.push_back(v);
    }
    return !values.empty();
}

bool ParseStationSet(const std::string& text, std::set<int>& values) {
    values.clear();
    if (text == "none") {
        return true;
    }
    std::vector<int> list;
    if (!ParseIntList(text, list)) {
        return false;
    }
    values.insert(list.begin(), list.end());
    return true;
}

bool InRange(const std::vector<int>& values, int lo, int hi) {
    for (int v : values) {
        if (v < lo || v > hi) {
            return false;
        }
    }
    return true;
}

bool IsValuedOption(const std::string& name) {
    static const char* const names[] = {
        "--seed",    "--out",          "--event",  "--course-prefix", "--first",    "--stations",
        "--tasks",   "--flags",        "--extent", "--objects",       "--zoom",     "--scale",
        "--iof",     "--flag-objects", "--arcs",   "--view",          "--share",    "--angle",
        "--answers", "--zero",         "--cfg",    "--other-courses", "--zero-near"};
    for (const char* n : names) {
        if (name == n) {
            return true;
        }
    }
    return false;
}

} // namespace

int Options::TasksOf(int index) const {
    return tasks[static_cast<std::size_t>(index) < tasks.size() ? index : tasks.size() - 1];
}

int Options::FlagsOf(int index) const {
    return flags[static_cast<std::size_t>(index) < flags.size() ? index : flags.size() - 1];
}

std::string Options::CourseName(int station) const {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, fixedNumbers ? "%02d" : "%d", station);
    return coursePrefix + buffer;
}

bool Options::AnswersInColumnH(int station) const {
    return answersGiven ? answerStations.count(station) > 0 : station % 2 == 1;
}

const char* UsageText() {
    return "Usage: kibgen [options]\n"
           "Writes an event's exports in OCAD's layout: one SVG map per station course\n"
           "(EVENT.COURSE.svg) and the courses file EVENT.Courses.xml.\n"
           "  --seed N            random seed (default 1); the same seed gives the same files\n"
           "  --out DIR           output directory (default .)\n"
           "  --event NAME        event name, the prefix of every file (default Event)\n"
           "  --course-prefix P   course names P1, P2, ... (default S)\n"
           "  --fixed             two-digit station numbers in course names (S01)\n"
           "  --first N           number of the first station, 0 .. 20 (default 1)\n"
           "  --stations N        number of stations (default 4)\n"
           "  --tasks LIST        tasks per station, 1 .. 15: one number or a comma list,\n"
           "                      the last entry repeated (default 5)\n"
           "  --flags LIST        flags per station, 1 .. 6, like --tasks (default 6)\n"
           "  --extent WxH        map extent in map units (default 260x180)\n"
           "  --objects N         background map objects (default 300)\n"
           "  --zoom F            factor of the export's scale group (default 1)\n"
           "  --scale N           map scale written to the courses file (default 4000)\n"
           "  --iof 3|2           courses file layout: IOF XML 3.0 or 2.0.3 (default 3)\n"
           "  --other-courses N   N more courses of 24 controls in the courses file, as an\n"
           "                      event's other competitions add (about 2.3 kB each)\n"
           "  --no-title-row      control description table without its title row\n"
           "  --flag-objects N    objects per flag: 2 (a dot and a pennant, default) or 1\n"
           "  --arcs PERCENT      control circles drawn as two arcs (default 25)\n"
           "  --view LIST         viewing bearings per station in degrees (default random)\n"
           "  --share LIST        stations whose task 2 is at the place of task 1\n"
           "  --angle LIST        stations whose viewing sector goes into the configuration\n"
           "  --answers LIST      stations with answers in column H: list, all or none\n"
           "                      (default odd stations)\n"
           "  --zero LIST         stations with at least one zero answer: list, all or none\n"
           "  --zero-near M       the first zero spot of a station stands M metres on the\n"
           "                      ground east of a flag (a false flag too close to the\n"
           "                      control; whole tenths of a map unit: M x 1000 / scale)\n"
           "  --cfg FILE          also write a configuration (relative to --out)\n"
           "  --reduce-size       the configuration leaves out of every sheet what its\n"
           "                      map segment cannot show (Target.REDUCESIZE=Yes)\n"
           "  --quiet             no summary on standard output\n";
}

bool ParseOptions(int argc, char** argv, Options& o, std::string& error) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        const std::size_t eq = name.find('=');
        if (eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.erase(eq);
            hasValue = true;
        }
        auto need = [&]() {
            if (!hasValue) {
                if (i + 1 >= args.size()) {
                    return false;
                }
                value = args[++i];
                hasValue = true;
            }
            return true;
        };
        bool ok = true;
        if (name == "--help" || name == "-h") {
            error = "help";
            return false;
        } else if (name == "--no-title-row") {
            o.titleRow = false;
        } else if (name == "--fixed") {
            o.fixedNumbers = true;
        } else if (name == "--quiet") {
            o.quiet = true;
        } else if (name == "--reduce-size") {
            o.reduceSize = true;
        } else if (!IsValuedOption(name)) {
            error = "unknown option " + name;
            return false;
        } else if (!need()) {
            error = "missing value for " + name;
            return false;
        } else if (name == "--seed") {
            char* end = nullptr;
            o.seed = std::strtoull(value.c_str(), &end, 10);
            ok = !value.empty() && *end == '\0';
        } else if (name == "--out") {
            o.outDir = value;
        } else if (name == "--event") {
            o.eventName = value;
        } else if (name == "--course-prefix") {
            o.coursePrefix = value;
        } else if (name == "--first") {
            ok = ParseInt(value, o.firstStation) && o.firstStation >= 0 && o.firstStation <= 20;
        } else if (name == "--stations") {
            ok = ParseInt(value, o.stations) && o.stations >= 1 && o.stations <= 21;
        } else if (name == "--tasks") {
            ok = ParseIntList(value, o.tasks) && InRange(o.tasks, 1, 15);
        } else if (name == "--flags") {
            ok = ParseIntList(value, o.flags) && InRange(o.flags, 1, 6);
        } else if (name == "--extent") {
            const auto parts = Split(value, 'x');
            ok = parts.size() == 2 && ParseDouble(parts[0], o.width) &&
                 ParseDouble(parts[1], o.height) && o.width >= 100 && o.height >= 80 &&
                 o.width <= 100000 && o.height <= 100000;
        } else if (name == "--objects") {
            ok = ParseInt(value, o.objects) && o.objects >= 0;
        } else if (name == "--zoom") {
            ok = ParseDouble(value, o.zoom) && o.zoom > 0.0;
        } else if (name == "--scale") {
            ok = ParseInt(value, o.scale) && o.scale > 0;
        } else if (name == "--other-courses") {
            ok =
                ParseInt(value, o.otherCourses) && o.otherCourses >= 0 && o.otherCourses <= 1000000;
        } else if (name == "--iof") {
            ok = ParseInt(value, o.iofVersion) && (o.iofVersion == 2 || o.iofVersion == 3);
        } else if (name == "--flag-objects") {
            ok = ParseInt(value, o.flagObjects) && (o.flagObjects == 1 || o.flagObjects == 2);
        } else if (name == "--arcs") {
            ok = ParseInt(value, o.arcPercent) && o.arcPercent >= 0 && o.arcPercent <= 100;
        } else if (name == "--view") {
            o.views.clear();
            for (const std::string& part : Split(value, ',')) {
                double v = 0.0;
                ok = ok && ParseDouble(part, v);
                o.views.push_back(v);
            }
        } else if (name == "--share") {
            ok = ParseStationSet(value, o.shareStations);
        } else if (name == "--angle") {
            ok = ParseStationSet(value, o.angleStations);
        } else if (name == "--answers") {
            o.answersGiven = true;
            if (value == "all") {
                for (int s = 0; s <= 20; ++s) {
                    o.answerStations.insert(s);
                }
            } else {
                ok = ParseStationSet(value, o.answerStations);
            }
        } else if (name == "--zero") {
            o.zerosGiven = true;
            if (value == "all") {
                for (int s = 0; s <= 20; ++s) {
                    o.zeroStations.insert(s);
                }
            } else {
                ok = ParseStationSet(value, o.zeroStations);
            }
        } else if (name == "--zero-near") {
            ok = ParseDouble(value, o.zeroNear) && o.zeroNear > 0.0 && o.zeroNear <= 100.0;
        } else if (name == "--cfg") {
            o.cfgName = value;
        } else {
            error = "unknown option " + name;
            return false;
        }
        if (!ok) {
            error = "bad value for " + name + ": " + value;
            return false;
        }
    }
    if (o.firstStation + o.stations - 1 > 20) {
        error = "stations beyond 20";
        return false;
    }
    return true;
}

} // namespace kib::gen
