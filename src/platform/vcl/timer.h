// Periodic ticks on the GUI thread. Ticks go on during modal loops (message boxes, modal forms,
// menus), as the program expects.
#pragma once

#include "platform/vcl/controls.h"

#include <memory>

namespace vcl {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    // Milliseconds; 0 stops the timer.
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned value);

    // Runs on every tick; an error it throws goes to the application's error handler.
    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    struct Peer;
    void Update();
    std::unique_ptr<Peer> FPeer;
    bool FEnabled = true;
    unsigned FInterval = 1000;
};

} // namespace vcl
