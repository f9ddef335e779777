#include "platform/bass/host_lookup.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

extern "C" {
#include <libavformat/avformat.h>
}

namespace orvanta::bass {

namespace {

bool SystemLookup(const std::string& host) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    const int error = ::getaddrinfo(host.c_str(), nullptr, &hints, &result);
    if (result)
        ::freeaddrinfo(result);
    return error == 0;
}

bool IsNumeric(const std::string& host) {
    unsigned char buffer[sizeof(in6_addr)];
    return ::inet_pton(AF_INET, host.c_str(), buffer) == 1 ||
           ::inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

} // namespace

std::string UrlHost(const std::string& url) {
    char host[1024] = {};
    av_url_split(nullptr, 0, nullptr, 0, host, sizeof host, nullptr, nullptr, 0, url.c_str());
    std::string result(host);
    // Bracketed IPv6 literals come back with their brackets.
    if (result.size() > 2 && result.front() == '[' && result.back() == ']')
        result = result.substr(1, result.size() - 2);
    return result;
}

bool HostResolvesWithin(const std::string& host, std::chrono::milliseconds limit,
                        std::function<bool(const std::string&)> lookup) {
    if (host.empty())
        return false;
    if (IsNumeric(host))
        return true;
    if (!lookup)
        lookup = SystemLookup;

    // Shared with the lookup thread, which may outlive this call.
    struct State {
        std::mutex lock;
        std::condition_variable done;
        bool finished = false;
        bool resolved = false;
    };
    auto state = std::make_shared<State>();
    std::thread([state, host, lookup = std::move(lookup)] {
        const bool ok = lookup(host);
        std::lock_guard guard(state->lock);
        state->finished = true;
        state->resolved = ok;
        state->done.notify_all();
    }).detach();

    std::unique_lock guard(state->lock);
    state->done.wait_for(guard, limit, [&] { return state->finished; });
    return state->finished && state->resolved;
}

} // namespace orvanta::bass
