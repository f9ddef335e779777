// End-to-end playback through the real engine and SDL's disk driver.
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace orvanta::test {
namespace {

using PlaybackTest = EngineFixture;

TEST_F(PlaybackTest, LiveStationPlaysItsToneOnBothChannels) {
    const HSTREAM stream = Create("/live.mp3");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    Play(1000);

    const std::vector<float> left = Tail(400, 0);
    const std::vector<float> right = Tail(400, 1);
    ASSERT_GT(left.size(), 10000u);
    EXPECT_NEAR(ZeroCrossingFrequency(left, kRate), kToneHz, 10.0);
    EXPECT_NEAR(ToneAmplitude(left, kRate, kToneHz), kToneLeft, 0.03);
    EXPECT_NEAR(ToneAmplitude(right, kRate, kToneHz), kToneRight, 0.03);
}

TEST_F(PlaybackTest, MasterVolumeScalesWhatIsWritten) {
    const HSTREAM stream = Create("/live.mp3");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_SetVolume(1.0f));
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    Play(700);
    const double full = ToneAmplitude(Tail(300), kRate, kToneHz);
    ASSERT_TRUE(BASS_SetVolume(0.37f));
    Play(500);
    const double reduced = ToneAmplitude(Tail(300), kRate, kToneHz);
    ASSERT_GT(full, 0.3);
    EXPECT_NEAR(reduced / full, 0.37, 0.015);

    EXPECT_FALSE(BASS_SetVolume(1.5f));
    EXPECT_FALSE(BASS_SetVolume(-0.1f));
}

enum class Silencer { Stop, Free };

class SilenceTest : public EngineFixture, public ::testing::WithParamInterface<Silencer> {};

TEST_P(SilenceTest, OutputFallsSilentAndLevelReportsFailure) {
    const HSTREAM stream = Create("/live.mp3");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    Play(500);
    ASSERT_GT(Peak(Tail(100)), 0.3);
    if (GetParam() == Silencer::Stop)
        ASSERT_TRUE(BASS_ChannelStop(stream));
    else
        ASSERT_TRUE(BASS_StreamFree(stream));
    const std::size_t cut = WrittenFrames();
    Play(400);
    // One device buffer may already have been mixed when the call came.
    const std::vector<float> pcm = Pcm();
    const std::size_t from = (cut + 2048) * channels;
    ASSERT_LT(from + kRate / 10, pcm.size());
    for (std::size_t i = from; i < pcm.size(); ++i)
        ASSERT_EQ(pcm[i], 0.0f) << "sample " << i;
    EXPECT_EQ(BASS_ChannelGetLevel(stream), 0xFFFFFFFFu);
}

INSTANTIATE_TEST_SUITE_P(StopOrFree, SilenceTest,
                         ::testing::Values(Silencer::Stop, Silencer::Free));

} // namespace
} // namespace orvanta::test
