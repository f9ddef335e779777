// Live stations that drop: the engine reconnects by itself with a fresh request, and gives up
// on client errors at once and on stations that keep bringing no audio.
#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace orvanta::test {
namespace {

using std::chrono::milliseconds;
constexpr DWORD kFailure = 0xFFFFFFFF;

class ReconnectTest : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        bass::Tuning tuning;
        tuning.reconnectFirst = milliseconds(50);
        tuning.reconnectMax = milliseconds(200);
        tuning.reconnectAttempts = 3;
        tuning.noDataTimeout = milliseconds(1000);
        bass::SetTuning(tuning);
    }

    // The live tone, cut after about a quarter of a second past the burst.
    static Route Dropping(int connections) {
        Route route = LiveTone();
        route.dropAfterBytes = 20000;
        route.dropConnections = connections;
        return route;
    }

    static Route Status(int status) {
        Route route;
        route.kind = Route::Kind::Status;
        route.status = status;
        return route;
    }

    // Waits for the stream to be given up: once its buffer has played out it no longer counts
    // as playing.
    bool WaitGivenUp(HSTREAM stream) {
        return WaitUntil([&] { return BASS_ChannelGetLevel(stream) == kFailure; },
                         milliseconds(4000));
    }
};

TEST_F(ReconnectTest, DroppedStationComesBackByItself) {
    server.Add("/drop", Dropping(1));
    const HSTREAM stream = Create("/drop");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return bass::ConnectionCount(stream) >= 2; }, milliseconds(3000)));
    EXPECT_NE(BASS_ChannelGetLevel(stream), kFailure);
    // Past everything the first connection delivered (1.25 s), the tone still plays.
    Play(1800);
    const std::vector<float> tone = Tail(300);
    EXPECT_NEAR(ZeroCrossingFrequency(tone, kRate), kToneHz, 10.0);
    EXPECT_NEAR(ToneAmplitude(tone, kRate, kToneHz), kToneLeft, 0.05);
    EXPECT_EQ(server.Requests("/drop"), 2);
}

TEST_F(ReconnectTest, ClientErrorEndsTheStreamAtOnce) {
    server.Add("/drop", Dropping(-1));
    const HSTREAM stream = Create("/drop");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    server.Add("/drop", Status(404));
    ASSERT_TRUE(WaitGivenUp(stream));
    Play(300);
    EXPECT_EQ(server.Requests("/drop"), 2);
    EXPECT_FALSE(BASS_ChannelPlay(stream, FALSE));
    // The handle itself stays valid until freed.
    EXPECT_TRUE(BASS_StreamFree(stream));
}

TEST_F(ReconnectTest, StationThatKeepsFailingIsGivenUpAfterItsAttempts) {
    server.Add("/drop", Dropping(-1));
    const HSTREAM stream = Create("/drop");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    server.Add("/drop", Status(503));
    ASSERT_TRUE(WaitGivenUp(stream));
    Play(400);
    EXPECT_EQ(server.Requests("/drop"), 1 + 3);
}

TEST_F(ReconnectTest, FileOfKnownSizeEndsWithoutReconnecting) {
    Route route;
    route.file = Fixture("tone_1200_mono.flac");
    route.contentType = "audio/flac";
    route.loop = false;
    route.bytesPerSecond = 0;
    server.Add("/file.flac", route);
    const HSTREAM stream = Create("/file.flac");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(WaitGivenUp(stream));
    EXPECT_EQ(server.Requests("/file.flac"), 1);
}

} // namespace
} // namespace orvanta::test
