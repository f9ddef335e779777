#include "platform/bass/play_history.h"

#include <algorithm>

namespace orvanta::bass {

PlayHistory::PlayHistory(std::size_t capacityFrames)
    : FData(capacityFrames * 2), FCapacity(capacityFrames) {}

void PlayHistory::Append(const float* frames, std::size_t count, std::uint64_t start) {
    if (FBegin == FEnd) {
        FBegin = FEnd = start;
    } else if (start > FEnd) {
        const std::uint64_t gap = std::min<std::uint64_t>(start - FEnd, FCapacity);
        for (std::uint64_t pos = start - gap; pos < start; ++pos) {
            const std::size_t slot = pos % FCapacity;
            FData[slot * 2] = FData[slot * 2 + 1] = 0.0f;
        }
        FEnd = start;
    } else if (start < FEnd) {
        // The device clock never runs backwards; start over rather than mix up positions.
        FBegin = FEnd = start;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t slot = (start + i) % FCapacity;
        FData[slot * 2] = frames[i * 2];
        FData[slot * 2 + 1] = frames[i * 2 + 1];
    }
    FEnd = start + count;
    if (FEnd - FBegin > FCapacity)
        FBegin = FEnd - FCapacity;
}

bool PlayHistory::Holds(std::uint64_t pos) const {
    return pos >= FBegin && pos < FEnd;
}

void PlayHistory::Read(std::uint64_t end, std::size_t count, float* out) const {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t pos = end - count + i;
        if (end >= count - i && Holds(pos)) {
            const std::size_t slot = pos % FCapacity;
            out[i * 2] = FData[slot * 2];
            out[i * 2 + 1] = FData[slot * 2 + 1];
        } else {
            out[i * 2] = out[i * 2 + 1] = 0.0f;
        }
    }
}

} // namespace orvanta::bass
