#include "foundation/Event.h"
#include "foundation/IWaitPump.h"

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

// A pump that serves closures posted to it, like a user-interface thread serving sends.
class ClosurePump final : public IWaitPump {
public:
    void post(std::function<void()> work)
    {
        std::lock_guard lock(m_lock);
        m_work.push_back(std::move(work));
        m_changed.notify_all();
    }
    void serveOnce(int timeoutMs) override
    {
        std::unique_lock lock(m_lock);
        m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return !m_work.empty() || m_woken; });
        m_woken = false;
        while (!m_work.empty()) {
            auto work = std::move(m_work.front());
            m_work.pop_front();
            lock.unlock();
            work();
            ++served;
            lock.lock();
        }
    }
    void wake() override
    {
        std::lock_guard lock(m_lock);
        m_woken = true;
        m_changed.notify_all();
    }
    std::atomic<int> served{0};

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_work;
    bool m_woken = false;
};

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
