// Reading back what the engine handed to SDL's disk driver, and measuring tones in it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvanta::test {

// The whole file as native floats.
std::vector<float> ReadFloats(const std::string& path);

// Channel `channel` of interleaved frames [first, first + count).
std::vector<float> ChannelOf(const std::vector<float>& interleaved, int channels, int channel,
                             std::size_t first, std::size_t count);

double Peak(const std::vector<float>& samples);

// Frequency of a clean tone from its rising zero crossings.
double ZeroCrossingFrequency(const std::vector<float>& samples, int rate);

// Amplitude of the `frequency` component (single-bin DFT, rectangular window).
double ToneAmplitude(const std::vector<float>& samples, int rate, double frequency);

// Index of the first frame whose channel 0 reaches `threshold` in magnitude; npos if none.
std::size_t FirstSoundingFrame(const std::vector<float>& interleaved, int channels,
                               float threshold);

} // namespace orvanta::test
