// FFmpeg's interrupt callback for one stream: ends a blocking open or read when the stream is
// being freed, when no bytes arrived for the no-data time, or at a hard deadline.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

extern "C" {
#include <libavformat/avformat.h>
}

namespace orvanta::bass {

class IoGuard {
public:
    using Clock = std::chrono::steady_clock;

    IoGuard(const std::atomic<bool>& abort, std::chrono::milliseconds noData);

    AVIOInterruptCB Callback() { return AVIOInterruptCB{&IoGuard::Interrupt, this}; }

    // Restart the no-data clock; called before each blocking call.
    void Arm();
    void SetHardDeadline(Clock::time_point deadline) { FHard = deadline; }
    void ClearHardDeadline() { FHard = Clock::time_point::max(); }

    // Bytes arriving on the watched context count as data. The format context's pb appears only
    // once its open has connected, so it is looked up on every poll.
    void Watch(AVFormatContext* format) { FFormat = format, FIo = nullptr; }
    void Watch(AVIOContext* io) { FIo = io, FFormat = nullptr; }
    void Unwatch() { FFormat = nullptr, FIo = nullptr; }

    std::chrono::milliseconds NoData() const { return FNoData; }

private:
    static int Interrupt(void* self);
    bool ShouldStop();

    const std::atomic<bool>& FAbort;
    const std::chrono::milliseconds FNoData;
    Clock::time_point FDeadline;
    Clock::time_point FHard = Clock::time_point::max();
    AVFormatContext* FFormat = nullptr;
    AVIOContext* FIo = nullptr;
    std::int64_t FLastBytes = -1;
};

} // namespace orvanta::bass
