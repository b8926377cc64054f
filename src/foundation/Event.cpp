#include "foundation/Event.h"

#include <algorithm>
#include <chrono>

namespace s::thread {

namespace {

thread_local IWaitPump* t_currentPump = nullptr;

using Clock = std::chrono::steady_clock;

}  // namespace

IWaitPump* IWaitPump::current()
{
    return t_currentPump;
}

void IWaitPump::setCurrent(IWaitPump* pump)
{
    t_currentPump = pump;
}

void Event::set()
{
    std::lock_guard lock(m_lock);
    m_set = true;
    m_signalled.notify_all();
    for (IWaitPump* pump : m_pumps)
        pump->wake();
}

void Event::reset()
{
    std::lock_guard lock(m_lock);
    m_set = false;
}

bool Event::isSet() const
{
    std::lock_guard lock(m_lock);
    return m_set;
}

bool Event::wait(int timeoutMs)
{
    std::unique_lock lock(m_lock);
    if (timeoutMs < 0) {
        m_signalled.wait(lock, [this] { return m_set; });
        return true;
    }
    return m_signalled.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_set; });
}

bool Event::waitServing(int timeoutMs)
{
    IWaitPump* pump = IWaitPump::current();
    if (pump == nullptr)
        return wait(timeoutMs);

    {
        std::lock_guard lock(m_lock);
        m_pumps.push_back(pump);
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    bool signalled = false;
    for (;;) {
        {
            std::lock_guard lock(m_lock);
            signalled = m_set;
        }
        if (signalled)
            break;
        int slice = 5000;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                break;
            slice = static_cast<int>(std::min<long long>(left, slice));
        }
        pump->serveOnce(slice);
    }
    std::lock_guard lock(m_lock);
    m_pumps.erase(std::find(m_pumps.begin(), m_pumps.end(), pump));
    return signalled;
}

}  // namespace s::thread
