// The spectrum renderer: 129 bands with falling bars and peak marks, composed off screen and
// copied to the target in one block so the target never shows a half-drawn frame.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/vcl/core/graphics.h"

namespace visual {

class TSpectrum {
public:
    static constexpr int BandCount = 129;
    static constexpr int FFTSize = 513;
    // The DC bin and the lowest bins below this one never feed a band.
    static constexpr int FirstBin = 5;
    // Scale from an FFT magnitude to a height in pixels.
    static constexpr double HeightScale = 500.0;

    using TFFTData = std::span<const float, FFTSize>;
    using THeights = std::array<std::int32_t, BandCount>;

    TSpectrum(std::int32_t width, std::int32_t height);

    // Advances the fall-off state by one step from `data`, composes the frame with the bands
    // shifted by (X, Y) and copies the whole frame to `target` at its (0, 0).
    void Draw(vcl::TCanvas& target, TFFTData data, std::int32_t X, std::int32_t Y);

    // Settings: public, read at the next Draw.
    vcl::TBitmap BackBuffer;
    vcl::TBitmap BackgroundBitmap;
    vcl::TColor BackgroundColor = vcl::clBlack;
    std::int32_t MaxBarHeight = 100;
    vcl::TColor BarColor = vcl::clWhite;
    vcl::TColor PeakColor = vcl::clYellow;
    // 0: one-pixel line per band; 1: bars BarWidth wide; anything else: no bands.
    std::int32_t DrawStyle = 0;
    std::int32_t BinStep = 1;
    bool ClearFrame = true;
    // Copy BackgroundBitmap under the bands; only together with ClearFrame.
    bool UseBackground = false;
    std::int32_t PeakFallOff = 1;
    std::int32_t BarFallOff = 3;
    std::int32_t BarWidth = 5;
    bool ShowPeaks = true;

    // Fall-off state, one entry per band.
    THeights PeakHeights{};
    THeights BarHeights{};

private:
    std::int32_t BandHeight(TFFTData data, int band) const;
    void UpdateBand(int band, std::int32_t h);
    void DrawLineBand(int band, std::int64_t X, std::int64_t bottom);
    void DrawBarBand(int band, std::int64_t X, std::int64_t bottom);
};

} // namespace visual
