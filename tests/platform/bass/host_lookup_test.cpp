// The station's host is looked up with a limit, so an unanswering resolver cannot hold the
// player past the connect time-out.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/bass/host_lookup.h"

namespace orvanta::bass {
namespace {

using namespace std::chrono_literals;

TEST(HostLookup, HostOfAStationUrl) {
    const struct {
        const char* url;
        const char* host;
    } cases[] = {
        {"http://radio.example:8000/live.mp3", "radio.example"},
        {"https://127.0.0.1/x", "127.0.0.1"},
        {"http://[::1]:8080/s", "::1"},
        {"http://user:pw@host.example/s", "host.example"},
        {"file:///etc/passwd", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlHost(c.url), c.host) << c.url;
}

TEST(HostLookup, NumericAddressesNeedNoLookup) {
    bool asked = false;
    const auto lookup = [&](const std::string&) {
        asked = true;
        return false;
    };
    EXPECT_TRUE(HostResolvesWithin("127.0.0.1", 100ms, lookup));
    EXPECT_TRUE(HostResolvesWithin("::1", 100ms, lookup));
    EXPECT_FALSE(asked);
    EXPECT_FALSE(HostResolvesWithin("", 100ms, lookup));
}

TEST(HostLookup, AnswersAndFailuresOfTheResolverAreTaken) {
    EXPECT_TRUE(HostResolvesWithin("station.example", 1s, [](const std::string&) { return true; }));
    EXPECT_FALSE(
        HostResolvesWithin("station.example", 1s, [](const std::string&) { return false; }));
    // The machine's own name from the hosts file, through the real resolver.
    EXPECT_TRUE(HostResolvesWithin("localhost", 5s));
}

TEST(HostLookup, AResolverThatDoesNotAnswerIsGivenUpAfterTheLimit) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(HostResolvesWithin("stuck.example", 100ms, [](const std::string&) {
        std::this_thread::sleep_for(1500ms);
        return true;
    }));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
}

} // namespace
} // namespace orvanta::bass
