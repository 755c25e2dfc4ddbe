// Small scanners for the fixed line formats of the map export. Integers are
// read like the scanf directive %d (leading white space, optional sign, digits)
// but saturate instead of overflowing, so that huge numbers stay out of range.
// Reals are read exactly as the scanf directive %f reads them, only faster.
#pragma once

#include <cstddef>
#include <string_view>

namespace kib {

class TextScan {
  public:
    explicit TextScan(std::string_view text, std::size_t pos = 0) : text_(text), pos_(pos) {}

    // A format literal: a blank matches any run of white space (also none),
    // every other character must match exactly.
    bool Literal(std::string_view format);
    // %d with saturation at the int range.
    bool Int(int& value);
    // %c: any one character.
    bool Char(char& c);
    // %f: the same characters and the same float as std::sscanf gives.
    bool Float(float& value);
    void SkipSpace();
    std::size_t Pos() const { return pos_; }
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

  private:
    bool FloatByScanf(float& value);

    std::string_view text_;
    std::size_t pos_;
};

// Truncation toward zero that never overflows: NaN gives INT_MIN, values
// beyond the int range the nearest int limit.
int TruncToInt(double value);

} // namespace kib
