// Streams come and go without leaving threads or descriptors behind, handles are never reused,
// and the "no sound" device still plays in real time.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "engine_fixture.h"

namespace orvanta::test {
namespace {

using std::chrono::milliseconds;

std::size_t Entries(const char* dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}
std::size_t Threads() {
    return Entries("/proc/self/task");
}
std::size_t Descriptors() {
    return Entries("/proc/self/fd");
}

class LifecycleTest : public EngineFixture {
protected:
    // Waits until the server has seen every connection closed.
    bool Quiet() {
        return WaitUntil([&] { return server.OpenConnections() == 0; }, milliseconds(3000));
    }

    // Waits for the server to see every connection closed and the counts to settle.
    bool Settles(std::size_t threads, std::size_t fds) {
        return WaitUntil(
            [&] {
                return server.OpenConnections() == 0 && Threads() == threads &&
                       Descriptors() == fds;
            },
            milliseconds(3000));
    }
};

TEST_F(LifecycleTest, CreatePlayFreeCyclesLeaveNothingBehind) {
    // One cycle first, so libraries' one-time set-up is not counted as a leak.
    BASS_StreamFree(Create("/live.mp3"));
    ASSERT_TRUE(Quiet());
    const std::size_t threads = Threads();
    const std::size_t fds = Descriptors();
    for (int i = 0; i < 40; ++i) {
        const HSTREAM stream = Create("/live.mp3");
        ASSERT_NE(stream, 0u) << i;
        BASS_ChannelPlay(stream, FALSE);
        if (i % 4 == 0)
            Play(30);
        ASSERT_TRUE(BASS_StreamFree(stream));
    }
    EXPECT_TRUE(Settles(threads, fds))
        << "threads " << Threads() << " (was " << threads << "), descriptors " << Descriptors()
        << " (was " << fds << ")";
}

TEST_F(LifecycleTest, FreeReleasesStreamsStillOpen) {
    BASS_Free();
    ASSERT_TRUE(Quiet());
    const std::size_t threads = Threads();
    const std::size_t fds = Descriptors();
    ASSERT_TRUE(Init(-1, 0));
    const HSTREAM a = Create("/live.mp3");
    const HSTREAM b = Create("/live.mp3");
    const HSTREAM c = Create("/live.mp3");
    ASSERT_TRUE(a && b && c);
    BASS_ChannelPlay(a, FALSE);
    BASS_ChannelPlay(b, FALSE);
    Play(100);
    EXPECT_EQ(server.OpenConnections(), 3);
    ASSERT_TRUE(BASS_Free());
    EXPECT_TRUE(Settles(threads, fds));
    EXPECT_EQ(BASS_ChannelGetLevel(a), 0xFFFFFFFFu);
}

TEST_F(LifecycleTest, HandlesAreNeverReused) {
    std::set<HSTREAM> seen;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 4; ++i) {
            const HSTREAM stream = Create("/live.mp3");
            ASSERT_NE(stream, 0u);
            EXPECT_TRUE(seen.insert(stream).second) << stream;
            BASS_StreamFree(stream);
        }
        BASS_Free();
        ASSERT_TRUE(Init(-1, 0));
    }
}

TEST_F(LifecycleTest, NoSoundDeviceConsumesInRealTime) {
    BASS_Free();
    ASSERT_TRUE(Init(0, 0));
    const HSTREAM stream = Create("/live.mp3");
    ASSERT_NE(stream, 0u);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    ASSERT_TRUE(WaitUntil([&] { return (BASS_ChannelGetLevel(stream) & 0xFFFF) > 10000; },
                          milliseconds(1000)));
    ASSERT_TRUE(bass::FirstAudioTime(stream).has_value());
    EXPECT_LT(*bass::FirstAudioTime(stream) - start, milliseconds(100));
    EXPECT_FALSE(std::filesystem::exists(pcmPath));
    // The station sends a one-second burst, then real time. A device running fast would drain
    // that within the next second and a half and the level would drop to silence.
    for (int i = 0; i < 30; ++i) {
        EXPECT_GT(BASS_ChannelGetLevel(stream) & 0xFFFF, 10000u) << i * 50 << " ms";
        std::this_thread::sleep_for(milliseconds(50));
    }
}

} // namespace
} // namespace orvanta::test
