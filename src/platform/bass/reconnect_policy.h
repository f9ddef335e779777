// When a dropped live stream is tried again, and when it is given up.
#pragma once

#include <chrono>

namespace orvanta::bass {

class ReconnectPolicy {
public:
    ReconnectPolicy(std::chrono::milliseconds first, std::chrono::milliseconds max,
                    int maxFailedAttempts);

    // Records how a connection ended. False: give up (a client error such as 404 or 403 will
    // not heal, and nor will a station that keeps failing).
    bool ShouldRetry(bool deliveredAudio, bool clientError);

    // Wait before the next attempt: the first delay after a connection that played, doubling
    // with every attempt that brought no audio, up to the maximum.
    std::chrono::milliseconds Delay() const { return FDelay; }

private:
    const std::chrono::milliseconds FFirst;
    const std::chrono::milliseconds FMax;
    const int FMaxFailed;
    int FFailed = 0;
    std::chrono::milliseconds FDelay;
};

} // namespace orvanta::bass
