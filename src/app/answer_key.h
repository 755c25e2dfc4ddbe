// The answer key of a station checked against its map: for every task the key
// (column H of the exported descriptions, else ANSWERS of the station) beside
// the answer the map gives (the flag at the centre of the task's circle).
#pragma once

#include "map_input/map_answer.h"

#include <string>
#include <vector>

namespace kib {

class Diagnostics;

class CKibDoc;
class CKibMap;

struct TaskAnswer {
    int task = 0;
    std::string key;       // "A" .. "F", "Z"; empty when the key has no answer for the task
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
};

// The answer letter of column H in the task's description row; empty when none.
std::string ColumnHAnswer(const CKibMap& map, int task);

// The key and the map's answer of every task of the station whose map was just read.
StationAnswers CheckAnswerKey(const CKibDoc& doc, CKibMap& map, int station);

// A warning for every task whose key differs from the map (naming both letters
// and the distances), and one for the tasks without a key. True when every
// task's key is known and agrees with the map.
bool WarnAnswerDifferences(const StationAnswers& answers, int station, Diagnostics& diagnostics);

} // namespace kib
