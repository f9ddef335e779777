#include "platform/bass/engine.h"

#include <algorithm>

#include "platform/bass/level_meter.h"
#include "platform/bass/stream.h"

namespace orvanta::bass {

namespace {

// Mixing works in chunks of this many frames so its buffers never grow on the device thread.
constexpr int kChunkFrames = 1024;
// Frames of a stream's past output kept for level and spectrum readings: the FFT window plus
// generous room for device latency.
constexpr std::size_t kHistoryFrames = 16384;

} // namespace

struct Engine::Channel {
    explicit Channel(std::unique_ptr<Stream> s) : stream(std::move(s)), history(kHistoryFrames) {}
    std::unique_ptr<Stream> stream;
    PlayHistory history;
    bool playing = false;
    // After running dry the channel waits for a cushion of audio, so a slow network gives
    // clean gaps instead of crackle.
    bool refilling = false;
    std::optional<Clock::time_point> firstAudio;
};

Engine::Engine(int rate, bool mono)
    : FRate(rate), FMono(mono), FMixBuffer(kChunkFrames * 2), FStreamBuffer(kChunkFrames * 2),
      FReadWindow(std::max<std::size_t>(Fft1024::kSize, static_cast<std::size_t>(rate) / 50) * 2),
      FMonoWindow(Fft1024::kSize) {}

std::unique_ptr<Engine> Engine::Create(int device, int rate, bool mono) {
    std::unique_ptr<Engine> engine(new Engine(rate, mono));
    Engine* self = engine.get();
    engine->FDevice = OutputDevice::Open(
        device, rate, mono ? 1 : 2, [self](float* out, int frames) { self->Mix(out, frames); });
    if (!engine->FDevice || !engine->FFft.Ok())
        return nullptr;
    std::lock_guard lock(engine->FLock);
    engine->FBufferFrames = engine->FDevice->BufferFrames();
    // SDL 2.26 cannot report the device latency: count the buffer just handed over plus one
    // more queued in the device or sound server.
    engine->FLatencyFrames = engine->FBufferFrames * 2;
    return engine;
}

Engine::~Engine() {
    FDevice.reset();
    for (auto& [handle, channel] : FChannels)
        channel->stream->Shutdown();
}

void Engine::Add(HSTREAM handle, std::unique_ptr<Stream> stream) {
    auto channel = std::make_unique<Channel>(std::move(stream));
    std::lock_guard lock(FLock);
    FChannels.emplace(handle, std::move(channel));
}

Engine::Channel* Engine::Find(DWORD handle) {
    const auto it = FChannels.find(handle);
    return it == FChannels.end() ? nullptr : it->second.get();
}

bool Engine::Free(DWORD handle) {
    std::unique_ptr<Channel> channel;
    {
        std::lock_guard lock(FLock);
        const auto it = FChannels.find(handle);
        if (it == FChannels.end())
            return false;
        channel = std::move(it->second);
        FChannels.erase(it);
        std::erase(FPlaying, channel.get());
    }
    // Outside the lock: joining the decoder may take a network poll interval.
    channel->stream->Shutdown();
    return true;
}

bool Engine::Play(DWORD handle) {
    std::lock_guard lock(FLock);
    Channel* channel = Find(handle);
    if (!channel)
        return false;
    if (channel->stream->Finished() && channel->stream->Ring().Available() == 0)
        return false;
    if (!channel->playing) {
        channel->playing = true;
        FPlaying.push_back(channel);
    }
    return true;
}

bool Engine::Stop(DWORD handle) {
    std::lock_guard lock(FLock);
    Channel* channel = Find(handle);
    if (!channel)
        return false;
    channel->playing = false;
    std::erase(FPlaying, channel);
    return true;
}

void Engine::SetVolume(float volume) {
    std::lock_guard lock(FLock);
    FVolume = volume;
}

void Engine::Mix(float* out, int frames) {
    const int channels = FMono ? 1 : 2;
    std::lock_guard lock(FLock);
    for (int done = 0; done < frames;) {
        const int n = std::min(kChunkFrames, frames - done);
        MixChunk(out + static_cast<std::ptrdiff_t>(done) * channels, n);
        done += n;
    }
    FLastRender = Clock::now();
}

void Engine::MixChunk(float* out, int frames) {
    const std::size_t samples = static_cast<std::size_t>(frames) * 2;
    std::fill_n(FMixBuffer.begin(), samples, 0.0f);
    const std::size_t cushion = static_cast<std::size_t>(FRate) / 5;
    for (Channel* channel : FPlaying) {
        Stream& stream = *channel->stream;
        PcmRing& ring = stream.Ring();
        std::size_t got = 0;
        if (channel->refilling && (ring.Available() >= cushion || stream.Finished()))
            channel->refilling = false;
        if (!channel->refilling)
            got = ring.Read(FStreamBuffer.data(), static_cast<std::size_t>(frames));
        std::fill(FStreamBuffer.begin() + static_cast<std::ptrdiff_t>(got * 2),
                  FStreamBuffer.begin() + static_cast<std::ptrdiff_t>(samples), 0.0f);
        if (got < static_cast<std::size_t>(frames) && !stream.Finished())
            channel->refilling = true;
        if (got > 0 && !channel->firstAudio)
            channel->firstAudio = Clock::now();
        if (FMono) {
            for (std::size_t i = 0; i < samples; i += 2)
                FStreamBuffer[i] = FStreamBuffer[i + 1] =
                    0.5f * (FStreamBuffer[i] + FStreamBuffer[i + 1]);
        }
        channel->history.Append(FStreamBuffer.data(), static_cast<std::size_t>(frames), FHanded);
        for (std::size_t i = 0; i < samples; ++i)
            FMixBuffer[i] += FStreamBuffer[i];
    }
    const float volume = FVolume;
    if (FMono) {
        for (int i = 0; i < frames; ++i)
            out[i] = std::clamp(FMixBuffer[static_cast<std::size_t>(i) * 2] * volume, -1.0f, 1.0f);
    } else {
        for (std::size_t i = 0; i < samples; ++i)
            out[i] = std::clamp(FMixBuffer[i] * volume, -1.0f, 1.0f);
    }
    FHanded += static_cast<std::uint64_t>(frames);
}

std::uint64_t Engine::HeardPosition() const {
    // Between device callbacks the device keeps playing: advance by the elapsed time, at most
    // one buffer, so readings move smoothly rather than in buffer-sized steps.
    std::int64_t elapsed = 0;
    if (FLastRender != Clock::time_point{}) {
        const double seconds = std::chrono::duration<double>(Clock::now() - FLastRender).count();
        elapsed =
            std::clamp<std::int64_t>(static_cast<std::int64_t>(seconds * FRate), 0, FBufferFrames);
    }
    const std::int64_t heard = static_cast<std::int64_t>(FHanded) - FLatencyFrames + elapsed;
    return heard > 0 ? static_cast<std::uint64_t>(heard) : 0;
}

bool Engine::Audible(const Channel& channel) const {
    return channel.playing &&
           !(channel.stream->Finished() && channel.stream->Ring().Available() == 0);
}

std::optional<std::uint32_t> Engine::Level(DWORD handle) {
    std::lock_guard lock(FLock);
    Channel* channel = Find(handle);
    if (!channel || !Audible(*channel))
        return std::nullopt;
    const std::uint64_t heard = HeardPosition();
    const std::uint64_t slot =
        heard / std::max<std::uint64_t>(1, static_cast<std::uint64_t>(FRate) / 1000);
    if (FLevelCache.handle == handle && FLevelCache.slot == slot)
        return FLevelCache.word;
    // 20 ms, as the meters expect.
    const std::size_t frames = static_cast<std::size_t>(FRate) / 50;
    channel->history.Read(heard, frames, FReadWindow.data());
    FLevelCache = {handle, slot, PeakLevelWord(FReadWindow.data(), frames)};
    return FLevelCache.word;
}

bool Engine::Spectrum(DWORD handle, float* out) {
    {
        std::lock_guard lock(FLock);
        Channel* channel = Find(handle);
        if (!channel || !Audible(*channel))
            return false;
        channel->history.Read(HeardPosition(), Fft1024::kSize, FReadWindow.data());
    }
    for (std::size_t i = 0; i < Fft1024::kSize; ++i)
        FMonoWindow[i] = 0.5f * (FReadWindow[i * 2] + FReadWindow[i * 2 + 1]);
    FFft.Magnitudes(FMonoWindow.data(), out);
    return true;
}

std::optional<StreamTags> Engine::Tags(DWORD handle) {
    std::lock_guard lock(FLock);
    Channel* channel = Find(handle);
    if (!channel)
        return std::nullopt;
    return channel->stream->Tags();
}

std::optional<std::chrono::steady_clock::time_point> Engine::FirstAudio(DWORD handle) {
    std::lock_guard lock(FLock);
    Channel* channel = Find(handle);
    return channel ? channel->firstAudio : std::nullopt;
}

std::optional<int> Engine::Connections(DWORD handle) {
    std::lock_guard lock(FLock);
    Channel* channel = Find(handle);
    if (!channel)
        return std::nullopt;
    return channel->stream->Connections();
}

} // namespace orvanta::bass
