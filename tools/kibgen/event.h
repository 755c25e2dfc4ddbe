// The event model: stations with their chair, flags, tasks and control places, built
// from the options and the seed. Everything the files show comes from here.
#pragma once

#include "geometry.h"
#include "options.h"

#include <string>
#include <vector>

namespace kib::gen {

struct Flag {
    Pt pos;
    double bearing = 0.0; // from the chair, -180 .. 180
    char letter = 'A';    // A .. F from left to right as seen from the chair
    bool correct = false; // the answer of at least one task
};

// A control place: at a flag, or at a spot without a flag (zero answer).
struct Place {
    Pt pos;
    int flag = -1;         // index into flags, -1 for a zero spot
    int nearFlag = -1;     // a zero spot put near a flag (--zero-near): that flag
    double nearMetres = 0; // and its distance on the ground
};

// A control description symbol in one column of a task's row.
struct DescEntry {
    int major = 0;
    int minor = 0;
    int column = 4; // 1 .. 8 for A .. H
};

struct Task {
    int number = 1;
    std::string code;
    int place = 0;
    char answer = 'Z';
    bool arcs = false; // circle drawn as two arcs with gaps
    double arcStart = 0.0;
    Pt numberPos;
    std::vector<DescEntry> descriptions; // columns C .. G
};

struct Station {
    int number = 1;
    std::string course;
    std::string startCode;
    Pt chair;
    Pt start;
    double view = 0.0;   // designed viewing bearing
    double spread = 0.0; // designed sector width
    std::vector<Flag> flags;
    std::vector<Place> places;
    std::vector<Task> tasks;
    Pt tableTopLeft;
    bool answersInH = false;
    bool shared = false;
    bool angleConfigured = false;
    int minAngle = 0; // configured sector (when angleConfigured)
    int maxAngle = 0;
    int flagRotation = -1; // the rotation the map's chair and flags give
    int rotation = -1;     // the rotation the analysis must settle on
    int viewingAngle = 0;  // widest angle between two flags, whole degrees
};

struct Event {
    Options options;
    std::vector<Station> stations;
    std::string finishCode = "F1";
    Pt finish;
    // Courses-file positions are map positions relative to this origin, y pointing up.
    Pt origin;
};

Event BuildEvent(const Options& options);

// The rotation rules of the map analysis, replicated so that the generator knows the
// answer in advance.
int SectorRotation(int a, int b);
int FlagRotation(const Station& station, int* viewingAngle);

inline constexpr double kCircleRadius = 3.0;
inline constexpr double kCellSize = 5.0; // control description cell

int TableRows(const Event& event, const Station& station);

} // namespace kib::gen
