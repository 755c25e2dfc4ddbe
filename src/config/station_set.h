// The stations a command works on: a set over the station numbers 0 .. 20,
// made from a station list ("1,3-5"), a selection in the Make dialog or "every
// station", and checked in one place against the configuration's station range
// and task counts, so that every verb and the dialog refuse the same choices.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

namespace kib {

class CKibCfg;

class StationSet {
  public:
    static constexpr int kLowest = 0;
    static constexpr int kHighest = 20;

    // Every station of the configuration.
    StationSet() = default;
    static StationSet Every() { return StationSet(); }
    // The stations named (none named: an empty choice, not every station).
    static StationSet Of(const std::vector<int>& stations);
    // The stations whose bit is set (bit n for station n); 0 chooses every station.
    static StationSet FromMask(std::uint32_t mask);
    // Parses "1,3-5" (blanks around numbers allowed). False with the reason in
    // error for an empty item, a range that runs backwards, a number outside
    // 0 .. 20 or any other text.
    static bool Parse(const std::string& text, StationSet& set, std::string& error);

    // Adds a station; false (nothing added) outside 0 .. 20.
    bool Add(int station);
    bool IsEvery() const { return every_; }
    // Whether the set chooses the station (every station: any of 0 .. 20).
    bool Contains(int station) const;
    // The named stations in ascending order (none for every station).
    std::vector<int> Named() const;

    // The stations of the configuration's range (Event.MINSTAT .. Event.MAXSTAT,
    // within 0 .. 20) that the set chooses, in ascending order.
    std::vector<int> Chosen(const CKibCfg& cfg) const;

    // False with the reason in error when a named station lies outside the
    // configuration's range.
    bool CheckRange(const CKibCfg& cfg, std::string& error) const;
    // False with the reason in error when the task choice t >= 1 lies beyond the
    // configured tasks of a chosen station (a station whose task count is not
    // configured is left to its map).
    bool CheckTask(const CKibCfg& cfg, int taskChoice, std::string& error) const;

  private:
    bool every_ = true;
    std::bitset<kHighest + 1> named_;
};

// The one check of a command's choice: CheckRange, then CheckTask.
bool CheckChoice(const CKibCfg& cfg, const StationSet& stations, int taskChoice,
                 std::string& error);

} // namespace kib
