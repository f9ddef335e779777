#include "platform/bass/pcm_ring.h"

#include <algorithm>

namespace orvanta::bass {

PcmRing::PcmRing(std::size_t capacityFrames)
    : FCapacity(capacityFrames), FData(capacityFrames * 2) {}

std::size_t PcmRing::Write(const float* frames, std::size_t count) {
    std::lock_guard lock(FLock);
    const std::size_t n = std::min(count, FCapacity - FCount);
    std::size_t pos = (FRead + FCount) % FCapacity;
    for (std::size_t done = 0; done < n;) {
        const std::size_t chunk = std::min(n - done, FCapacity - pos);
        std::copy_n(frames + done * 2, chunk * 2, FData.begin() + pos * 2);
        done += chunk;
        pos = (pos + chunk) % FCapacity;
    }
    FCount += n;
    return n;
}

std::size_t PcmRing::Read(float* frames, std::size_t count) {
    std::lock_guard lock(FLock);
    const std::size_t n = std::min(count, FCount);
    for (std::size_t done = 0; done < n;) {
        const std::size_t chunk = std::min(n - done, FCapacity - FRead);
        std::copy_n(FData.begin() + FRead * 2, chunk * 2, frames + done * 2);
        done += chunk;
        FRead = (FRead + chunk) % FCapacity;
    }
    FCount -= n;
    return n;
}

std::size_t PcmRing::Available() const {
    std::lock_guard lock(FLock);
    return FCount;
}

std::size_t PcmRing::Free() const {
    std::lock_guard lock(FLock);
    return FCapacity - FCount;
}

void PcmRing::Clear() {
    std::lock_guard lock(FLock);
    FRead = 0;
    FCount = 0;
}

} // namespace orvanta::bass
