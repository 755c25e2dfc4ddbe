// The --stations option of the Make verbs: station numbers and ranges such as
// "1,3-5", turned into the station mask of a Make command.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kib::cli {

// Stations of an event are numbered 0 .. 20.
inline constexpr int kLowestStation = 0;
inline constexpr int kHighestStation = 20;

// Parses "1,3-5" (blanks around numbers allowed) into the sorted station
// numbers without repeats. False with a message in error for an empty item, a
// range that runs backwards, a number outside 0 .. 20 or any other text.
bool ParseStationList(const std::string& text, std::vector<int>& stations, std::string& error);

// The stations of a --stations option: none for an empty text (every station),
// else the parsed list. False, with the message on standard error, for bad text.
bool ParseStationsOption(const std::string& text, std::vector<int>& stations);

// The mask with bit (n mod 32) set for every station n.
std::uint32_t StationMask(const std::vector<int>& stations);

} // namespace kib::cli
