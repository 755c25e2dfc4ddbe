// The map's answer of a task: the flags lettered from left to right as seen
// from the chair, and the one standing at the centre of the task's control circle.
#include "map_input/map_answer.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "config/kib_doc.h"
#include "foundation/checked_number.h"
#include "foundation/format.h"
#include "map_input/kib_map.h"
#include "map_input/path_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kib {

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

// Bearing from the chair, degrees clockwise from the map's up direction (y grows down).
double BearingOf(MapPoint chair, MapPoint p) {
    return std::atan2(static_cast<double>(p.x - chair.x), static_cast<double>(chair.y - p.y)) *
           kDegrees;
}

double Normalise180(double angle) {
    angle = std::fmod(angle, 360.0);
    if (angle > 180.0) {
        angle -= 360.0;
    } else if (angle <= -180.0) {
        angle += 360.0;
    }
    return angle;
}

// One point per flag: the centre of the first object of each bundle, as the
// viewing angle takes them.
void AddFlags(CKibMap& map, const SymbolId& id, std::vector<MapPoint>& flags) {
    SymbolSet* set = map.FindSet(id);
    if (!set || set->count == 0) {
        return;
    }
    set->ComputeGroupingFactor(map.Diag());
    const auto g = static_cast<std::size_t>(std::max(1, set->groupingFactor));
    for (std::size_t k = 0; k < set->instances.size(); k += g) {
        flags.push_back(set->instances[k].centre);
    }
}

// The chair's reference point; finds the chair when the viewing angle did not
// need it (a configured sector). False when the map has none.
bool ChairOf(CKibMap& map, MapPoint& chair) {
    if (!map.chairInstance) {
        const SymbolSet* chairs = map.chairId.IsZero() ? nullptr : map.FindSet(map.chairId);
        if (!chairs || !chairs->First() || !map.FindChair()) {
            return false;
        }
    }
    chair = map.chairInstance->ref;
    return true;
}

// The direction the competitor looks: up the turned map, or toward the middle
// of the flags when the map has no rotation.
double ViewBearing(const CKibMap& map, MapPoint chair, const std::vector<MapPoint>& flags) {
    if (map.rotation >= 0) {
        return Normalise180(-static_cast<double>(map.rotation));
    }
    double x = 0.0, y = 0.0;
    for (const MapPoint& f : flags) {
        const double b = BearingOf(chair, f) / kDegrees;
        x += std::sin(b);
        y += std::cos(b);
    }
    return std::atan2(x, y) * kDegrees;
}

// The centre of the task's control circle: its first part, as the composer centres the map.
bool CircleCentre(const CKibMap& map, int task, MapPoint& centre) {
    for (int p = 0; p < map.partCount; ++p) {
        const SymbolInstance* part = map.Part(p);
        if (part && part->firstLine && map.PartHasTask(p, task)) {
            centre = part->centre;
            return true;
        }
    }
    return false;
}

} // namespace

std::string MapAnswer::Letters() const {
    switch (kind) {
    case Kind::Letter:
        return std::string(1, letter);
    case Kind::Ambiguous:
        return "ambiguous";
    case Kind::Unknown:
        break;
    }
    return "?";
}

std::string MapAnswer::Evidence(double limitMetres) const {
    if (kind == Kind::Unknown) {
        return reason;
    }
    if (kind == Kind::Ambiguous) {
        std::string text = "flags";
        for (std::size_t k = 0; k < near.size(); ++k) {
            text += Format("%s %c %.1f m", k == 0 ? "" : ",", near[k].letter, near[k].metres);
        }
        return text + Format(" within %.1f m of the circle's centre", limitMetres);
    }
    if (letter != 'Z') {
        return Format("flag %c %.1f m from the circle's centre", letter, near.front().metres);
    }
    if (nearest.letter == 0) {
        return "no flag in the map";
    }
    return Format("no flag within %.1f m of the circle's centre (nearest %c %.1f m)", limitMetres,
                  nearest.letter, nearest.metres);
}

std::vector<MapPoint> FlagsLeftToRight(CKibMap& map) {
    std::vector<MapPoint> flags;
    MapPoint chair;
    if (map.correctFlagId.IsZero() && map.falseFlagId.IsZero()) {
        return flags;
    }
    AddFlags(map, map.correctFlagId, flags);
    if (!(map.falseFlagId == map.correctFlagId)) {
        AddFlags(map, map.falseFlagId, flags);
    }
    if (flags.empty() || !ChairOf(map, chair)) {
        return {};
    }
    const double view = ViewBearing(map, chair, flags);
    std::stable_sort(flags.begin(), flags.end(), [&](MapPoint a, MapPoint b) {
        return Normalise180(BearingOf(chair, a) - view) < Normalise180(BearingOf(chair, b) - view);
    });
    return flags;
}

double MetresPerMapUnit(const CKibDoc& doc, const CKibMap& map) {
    int scale = ScaleOverZoom(doc.mapScale, map.zoom);
    if (scale == 0 && doc.GetConfig()) {
        scale = doc.GetConfig()->Item(id::Event_SCALE).GetInt();
    }
    if (scale <= 0 || !IsUsableMapZoom(map.zoom)) {
        return 0.0;
    }
    return static_cast<double>(scale) * static_cast<double>(map.zoom) / 1000.0;
}

double AnswerDistance(const CKibCfg& cfg) {
    double metres = 2.0;
    if (std::sscanf(cfg.Item(id::Source_ANSWERDIST).GetValue().c_str(), "%lf", &metres) != 1 ||
        !std::isfinite(metres)) {
        return 2.0;
    }
    return std::max(0.0, metres);
}

MapAnswer MapAnswerOf(CKibMap& map, int task, double limitMetres, double metresPerUnit) {
    MapAnswer answer;
    MapPoint centre;
    if (!CircleCentre(map, task, centre)) {
        answer.reason = "no control circle of the task in the map";
        return answer;
    }
    if (metresPerUnit <= 0.0) {
        answer.reason = "no map scale known";
        return answer;
    }
    const std::vector<MapPoint> flags = FlagsLeftToRight(map);
    if (flags.empty()) {
        answer.reason = "no chair or no flags in the map";
        return answer;
    }
    if (flags.size() > 6) {
        answer.reason =
            Format("%d flags in the map, more than A to F", static_cast<int>(flags.size()));
        return answer;
    }
    for (std::size_t k = 0; k < flags.size(); ++k) {
        const FlagDistance f{static_cast<char>('A' + k),
                             static_cast<double>(Distance(centre, flags[k])) * metresPerUnit};
        if (answer.nearest.letter == 0 || f.metres < answer.nearest.metres) {
            answer.nearest = f;
        }
        if (f.metres < limitMetres) {
            answer.near.push_back(f);
        }
    }
    std::stable_sort(
        answer.near.begin(), answer.near.end(),
        [](const FlagDistance& a, const FlagDistance& b) { return a.metres < b.metres; });
    answer.kind = answer.near.size() > 1 ? MapAnswer::Kind::Ambiguous : MapAnswer::Kind::Letter;
    answer.letter = answer.near.empty()       ? 'Z'
                    : answer.near.size() == 1 ? answer.near.front().letter
                                              : 0;
    return answer;
}

} // namespace kib
