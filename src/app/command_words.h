// Splitting of a command-line argument string into the words a program gets.
#pragma once

#include <string>
#include <vector>

namespace kib {

// Splits at blanks (spaces and tabs); double quotes group blanks into one word
// and are removed. No other character is special and no shell is involved:
// --file="a b.svg" gives the one word --file=a b.svg, "" gives an empty word.
std::vector<std::string> SplitCommandWords(const std::string& arguments);

} // namespace kib
