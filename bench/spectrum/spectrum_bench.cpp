// Cost of one spectrum frame as the player draws it every 10 ms: into the 620 x 51 strip and,
// with the centre flag on, into the 235 x 37 centre area.
#include "visual/player_spectrum.h"
#include "visual/spectrum.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

namespace {

using visual::TSpectrum;

// A few frames of music-like magnitudes, loud in the bass and falling off towards the top, so
// bars rise, fall and keep their peaks as they do while playing.
std::array<std::array<float, TSpectrum::FFTSize>, 16> MusicFrames() {
    std::array<std::array<float, TSpectrum::FFTSize>, 16> frames{};
    for (std::size_t f = 0; f < frames.size(); ++f)
        for (std::size_t k = 0; k < 512; ++k)
            frames[f][k] = static_cast<float>(0.08 / (1.0 + k / 40.0) *
                                              (0.6 + 0.4 * std::sin(0.7 * f + 0.13 * k)));
    return frames;
}

void DrawInto(benchmark::State& state, int targetWidth, int targetHeight, int drawStyle) {
    TSpectrum spectrum(620, 51);
    visual::ApplyPlayerLook(spectrum);
    spectrum.DrawStyle = drawStyle;
    vcl::TBitmap target(targetWidth, targetHeight);
    const auto frames = MusicFrames();
    std::size_t f = 0;
    for (auto _ : state) {
        spectrum.Draw(target.Canvas(), frames[f], 1, 1);
        f = (f + 1) % frames.size();
        benchmark::DoNotOptimize(target.ScanLine(0));
    }
}

void BM_StripBars(benchmark::State& state) {
    DrawInto(state, 620, 51, 1);
}
void BM_CentreBars(benchmark::State& state) {
    DrawInto(state, 235, 37, 1);
}
void BM_StripLines(benchmark::State& state) {
    DrawInto(state, 620, 51, 0);
}

// One spectrum tick with the centre flag on: the strip and the centre, two state steps.
void BM_TickWithCentre(benchmark::State& state) {
    TSpectrum spectrum(620, 51);
    visual::ApplyPlayerLook(spectrum);
    vcl::TBitmap strip(620, 51);
    vcl::TBitmap centre(235, 37);
    const auto frames = MusicFrames();
    std::size_t f = 0;
    for (auto _ : state) {
        spectrum.Draw(strip.Canvas(), frames[f], 1, 1);
        spectrum.Draw(centre.Canvas(), frames[f], 1, 1);
        f = (f + 1) % frames.size();
        benchmark::DoNotOptimize(centre.ScanLine(0));
    }
}

BENCHMARK(BM_StripBars)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CentreBars)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripLines)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TickWithCentre)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
