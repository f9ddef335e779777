#include "platform/bass/level_meter.h"

#include <algorithm>
#include <cmath>

namespace orvanta::bass {

namespace {
std::uint32_t ToLevel(float peak) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(peak, 0.0f, 1.0f) * 32768.0f));
}
} // namespace

std::uint32_t PeakLevelWord(const float* frames, std::size_t count) {
    float left = 0.0f;
    float right = 0.0f;
    for (std::size_t i = 0; i < count; ++i) {
        left = std::max(left, std::fabs(frames[i * 2]));
        right = std::max(right, std::fabs(frames[i * 2 + 1]));
    }
    return ToLevel(left) | (ToLevel(right) << 16);
}

} // namespace orvanta::bass
