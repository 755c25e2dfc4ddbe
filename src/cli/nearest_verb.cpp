#include "cli/nearest_verb.h"

#include <algorithm>

namespace kib::cli {

std::size_t EditDistance(const std::string& a, const std::string& b) {
    // Optimal string alignment: the classic table with one row per letter of a.
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1, 0));
    for (std::size_t i = 0; i <= n; ++i) {
        d[i][0] = i;
    }
    for (std::size_t j = 0; j <= m; ++j) {
        d[0][j] = j;
    }
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[n][m];
}

std::string NearestVerb(const std::string& word, const std::vector<std::string>& verbs) {
    std::string nearest;
    std::size_t best = 3; // more than two edits is another word
    for (const std::string& verb : verbs) {
        const std::size_t distance = EditDistance(word, verb);
        if (distance < best && 2 * distance < std::max(word.size(), verb.size())) {
            best = distance;
            nearest = verb;
        }
    }
    return nearest;
}

std::string VerbWord(const std::vector<std::string>& arguments,
                     const std::vector<std::string>& optionsWithValue) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word.empty() || word[0] != '-') {
            return word;
        }
        if (std::find(optionsWithValue.begin(), optionsWithValue.end(), word) !=
            optionsWithValue.end()) {
            ++i; // its value
        }
    }
    return {};
}

} // namespace kib::cli
