#include "foundation/Event.h"
#include "foundation/IWaitPump.h"
#include "support/ClosurePump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace {

using s::thread::Event;
using s::thread::IWaitPump;
using test_support::ClosurePump;

TEST(EventTest, ManualResetStaysSignalledUntilReset)
{
    Event event;
    EXPECT_FALSE(event.wait(10));
    event.set();
    EXPECT_TRUE(event.wait(0));
    EXPECT_TRUE(event.wait());
    event.reset();
    EXPECT_FALSE(event.isSet());
}

TEST(EventTest, WaitServingKeepsTheThreadsPumpGoing)
{
    // The signaller first needs the waiting thread to serve something: without the pump this
    // would deadlock.
    ClosurePump pump;
    Event done;
    std::thread signaller([&] {
        Event answered;
        pump.post([&] { answered.set(); });
        answered.wait();
        done.set();
    });
    IWaitPump::setCurrent(&pump);
    EXPECT_TRUE(done.waitServing());
    IWaitPump::setCurrent(nullptr);
    signaller.join();
    EXPECT_EQ(pump.served, 1);
}

TEST(EventTest, WaitServingTimesOut)
{
    ClosurePump pump;
    Event never;
    IWaitPump::setCurrent(&pump);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(never.waitServing(50));
    IWaitPump::setCurrent(nullptr);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(45));
}

}  // namespace
