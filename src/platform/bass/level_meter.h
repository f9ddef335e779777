// The level word of BASS_ChannelGetLevel.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvanta::bass {

// Peaks of interleaved stereo frames as 0..32768 per channel: left in the low word, right in
// the high word.
std::uint32_t PeakLevelWord(const float* frames, std::size_t count);

} // namespace orvanta::bass
