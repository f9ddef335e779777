// The building blocks behind level and spectrum readings: the FFT scale, the level word, the
// played-audio history and the decoder ring.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "platform/bass/level_meter.h"
#include "platform/bass/pcm_ring.h"
#include "platform/bass/play_history.h"
#include "platform/bass/spectrum.h"

namespace orvanta::bass {
namespace {

std::vector<float> Sine(double cyclesPerBlock, double amplitude) {
    std::vector<float> out(Fft1024::kSize);
    for (std::size_t n = 0; n < out.size(); ++n)
        out[n] = static_cast<float>(
            amplitude * std::sin(2.0 * std::numbers::pi * cyclesPerBlock * n / Fft1024::kSize));
    return out;
}

std::size_t PeakBin(const std::vector<float>& bins) {
    std::size_t best = 0;
    for (std::size_t k = 1; k < bins.size(); ++k)
        if (bins[k] > bins[best])
            best = k;
    return best;
}

TEST(SpectrumTest, FullScaleSineAtBinCentreReadsHalf) {
    Fft1024 fft;
    ASSERT_TRUE(fft.Ok());
    struct Case {
        double cycles;
        double amplitude;
    };
    for (const Case c : {Case{64, 1.0}, Case{5, 1.0}, Case{300, 0.25}, Case{511, 1.0}}) {
        std::vector<float> bins(Fft1024::kBins, -1.0f);
        fft.Magnitudes(Sine(c.cycles, c.amplitude).data(), bins.data());
        const auto k = static_cast<std::size_t>(c.cycles);
        EXPECT_NEAR(bins[k], 0.5 * c.amplitude, 1e-4) << c.cycles;
        // Hann leaks a quarter into each neighbour and next to nothing further out.
        if (k + 1 < Fft1024::kBins) {
            EXPECT_NEAR(bins[k + 1], 0.25 * c.amplitude, 1e-4) << c.cycles;
        }
        if (k + 3 < Fft1024::kBins) {
            EXPECT_LT(bins[k + 3], 1e-4) << c.cycles;
        }
    }
}

TEST(SpectrumTest, ThousandHertzAt44100PeaksInBin23AndSilenceIsZero) {
    Fft1024 fft;
    std::vector<float> bins(Fft1024::kBins);
    fft.Magnitudes(Sine(1000.0 * Fft1024::kSize / 44100.0, 1.0).data(), bins.data());
    EXPECT_EQ(PeakBin(bins), 23u);

    const std::vector<float> silence(Fft1024::kSize, 0.0f);
    fft.Magnitudes(silence.data(), bins.data());
    for (float b : bins)
        EXPECT_EQ(b, 0.0f);
}

TEST(LevelMeterTest, PeaksPerChannelInTheirWords) {
    struct Case {
        std::vector<float> frames; // interleaved L, R
        std::uint32_t word;
    };
    const Case cases[] = {
        {{0.0f, 0.0f}, 0u},
        {{0.5f, 0.0f, -0.25f, 0.0f}, 16384u},
        {{0.0f, 1.0f}, 32768u << 16},
        {{0.1f, -0.5f, -0.75f, 0.2f}, 24576u | (16384u << 16)},
        {{2.0f, -3.0f}, 32768u | (32768u << 16)}, // clipped, never beyond 32768
    };
    for (const Case& c : cases)
        EXPECT_EQ(PeakLevelWord(c.frames.data(), c.frames.size() / 2), c.word);
}

std::vector<float> Ramp(std::size_t frames, float from) {
    std::vector<float> out;
    for (std::size_t i = 0; i < frames; ++i) {
        out.push_back(from + static_cast<float>(i));
        out.push_back(-(from + static_cast<float>(i)));
    }
    return out;
}

TEST(PlayHistoryTest, ReadsByDevicePositionWithSilenceWhereNothingWasPlayed) {
    PlayHistory history(8);
    history.Append(Ramp(4, 1.0f).data(), 4, 100); // frames 100..103 hold 1..4
    std::vector<float> out(12);
    history.Read(104, 6, out.data()); // 98..103
    const std::vector<float> expected = {0, 0, 0, 0, 1, -1, 2, -2, 3, -3, 4, -4};
    EXPECT_EQ(out, expected);

    // A stop leaves a gap that reads as silence, and old frames fall out of the window.
    history.Append(Ramp(2, 10.0f).data(), 2, 106);
    history.Read(108, 4, out.data());
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 8),
              (std::vector<float>{0, 0, 0, 0, 10, -10, 11, -11}));
    history.Append(Ramp(8, 20.0f).data(), 8, 108);
    history.Read(110, 3, out.data()); // 107 fell out of an 8-frame history
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 6),
              (std::vector<float>{0, 0, 20, -20, 21, -21}));

    // Reading near the very start of the device clock must not wrap around.
    PlayHistory early(8);
    early.Append(Ramp(2, 1.0f).data(), 2, 0);
    early.Read(2, 4, out.data());
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 8),
              (std::vector<float>{0, 0, 0, 0, 1, -1, 2, -2}));
}

TEST(PcmRingTest, KeepsOrderAcrossTheWrapAndRefusesOverflow) {
    PcmRing ring(5);
    EXPECT_EQ(ring.Write(Ramp(3, 1.0f).data(), 3), 3u);
    std::vector<float> out(10);
    EXPECT_EQ(ring.Read(out.data(), 2), 2u);
    EXPECT_EQ(ring.Write(Ramp(6, 4.0f).data(), 6), 4u); // only 4 free
    EXPECT_EQ(ring.Available(), 5u);
    EXPECT_EQ(ring.Read(out.data(), 10), 5u);
    EXPECT_EQ(out, (std::vector<float>{3, -3, 4, -4, 5, -5, 6, -6, 7, -7}));
    EXPECT_EQ(ring.Read(out.data(), 1), 0u);
}

} // namespace
} // namespace orvanta::bass
