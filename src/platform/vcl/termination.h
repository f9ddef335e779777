// Turns SIGTERM, SIGINT and SIGHUP (log-out, Ctrl+C, kill) into an ordinary close of the main
// form while the event loop runs, so the settings are saved as after a click on the close box.
#pragma once

#include <functional>
#include <memory>

namespace vcl {

class TerminationWatch {
public:
    // `onSignal` runs on the GUI thread, from the event loop.
    explicit TerminationWatch(std::function<void()> onSignal);
    ~TerminationWatch();
    TerminationWatch(const TerminationWatch&) = delete;
    TerminationWatch& operator=(const TerminationWatch&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> FImpl;
};

} // namespace vcl
