// Start and control circle analysis: pairs the control circles drawn in the map
// with the course controls of the station's course by their offsets from the
// start, and shares the circles of course controls at one place.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/app_state.h"
#include "foundation/format.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/kib_svg.h"
#include "map_input/path_geometry.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace kib {

namespace {

double D(float v) {
    return static_cast<double>(v);
}

class CircleMatcher {
  public:
    CircleMatcher(CKibMap& map, int station) : m_(map), svg_(map.GetOwner()), station_(station) {}
    void Run();

  private:
    MapPoint Base();
    void CollectParts();
    void TraceDifferences() const;
    void FindCoincidingControls();
    void AssignParts();
    void ShareParts();
    // Course control i was read from the courses file (a task beyond its course has none).
    bool Read(int i) const { return i >= 1 && i <= svg_.controlCount; }
    // It was read with a position, which a circle can match.
    bool Present(int i) const { return Read(i) && !svg_.noPosition[static_cast<std::size_t>(i)]; }
    const char* Code(int i) const {
        return Read(i) ? svg_.codes[static_cast<std::size_t>(i)].c_str() : "";
    }
    MapPoint Position(int i) const { return svg_.positions[static_cast<std::size_t>(i)]; }
    MapPoint Offset(int i) const { return svg_.offsets[static_cast<std::size_t>(i)]; }

