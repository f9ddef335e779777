// What the mixer handed to the device for one stream, stamped with the device's running frame
// count, so level and spectrum readings can look at what is being heard rather than at what was
// decoded ahead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvanta::bass {

class PlayHistory {
public:
    explicit PlayHistory(std::size_t capacityFrames);

    // Stereo frames handed to the device from device frame `start` on. A gap since the last
    // append (the stream was stopped) reads as silence.
    void Append(const float* frames, std::size_t count, std::uint64_t start);

    // Stereo frames [end - count, end) into `out`; frames never recorded read as silence.
    void Read(std::uint64_t end, std::size_t count, float* out) const;

private:
    bool Holds(std::uint64_t pos) const;

    std::vector<float> FData;
    std::size_t FCapacity;
    std::uint64_t FBegin = 0; // first frame held
    std::uint64_t FEnd = 0;   // one past the last frame held
};

} // namespace orvanta::bass
