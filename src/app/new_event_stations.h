// A new event's stations as their exports show them: every station's map and
// course read once, and from them the event's TASKS and FLAGS (the values most
// stations have), each station's own where it differs, and the answer key of a
// station whose descriptions hold none, taken from its map.
#pragma once

#include "config/cfg_create.h"

#include <string>
#include <vector>

namespace kib {

class CKibDoc;
class CKibMap;

// What one station's exports hold.
struct StationFacts {
    int station = 0;
    bool read = false;       // the courses file and the map were read
    int tasks = 0;           // the description rows, else the course controls
    int descriptionRows = 0; // 0: no description table
    int courseControls = 0;  // the course's controls but the finish
    int flags = 0;           // flags drawn (0: none found)
    int rotation = -1;
    std::string columnH;    // the answers of column H, one letter per task ("" when none at all)
    std::string mapAnswers; // the map's answers, "?" where it cannot tell one
    std::string answerNote; // why the map cannot tell: the first such task in words
};

// Reads the first station's map in the standard symbol numbering, quietly but
// for its warnings and errors: the special symbols to configure (GuessSymbols)
// and the map scale of the courses file over the map's zoom (Event.SCALE).
// False when the map cannot be read.
bool ReadFirstMap(CKibDoc& doc, int station);

// Fills in the special symbol numbers the map shows in the standard numbering
// (chair and flags 790.x with 2 to 6 flags, flag tags 791.x, answers 19.21 or
// 792.x for 1 to 15 tasks) where they are not yet set; an info line for each guess.
// True when something was set.
bool GuessSymbols(CKibCfg& cfg, const CKibMap& map);

// Reads the courses file and the map of every present station. The reads are
// quiet but for their warnings and errors; each station gets one info line.
std::vector<StationFacts> ReadEveryStation(CKibDoc& doc, const ExportStations& stations);

// The event's tasks and flags: for each the value most stations have (on a tie
// the one of the lower station); 6 flags and 0 tasks when no station was read.
MapStatistics EventValues(const std::vector<StationFacts>& facts);

// Writes TASKS and FLAGS into the section of each station whose value differs
// from the event's, and ANSWERS from the map for a station whose description
// table holds no answers; an info line for each, a warning where the map cannot
// give a station's answer key.
void WriteStationValues(CKibCfg& cfg, const std::vector<StationFacts>& facts,
                        const MapStatistics& event);

} // namespace kib
