// Name lookups cannot be interrupted once the network library has started one, so a resolver
// that never answers would hold the caller (the GUI thread) far past the connect time-out.
// The station's host is therefore looked up first on a thread of its own, with a limit.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace orvanta::bass {

// True when `host` resolves within `limit`. Numeric addresses answer at once. `lookup` does the
// resolving (getaddrinfo unless a test gives another); after the limit it is left to finish on
// its own.
bool HostResolvesWithin(const std::string& host, std::chrono::milliseconds limit,
                        std::function<bool(const std::string&)> lookup = {});

// The host part of an http(s) URL, or empty when it has none.
std::string UrlHost(const std::string& url);

} // namespace orvanta::bass
