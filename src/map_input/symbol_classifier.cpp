#include "map_input/symbol_classifier.h"

#include "config/cfg_ids.h"
#include "config/kib_cfg.h"
#include "foundation/log.h"
#include "map_input/kib_map.h"

namespace kib {

namespace {

// A series id (letters, answers) names major.minor when its minor is any, or
// when minor lies in minor(id) .. minor(id) + span.
bool InSeries(const SymbolId& id, int major, int minor, int span) {
    if (!id.valid || id.major != major) {
        return false;
    }
    return id.minor == -1 ||
           (minor >= id.minor && static_cast<long long>(minor) <= id.minor + 0LL + span);
}

bool IsMapRange(int major) {
    return major >= 100 && major <= 699;
}

} // namespace

SymbolType SymbolClassifier::SpecialType(int major, int minor) const {
    if (map_.chairId.Names(major, minor) || map_.correctFlagId.Names(major, minor) ||
        map_.falseFlagId.Names(major, minor) || map_.zeroId.Names(major, minor) ||
        InSeries(map_.lettersId, major, minor, 5)) {
        return TYPE_SPECIAL_COURSE;
    }
    if (InSeries(map_.answersId, major, minor, 6)) {
        return TYPE_ANSWERS;
    }
    return 0;
}

void SymbolClassifier::GuessCircleSymbol(int major, int minor, const std::string& name,
                                         int lineNo) {
    if (map_.circleMajor == 0) {
        map_.circleMajor = major;
        map_.circleFollower1 = major + 1;
        map_.circleFollower2 = major + 2;
        map_.circleId = SymbolId{major, 0, true};
        map_.Diag().Debug("Control circle symbol guessed from line #%d: %d (%s).", lineNo, major,
                          name.c_str());
    } else if (map_.circleMajor == major) {
        map_.Diag().Warning("Symbol %d.%d (%s) repeated in line #%d, possible multicolor "
                            "symbol.",
                            major, minor, name.c_str(), lineNo);
    }
}

SymbolType SymbolClassifier::ConfiguredType(int major, int minor, const std::string& name,
                                            int lineNo, bool& isStart) {
    const CKibCfg& cfg = map_.GetConfig();
    SymbolType type = SpecialType(major, minor);
    isStart = false;
    if (cfg.Item(id::Source_ZEROTOL).HasSymbol(major, minor)) {
        type |= TYPE_ZERO_TOLERANCE;
    } else if (cfg.Item(id::Source_HIDE).HasSymbol(major, minor)) {
        type |= TYPE_HIDDEN;
    } else if (major == 701) {
        type |= TYPE_COURSE;
        isStart = true;
    } else if (major == 702 || major == 703) {
        type |= TYPE_COURSE;
        GuessCircleSymbol(major, minor, name, lineNo);
    }
    return type;
}

std::optional<SymbolType> SymbolClassifier::LayerRule(SymbolType type, int major, int minor,
                                                      const std::string& name) {
    if (IsMapRange(major) && !(type & (TYPE_HIDDEN | TYPE_SPECIAL))) {
        if (layerStarted_) {
            if (!warnedOnce_) {
                map_.Diag().Warning("Symbol %d.%d (%s) considered control description one.", major,
                                    minor, name.c_str());
            } else {
                map_.Diag().Debug("Symbol %d.%d (%s) considered control description one.", major,
                                  minor, name.c_str());
            }
            warnedOnce_ = true;
            return type | TYPE_DESCRIPTION;
        }
        if (!map_.GetConfig().Item(id::Target_REDUCESIZE).IsYes()) {
            return std::nullopt;
        }
        return type;
    }
    if (major >= 0 && major <= 20) {
        if (layerStarted_) {
            return type | TYPE_DESCRIPTION;
        }
        map_.Diag().Debug("Symbol %d.%d (%s) considered regular map one.", major, minor,
                          name.c_str());
        if (!warnedOnce_) {
            map_.Diag().Warning("Symbol %d.%d (%s) considered regular map one.", major, minor,
                                name.c_str());
            warnedOnce_ = true;
        }
        return std::nullopt;
    }
    return type;
}

SymbolType SymbolClassifier::FollowerBits(SymbolType type, int major, int minor) const {
    if (major == 701 && minor == 0) {
        type |= TYPE_HIDDEN;
    }
    if (major == map_.circleFollower1) {
        type |= TYPE_OMITTED;
    }
    if (major == map_.circleFollower2 || major == 760) {
        type |= TYPE_HIDDEN;
    }
    return type;
}

std::optional<SymbolType> SymbolClassifier::Classify(int major, int minor, const std::string& name,
                                                     int lineNo) {
    bool isStart = false;
    SymbolType type = ConfiguredType(major, minor, name, lineNo, isStart);
    if (!isStart && (major == 18 || major == 20) && minor == 1) {
        type |= TYPE_COURSE;
    }
    if (!layerStarted_ && (type & TYPE_COURSE)) {
        layerStarted_ = true;
        map_.Diag().Debug("Course setting layer started at line %d by %d.%d (%s) symbol.", lineNo,
                          major, minor, name.c_str());
    }
    const std::optional<SymbolType> recorded = LayerRule(type, major, minor, name);
    if (!recorded) {
        return std::nullopt;
    }
    return FollowerBits(*recorded, major, minor);
}

} // namespace kib
