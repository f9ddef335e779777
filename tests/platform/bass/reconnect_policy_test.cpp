#include "platform/bass/reconnect_policy.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvanta::bass {
namespace {

using std::chrono::milliseconds;

TEST(ReconnectPolicyTest, BackOffDoublesUpToTheCapThenGivesUp) {
    ReconnectPolicy policy(milliseconds(1000), milliseconds(30000), 6);
    ASSERT_TRUE(policy.ShouldRetry(true, false)); // a playing station dropped
    std::vector<long> delays{policy.Delay().count()};
    while (policy.ShouldRetry(false, false))
        delays.push_back(policy.Delay().count());
    EXPECT_EQ(delays, (std::vector<long>{1000, 2000, 4000, 8000, 16000, 30000}));
}

TEST(ReconnectPolicyTest, AudioResetsTheBackOffAndClientErrorsEndAtOnce) {
    ReconnectPolicy policy(milliseconds(100), milliseconds(1000), 3);
    ASSERT_TRUE(policy.ShouldRetry(false, false));
    ASSERT_TRUE(policy.ShouldRetry(false, false));
    EXPECT_EQ(policy.Delay(), milliseconds(400));
    ASSERT_TRUE(policy.ShouldRetry(true, false));
    EXPECT_EQ(policy.Delay(), milliseconds(100));
    // The failure count starts over too.
    EXPECT_TRUE(policy.ShouldRetry(false, false));
    EXPECT_TRUE(policy.ShouldRetry(false, false));
    EXPECT_FALSE(policy.ShouldRetry(false, false));

    ReconnectPolicy strict(milliseconds(100), milliseconds(1000), 3);
    EXPECT_FALSE(strict.ShouldRetry(true, true));
}

} // namespace
} // namespace orvanta::bass
