// Speed of the knob's drawing primitives in megapixels per second, each beside a plain memcpy
// of the same number of bytes (the memory-bandwidth floor): `x_memcpy` is how many copies of
// those bytes one call costs. The knob redraws on every drag step, so a whole 100-pixel frame's
// primitives should stay well under 0.2 ms.
#include "controls/knob/disc_ring.h"
#include "controls/knob/ezline.h"
#include "controls/knob/rotate_aa.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using namespace knob;
using Clock = std::chrono::steady_clock;

// Best time of one memcpy of `bytes`, in nanoseconds.
double MemcpyNs(std::size_t bytes) {
    std::vector<std::uint8_t> from(bytes, 1), to(bytes);
    double best = 1e300;
    for (int round = 0; round < 20; ++round) {
        const int reps = 200;
        const auto start = Clock::now();
        for (int i = 0; i < reps; ++i) {
            std::memcpy(to.data(), from.data(), bytes);
            benchmark::DoNotOptimize(to.data());
            benchmark::ClobberMemory();
        }
        const std::chrono::duration<double, std::nano> took = Clock::now() - start;
        best = std::min(best, took.count() / reps);
    }
    return best;
}

// Runs `body` under the benchmark loop and reports megapixels per second and the cost relative
// to copying `bytes`.
template <typename Body>
void Measure(benchmark::State& state, std::size_t pixels, std::size_t bytes, Body&& body) {
    const double copyNs = MemcpyNs(bytes);
    const auto start = Clock::now();
    for (auto _ : state)
        body();
    const std::chrono::duration<double, std::nano> took = Clock::now() - start;
    const double perCall = took.count() / std::max<double>(1, state.iterations());
    state.counters["MPix/s"] = benchmark::Counter(static_cast<double>(pixels) / 1e6,
                                                  benchmark::Counter::kIsIterationInvariantRate);
    state.counters["memcpy_ns"] = copyNs;
    state.counters["x_memcpy"] = perCall / copyNs;
}

vcl::TBitmap Picture(int w, int h) {
    vcl::TBitmap bmp(w, h, vcl::pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.PutPixel(x, y, vcl::RGB(x * 7, y * 5, (x ^ y) & 0xFF));
    return bmp;
}

void BM_RotateBitmapAA(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const double angle = static_cast<double>(state.range(1));
    const vcl::TBitmap source = Picture(side, side);
    auto probe = RotateBitmapAA(source, angle, 0xFFFFFF, false, false, true, 1.0);
    const std::size_t pixels = static_cast<std::size_t>(probe->Width()) * probe->Height();
    Measure(state, pixels, pixels * 4, [&] {
        auto result = RotateBitmapAA(source, angle, 0xFFFFFF, false, false, true, 1.0);
        benchmark::DoNotOptimize(result.get());
    });
}

constexpr int kKnob = 100;
constexpr std::size_t kFramePixels = kKnob * kKnob;
constexpr std::size_t kFrameBytes = kFramePixels * 3;

void BM_DrawLine(benchmark::State& state) {
    vcl::TBitmap frame = Picture(kKnob, kKnob);
    TEZLine line;
    line.Configure(0x202020, true, 2.0, 1.0, 0.0, true, vcl::psSolid, vcl::pmCopy);
    const float end = static_cast<float>(10 + 100 / 1.4142135623730951);
    Measure(state, kFramePixels, kFrameBytes, [&] {
        line.Phase = 0;
        benchmark::DoNotOptimize(line.DrawLine(&frame, 10, 10, end, end));
    });
}

void BM_FillDiscAA(benchmark::State& state) {
    vcl::TBitmap frame = Picture(kKnob, kKnob);
    Measure(state, kFramePixels, kFrameBytes, [&] {
        FillDiscAA(frame, 0x3050C0, 50, 50, 46.5, 1.4);
        benchmark::DoNotOptimize(frame.ScanLine(0));
    });
}

void BM_DrawRingAA(benchmark::State& state) {
    vcl::TBitmap frame = Picture(kKnob, kKnob);
    Measure(state, kFramePixels, kFrameBytes, [&] {
        DrawRingAA(frame, 0x3F3F3F, 50, 50, 49, 1.0, 1.0);
        benchmark::DoNotOptimize(frame.ScanLine(0));
    });
}

void BM_DrawShadedRing(benchmark::State& state) {
    vcl::TBitmap frame = Picture(kKnob, kKnob);
    Measure(state, kFramePixels, kFrameBytes, [&] {
        DrawShadedRing(frame, 0xDFDFDF, 50, 50, 47.6, 1.8, 1.0, 0x7F7F7F, 120, 210);
        benchmark::DoNotOptimize(frame.ScanLine(0));
    });
}

// Everything a plain 100-pixel knob with a border draws per frame.
void BM_KnobPlainFrame(benchmark::State& state) {
    vcl::TBitmap frame = Picture(kKnob, kKnob);
    TEZLine line;
    line.Configure(0x000000, true, 2.0, 1.0, 0.0, true, vcl::psSolid, vcl::pmCopy);
    Measure(state, kFramePixels, kFrameBytes, [&] {
        FillDiscAA(frame, 0x3050C0, 50, 50, 46.5, 1.4);
        DrawShadedRing(frame, 0xDFDFDF, 50, 50, 47.6, 1.8, 1.0, 0x7F7F7F, 120, 210);
        DrawRingAA(frame, 0xEFEFEF, 50, 50, 46.2, 0.8, 0.8);
        DrawRingAA(frame, 0x3F3F3F, 50, 50, 49, 1.0, 1.0);
        line.Phase = 0;
        line.DrawLine(&frame, 21.7f, 78.3f, 19.6f, 80.4f);
        benchmark::DoNotOptimize(frame.ScanLine(0));
    });
}

// A picture knob turning its face: the rotation, the rim and state rings and the mark.
void BM_KnobPictureFrame(benchmark::State& state) {
    const vcl::TBitmap face = Picture(kKnob, kKnob);
    vcl::TBitmap frame = Picture(kKnob, kKnob);
    TEZLine line;
    line.Configure(0x000000, true, 2.0, 1.0, 0.0, true, vcl::psSolid, vcl::pmCopy);
    Measure(state, kFramePixels, kFrameBytes, [&] {
        auto turned = RotateBitmapAA(face, 37, 0xFFFFFF, false, false, true, 1.0);
        benchmark::DoNotOptimize(turned.get());
        DrawRingAA(frame, 0xFFFFFF, 50, 50, 47.5, 1.0, 1.0);
        DrawRingAA(frame, 0x3F3F3F, 50, 50, 49, 1.0, 1.0);
        line.Phase = 0;
        line.DrawLine(&frame, 21.7f, 78.3f, 19.6f, 80.4f);
        benchmark::DoNotOptimize(frame.ScanLine(0));
    });
}

} // namespace

BENCHMARK(BM_RotateBitmapAA)
    ->ArgsProduct({{100, 1000}, {0, 90, 37}})
    ->ArgNames({"side", "deg"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawLine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FillDiscAA)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawRingAA)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawShadedRing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KnobPlainFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KnobPictureFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
