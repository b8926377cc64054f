#include "foundation/Thread.h"

#include "foundation/ClassPool.h"
#include "platform/ThreadControl.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

namespace s::thread::win {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

enum Pacing { kNoPause = 0, kPauseAfterRun = 1, kFixedPeriod = 2 };

}  // namespace

// Everything the worker reads or writes. Written under the lock; the single flags that owners
// may read without it are atomics.
struct Thread::Control {
    std::mutex lock;
    std::condition_variable workerWake;  // the worker waits here: held, pauses, start delays
    std::condition_variable ownerWake;   // owners wait here: idle, exited, started

    int startDelay = 0;
    ITask* task = nullptr;
    int runsLeft = 0;  // -1 = without end
    int pacing = kNoPause;
    int interval = 0;
    std::atomic<bool> looping{false};
    std::atomic<bool> idle{true};
    std::atomic<bool> exited{false};
    bool exitRequested = false;
    bool abandoned = false;
    // A held worker waits at the end of its pass until resumed. The worker starts held, as a
    // thread created suspended, and holds itself whenever it goes idle; the hold is a flag, not
    // a count, so a resume that comes before the worker reaches its wait is never lost.
    bool held = true;
    // Bumped by every change of the worker's orders, so that a pause in progress is cut short.
    unsigned generation = 0;
    unsigned threadId = 0;
    bool started = false;

    bool stopping() const { return exitRequested || abandoned; }
};

namespace {

void workerMain(std::shared_ptr<Thread::Control> control)
{
    Thread::Control& c = *control;
    std::unique_lock lock(c.lock);
    c.threadId = platform::currentThreadId();
    c.started = true;
    c.ownerWake.notify_all();

    c.workerWake.wait(lock, [&c] { return !c.held || c.stopping(); });
    c.looping = true;
    while (!c.stopping()) {
        if (c.startDelay != 0) {
            const int delay = c.startDelay;
            c.startDelay = 0;
            c.workerWake.wait_for(lock, milliseconds(delay), [&c] { return c.stopping(); });
        } else if (c.runsLeft == 0) {
            c.idle = true;
            c.ownerWake.notify_all();
        } else {
            if (c.runsLeft != -1)
                --c.runsLeft;
            const int runsLeft = c.runsLeft;
            const int pacing = c.pacing;
            const int interval = c.interval;
            ITask* task = c.task;
            const unsigned generation = c.generation;
            lock.unlock();

            const Clock::time_point start = Clock::now();
            if (task != nullptr)
                task->run();

            lock.lock();
            if (pacing != kNoPause && runsLeft != 0) {
                const Clock::time_point until = (pacing == kPauseAfterRun ? Clock::now() : start) + milliseconds(interval);
                c.workerWake.wait_until(lock, until, [&c, generation] { return c.generation != generation || c.stopping(); });
            }
        }
        if (c.idle)
            c.held = true;
        c.workerWake.wait(lock, [&c] { return !c.held || c.stopping(); });
        c.looping = true;
    }
    c.exited = true;
    c.ownerWake.notify_all();
}

}  // namespace

Thread::Thread()
{
    createWorker();
}

Thread::~Thread()
{
    if (m_control != nullptr)
        exitAndJoin();
}

void Thread::createWorker()
{
    m_priority = kPriorityNormal;
    m_control = std::make_shared<Control>();
    try {
        m_worker = std::thread(workerMain, m_control);
    } catch (const std::system_error&) {
        // No operating-system thread: every operation on this object does nothing.
        m_control.reset();
        return;
    }
    {
        std::unique_lock lock(m_control->lock);
        m_control->ownerWake.wait(lock, [this] { return m_control->started; });
    }
    setPriority(kPriorityNormal);
}

unsigned Thread::getThreadId() const
{
    if (m_control == nullptr)
        return 0;
    std::lock_guard lock(m_control->lock);
    return m_control->threadId;
}

void Thread::give(ITask* task, int runs, int pacing, int intervalMs)
{
    if (m_control == nullptr)
        return;
    {
        std::lock_guard lock(m_control->lock);
        Control& c = *m_control;
        c.startDelay = 0;
        c.task = task;
        c.runsLeft = runs;
        c.pacing = pacing;
        c.interval = std::max(intervalMs, 0);
        c.looping = false;
        c.idle = false;
        ++c.generation;
    }
    resume();
}

void Thread::runOnce(ITask* task)
{
    give(task, 1, kNoPause, 0);
}

void Thread::runTimes(ITask* task, int count)
{
    give(task, std::max(count, 0), kNoPause, 0);
}

