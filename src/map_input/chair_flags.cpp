// Chair, flags and viewing angle: finds the chair and the flags, checks their
// number and works out the map rotation from the widest pair of flags.
#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"
#include "map_input/station_items.h"
#include "map_input/text_scan.h"
#include "map_input/viewing_angle.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace kib {

namespace {

double D(float v) {
    return static_cast<double>(v);
}

bool BothFlagsZero(const CKibMap& m) {
    return m.correctFlagId.IsZero() && m.falseFlagId.IsZero();
}

void WarnNoAngles(Diagnostics& diagnostics, int station) {
    diagnostics.Warning("No ANGLE(s) configured for station %d!", station);
}

// Bearings of the flags seen from the chair, with the widest pair.
class FlagBearings {
  public:
    FlagBearings(MapPoint chair, Diagnostics& diagnostics) : chair_(chair), diag_(diagnostics) {}
    void AddSet(SymbolSet& set);
    int Count() const { return count_; }
    int MaxSpread() const { return maxSpread_; }
    int First() const { return pairI_; }
    int Second() const { return pairJ_; }
    float Bearing(int n) const { return bearings_[static_cast<std::size_t>(n - 1)]; }

  private:
    void Add(const SymbolInstance& flag);

    MapPoint chair_;
    Diagnostics& diag_;
    std::vector<float> bearings_;
    int count_ = 0;
    int maxSpread_ = 0;
    int pairI_ = 0;
    int pairJ_ = 0;
};

void FlagBearings::AddSet(SymbolSet& set) {
    if (set.count == 0) {
        return;
    }
    set.ComputeGroupingFactor(diag_);
    const auto g = static_cast<std::size_t>(set.groupingFactor);
    for (std::size_t k = 0; k < set.instances.size(); k += g) {
        Add(set.instances[k]);
    }
}

void FlagBearings::Add(const SymbolInstance& flag) {
    const float dx = flag.centre.x - chair_.x;
    const float dy = chair_.y - flag.centre.y;
    const float bearing = std::atan2(dx, dy) * (180.0f / 3.1415927f);
    const int n = ++count_;
    diag_.Debug("Flag (at line %d): %.3f %.3f, angle=%f",
                flag.firstLine ? flag.firstLine->lineNo : 0, D(flag.centre.x), D(flag.centre.y),
                D(bearing));
    if (n > CKibMap::kMaxBearings) {
        return; // counted, but beyond the table; the count check rejects such a map
    }
    bearings_.push_back(bearing);
    if (n == 1) {
        pairI_ = pairJ_ = 1;
    }
    for (int k = 1; k < n; ++k) {
        float d = std::fabs(Bearing(k) - bearing);
        if (d > 180.0f) {
            d = 360.0f - d;
        }
        if (d > static_cast<float>(maxSpread_)) {
            maxSpread_ = TruncToInt(d);
            pairI_ = k;
            pairJ_ = n;
        }
    }
}

} // namespace

int SectorRotation(int a, int b) {
    // Wide arithmetic: a bearing that was not a number arrives as a huge value.
    const long long m = (static_cast<long long>(a) + b) / 2;
    const long long r = -m;
    long long rotation = 0;
    if (std::llabs(static_cast<long long>(a) - b) <= 180) {
        rotation = r < 0 ? r + 360 : r;
    } else {
        rotation = r - 180 >= 0 ? r - 180 : r + 180;
    }
    return static_cast<int>(((rotation % 360) + 360) % 360);
}

void CKibMap::CheckSpecialSymbols() {
    // Events have 2 to 6 flags.
    const int flags = Bundles(790, 2) + Bundles(790, 3);
    standardChairFlagsFound = Bundles(790, 1) == 1 && flags >= 2 && flags <= 6;
    if (standardChairFlagsFound && !chairId.valid) {
        Diag().Warning(
            "Found OCAD symbols 790.X in the map but SOURCE.CHAIR, FLAG and "
            "ZERO symbol numbers are not configured! Set them properly or to 0.0 to avoid "
            "this warning!");
    }
    // One tag per flag: 791.1 to 791.n once each (n = 2 .. 6), none beyond.
    int tags = 0;
    while (tags < 6 && Bundles(791, tags + 1) == 1) {
        ++tags;
    }
    standardLettersFound = tags >= 2;
    for (int minor = tags + 1; minor <= 6; ++minor) {
        standardLettersFound = standardLettersFound && Bundles(791, minor) == 0;
    }
    if (standardLettersFound && !lettersId.valid) {
        Diag().Warning(
            "Found OCAD symbols 791.X in the map but SOURCE.LETTERS symbol "
            "number is not configured! Set it properly or to 0.0 to avoid this warning!");
    }
}

