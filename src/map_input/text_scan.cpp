#include "map_input/text_scan.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

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

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

// The map exports write plain decimals ("-12.345"): those are converted with
// std::from_chars, which rounds to the nearest float as strtof does. Anything
// else (a sign +, an exponent, hexadecimal, inf, nan, a number out of range) is
// left to std::sscanf itself, so that every number comes out as before.
bool TextScan::Float(float& value) {
    SkipSpace();
    const char* const begin = text_.data() + pos_;
    const char* const end = text_.data() + text_.size();
    const char* p = begin;
    if (p < end && *p == '-') {
        ++p;
    }
    int digits = 0;
    for (; p < end && IsDigit(*p); ++p) {
        ++digits;
    }
    if (p < end && *p == '.') {
        for (++p; p < end && IsDigit(*p); ++p) {
            ++digits;
        }
    }
    const char next = p < end ? *p : '\0';
    const bool plain = digits > 0 && next != 'e' && next != 'E' && next != 'x' && next != 'X';
    if (plain) {
        float parsed = 0.0f;
        const std::from_chars_result r = std::from_chars(begin, p, parsed);
        if (r.ec == std::errc() && r.ptr == p) {
            value = parsed;
            pos_ += static_cast<std::size_t>(p - begin);
            return true;
        }
    }
    return FloatByScanf(value);
}

bool TextScan::FloatByScanf(float& value) {
    // sscanf stops at the end of the view like at a terminating zero.
    const std::string rest(text_.substr(pos_));
    float parsed = 0.0f;
    int used = 0;
    if (std::sscanf(rest.c_str(), "%f%n", &parsed, &used) != 1) {
        return false;
    }
    value = parsed;
    pos_ += static_cast<std::size_t>(used);
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
