#include "platform/bass/reconnect_policy.h"

#include <algorithm>

namespace orvanta::bass {

ReconnectPolicy::ReconnectPolicy(std::chrono::milliseconds first, std::chrono::milliseconds max,
                                 int maxFailedAttempts)
    : FFirst(first), FMax(std::max(first, max)), FMaxFailed(maxFailedAttempts), FDelay(first) {}

bool ReconnectPolicy::ShouldRetry(bool deliveredAudio, bool clientError) {
    if (clientError)
        return false;
    if (deliveredAudio) {
        FFailed = 0;
        FDelay = FFirst;
        return true;
    }
    if (++FFailed >= FMaxFailed)
        return false;
    FDelay = std::min(FDelay * 2, FMax);
    return true;
}

} // namespace orvanta::bass
