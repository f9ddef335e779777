#include "pcm_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <fstream>
#include <iterator>
#include <numbers>

namespace orvanta::test {

std::vector<float> ReadFloats(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> out(bytes.size() / sizeof(float));
    std::copy_n(bytes.data(), out.size() * sizeof(float), reinterpret_cast<char*>(out.data()));
    return out;
}

std::vector<float> ChannelOf(const std::vector<float>& interleaved, int channels, int channel,
                             std::size_t first, std::size_t count) {
    std::vector<float> out;
    const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);
    for (std::size_t i = first; i < first + count && i < frames; ++i)
        out.push_back(interleaved[i * channels + channel]);
    return out;
}

double Peak(const std::vector<float>& samples) {
    double peak = 0.0;
    for (float s : samples)
        peak = std::max(peak, static_cast<double>(std::fabs(s)));
    return peak;
}

double ZeroCrossingFrequency(const std::vector<float>& samples, int rate) {
    std::size_t first = 0, last = 0, crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0.0f && samples[i] >= 0.0f) {
            if (crossings == 0)
                first = i;
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0.0;
    return static_cast<double>(crossings - 1) * rate / static_cast<double>(last - first);
}

double ToneAmplitude(const std::vector<float>& samples, int rate, double frequency) {
    std::complex<double> sum;
    for (std::size_t n = 0; n < samples.size(); ++n)
        sum += static_cast<double>(samples[n]) *
               std::polar(1.0, -2.0 * std::numbers::pi * frequency * n / rate);
    return samples.empty() ? 0.0 : 2.0 * std::abs(sum) / static_cast<double>(samples.size());
}

std::size_t FirstSoundingFrame(const std::vector<float>& interleaved, int channels,
                               float threshold) {
    const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);
    for (std::size_t i = 0; i < frames; ++i)
        if (std::fabs(interleaved[i * channels]) >= threshold)
            return i;
    return static_cast<std::size_t>(-1);
}

} // namespace orvanta::test
