#include "config/station_set.h"

#include "config/kib_cfg.h"
#include "foundation/format.h"

#include <algorithm>
#include <cctype>

namespace kib {

namespace {

std::string Trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// A station number: one to three digits within 0 .. 20.
bool ParseStation(const std::string& raw, int& station, std::string& error) {
    const std::string text = Trim(raw);
    const bool digits =
        !text.empty() && text.size() <= 3 && std::all_of(text.begin(), text.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        });
    if (!digits) {
        error = "'" + raw + "' is not a station number";
        return false;
    }
    station = std::stoi(text);
    if (station < StationSet::kLowest || station > StationSet::kHighest) {
        error = "station " + text + " is outside 0-20";
        return false;
    }
    return true;
}

bool ParseItem(const std::string& item, StationSet& set, std::string& error) {
    const std::size_t dash = item.find('-');
    int first = 0;
    if (!ParseStation(item.substr(0, dash), first, error)) {
        return false;
    }
    int last = first;
    if (dash != std::string::npos && !ParseStation(item.substr(dash + 1), last, error)) {
        return false;
    }
    if (last < first) {
        error = "the range '" + Trim(item) + "' runs backwards";
        return false;
    }
    for (int n = first; n <= last; ++n) {
        set.Add(n);
    }
    return true;
}

} // namespace

StationSet StationSet::Of(const std::vector<int>& stations) {
    StationSet set;
    set.every_ = false;
    for (int n : stations) {
        set.Add(n);
    }
    return set;
}

StationSet StationSet::FromMask(std::uint32_t mask) {
    StationSet set;
    if (mask == 0) {
        return set;
    }
    set.every_ = false;
    for (int n = kLowest; n <= kHighest; ++n) {
        if ((mask >> n) & 1u) {
            set.Add(n);
        }
    }
    return set;
}

bool StationSet::Parse(const std::string& text, StationSet& set, std::string& error) {
    set = Of({});
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (Trim(item).empty()) {
            error = "empty station in '" + text + "'";
            return false;
        }
        if (!ParseItem(item, set, error)) {
            return false;
        }
        if (comma == std::string::npos) {
            return true;
        }
        start = comma + 1;
    }
}

bool StationSet::Add(int station) {
    if (station < kLowest || station > kHighest) {
        return false;
    }
    every_ = false;
    named_.set(static_cast<std::size_t>(station));
    return true;
}

bool StationSet::Contains(int station) const {
    if (station < kLowest || station > kHighest) {
        return false;
    }
    return every_ || named_.test(static_cast<std::size_t>(station));
}

std::vector<int> StationSet::Named() const {
    std::vector<int> stations;
    for (int n = kLowest; n <= kHighest && !every_; ++n) {
        if (named_.test(static_cast<std::size_t>(n))) {
            stations.push_back(n);
        }
    }
    return stations;
}

std::vector<int> StationSet::Chosen(const CKibCfg& cfg) const {
    std::vector<int> stations;
    const int first = std::max(kLowest, cfg.GetMinStation());
    const int last = std::min(kHighest, cfg.GetMaxStation());
    for (int n = first; n <= last; ++n) {
        if (Contains(n)) {
            stations.push_back(n);
        }
    }
    return stations;
}

bool StationSet::CheckRange(const CKibCfg& cfg, std::string& error) const {
    for (int n : Named()) {
        if (n < cfg.GetMinStation() || n > cfg.GetMaxStation()) {
            error = Format("station %d is not among the stations %d-%d", n, cfg.GetMinStation(),
                           cfg.GetMaxStation());
            return false;
        }
    }
    return true;
}

bool StationSet::CheckTask(const CKibCfg& cfg, int taskChoice, std::string& error) const {
    if (taskChoice < 1) {
        return true;
    }
    for (int n : Chosen(cfg)) {
        const int tasks = cfg.GetTasks(n);
        if (tasks > 0 && taskChoice > tasks) {
            error = Format("station %d has %d tasks, not task %d", n, tasks, taskChoice);
            return false;
        }
    }
    return true;
}

bool CheckChoice(const CKibCfg& cfg, const StationSet& stations, int taskChoice,
                 std::string& error) {
    return stations.CheckRange(cfg, error) && stations.CheckTask(cfg, taskChoice, error);
}

} // namespace kib
