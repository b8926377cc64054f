#include "counters/Counter.h"

#include "FakePdh.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace s::system::counter::win {
namespace {

using namespace std::chrono_literals;
using testing::FakePdh;

constexpr const char* kRead = "\\PhysicalDisk(_Total)\\Disk Read Bytes/sec";
constexpr const char* kWrite = "\\PhysicalDisk(_Total)\\Disk Write Bytes/sec";

// Waits, within a bound far beyond a few sampling periods, until the counter at index is valid.
bool waitValid(Counter& counter, int index, std::int64_t& value)
{
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < until) {
        if (counter.readCounter(index, value))
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

class CounterTest : public ::testing::Test {
protected:
    CounterTest()
    {
        m_pdh.acceptCounter(kRead, 4096);
        m_pdh.acceptCounter(kWrite, 8192);
    }

    FakePdh m_pdh;
};

TEST_F(CounterTest, FirstAdditionReadsNotValidUntilOneSamplingPeriodAfterTheFirstCollection)
{
    Counter counter(m_pdh.entryPoints());
    ASSERT_TRUE(counter.isQueryOpened());
    EXPECT_EQ(m_pdh.collections(), 0);  // nothing is sampled before the first addition

    const int index = counter.addCounter(kRead);
    ASSERT_EQ(index, 0);
    std::int64_t value = -1;
    EXPECT_FALSE(counter.readCounter(index, value));
    EXPECT_EQ(value, 0);

    ASSERT_TRUE(waitValid(counter, index, value));
    EXPECT_EQ(value, 4096);
    const auto times = m_pdh.collectionTimes();
    ASSERT_GE(times.size(), 2u);
    const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(times[1] - times[0]);
    EXPECT_GE(gap.count(), 850);
    EXPECT_LT(gap.count(), 3000);
}

TEST_F(CounterTest, SamePathTwiceGivesTheSameIndexAndOneProviderCounter)
{
    Counter counter(m_pdh.entryPoints());
    EXPECT_EQ(counter.addCounter(kRead), 0);
    EXPECT_EQ(counter.addCounter(kWrite), 1);
    EXPECT_EQ(counter.addCounter(kRead), 0);
    EXPECT_EQ(m_pdh.additions(kRead), 1);
}

TEST_F(CounterTest, RefusedPathGivesMinusOneAndIsNotRemembered)
{
    Counter counter(m_pdh.entryPoints());
    EXPECT_EQ(counter.addCounter("\\PhysicalDisk(_Total)\\No Such Counter"), -1);
    EXPECT_EQ(counter.addCounter(kRead), 0);
    EXPECT_EQ(counter.addCounter("\\PhysicalDisk(_Total)\\No Such Counter"), -1);
    EXPECT_EQ(m_pdh.additions("\\PhysicalDisk(_Total)\\No Such Counter"), 2);
}

TEST_F(CounterTest, OutOfRangeIndexesReadZeroAndNotValid)
{
    Counter counter(m_pdh.entryPoints());
    ASSERT_EQ(counter.addCounter(kRead), 0);
    std::int64_t ignored = 0;
    ASSERT_TRUE(waitValid(counter, 0, ignored));
    for (int index : {-2, -1, 1, 1000}) {
        std::int64_t value = -1;
        EXPECT_FALSE(counter.readCounter(index, value)) << index;
        EXPECT_EQ(value, 0) << index;
    }
}

TEST_F(CounterTest, ResetForgetsEveryCounterStopsSamplingAndNumbersAgainFromZero)
{
    Counter counter(m_pdh.entryPoints());
    ASSERT_EQ(counter.addCounter(kRead), 0);
    ASSERT_EQ(counter.addCounter(kWrite), 1);
    std::int64_t value = 0;
    ASSERT_TRUE(waitValid(counter, 1, value));

    counter.reset();
    for (int index : {0, 1}) {
        EXPECT_FALSE(counter.readCounter(index, value));
        EXPECT_EQ(value, 0);
    }
    const int collections = m_pdh.collections();
    std::this_thread::sleep_for(1200ms);
    EXPECT_EQ(m_pdh.collections(), collections);

    // The provider keeps its old counter; the new one is added beside it and sampling restarts.
    EXPECT_EQ(counter.addCounter(kWrite), 0);
    EXPECT_EQ(m_pdh.additions(kWrite), 2);
    ASSERT_TRUE(waitValid(counter, 0, value));
    EXPECT_EQ(value, 8192);
}

TEST_F(CounterTest, FailedFormattingOfOneRecordLeavesTheOthersAndDoesNotBlockTheNextPass)
{
    Counter counter(m_pdh.entryPoints());
    m_pdh.setFormattingFails(kRead, true);
    const int read = counter.addCounter(kRead);
    const int write = counter.addCounter(kWrite);
    std::int64_t value = 0;
    ASSERT_TRUE(waitValid(counter, write, value));
    EXPECT_EQ(value, 8192);
    EXPECT_FALSE(counter.readCounter(read, value));
    EXPECT_EQ(value, 0);

    m_pdh.setFormattingFails(kRead, false);
    ASSERT_TRUE(waitValid(counter, read, value));
    EXPECT_EQ(value, 4096);
}

TEST_F(CounterTest, ProviderNotLoadedOrQueryNotOpenedMakesEveryAdditionFail)
{
    const platform::perf::EntryPoints notLoaded;
    m_pdh.setOpenFails(true);
    for (const platform::perf::EntryPoints* pdh : {&notLoaded, &m_pdh.entryPoints()}) {
        Counter counter(*pdh);
        EXPECT_FALSE(counter.isQueryOpened());
        EXPECT_EQ(counter.addCounter(kRead), -1);
        std::int64_t value = -1;
        EXPECT_FALSE(counter.readCounter(0, value));
        EXPECT_EQ(value, 0);
    }
    EXPECT_EQ(m_pdh.additions(kRead), 0);
}

TEST_F(CounterTest, DestructionWhileSamplingClosesTheQuery)
{
    {
        Counter counter(m_pdh.entryPoints());
        ASSERT_EQ(counter.addCounter(kRead), 0);
    }
    EXPECT_TRUE(m_pdh.queryClosed());
}

TEST_F(CounterTest, ConcurrentAdditionsOfOnePathAddItOnce)
{
    m_pdh.setAddDelay(20ms);
    Counter counter(m_pdh.entryPoints());
    std::vector<std::thread> threads;
    std::vector<int> indexes(6, -5);
    for (size_t i = 0; i < indexes.size(); ++i)
        threads.emplace_back([&, i] { indexes[i] = counter.addCounter(i % 2 == 0 ? kRead : kWrite); });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(m_pdh.additions(kRead), 1);
    EXPECT_EQ(m_pdh.additions(kWrite), 1);
    for (size_t i = 0; i < indexes.size(); ++i)
        EXPECT_EQ(indexes[i], indexes[i % 2]) << i;
    EXPECT_NE(indexes[0], indexes[1]);
}

}  // namespace
}  // namespace s::system::counter::win
