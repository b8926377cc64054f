#pragma once

#include "foundation/IWaitPump.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>

namespace test_support {

// A pump that serves closures posted to it, like a user-interface thread serving sends.
class ClosurePump final : public s::thread::IWaitPump {
public:
    void post(std::function<void()> work)
    {
        std::lock_guard lock(m_lock);
        m_work.push_back(std::move(work));
        m_changed.notify_all();
    }
    // Posts work and waits until the pump's thread has run it, as a cross-thread send does.
    void send(std::function<void()> work)
    {
        std::promise<void> done;
        std::future<void> finished = done.get_future();
        post([&] {
            work();
            done.set_value();
        });
        finished.wait();
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

}  // namespace test_support
