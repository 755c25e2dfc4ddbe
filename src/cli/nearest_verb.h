// The verb a mistyped command word most likely meant ("mpas" for "maps").
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kib::cli {

// The number of single-character insertions, deletions, substitutions and swaps
// of neighbours that turn one word into the other.
std::size_t EditDistance(const std::string& a, const std::string& b);

// The verb nearest to word, when it is near enough to be what was meant (at most
// two edits, and fewer than half the word's letters); empty otherwise.
std::string NearestVerb(const std::string& word, const std::vector<std::string>& verbs);

// The first word of the arguments (in their order, without the program's name)
// that stands where the verb belongs: not an option, nor the value of an option
// named in optionsWithValue. Empty when there is none.
std::string VerbWord(const std::vector<std::string>& arguments,
                     const std::vector<std::string>& optionsWithValue);

} // namespace kib::cli