    CKibMap& m_;
    const CKibSvg& svg_;
    int station_;
    int controls_ = 0; // T: the task count of the station
    float delta_ = 0.25f;
    SymbolInstance* start_ = nullptr;
    MapPoint corner_;
    std::vector<MapPoint> partOffsets_;
    std::vector<int> near_;
    std::vector<int> assigned_;
};

float ReadDelta(const CKibCfg& cfg) {
    float delta = 0.0f;
    if (std::sscanf(cfg.Item(id::Source_DELTA).GetValue().c_str(), "%f", &delta) != 1) {
        return 0.25f;
    }
    return delta;
}

void CircleMatcher::CollectParts() {
    // Without a guessed circle symbol (major 0) there are no circles to look up.
    SymbolSet* circles = m_.circleMajor > 0 ? m_.FindSet(m_.circleMajor, 0) : nullptr;
    if (!circles || circles->count == 0) {
        m_.Diag().Warning("Cannot find control circles (symbol %d.0) for station %d in the "
                          "map!",
                          m_.circleMajor, station_);
        return;
    }
    m_.firstPart = circles->First();
    int found = 0;
    for (const SymbolInstance& part : circles->instances) {
        m_.Diag().Debug("Control circle #%d (line %d): %.3f %.3f (scaled: %.3f %.3f)", part.index,
                        part.firstLine ? part.firstLine->lineNo : 0, D(part.centre.x),
                        D(part.centre.y), D(part.centre.x * m_.zoom), D(part.centre.y * m_.zoom));
        if (found == 0 || part.centre.x < corner_.x) {
            corner_.x = part.centre.x;
        }
        if (found == 0 || part.centre.y < corner_.y) {
            corner_.y = part.centre.y;
        }
        ++found;
    }
    m_.partCount = found;
    if (found > CKibMap::kMaxCircleParts) {
        m_.Diag().Error("Exceeded limit for circle parts (%d > %d)", found,
                        CKibMap::kMaxCircleParts);
        m_.partCount = CKibMap::kMaxCircleParts;
    }
}

MapPoint CircleMatcher::Base() {
    const MapPoint base = start_ ? start_->centre : corner_;
    m_.Diag().Debug("Control base: %.3f %.3f (scaled: %.3f %.3f)", D(base.x), D(base.y),
                    D(base.x * m_.zoom), D(base.y * m_.zoom));
    return base;
}

void CircleMatcher::TraceDifferences() const {
    m_.Diag().Debug("Control circle parts differences:");
    if (!m_.Diag().WantsDebug()) {
        return;
    }
    for (std::size_t p = 0; p < partOffsets_.size(); ++p) {
        std::string row = Format("#%2d: [", static_cast<int>(p));
        for (const MapPoint& q : partOffsets_) {
            row += Format("%9.3f", D(Distance(partOffsets_[p], q)));
        }
        row += " ]";
        m_.Diag().Debug("%s", row.c_str());
    }
}

void CircleMatcher::FindCoincidingControls() {
    std::vector<std::string> rows(static_cast<std::size_t>(controls_) + 1);
    for (int i = 1; i <= controls_; ++i) {
        if (Read(i)) {
            svg_.LogCourseControl(i);
        }
        near_[static_cast<std::size_t>(i)] = 1;
        for (int j = 1; j <= controls_; ++j) {
            if (j == i) {
                rows[static_cast<std::size_t>(i)] += "        *";
                continue;
            }
            if (!Present(i) || !Present(j)) {
                rows[static_cast<std::size_t>(i)] += "        -";
                continue;
            }
            const float d = Distance(Position(i), Position(j));
            rows[static_cast<std::size_t>(i)] += Format("%9.3f", D(d));
            if (d < delta_) {
                ++near_[static_cast<std::size_t>(i)];
                if (j < i) {
                    m_.Diag().Info(
                        "Course control %d.%d (%s) seems to be at the same place as #%d (%s) "
                        "(dist=%.3f).",
                        station_, i, Code(i), j, Code(j), D(d));
                }
            } else if (j < i && d < 2.0f * delta_) {
                m_.Diag().Info("Course control %d.%d (%s) seems to be very close to #%d (%s) "
                               "(dist=%.3f).\n",
                               station_, i, Code(i), j, Code(j), D(d));
            }
        }
    }
    for (int i = 1; i <= controls_; ++i) {
        m_.Diag().Debug("# %d (%d): [%s]", i, near_[static_cast<std::size_t>(i)],
                        rows[static_cast<std::size_t>(i)].c_str());
    }
}

void CircleMatcher::AssignParts() {
    for (int p = 0; p < m_.partCount; ++p) {
        std::string& text = m_.assignments[static_cast<std::size_t>(p)];
        text = ":";
        for (int i = 1; i <= controls_; ++i) {
            if (!Present(i)) {
                continue;
            }
            const float d = Distance(partOffsets_[static_cast<std::size_t>(p)], Offset(i));
            if (d < delta_) {
                text += std::to_string(i) + ":";
                ++assigned_[static_cast<std::size_t>(i)];
                m_.Diag().Debug(
                    "Control circle part #%d assigned to course control #%d (%s) (dist=%.3f)",
                    p + 1, i, Code(i), D(d));
            } else if (d < 2.0f * delta_) {
                m_.Diag().Info(
                    "Control circle part #%d seems to be very close to course control %d.%d "
                    "(%s) (dist=%.3f).\n",
                    p + 1, station_, i, Code(i), D(d));
            }
        }
        if (text == ":") {
            m_.Diag().Warning("Control circle part #%d of station %d map unmatched.", p + 1,
                              station_);
            ++m_.unmatchedParts;
        }
    }
}

void CircleMatcher::ShareParts() {
    for (int i = 1; i <= controls_; ++i) {
        const int assigned = assigned_[static_cast<std::size_t>(i)];
        const int near = near_[static_cast<std::size_t>(i)];
        if (assigned == 0 || assigned % near != 0) {
            m_.Diag().Warning("Wrong number of circle parts (%d) for course control %d.%d "
                              "(%s)!\n",
                              assigned, station_, i, Code(i));
            continue;
        }
        const int keep = assigned / near;
        int seen = 0;
        for (int p = 0; p < m_.partCount; ++p) {
            if (!m_.PartHasTask(p, i) || ++seen <= keep) {
                continue;
            }
            m_.assignments[static_cast<std::size_t>(p)] = ":";
            ++m_.releasedParts;
            m_.Diag().Debug("Control circle part #%d released", p + 1);
        }
    }
}

void CircleMatcher::Run() {
    // Course controls beyond the courses file's limit are absent in any case.
    controls_ = std::clamp(m_.tasks, 0, CKibSvg::kMaxCourseControls);
    delta_ = ReadDelta(m_.GetConfig());
    SymbolSet* starts = m_.FindSet(701, 0);
    start_ = starts ? starts->First() : nullptr;
    if (start_) {
        m_.Diag().Debug("Start symbol position: %.3f %.3f (scaled: %.3f %.3f)", D(start_->ref.x),
                        D(start_->ref.y), D(start_->ref.x * m_.zoom), D(start_->ref.y * m_.zoom));
    } else {
        m_.Diag().Warning("Cannot find start  (symbol 701.0) for station %d in the map!", station_);
    }
    CollectParts();
    const MapPoint base = Base();
    SymbolInstance* part = m_.firstPart;
    for (int p = 0; p < m_.partCount && part; ++p, part = part->next) {
        const MapPoint offset{part->centre.x - base.x, part->centre.y - base.y};
        partOffsets_.push_back(offset);
        m_.Diag().Debug("Control circle offset #%d: %.3f %.3f", p, D(offset.x), D(offset.y));
    }
    TraceDifferences();
    near_.assign(static_cast<std::size_t>(controls_) + 1, 1);
    assigned_.assign(static_cast<std::size_t>(controls_) + 1, 0);
    FindCoincidingControls();
    AssignParts();
    ShareParts();
}

} // namespace

void CKibMap::AnalyseCircles(int station, int /*task*/) {
    firstPart = nullptr;
    partCount = 0;
    unmatchedParts = 0;
    releasedParts = 0;
    for (std::string& text : assignments) {
        text = ":";
    }
    CircleMatcher matcher(*this, station);
    matcher.Run();
}

} // namespace kib
