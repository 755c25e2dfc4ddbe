// The answer key of a station checked against its map: for every task the key
// (column H of the exported descriptions, else ANSWERS of the station) beside
// the answer the map gives (the flag at the centre of the task's circle). Every
// run that prints answers checks it, so that a key written wrong by hand does
// not reach a solution sheet unnoticed.
#pragma once

#include "map_input/map_answer.h"

#include <optional>
#include <string>
#include <vector>

namespace kib {

class Diagnostics;

class CKibDoc;
class CKibMap;

struct TaskAnswer {
    int task = 0;
    std::string key;       // in capitals: "A" .. "F", "Z" or what else ANSWERS holds; empty: none
    std::string keySource; // "column H", "ANSWERS of the station"
    MapAnswer map;

    // The key and the map name different letters, or the map's answer is ambiguous.
    bool Differs() const;
    // The key has no answer, or the map cannot tell one.
    bool Unknown() const;
    // "task 3: key B (column H), map C (flag C 0.1 m from the circle's centre)".
    std::string Line(double limitMetres) const;
};

struct StationAnswers {
    double limitMetres = 2.0;
    std::vector<TaskAnswer> tasks; // tasks 1 .. map.tasks
    std::string configured;        // ANSWERS of the station as written
    // ANSWERS of the station gives the key of a task: it is set, and column H
    // holds no answer for every task.
    bool configuredUsed = false;
};

// Whether a letter of the key is an answer: A to F, or Z for none of the flags.
// Small letters count as capitals.
bool IsAnswerLetter(char c);

// The answer letter of column H in the task's description row; empty when none.
std::string ColumnHAnswer(const CKibMap& map, int task);

// The answer of the task (1 ..) in a station's ANSWERS, in capitals (the key
// is read without regard to case); empty when the text is shorter.
std::string ConfiguredAnswer(const std::string& answers, int task);

// The key and the map's answer of every task of the station whose map was just read.
StationAnswers CheckAnswerKey(const CKibDoc& doc, CKibMap& map, int station);

// A warning for every task whose key differs from the map (naming both letters
// and the distances); for ANSWERS of the station that holds more or fewer
// answers than the station has tasks, or characters that are no answer; and
// one for the tasks without a key. A station without any key is named only when
// keyRequired (a solution sheet shows it without answers, which is plain to
// see). True when every task's key is known and agrees with the map.
bool WarnAnswerDifferences(const StationAnswers& answers, int station, Diagnostics& diagnostics,
                           bool keyRequired = true);

// A flag that stands closer to a task's control than the event's zero
// tolerance allows, in words without the log's prefix: "Station 2, task 3:
// zero task, but flag E stands 3.1 m from the control (zero tolerance 4 m)".
struct ZeroToleranceFinding {
    int task = 0;
    std::string text;
};

// Holds the event's zero tolerance (metres on the ground) against every task:
// a zero task whose nearest flag stands closer than the tolerance, and a
// lettered task where another flag than the answer stands within the tolerance
// of the circle's centre. A task's answer is its key, else the map's answer.
std::vector<ZeroToleranceFinding> ZeroToleranceFindings(const StationAnswers& answers, int station,
                                                        double tolerance);

// Reports every finding as a warning; nothing when the tolerance is not set.
void WarnZeroTolerance(const StationAnswers& answers, int station, std::optional<double> tolerance,
                       Diagnostics& diagnostics);

} // namespace kib