void CKibMap::CheckFlagCount(int station) {
    if (BothFlagsZero(*this)) {
        return;
    }
    int allowed = StationInt(cfg_, station, id::Station_FLAGS);
    if (allowed == 0) {
        allowed = cfg_.Item(id::Event_FLAGS).GetInt();
    }
    if (allowed == 0) {
        allowed = 6;
    }
    // Flags are counted in bundles: a flag drawn with several objects is one flag.
    int found = Bundles(correctFlagId);
    if (!(falseFlagId == correctFlagId)) {
        found += Bundles(falseFlagId);
    }
    if (found > allowed) {
        Diag().Warning("Incorrect number of flags (%d) found in the map of station %d!", found,
                       station);
    }
}

bool CKibMap::FindChair() {
    if (chairId.IsZero()) {
        Diag().Warning("Chair symbol ID not defined in the SOURCE configuration section!");
        return false;
    }
    SymbolSet* chairs = FindSet(chairId);
    chairInstance = chairs ? chairs->First() : nullptr;
    if (!chairInstance) {
        Diag().Warning("Chair symbol not found in the map!");
        return false;
    }
    SymbolInstance& chair = *chairInstance;
    const int lineNo = chair.firstLine ? chair.firstLine->lineNo : 0;
    if (chair.points == 2 && chair.straightSecond) {
        chair.ref = chair.firstPoint;
        Diag().Debug("Changing chair reference point (from line %d) to the first point %.3f,%.3f",
                     lineNo, D(chair.ref.x), D(chair.ref.y));
    }
    if (chair.next) {
        Diag().Debug("Unifying all chair reference points (from line %d) to %.3f,%.3f", lineNo,
                     D(chair.ref.x), D(chair.ref.y));
        for (SymbolInstance* part = chair.next; part; part = part->next) {
            part->ref = chair.ref;
        }
    }
    Diag().Debug("Chair: %.3f %.3f", D(chair.ref.x), D(chair.ref.y));
    return true;
}

void CKibMap::AnalyseViewingAngle(int station) {
    rotation = cfg_.Station(station) ? cfg_.GetRotation(station) : -1;
    if (rotation != -1) {
        return;
    }
    if (!FindChair()) {
        WarnNoAngles(Diag(), station);
        return;
    }
    if (BothFlagsZero(*this)) {
        Diag().Warning("Symbols for correct and false flags not defined in the SOURCE "
                       "configuration section!");
        WarnNoAngles(Diag(), station);
        return;
    }
    FlagBearings bearings(chairInstance->ref, Diag());
    if (SymbolSet* correct = FindSet(correctFlagId)) {
        bearings.AddSet(*correct);
    }
    if (!(falseFlagId == correctFlagId)) {
        if (SymbolSet* wrong = FindSet(falseFlagId)) {
            bearings.AddSet(*wrong);
        }
    }
    if (bearings.Count() < 2 || bearings.Count() > 6) {
        Diag().Warning("Incorrect number of flags found in the map (%d)!", bearings.Count());
        WarnNoAngles(Diag(), station);
        return;
    }
    const int i = bearings.First();
    const int j = bearings.Second();
    const int a = TruncToInt(bearings.Bearing(j));
    const int b = TruncToInt(bearings.Bearing(i));
    rotation = SectorRotation(a, b);
    Diag().Info("Station #%d: Viewing angle %d (%d/#%d:%d/#%d), rotation=%d", station,
                bearings.MaxSpread(), b, i, a, j, rotation);
}

} // namespace kib
