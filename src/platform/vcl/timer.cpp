#include "platform/vcl/timer.h"

#include "platform/vcl/peers.h"

#include <QTimer>

namespace vcl {

struct TTimer::Peer {
    QTimer Timer;
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    detail::EnsureQtApplication();
    FPeer = std::make_unique<Peer>();
    // Coarse timers due within a few per cent of each other fire in one wake-up: the player's
    // three 10 ms timers and its 20 ms timer then cost one wake-up instead of four.
    FPeer->Timer.setTimerType(Qt::CoarseTimer);
    QObject::connect(&FPeer->Timer, &QTimer::timeout, [this] { Guarded([this] { Timer(); }); });
    Update();
}

TTimer::~TTimer() {
    FPeer->Timer.stop();
}

void TTimer::SetEnabled(bool value) {
    if (FEnabled == value)
        return;
    FEnabled = value;
    Update();
}

void TTimer::SetInterval(unsigned value) {
    if (FInterval == value)
        return;
    FInterval = value;
    Update();
}

void TTimer::Update() {
    // Changing the interval or re-enabling restarts the period, as the platform's timers do.
    FPeer->Timer.stop();
    if (FEnabled && FInterval > 0)
        FPeer->Timer.start(static_cast<int>(FInterval));
}

void TTimer::Timer() {
    if (OnTimer)
        OnTimer(this);
}

} // namespace vcl
