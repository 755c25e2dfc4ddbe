#include "foundation/checked_number.h"

#include <climits>
#include <cmath>

namespace kib {

std::optional<int> TruncateToInt(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double whole = std::trunc(value);
    if (whole < static_cast<double>(INT_MIN) || whole > static_cast<double>(INT_MAX)) {
        return std::nullopt;
    }
    return static_cast<int>(whole);
}

int TruncateToIntOr(double value, int fallback) {
    return TruncateToInt(value).value_or(fallback);
}

bool IsUsableMapZoom(float zoom) {
    return std::isfinite(zoom) && zoom >= kMinMapZoom && zoom <= kMaxMapZoom;
}

int ScaleOverZoom(int mapScale, float zoom) {
    if (!(zoom > 0.0f) || !std::isfinite(zoom)) {
        return mapScale;
    }
    return TruncateToIntOr(static_cast<double>(static_cast<float>(mapScale) / zoom), 0);
}

} // namespace kib
