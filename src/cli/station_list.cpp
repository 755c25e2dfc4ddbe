#include "cli/station_list.h"

#include <algorithm>
#include <cctype>
#include <iostream>

namespace kib::cli {

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
    if (station < kLowestStation || station > kHighestStation) {
        error = "station " + text + " is outside 0-20";
        return false;
    }
    return true;
}

bool ParseItem(const std::string& item, std::vector<int>& stations, std::string& error) {
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
        stations.push_back(n);
    }
    return true;
}

} // namespace

bool ParseStationList(const std::string& text, std::vector<int>& stations, std::string& error) {
    stations.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (Trim(item).empty()) {
            error = "empty station in '" + text + "'";
            return false;
        }
        if (!ParseItem(item, stations, error)) {
            return false;
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    std::sort(stations.begin(), stations.end());
    stations.erase(std::unique(stations.begin(), stations.end()), stations.end());
    return true;
}

std::uint32_t StationMask(const std::vector<int>& stations) {
    std::uint32_t mask = 0;
    for (int n : stations) {
        mask |= 1u << (((n % 32) + 32) % 32);
    }
    return mask;
}

bool ParseStationsOption(const std::string& text, std::vector<int>& stations) {
    std::string error;
    if (!text.empty() && !ParseStationList(text, stations, error)) {
        std::cerr << "error: --stations: " << error << "\n";
        return false;
    }
    return true;
}

} // namespace kib::cli
