#include "platform/vcl/termination.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/vcl/controls.h"

namespace vcl {

namespace {
int g_writeEnd = -1;
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int) {
    // Only async-signal-safe work here: one byte into the pipe wakes the event loop.
    if (g_writeEnd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    }
}
} // namespace

struct TerminationWatch::Impl {
    int fds[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    struct sigaction previous[std::size(kSignals)] = {};
};

TerminationWatch::TerminationWatch(std::function<void()> onSignal)
    : FImpl(std::make_unique<Impl>()) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, FImpl->fds) != 0)
        return;
    g_writeEnd = FImpl->fds[0];
    FImpl->notifier = std::make_unique<QSocketNotifier>(FImpl->fds[1], QSocketNotifier::Read);
    QObject::connect(FImpl->notifier.get(), &QSocketNotifier::activated,
                     [fd = FImpl->fds[1], onSignal = std::move(onSignal)] {
                         char buffer[16];
                         while (::read(fd, buffer, sizeof buffer) > 0) {
                         }
                         Guarded(onSignal);
                     });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &action, &FImpl->previous[i]);
}

TerminationWatch::~TerminationWatch() {
    if (FImpl->fds[0] < 0)
        return;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        ::sigaction(kSignals[i], &FImpl->previous[i], nullptr);
    g_writeEnd = -1;
    FImpl->notifier.reset();
    ::close(FImpl->fds[0]);
    ::close(FImpl->fds[1]);
}

} // namespace vcl
