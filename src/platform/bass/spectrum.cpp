#include "platform/bass/spectrum.h"

#include <cmath>
#include <numbers>

namespace orvanta::bass {

Fft1024::Fft1024() {
    FWindow = static_cast<float*>(av_malloc(kSize * sizeof(float)));
    FIn = static_cast<float*>(av_malloc(kSize * sizeof(float)));
    FOut = static_cast<AVComplexFloat*>(av_malloc((kBins + 1) * sizeof(AVComplexFloat)));
    if (!FWindow || !FIn || !FOut)
        return;
    // Periodic Hann: its coefficients sum to exactly N/2, which makes the bin-centre reading
    // of a sine exactly half its amplitude.
    for (std::size_t n = 0; n < kSize; ++n)
        FWindow[n] = static_cast<float>(
            0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * static_cast<double>(n) / kSize)));
    AVTXContext* tx = nullptr;
    const float scale = 1.0f;
    if (av_tx_init(&tx, &FTransform, AV_TX_FLOAT_RDFT, 0, kSize, &scale, 0) == 0)
        FTx.reset(tx);
}

Fft1024::~Fft1024() {
    av_free(FWindow);
    av_free(FIn);
    av_free(FOut);
}

void Fft1024::Magnitudes(const float* samples, float* out) {
    for (std::size_t n = 0; n < kSize; ++n)
        FIn[n] = samples[n] * FWindow[n];
    FTransform(FTx.get(), FOut, FIn, sizeof(float));
    constexpr float kScale = 2.0f / kSize;
    for (std::size_t k = 0; k < kBins; ++k)
        out[k] = std::hypot(FOut[k].re, FOut[k].im) * kScale;
}

} // namespace orvanta::bass
