// Rounding shared by the knob's drawing primitives. Their pixels depend on exact rounding rules,
// and their inputs are not validated, so every float-to-integer step here stays defined even
// for huge, infinite or not-a-number values.
#pragma once

#include <cmath>
#include <cstdint>

namespace knob::detail {

// Nearest integer, halves to the even neighbour. Adding and removing 1.5 * 2^52 leaves the
// hardware's round-to-nearest-even to do the work inline; std::nearbyint is a library call that
// saves the floating-point environment, which dominated the per-pixel cost.
inline double Round(double x) {
    constexpr double kShift = 6755399441055744.0; // 1.5 * 2^52
    if (std::fabs(x) < 2251799813685248.0)        // 2^51: the sum keeps a unit in the last place
        return (x + kShift) - kShift;
    return std::nearbyint(x); // large values are whole already; also infinities and NaN
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
