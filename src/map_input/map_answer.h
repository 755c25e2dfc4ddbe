// The answer a station's map gives for a task: the flag that stands at the
// centre of the task's control circle, lettered A to F from left to right as
// the competitor on the chair sees the flags. It checks the answer key, which
// is written by hand (column H of the descriptions or ANSWERS of the station).
#pragma once

#include "map_input/map_point.h"

#include <optional>
#include <string>
#include <vector>

namespace kib {

class CKibCfg;
class CKibDoc;
class CKibMap;

// One flag seen from the circle's centre.
struct FlagDistance {
    char letter = 0;     // 'A' .. 'F'
    double metres = 0.0; // on the ground, from the centre of the control circle
};

struct MapAnswer {
    enum class Kind {
        Unknown,   // the map cannot tell (reason says why)
        Letter,    // one flag within the distance, or none (Z)
        Ambiguous, // two or more flags within the distance
    };
    Kind kind = Kind::Unknown;
    char letter = 0;                // 'A' .. 'F' or 'Z' for Kind::Letter
    std::vector<FlagDistance> near; // the flags within the distance, nearest first
    FlagDistance nearest;           // the nearest flag at any distance (letter 0: no flag)
    std::vector<FlagDistance> all;  // every flag, in the order of its letter
    std::string reason;             // for Kind::Unknown

    // "D", "Z", "ambiguous" or "?".
    std::string Letters() const;
    // The flags behind the answer: "flag D 0.0 m from the circle's centre",
    // "no flag within 2.0 m (nearest C 6.3 m)", "flags B 0.4 m, C 1.2 m", or the reason.
    std::string Evidence(double limitMetres) const;
};

// The flags' centres in the order of their letters: from left to right as seen
// from the chair looking up the turned map (or, without a rotation, toward the
// middle of the flags). Empty when the map has no chair or no flags.
std::vector<MapPoint> FlagsLeftToRight(CKibMap& map);

// Metres on the ground of one map unit: the map scale over the zoom (from the
// courses file, else Event.SCALE) times the zoom, over 1000. 0 when no scale is known.
double MetresPerMapUnit(const CKibDoc& doc, const CKibMap& map);

// Source.ANSWERDIST: the distance on the ground (m) within which a flag stands
// at a circle's centre.
double AnswerDistance(const CKibCfg& cfg);

// Source.ZEROTOLERANCE: the event's rule for how close (m on the ground) no
// flag but the answer may stand to a control. None when the key is not set or
// holds no number that is zero or more: the rule is then not checked.
std::optional<double> ZeroTolerance(const CKibCfg& cfg);

// The map's answer for task 1 .. map.tasks.
MapAnswer MapAnswerOf(CKibMap& map, int task, double limitMetres, double metresPerUnit);

} // namespace kib
