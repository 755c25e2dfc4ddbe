// Decides, for every symbol group line of a map export, whether the group is
// recorded and with which type bits.
#pragma once

#include "map_input/symbol_type.h"

#include <optional>
#include <string>

namespace kib {

class CKibMap;

class SymbolClassifier {
  public:
    explicit SymbolClassifier(CKibMap& map) : map_(map) {}

    // The type of a recorded group; none for a group that is skipped.
    std::optional<SymbolType> Classify(int major, int minor, const std::string& name, int lineNo);
    bool LayerStarted() const { return layerStarted_; }

  private:
    SymbolType SpecialType(int major, int minor) const;
    SymbolType ConfiguredType(int major, int minor, const std::string& name, int lineNo,
                              bool& isStart);
    void GuessCircleSymbol(int major, int minor, const std::string& name, int lineNo);
    std::optional<SymbolType> LayerRule(SymbolType type, int major, int minor,
                                        const std::string& name);
    SymbolType FollowerBits(SymbolType type, int major, int minor) const;

    CKibMap& map_;
    bool layerStarted_ = false;
    bool warnedOnce_ = false;
};

} // namespace kib
