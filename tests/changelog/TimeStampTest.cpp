#include "changelog/TimeStamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

namespace {

namespace fa = s::file::gui::dialogs::fileaccess;

TEST(TimeStamp, RuleAgainstTheLastStampAndReading)
{
    const struct {
        std::int64_t now;
        std::int64_t lastStamp;
        std::int64_t lastReading;
        std::int64_t stamp;
    } cases[] = {
        {1000, 0, 0, 1000},
        {1001, 1000, 1000, 1001},
        // Same millisecond, or stamps ahead of the clock after a burst: one past the last.
        {1000, 1000, 1000, 1001},
        {1000, 1003, 1000, 1004},
        {1000, 9000, 1000, 9001},
        // The clock went back by up to 5000 ms since the last reading: one past the last.
        {10000, 15000, 15000, 15001},
        // By more: it was set back, and stamps start from it again.
        {9999, 15000, 15000, 9999},
        {-1, 0, 0, 1},
        {-5001, 0, 0, -5001},
    };
    for (const auto& c : cases) {
        fa::StampState state{c.lastStamp, c.lastReading};
        EXPECT_EQ(fa::nextTimeStamp(c.now, state), c.stamp) << c.now << " after " << c.lastStamp;
        EXPECT_EQ(state.lastStamp, c.stamp);
        EXPECT_EQ(state.lastReading, c.now);
    }
}

TEST(TimeStamp, ClockReadingsThroughBurstsAndStepsBack)
{
    struct Case {
        const char* what;
        std::vector<std::int64_t> readings;
        std::vector<std::int64_t> stamps;
    };
    const Case cases[] = {
        {"burst within one millisecond", {5000, 5000, 5000, 5000}, {5000, 5001, 5002, 5003}},
        {"burst catching up with the clock", {5000, 5000, 5001, 5002, 5010}, {5000, 5001, 5002, 5003, 5010}},
        {"clock back 3 s", {20000, 20001, 17001, 17002, 20005}, {20000, 20001, 20002, 20003, 20005}},
        {"clock back 10 s", {20000, 20001, 10001, 10002, 10003}, {20000, 20001, 10001, 10002, 10003}},
    };
    for (const Case& c : cases) {
        fa::StampState state;
        std::vector<std::int64_t> stamps;
        for (std::int64_t now : c.readings)
            stamps.push_back(fa::nextTimeStamp(now, state));
        EXPECT_EQ(stamps, c.stamps) << c.what;
    }
}

// More records than milliseconds: the stamps run more than 5000 ms ahead of the clock and must
// still never go back.
TEST(TimeStamp, ALongBurstKeepsIncreasing)
{
    fa::StampState state;
    std::int64_t previous = fa::nextTimeStamp(100000, state);
    for (int i = 1; i < 20000; ++i) {
        const std::int64_t stamp = fa::nextTimeStamp(100000 + i / 10, state);
        ASSERT_EQ(stamp, previous + 1) << "record " << i;
        previous = stamp;
    }
}

// Threads stamping at once get stamps that all differ.
TEST(TimeStamp, StampsOfThreadsTakingThemAtOnceAreAllDifferent)
{
    constexpr int kThreads = 4;
    constexpr int kEach = 500;
    std::vector<std::vector<std::int64_t>> taken(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&taken, t] {
            for (int i = 0; i < kEach; ++i)
                taken[static_cast<std::size_t>(t)].push_back(fa::takeTimeStamp());
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    std::vector<std::int64_t> all;
    for (const auto& stamps : taken) {
        EXPECT_TRUE(std::is_sorted(stamps.begin(), stamps.end()));
        EXPECT_EQ(std::adjacent_find(stamps.begin(), stamps.end()), stamps.end()) << "one thread's stamps repeat";
        all.insert(all.end(), stamps.begin(), stamps.end());
    }
    std::sort(all.begin(), all.end());
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
}

}  // namespace
