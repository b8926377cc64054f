#include "changelog/TimeStamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

namespace {

namespace fa = s::file::gui::dialogs::fileaccess;

TEST(TimeStamp, RuleAgainstTheLastStamp)
{
    const struct {
        std::int64_t now;
        std::int64_t last;
        std::int64_t stamp;
    } cases[] = {
        {1000, 0, 1000},
        {1001, 1000, 1001},
        // Same millisecond, and the clock behind the stamps by up to 5000 ms: one past the last.
        {1000, 1000, 1001},
        {1000, 1003, 1004},
        {10000, 15000, 15001},
        // More than 5000 ms behind: the clock was set back, and stamps start from it again.
        {9999, 15000, 9999},
        {-1, 0, 0 + 1},
        {-5001, 0, -5001},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fa::nextTimeStamp(c.now, c.last), c.stamp) << c.now << " after " << c.last;
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
        std::int64_t last = 0;
        std::vector<std::int64_t> stamps;
        for (std::int64_t now : c.readings) {
            last = fa::nextTimeStamp(now, last);
            stamps.push_back(last);
        }
        EXPECT_EQ(stamps, c.stamps) << c.what;
    }
}

// Fewer stamps than the 5000 ms the stamps may run ahead of the clock before they start again
// from it, so that every one must differ.
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