void Thread::runTimesPaced(ITask* task, int count, int intervalMs)
{
    give(task, std::max(count, 0), kPauseAfterRun, intervalMs);
}

void Thread::runTimesAtRate(ITask* task, int count, int periodMs)
{
    give(task, std::max(count, 0), kFixedPeriod, periodMs);
}

void Thread::runForever(ITask* task)
{
    give(task, -1, kNoPause, 0);
}

void Thread::runForeverPaced(ITask* task, int intervalMs)
{
    give(task, -1, kPauseAfterRun, intervalMs);
}

void Thread::runForeverAtRate(ITask* task, int periodMs)
{
    give(task, -1, kFixedPeriod, periodMs);
}

bool Thread::isIdle() const
{
    return m_control == nullptr || m_control->idle.load();
}

void Thread::waitIdle()
{
    if (m_control == nullptr)
        return;
    std::unique_lock lock(m_control->lock);
    m_control->ownerWake.wait(lock, [this] { return m_control->idle || m_control->exited; });
}

bool Thread::waitIdleOrRestart(int timeoutMs)
{
    if (m_control == nullptr)
        return true;
    {
        std::unique_lock lock(m_control->lock);
        Control& c = *m_control;
        if (c.ownerWake.wait_for(lock, milliseconds(std::max(timeoutMs, 0)), [&c] { return c.idle || c.exited; }))
            return true;
        c.abandoned = true;
        c.workerWake.notify_all();
    }
    m_worker.detach();
    const int priority = m_priority;
    createWorker();
    setPriority(priority);
    return false;
}

void Thread::stopRepeating()
{
    if (m_control == nullptr)
        return;
    {
        std::lock_guard lock(m_control->lock);
        m_control->runsLeft = 0;
        ++m_control->generation;
    }
    resume();
}

void Thread::stopAndWait()
{
    stopRepeating();
    waitIdle();
}

void Thread::join()
{
    if (m_control == nullptr)
        return;
    resume();
    {
        std::unique_lock lock(m_control->lock);
        m_control->ownerWake.wait(lock, [this] { return m_control->exited.load(); });
    }
    if (m_worker.joinable())
        m_worker.join();
}

void Thread::requestExit()
{
    if (m_control == nullptr)
        return;
    {
        std::lock_guard lock(m_control->lock);
        m_control->exitRequested = true;
        m_control->workerWake.notify_all();
    }
    resume();
}

void Thread::exitAndJoin()
{
    requestExit();
    join();
}

void Thread::setStartDelay(int ms)
{
    if (m_control == nullptr)
        return;
    std::lock_guard lock(m_control->lock);
    m_control->startDelay = std::max(ms, 0);
}

void Thread::resume()
{
    if (m_control == nullptr)
        return;
    std::lock_guard lock(m_control->lock);
    m_control->held = false;
    m_control->workerWake.notify_all();
}

void Thread::suspend()
{
    if (m_control == nullptr)
        return;
    std::lock_guard lock(m_control->lock);
    m_control->held = true;
}

int Thread::getPriority() const
{
    return m_priority;
}

int Thread::nicenessOffset(int priority)
{
    switch (priority) {
    case kPriorityIdle:
        return 19;
    case kPriorityTimeCritical:
        return -20;
    default:
        return std::clamp(-5 * priority, -20, 19);
    }
}

void Thread::setPriority(int priority)
{
    // The value is remembered even when the system refuses it (raising needs privilege).
    m_priority = priority;
    if (m_control == nullptr)
        return;
    std::lock_guard lock(m_control->lock);
    // The id is only used while the worker is known to be alive, so it cannot name a reused id.
    if (m_control->exited)
        return;
    const int niceness = std::clamp(platform::processNiceness() + nicenessOffset(priority), -20, 19);
    platform::setThreadNiceness(m_control->threadId, niceness);
}

void Thread::setRoutine(Routine routine)
{
    m_routine = routine;
}

void Thread::run()
{
    if (m_routine != nullptr)
        m_routine(this);
}

void Thread::reset()
{
    if (!isIdle())
        stopAndWait();
    setPriority(kPriorityNormal);
    suspend();
    if (m_control != nullptr) {
        std::lock_guard lock(m_control->lock);
        m_control->idle = true;
    }
    m_routine = nullptr;
}

void Thread::recycle()
{
    thread::giveBack(this);
}

base::IObject* Thread::newInstance() const
{
    return thread::take<Thread>();
}

}  // namespace s::thread::win
