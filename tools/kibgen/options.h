// Command-line options of kibgen.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace kib::gen {

struct Options {
    std::uint64_t seed = 1;
    std::string outDir = ".";
    std::string eventName = "Event";
    std::string coursePrefix = "S"; // course names are prefix + station number
    bool fixedNumbers = false;      // station numbers with two digits (S01)
    int firstStation = 1;
    int stations = 4;
    std::vector<int> tasks = {5}; // per station, the last repeated
    std::vector<int> flags = {6};
    double width = 260.0; // map extent in map units
    double height = 180.0;
    int objects = 300; // background map objects
    double zoom = 1.0;
    int scale = 4000;
    int iofVersion = 3;   // 3: IOF XML 3.0; 2: IOF XML 2.0.3
    int otherCourses = 0; // courses of the event's other competitions, after the stations'
    bool titleRow = true;
    int flagObjects = 2;          // objects per flag: a dot and a pennant, or one object
    int arcPercent = 25;          // share of control circles drawn as two arcs
    std::vector<double> views;    // viewing bearings per station (empty: random)
    std::set<int> shareStations;  // stations whose task 2 repeats the place of task 1
    std::set<int> angleStations;  // stations with MINANGLE / MAXANGLE in the configuration
    std::set<int> answerStations; // stations with the answers in column H
    bool answersGiven = false;    // answerStations was given (default: odd stations)
    std::set<int> zeroStations;   // stations given at least one zero answer
    bool zerosGiven = false;      // zeroStations was given (default: chance)
    double zeroNear = 0.0;        // > 0: the first zero spot of a station stands this many
                                  // metres on the ground from a flag
    std::string cfgName;          // configuration file to write (relative to outDir)
    bool reduceSize = false;      // the configuration says Target.REDUCESIZE=Yes
    bool quiet = false;

    int TasksOf(int index) const;
    int FlagsOf(int index) const;
    std::string CourseName(int station) const;
    bool AnswersInColumnH(int station) const;
};

// Parses argv; false with a message in error (or "help" for --help).
bool ParseOptions(int argc, char** argv, Options& options, std::string& error);
const char* UsageText();

} // namespace kib::gen
