// Floating-point numbers read from organisers' files, or computed from them,
// become integers only within range: converting a NaN, an infinity or a value
// beyond int is undefined behaviour and once printed scales like
// "1 : -2147483648" on every sheet.
#pragma once

#include <optional>

namespace kib {

// The value truncated toward zero when it is a finite number within int's range.
std::optional<int> TruncateToInt(double value);
// The same, else fallback.
int TruncateToIntOr(double value, int fallback);

// The zoom factors of a map export's scale group that Kib accepts: 1/1000 to
// 1000. A factor outside them is refused like a missing one.
inline constexpr float kMinMapZoom = 0.001f;
inline constexpr float kMaxMapZoom = 1000.0f;
bool IsUsableMapZoom(float zoom);

// The one rule for the scale of the courses file (1 : mapScale) in the units of a
// map export with this zoom: mapScale / zoom in single precision, truncated (the
// competition maps' 37500 for 15000 at 0.4, not 37499). A zoom that is not a
// positive finite number is none: the scale stays undivided. 0 (no scale, which
// the sheets report as unknown) when the quotient is no int.
int ScaleOverZoom(int mapScale, float zoom);

} // namespace kib
