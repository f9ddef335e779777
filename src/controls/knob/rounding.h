// Rounding shared by the knob's drawing primitives. Their pixels depend on exact rounding rules,
// and their inputs are not validated, so every float-to-integer step here stays defined even
// for huge, infinite or not-a-number values.
#pragma once

#include <cmath>
#include <cstdint>

namespace knob::detail {

// Nearest integer, halves to the even neighbour (the default floating-point rounding mode).
inline double Round(double x) {
    return std::nearbyint(x);
}

// An integral value as a 64-bit integer, saturated far beyond any bitmap size; not a number
// gives 0.
inline std::int64_t ToInt64(double x) {
    constexpr double kLimit = 4611686018427387904.0; // 2^62
    if (std::isnan(x))
        return 0;
    if (x >= kLimit)
        return std::int64_t{1} << 62;
    if (x <= -kLimit)
        return -(std::int64_t{1} << 62);
    return static_cast<std::int64_t>(x);
}

} // namespace knob::detail
