#include "map_input/text_scan.h"

#include <climits>
#include <cmath>

namespace kib {

namespace {

bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

void TextScan::SkipSpace() {
    while (!AtEnd() && IsScanSpace(text_[pos_])) {
        ++pos_;
    }
}

bool TextScan::Literal(std::string_view format) {
    for (char f : format) {
        if (IsScanSpace(f)) {
            SkipSpace();
            continue;
        }
        if (AtEnd() || text_[pos_] != f) {
            return false;
        }
        ++pos_;
    }
    return true;
}

bool TextScan::Int(int& value) {
    SkipSpace();
    std::size_t p = pos_;
    bool negative = false;
    if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) {
        negative = text_[p] == '-';
        ++p;
    }
    if (p >= text_.size() || text_[p] < '0' || text_[p] > '9') {
        return false;
    }
    long long magnitude = 0;
    const long long limit = static_cast<long long>(INT_MAX) + 1;
    for (; p < text_.size() && text_[p] >= '0' && text_[p] <= '9'; ++p) {
        if (magnitude < limit) {
            magnitude = magnitude * 10 + (text_[p] - '0');
        }
    }
    if (negative) {
        value = magnitude >= limit ? INT_MIN : static_cast<int>(-magnitude);
    } else {
        value = magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
    }
    pos_ = p;
    return true;
}

bool TextScan::Char(char& c) {
    if (AtEnd()) {
        return false;
    }
    c = text_[pos_++];
    return true;
}

int TruncToInt(double value) {
    if (std::isnan(value)) {
        return INT_MIN;
    }
    if (value >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (value <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

} // namespace kib
