// Stations that cannot be played, handles that do not name a playing stream, and addresses that
// must never be opened: every one fails quietly with the engine's failure value, in bounded time.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

#include "engine_fixture.h"

namespace orvanta::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
constexpr DWORD kFailure = 0xFFFFFFFF;

// A loopback port nobody listens on: bound once to learn a free number, then closed.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(addr);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr));
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

// Every call naming `handle` fails, and the FFT buffer is left as it was.
void ExpectRejected(DWORD handle) {
    std::array<float, 513> buffer;
    buffer.fill(7.0f);
    EXPECT_EQ(BASS_ChannelGetLevel(handle), kFailure) << handle;
    EXPECT_EQ(BASS_ChannelGetData(handle, buffer.data(), BASS_DATA_FFT1024), kFailure) << handle;
    for (float v : buffer)
        ASSERT_EQ(v, 7.0f);
    EXPECT_FALSE(BASS_ChannelPlay(handle, FALSE)) << handle;
    EXPECT_FALSE(BASS_ChannelStop(handle)) << handle;
    EXPECT_FALSE(BASS_StreamFree(handle)) << handle;
}

using FailureTest = EngineFixture;

TEST_F(FailureTest, ZeroUnknownAndFreedHandlesAreRejected) {
    ExpectRejected(0);
    ExpectRejected(12345);
    const HSTREAM stream = Create("/live.mp3");
    ASSERT_NE(stream, 0u);
    // Created but not playing: no level, no spectrum.
    std::array<float, 513> buffer{};
    EXPECT_EQ(BASS_ChannelGetLevel(stream), kFailure);
    EXPECT_EQ(BASS_ChannelGetData(stream, buffer.data(), BASS_DATA_FFT1024), kFailure);
    ASSERT_TRUE(BASS_StreamFree(stream));
    ExpectRejected(stream);
}

TEST_F(FailureTest, InitOnlyOnceAndNothingWorksWithoutIt) {
    EXPECT_FALSE(BASS_Init(-1, kRate, 0, nullptr, nullptr));
    ASSERT_TRUE(BASS_Free());
    EXPECT_FALSE(BASS_Free());
    EXPECT_EQ(Create("/live.mp3"), 0u);
    EXPECT_EQ(server.Requests("/live.mp3"), 0);
    EXPECT_FALSE(BASS_SetVolume(0.5f));
    ExpectRejected(1);
    // An output device that does not exist.
    EXPECT_FALSE(BASS_Init(999, kRate, 0, nullptr, nullptr));
    EXPECT_TRUE(Init(-1, 0));
}

struct BadStation {
    const char* name;
    Route route;
};

Route Made(Route::Kind kind, int status = 200, std::string body = {}) {
    Route route;
    route.kind = kind;
    route.status = status;
    route.body = std::move(body);
    route.contentType = "text/html";
    return route;
}

TEST_F(FailureTest, BadStationsGiveZeroWithinTheTimeOut) {
    // Garbage at a station's pace fills the probe in about three seconds; a stall is the
    // no-data case below.
    const auto limit = bass::CurrentTuning().noDataTimeout;
    const BadStation stations[] = {
        {"404", Made(Route::Kind::Status, 404, "no such mount")},
        {"403", Made(Route::Kind::Status, 403)},
        {"500", Made(Route::Kind::Status, 500)},
        {"garbage", Made(Route::Kind::Garbage)},
        {"html",
         Made(Route::Kind::Text, 200, "<html><body>" + std::string(20000, 'x') + "</body></html>")},
        {"empty", Made(Route::Kind::Text, 200, "")},
        {"redirect-loop",
         [] {
             Route r = Made(Route::Kind::Status, 302);
             r.location = "/redirect-loop";
             return r;
         }()},
    };
    for (const BadStation& station : stations)
        server.Add(std::string("/") + station.name, station.route);

    for (const BadStation& station : stations) {
        const auto start = Clock::now();
        EXPECT_EQ(Create(std::string("/") + station.name), 0u) << station.name;
        const auto took = Clock::now() - start;
        EXPECT_LT(took, limit) << station.name;
        EXPECT_GE(server.Requests(std::string("/") + station.name), 1) << station.name;
    }

    const auto start = Clock::now();
    const std::string closed = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/live.mp3";
    EXPECT_EQ(BASS_StreamCreateURL(closed.c_str(), 0, 0, nullptr, nullptr), 0u);
    EXPECT_LT(Clock::now() - start, milliseconds(1000));
}

TEST_F(FailureTest, StalledStationGivesUpAfterTheNoDataTime) {
    bass::Tuning tuning;
    tuning.noDataTimeout = milliseconds(800);
    bass::SetTuning(tuning);
    server.Add("/stall", Made(Route::Kind::Stall));
    const auto start = Clock::now();
    EXPECT_EQ(Create("/stall"), 0u);
    const auto took = Clock::now() - start;
    EXPECT_GE(took, milliseconds(700));
    EXPECT_LT(took, milliseconds(2000));
}

TEST_F(FailureTest, ForbiddenProtocolsAreNeverOpened) {
    const std::string live = server.Url("/live.mp3");
    const std::string urls[] = {
        "file:///etc/passwd",
        "FILE:///etc/hostname",
        "/etc/passwd",
        "concat:" + live + "|" + live,
        "subfile:,,start,0,end,0,,:" + live,
        "pipe:0",
        "data:audio/mpeg;base64,AAAA",
        "tcp://127.0.0.1:" + std::to_string(server.Port()),
        "cache:" + live,
        live + "\r\nX-Injected: 1",
    };
    for (const std::string& url : urls)
        EXPECT_EQ(BASS_StreamCreateURL(url.c_str(), 0, 0, nullptr, nullptr), 0u) << url;
    EXPECT_EQ(server.Requests("/live.mp3"), 0);

    // Nested opens are held to the same rules: a redirect, a playlist entry or an HLS segment
    // pointing at a local file gives nothing.
    Route redirect = Made(Route::Kind::Status, 302);
    redirect.location = "file:///etc/passwd";
    server.Add("/to-file", redirect);
    server.Add("/local.pls", Made(Route::Kind::Text, 200,
                                  "[playlist]\nFile1=file:///etc/passwd\nFile2=pipe:0\n"));
    server.Add("/local.m3u8", Made(Route::Kind::Text, 200,
                                   "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2,\n"
                                   "file:///etc/passwd\n#EXT-X-ENDLIST\n"));
    server.Add("/concat.m3u8", Made(Route::Kind::Text, 200,
                                    "#EXTM3U\n#EXT-X-TARGETDURATION:2\n#EXTINF:2,\nconcat:" + live +
                                        "|" + live + "\n#EXT-X-ENDLIST\n"));
    for (const char* path : {"/to-file", "/local.pls", "/local.m3u8", "/concat.m3u8"}) {
        EXPECT_EQ(Create(path), 0u) << path;
        EXPECT_GE(server.Requests(path), 1) << path;
    }
    EXPECT_EQ(server.Requests("/live.mp3"), 0);
}

} // namespace
} // namespace orvanta::test
