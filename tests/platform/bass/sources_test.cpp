// The kinds of station the engine must play: codecs, channel layouts and rates, playlists, HLS,
// redirects and ICY servers.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "engine_fixture.h"

namespace orvanta::test {
namespace {

struct Format {
    const char* name;
    const char* file;
    const char* contentType;
    double frequency;
};

void PrintTo(const Format& format, std::ostream* out) {
    *out << format.name;
}

class FormatTest : public EngineFixture, public ::testing::WithParamInterface<Format> {};

TEST_P(FormatTest, PlaysAtItsFrequencyResampledToTheDevice) {
    const Format& format = GetParam();
    Route route;
    route.file = Fixture(format.file);
    route.contentType = format.contentType;
    route.loop = false;
    route.bytesPerSecond = 0;
    server.Add("/tone", route);
    const HSTREAM stream = Create("/tone");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    Play(700);

    const std::vector<float> pcm = Pcm();
    const std::size_t start = FirstSoundingFrame(pcm, channels, 0.2f);
    ASSERT_NE(start, static_cast<std::size_t>(-1)) << "no sound from " << format.name;
    // Skip the codec's fade-in, then measure 200 ms of both channels.
    const std::size_t from = start + kRate / 10;
    for (int c = 0; c < 2; ++c) {
        const std::vector<float> tone = ChannelOf(pcm, channels, c, from, kRate / 5);
        ASSERT_EQ(tone.size(), static_cast<std::size_t>(kRate / 5)) << format.name;
        EXPECT_NEAR(ZeroCrossingFrequency(tone, kRate), format.frequency, format.frequency * 0.01)
            << format.name << " channel " << c;
        EXPECT_GT(ToneAmplitude(tone, kRate, format.frequency), 0.2) << format.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, FormatTest,
    ::testing::Values(Format{"mp3", "tone_1k_stereo.mp3", "audio/mpeg", 1000},
                      Format{"aac_48k_mono", "tone_440_mono.aac", "audio/aac", 440},
                      Format{"vorbis_22k", "tone_660.ogg", "application/ogg", 660},
                      Format{"opus", "tone_880.opus", "audio/ogg", 880},
                      Format{"flac_16k_mono", "tone_1200_mono.flac", "audio/flac", 1200},
                      Format{"vorbis_5_1", "tone_550_5ch1.ogg", "application/ogg", 550}),
    [](const auto& info) { return std::string(info.param.name); });

using SourceTest = EngineFixture;

Route TextRoute(std::string body, std::string type) {
    Route route;
    route.kind = Route::Kind::Text;
    route.body = std::move(body);
    route.contentType = std::move(type);
    return route;
}

TEST_F(SourceTest, PlaylistsResolveToTheirFirstEntryThatOpens) {
    const std::string live = server.Url("/live.mp3");
    const std::string dead = server.Url("/gone.mp3"); // 404
    struct Case {
        const char* path;
        std::string body;
    };
    const Case cases[] = {
        {"/a.pls", "[playlist]\nNumberOfEntries=2\nFile1=" + dead + "\nFile2=" + live + "\n"},
        {"/b.m3u", "#EXTM3U\n#EXTINF:-1,Dead\n" + dead + "\n#EXTINF:-1,Live\n" + live + "\n"},
        {"/c.m3u8", "#EXTM3U\nlive.mp3\n"}, // relative entry, no HLS tags
        {"/d.pls", "[playlist]\nFile1=file:///etc/passwd\nFile2=/live.mp3\n"},
        {"/e.m3u", "/b.m3u\n"}, // a playlist naming a playlist
    };
    for (const Case& c : cases)
        server.Add(c.path, TextRoute(c.body, "audio/x-mpegurl"));
    int played = 0;
    for (const Case& c : cases) {
        const HSTREAM stream = Create(c.path);
        EXPECT_NE(stream, 0u) << c.path;
        EXPECT_EQ(server.Requests("/live.mp3"), ++played) << c.path;
        BASS_StreamFree(stream);
    }
    EXPECT_EQ(server.Requests("/gone.mp3"), 3);

    server.Add("/none.pls", TextRoute("[playlist]\nFile1=" + dead + "\n", "audio/x-scpls"));
    EXPECT_EQ(Create("/none.pls"), 0u);
}

TEST_F(SourceTest, StalledPlaylistEntryGivesWayToTheNext) {
    bass::Tuning tuning;
    tuning.noDataTimeout = std::chrono::milliseconds(500);
    bass::SetTuning(tuning);
    Route stall;
    stall.kind = Route::Kind::Stall;
    server.Add("/stall.mp3", stall);
    server.Add("/s.pls",
               TextRoute("[playlist]\nFile1=/stall.mp3\nFile2=/live.mp3\n", "audio/x-scpls"));
    EXPECT_NE(Create("/s.pls"), 0u);
    EXPECT_EQ(server.Requests("/stall.mp3"), 1);
    EXPECT_EQ(server.Requests("/live.mp3"), 1);
}

TEST_F(SourceTest, HlsPlaysThroughItsSegments) {
    std::string playlist;
    {
        Route text = TextRoute("", "application/vnd.apple.mpegurl");
        std::ifstream in(Fixture("hls_tone.m3u8"));
        text.body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        server.Add("/hls/tone.m3u8", text);
    }
    for (const char* segment : {"hls_tone0.ts", "hls_tone1.ts", "hls_tone2.ts"}) {
        Route route;
        route.file = Fixture(segment);
        route.contentType = "video/mp2t";
        route.loop = false;
        route.bytesPerSecond = 0;
        server.Add(std::string("/hls/") + segment, route);
    }
    const HSTREAM stream = Create("/hls/tone.m3u8");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    Play(800);
    const std::vector<float> tone = Tail(300);
    EXPECT_NEAR(ZeroCrossingFrequency(tone, kRate), 1000.0, 10.0);
    EXPECT_GT(ToneAmplitude(tone, kRate, 1000.0), 0.4);
    EXPECT_GE(server.Requests("/hls/hls_tone0.ts"), 1);
}

TEST_F(SourceTest, RedirectsAreFollowed) {
    Route redirect;
    redirect.kind = Route::Kind::Status;
    redirect.status = 302;
    redirect.location = server.Url("/live.mp3");
    server.Add("/moved", redirect);
    const HSTREAM stream = Create("/moved");
    EXPECT_NE(stream, 0u);
    EXPECT_EQ(server.Requests("/live.mp3"), 1);
}

TEST_F(SourceTest, IcyNameAndTitleAreKeptPerStream) {
    Route one = LiveTone();
    one.icyStatusLine = true;
    one.icyName = "Radio One";
    one.icyMetaInt = 4000;
    one.streamTitle = "Artist - Song";
    Route two = LiveTone();
    two.icyName = "Radio Two";
    two.icyMetaInt = 2000;
    two.streamTitle = "Rock 'n' Roll";
    server.Add("/one", one);
    server.Add("/two", two);

    const HSTREAM a = Create("/one");
    const HSTREAM b = Create("/two");
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(a, FALSE));
    ASSERT_TRUE(WaitUntil(
        [&] {
            return bass::GetStreamTags(a)->title == "Artist - Song" &&
                   bass::GetStreamTags(b)->title == "Rock 'n' Roll";
        },
        std::chrono::milliseconds(3000)));
    EXPECT_EQ(bass::GetStreamTags(a)->name, "Radio One");
    EXPECT_EQ(bass::GetStreamTags(b)->name, "Radio Two");
    // Metadata blocks are taken out of the audio: the tone stays clean.
    Play(600);
    const std::vector<float> tone = Tail(400);
    EXPECT_NEAR(ZeroCrossingFrequency(tone, kRate), kToneHz, 10.0);
    EXPECT_LT(Peak(tone), 0.6);
    BASS_StreamFree(a);
    EXPECT_FALSE(bass::GetStreamTags(a).has_value());
}

TEST_F(SourceTest, MonoDeviceMixesBothSidesIntoOne) {
    BASS_Free();
    ASSERT_TRUE(Init(-1, BASS_DEVICE_MONO));
    const HSTREAM stream = Create("/live.mp3");
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    Play(800);
    const std::vector<float> tone = Tail(300);
    EXPECT_NEAR(ToneAmplitude(tone, kRate, kToneHz), (kToneLeft + kToneRight) / 2, 0.03);
    const DWORD level = BASS_ChannelGetLevel(stream);
    EXPECT_EQ(level & 0xFFFF, level >> 16);
    EXPECT_NEAR(static_cast<double>(level & 0xFFFF), 0.375 * 32768, 0.05 * 32768);
}

} // namespace
} // namespace orvanta::test
