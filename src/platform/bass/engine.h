// The engine behind the BASS functions: one output device, the streams by handle, and the mixer
// that the device's thread runs.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "audio/bass.h"
#include "platform/bass/engine_extras.h"
#include "platform/bass/output_device.h"
#include "platform/bass/play_history.h"
#include "platform/bass/spectrum.h"

namespace orvanta::bass {

class Stream;

class Engine {
public:
    // Nothing when the output device cannot be opened.
    static std::unique_ptr<Engine> Create(int device, int rate, bool mono);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Registers a started stream under `handle`.
    void Add(HSTREAM handle, std::unique_ptr<Stream> stream);
    bool Free(DWORD handle);
    bool Play(DWORD handle);
    bool Stop(DWORD handle);
    void SetVolume(float volume);
    std::optional<std::uint32_t> Level(DWORD handle);
    bool Spectrum(DWORD handle, float* out);

    std::optional<StreamTags> Tags(DWORD handle);
    std::optional<std::chrono::steady_clock::time_point> FirstAudio(DWORD handle);
    std::optional<int> Connections(DWORD handle);
    int Rate() const { return FRate; }

private:
    struct Channel;
    using Clock = std::chrono::steady_clock;

    Engine(int rate, bool mono);
    void Mix(float* out, int frames);
    void MixChunk(float* out, int frames);
    // Device frame being heard now: what was handed, less what still waits in the device.
    std::uint64_t HeardPosition() const;
    // Under FLock.
    Channel* Find(DWORD handle);
    bool Audible(const Channel& channel) const;

    const int FRate;
    const bool FMono;
    std::mutex FLock; // the mixer thread and the GUI thread share everything below
    std::map<DWORD, std::unique_ptr<Channel>> FChannels;
    std::vector<Channel*> FPlaying;
    float FVolume = 1.0f;
    std::uint64_t FHanded = 0;
    Clock::time_point FLastRender{};
    int FLatencyFrames = 0;
    int FBufferFrames = 0;
    std::vector<float> FMixBuffer;
    std::vector<float> FStreamBuffer;

    // GUI thread only: the FFT and the scratch buffers of the readings, made once.
    Fft1024 FFft;
    // The meters ask for the same channel's level many times per tick: readings within the same
    // millisecond of heard audio are answered from the last one.
    struct LevelCache {
        DWORD handle = 0;
        std::uint64_t slot = ~std::uint64_t{0};
        std::uint32_t word = 0;
    } FLevelCache;
    std::vector<float> FReadWindow;
    std::vector<float> FMonoWindow;
    std::unique_ptr<OutputDevice> FDevice; // last: its thread calls Mix
};

} // namespace orvanta::bass
