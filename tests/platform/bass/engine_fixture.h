// Shared set-up of the end-to-end engine tests: a loopback station, the engine on SDL's disk
// driver writing into a temporary file, and bounded waits on the written audio.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "audio/bass.h"
#include "pcm_analysis.h"
#include "platform/bass/engine_extras.h"
#include "stream_server.h"

namespace orvanta::test {

inline constexpr int kRate = 44100;
inline constexpr double kToneHz = 1000.0;
inline constexpr double kToneLeft = 0.5; // amplitudes in tone_1k_stereo.mp3
inline constexpr double kToneRight = 0.25;

inline std::string Fixture(const std::string& name) {
    return std::string(ORVANTA_FIXTURES_DIR) + "/" + name;
}

// The 1 kHz MP3 tone as a live 128 kbps station.
inline Route LiveTone() {
    Route route;
    route.file = Fixture("tone_1k_stereo.mp3");
    route.icyName = "Test Tone FM";
    return route;
}

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        bass::SetTuning(bass::Tuning{});
        ASSERT_TRUE(Init(-1, 0));
        server.Add("/live.mp3", LiveTone());
    }

    void TearDown() override {
        BASS_Free();
        bass::SetTuning(bass::Tuning{});
        std::error_code ignored;
        std::filesystem::remove(pcmPath, ignored);
    }

    // (Re)opens the engine on the disk driver with a fresh output file.
    bool Init(int device, DWORD flags) {
        static int serial = 0;
        std::error_code ignored;
        if (!pcmPath.empty())
            std::filesystem::remove(pcmPath, ignored);
        pcmPath = (std::filesystem::temp_directory_path() /
                   ("orvanta_engine_" + std::to_string(::getpid()) + "_" +
                    std::to_string(++serial) + ".raw"))
                      .string();
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", pcmPath.c_str(), 1);
        channels = (flags & BASS_DEVICE_MONO) ? 1 : 2;
        return BASS_Init(device, kRate, flags, nullptr, nullptr) != FALSE;
    }

    HSTREAM Create(const std::string& path) {
        return BASS_StreamCreateURL(server.Url(path).c_str(), 0, 0, nullptr, nullptr);
    }

    std::size_t WrittenFrames() const {
        std::error_code error;
        const auto bytes = std::filesystem::file_size(pcmPath, error);
        return error ? 0 : bytes / (sizeof(float) * channels);
    }

    // Lets the device write `ms` more milliseconds of audio (bounded by twice that in time).
    void Play(int ms) {
        const std::size_t target = WrittenFrames() + static_cast<std::size_t>(kRate) * ms / 1000;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(2 * ms);
        while (WrittenFrames() < target && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    // Polls `done` every 10 ms for at most `limit`.
    template <class Predicate> bool WaitUntil(Predicate done, std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    std::vector<float> Pcm() const { return ReadFloats(pcmPath); }

    // The last `ms` milliseconds written, channel `channel`.
    std::vector<float> Tail(int ms, int channel = 0) const {
        const std::vector<float> pcm = Pcm();
        const std::size_t frames = pcm.size() / channels;
        const std::size_t count = std::min<std::size_t>(frames, kRate * ms / 1000);
        return ChannelOf(pcm, channels, channel, frames - count, count);
    }

    StreamServer server;
    std::string pcmPath;
    int channels = 2;
};

} // namespace orvanta::test
