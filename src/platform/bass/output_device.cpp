#include "platform/bass/output_device.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace orvanta::bass {

namespace {

// About 23 ms at 44.1 kHz: short enough that level and spectrum follow the sound closely,
// long enough for desktop audio servers not to underrun.
constexpr int kBufferFrames = 1024;

class SdlOutput final : public OutputDevice {
public:
    SdlOutput(int rate, int channels, int bufferFrames, Render render)
        : OutputDevice(rate, channels, bufferFrames), FRender(std::move(render)) {}

    ~SdlOutput() override {
        if (FDevice != 0)
            SDL_CloseAudioDevice(FDevice);
        if (FSubsystem)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    static std::unique_ptr<OutputDevice> Open(int device, int rate, int channels, Render render) {
        // The program, not the audio library, decides what a termination signal does.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return nullptr;
        // Owned from here on, so every failure below quits the subsystem again.
        std::unique_ptr<SdlOutput> out(
            new SdlOutput(rate, channels, kBufferFrames, std::move(render)));
        out->FSubsystem = true;
        const char* name = nullptr;
        if (device >= 1) {
            if (device > SDL_GetNumAudioDevices(0))
                return nullptr;
            name = SDL_GetAudioDeviceName(device - 1, 0);
            if (!name)
                return nullptr;
        }
        SDL_AudioSpec want{};
        want.freq = rate;
        want.format = AUDIO_F32SYS;
        want.channels = static_cast<Uint8>(channels);
        want.samples = kBufferFrames;
        want.callback = &SdlOutput::Callback;
        want.userdata = out.get();
        SDL_AudioSpec have{};
        // No changes allowed: SDL converts to whatever the hardware wants, the mixer always
        // works in the format asked for.
        out->FDevice = SDL_OpenAudioDevice(name, 0, &want, &have, 0);
        if (out->FDevice == 0)
            return nullptr;
        SDL_PauseAudioDevice(out->FDevice, 0);
        return out;
    }

private:
    static void Callback(void* self, Uint8* stream, int len) {
        auto* out = static_cast<SdlOutput*>(self);
        const int frames = len / static_cast<int>(sizeof(float) * out->Channels());
        out->FRender(reinterpret_cast<float*>(stream), frames);
    }

    Render FRender;
    SDL_AudioDeviceID FDevice = 0;
    bool FSubsystem = false;
};

class SilentOutput final : public OutputDevice {
public:
    SilentOutput(int rate, int channels, Render render)
        : OutputDevice(rate, channels, kBufferFrames), FRender(std::move(render)),
          FBuffer(static_cast<std::size_t>(kBufferFrames) * channels), FThread([this] { Run(); }) {}

    ~SilentOutput() override {
        FStop = true;
        FThread.join();
    }

private:
    void Run() {
        using Clock = std::chrono::steady_clock;
        const auto period = std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(static_cast<double>(BufferFrames()) / Rate()));
        auto next = Clock::now();
        while (!FStop) {
            FRender(FBuffer.data(), BufferFrames());
            next += period;
            std::this_thread::sleep_until(next);
        }
    }

    Render FRender;
    std::vector<float> FBuffer;
    std::atomic<bool> FStop{false};
    std::thread FThread; // last: starts once everything it uses exists
};

} // namespace

std::unique_ptr<OutputDevice> OutputDevice::Open(int device, int rate, int channels,
                                                 Render render) {
    if (device == 0)
        return std::make_unique<SilentOutput>(rate, channels, std::move(render));
    if (device < -1)
        return nullptr;
    return SdlOutput::Open(device, rate, channels, std::move(render));
}

} // namespace orvanta::bass
