#include "map_input/symbol_id.h"

#include "map_input/text_scan.h"

namespace kib {

SymbolId ParseSymbolId(std::string_view text) {
    TextScan scan(text);
    int major = 0;
    int minor = 0;
    char separator = 0;
    char extra = 0;
    int conversions = 0;
    scan.SkipSpace();
    if (scan.Int(major)) {
        ++conversions;
        if (scan.Char(separator)) {
            ++conversions;
            if (scan.Int(minor)) {
                ++conversions;
                scan.SkipSpace();
                if (scan.Char(extra)) {
                    ++conversions;
                }
            }
        }
    }
    SymbolId id;
    if (conversions == 1) {
        id.major = major;
        id.minor = -1;
        id.valid = true;
    } else if (conversions == 3 && separator == '.') {
        id.major = major;
        id.minor = minor;
        id.valid = true;
    }
    return id;
}

} // namespace kib
