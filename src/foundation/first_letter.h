// The first-letter rules of configuration values: a setting is judged by its
// first letter, compared as written or in either case as its rule says, and a
// yes/no value is no exactly when it begins with N or n.
#pragma once

#include <string_view>

namespace kib {

enum class LetterCase {
    Exact,  // the letter as written: "W..." is WEB, "w..." is not
    Either, // upper-cased first: "a4..." and "A4..." alike
};

// The first character of a value ('\0' for an empty one); with LetterCase::Either
// upper-cased (ASCII letters only).
constexpr char FirstLetter(std::string_view text, LetterCase rule) {
    const char c = text.empty() ? '\0' : text.front();
    return rule == LetterCase::Either && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A')
                                                              : c;
}

// Yes/no values: "N" or "n" is no, anything else (an empty value too) is yes.
constexpr bool IsYes(std::string_view text) {
    return FirstLetter(text, LetterCase::Either) != 'N';
}

} // namespace kib
