// Level and spectrum readings of a playing tone, taken from what the device was handed.
#include <gtest/gtest.h>

#include <array>

#include "engine_fixture.h"

namespace orvanta::test {
namespace {

using LevelSpectrumTest = EngineFixture;

TEST_F(LevelSpectrumTest, LevelWordCarriesEachChannelsPeak) {
    const HSTREAM stream = Create("/live.mp3");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    Play(600);
    for (int i = 0; i < 5; ++i) {
        const DWORD level = BASS_ChannelGetLevel(stream);
        EXPECT_NEAR(static_cast<double>(level & 0xFFFF), kToneLeft * 32768, 0.06 * 32768);
        EXPECT_NEAR(static_cast<double>(level >> 16), kToneRight * 32768, 0.06 * 32768);
        Play(30);
    }
    // The level is the station's, as the meters always showed it: the master volume is the
    // listener's and does not change it.
    ASSERT_TRUE(BASS_SetVolume(0.1f));
    Play(200);
    EXPECT_NEAR(static_cast<double>(BASS_ChannelGetLevel(stream) & 0xFFFF), kToneLeft * 32768,
                0.06 * 32768);
}

TEST_F(LevelSpectrumTest, SpectrumPeaksAtTheTonesBin) {
    const HSTREAM stream = Create("/live.mp3");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    Play(600);
    std::array<float, 513> bins;
    bins.fill(-1.0f);
    EXPECT_EQ(BASS_ChannelGetData(stream, bins.data(), BASS_DATA_FFT1024), 512 * sizeof(float));
    EXPECT_EQ(bins[512], -1.0f); // the caller's spare element is not written
    std::size_t peak = 0;
    for (std::size_t k = 1; k < 512; ++k)
        if (bins[k] > bins[peak])
            peak = k;
    // 1 kHz at 44.1 kHz is bin 23.2; the channels mixed give an amplitude of 0.375, and the
    // Hann window reads a little under half of it that close to a bin centre.
    EXPECT_EQ(peak, 23u);
    EXPECT_GT(bins[23], 0.15f);
    EXPECT_LT(bins[23], 0.19f);
    EXPECT_LT(bins[100], 0.01f);

    // Other lengths are not offered.
    bins.fill(-1.0f);
    EXPECT_EQ(BASS_ChannelGetData(stream, bins.data(), 1024), 0xFFFFFFFFu);
    EXPECT_EQ(bins[0], -1.0f);
}

} // namespace
} // namespace orvanta::test
