// The answer key of an event as the results desk and the station officials
// take it: one row per task with the control code, the key's answer, the map's
// own answer and the flag nearest the control, read from the exports.
#pragma once

#include <string>
#include <vector>

namespace kib {

class CKibDoc;

struct KeyRow {
    int station = 0;
    int task = 0;
    std::string code;   // the course control's code ("101"), UTF-8; empty when unknown
    std::string key;    // "A" .. "F" or "Z"; empty when the task has no key
    std::string map;    // the map's answer: "A" .. "F", "Z", "ambiguous" or "?"
    char flag = 0;      // the flag nearest the control, 0 when the map has none
    double metres = -1; // its distance on the ground, < 0 when unknown
    bool agree = false; // the key is known and the map gives the same answer

    bool IsZero() const { return key == "Z"; }
};

struct AnswerKeyTable {
    std::string title1; // the event's title lines, date and name, UTF-8
    std::string title2;
    std::string date;
    std::string name;
    std::string stationWord = "Station"; // Text.STATION, UTF-8
    std::string font = "Arial";          // Target.FONTNAME
    std::vector<int> stations;           // the stations whose rows are in the table
    std::vector<KeyRow> rows;            // station by station, task by task
    bool stopped = false;                // a stop request ended the reading: the table is not whole
};

// Reads the courses file and the map of each station in the given order as
// kib analyse does, with their log lines, and takes the rows of its tasks. A
// task whose key disagrees with the map, has no key or whose map cannot tell
// its answer is a warning of its own; a station that cannot be read is an
// error and has no rows. A stop request (when no run is active, the reading
// sets the run flag for its duration) ends it between stations with an error.
// Returns 2 when a station had an error, could not be read or the reading was
// stopped; else 1 when a warning was logged; else 0.
int CollectAnswerKey(CKibDoc& doc, const std::vector<int>& stations, AnswerKeyTable& table);

} // namespace kib
