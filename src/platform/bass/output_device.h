// Where the mix goes: an SDL audio device, or the "no sound" device that consumes audio in real
// time without playing it.
#pragma once

#include <functional>
#include <memory>

namespace orvanta::bass {

class OutputDevice {
public:
    // Fills `frames` frames of interleaved float samples with Channels() channels. Runs on the
    // device's own thread.
    using Render = std::function<void(float* out, int frames)>;

    // device -1: the default output, 0: no sound, n >= 1: the n-th output device. Nothing when
    // the device cannot be opened.
    static std::unique_ptr<OutputDevice> Open(int device, int rate, int channels, Render render);

    virtual ~OutputDevice() = default;
    int Rate() const { return FRate; }
    int Channels() const { return FChannels; }
    int BufferFrames() const { return FBufferFrames; }

protected:
    OutputDevice(int rate, int channels, int bufferFrames)
        : FRate(rate), FChannels(channels), FBufferFrames(bufferFrames) {}

private:
    const int FRate;
    const int FChannels;
    const int FBufferFrames;
};

} // namespace orvanta::bass
