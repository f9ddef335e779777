#include "platform/bass/io_guard.h"

namespace orvanta::bass {

IoGuard::IoGuard(const std::atomic<bool>& abort, std::chrono::milliseconds noData)
    : FAbort(abort), FNoData(noData), FDeadline(Clock::now() + noData) {}

void IoGuard::Arm() {
    FDeadline = Clock::now() + FNoData;
    FLastBytes = -1;
}

int IoGuard::Interrupt(void* self) {
    return static_cast<IoGuard*>(self)->ShouldStop() ? 1 : 0;
}

bool IoGuard::ShouldStop() {
    if (FAbort.load(std::memory_order_relaxed))
        return true;
    const Clock::time_point now = Clock::now();
    const AVIOContext* io = FFormat ? FFormat->pb : FIo;
    if (io && io->bytes_read != FLastBytes) {
        FLastBytes = io->bytes_read;
        FDeadline = now + FNoData;
    }
    return now >= FDeadline || now >= FHard;
}

} // namespace orvanta::bass
