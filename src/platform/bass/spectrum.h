// The 1024-point magnitude spectrum handed out by BASS_ChannelGetData(BASS_DATA_FFT1024).
#pragma once

#include <cstddef>

#include "platform/bass/ffmpeg_ptr.h"

namespace orvanta::bass {

class Fft1024 {
public:
    static constexpr std::size_t kSize = 1024;
    static constexpr std::size_t kBins = kSize / 2;

    Fft1024();
    ~Fft1024();
    Fft1024(const Fft1024&) = delete;
    Fft1024& operator=(const Fft1024&) = delete;

    bool Ok() const { return FTx != nullptr; }

    // Hann-windowed magnitudes of kSize mono samples, scaled 2|X|/N so a full-scale sine at a
    // bin centre reads 0.5: kBins values into `out`.
    void Magnitudes(const float* samples, float* out);

private:
    TxPtr FTx;
    av_tx_fn FTransform = nullptr;
    float* FWindow = nullptr;
    float* FIn = nullptr;
    AVComplexFloat* FOut = nullptr;
};

} // namespace orvanta::bass
