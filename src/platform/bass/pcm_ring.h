// Bounded ring of interleaved stereo float frames between a stream's decoder and the mixer.
#pragma once

#include <cstddef>
#include <mutex>
#include <vector>

namespace orvanta::bass {

class PcmRing {
public:
    explicit PcmRing(std::size_t capacityFrames);

    // Both return the number of frames moved; neither blocks beyond a short lock.
    std::size_t Write(const float* frames, std::size_t count);
    std::size_t Read(float* frames, std::size_t count);

    std::size_t Available() const;
    std::size_t Free() const;
    std::size_t Capacity() const { return FCapacity; }
    void Clear();

private:
    const std::size_t FCapacity;
    mutable std::mutex FLock;
    std::vector<float> FData;
    std::size_t FRead = 0;
    std::size_t FCount = 0;
};

} // namespace orvanta::bass
