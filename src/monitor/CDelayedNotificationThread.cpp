#include "monitor/CDelayedNotificationThread.h"

#include "monitor/CDelayedDirectoryChangeHandler.h"
#include "monitor/DelayedNotification.h"
#include "platform/ThreadControl.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

// The notification thread's message queue. A null record asks the thread to end.
struct CDelayedNotificationThread::Queue {
    std::mutex lock;
    std::condition_variable wake;
    std::vector<DelayedNotification*> records;
    bool consumerWaiting = false;
};

namespace {

struct SharedState {
    std::mutex lock;
    int carriers = 0;
    std::thread thread;
    std::atomic<unsigned> threadId{0};
    std::shared_ptr<CDelayedNotificationThread::Queue> queue;
};

// Never destroyed: the notification thread may still be ending while statics are destroyed.
SharedState& shared()
{
    static SharedState* state = new SharedState();
    return *state;
}

thread_local int t_holdDepth = 0;
thread_local bool t_postedWhileHeld = false;

void wakeIfWaiting(CDelayedNotificationThread::Queue& queue)
{
    bool wake = false;
    {
        std::lock_guard lock(queue.lock);
        wake = queue.consumerWaiting && !queue.records.empty();
    }
    if (wake)
        queue.wake.notify_one();
}

void notificationLoop(std::shared_ptr<CDelayedNotificationThread::Queue> queue, s::thread::Event* started)
{
    shared().threadId = s::platform::currentThreadId();
    started->set();
    std::vector<DelayedNotification*> batch;
    for (bool ending = false; !ending;) {
        {
            std::unique_lock lock(queue->lock);
            queue->consumerWaiting = true;
            queue->wake.wait(lock, [&queue] { return !queue->records.empty(); });
            queue->consumerWaiting = false;
            batch.swap(queue->records);
        }
        for (DelayedNotification* record : batch) {
            if (record == nullptr)
                ending = true;
            else if (ending || record->handler == nullptr)
                // Records still queued when the thread ends are not delivered.
                record->recycle();
            else
                CDelayedDirectoryChangeHandler::dispatchNotification(record->handler, record);
        }
        batch.clear();
    }
}

}  // namespace

CDelayedNotificationThread::CDelayedNotificationThread()
{
    SharedState& state = shared();
    std::lock_guard lock(state.lock);
    if (state.carriers == 0 || !state.queue) {
        std::shared_ptr<Queue> queue;
        try {
            queue = std::make_shared<Queue>();
            state.thread = std::thread(notificationLoop, queue, &m_started);
        } catch (const std::system_error&) {
            return;
        } catch (const std::bad_alloc&) {
            return;
        }
        m_started.wait();
        state.queue = std::move(queue);
    }
    m_queue = state.queue;
    ++state.carriers;
}

CDelayedNotificationThread::~CDelayedNotificationThread()
{
    if (!m_queue)
        return;
    SharedState& state = shared();
    std::thread ending;
    {
        std::lock_guard lock(state.lock);
        if (--state.carriers <= 0) {
            state.carriers = 0;
            {
                std::lock_guard queueLock(m_queue->lock);
                m_queue->records.push_back(nullptr);
            }
            m_queue->wake.notify_one();
            ending = std::move(state.thread);
            state.queue.reset();
        }
    }
    if (!ending.joinable())
        return;
    // The last carrier may go on the notification thread itself (a handler that removes its
    // own watch); that thread ends once the current dispatch returns.
    if (ending.get_id() == std::this_thread::get_id()) {
        ending.detach();
    } else {
        ending.join();
    }
    std::lock_guard lock(state.lock);
    if (!state.queue)
        state.threadId = 0;
}

bool CDelayedNotificationThread::post(DelayedNotification* record)
{
    if (!m_queue)
        return false;
    Queue& queue = *m_queue;
    bool wake = false;
    {
        std::lock_guard lock(queue.lock);
        try {
            queue.records.push_back(record);
        } catch (const std::bad_alloc&) {
            return false;
        }
        wake = queue.consumerWaiting;
    }
    if (t_holdDepth > 0) {
        t_postedWhileHeld = true;
        return true;
    }
    if (wake)
        queue.wake.notify_one();
    return true;
}

void CDelayedNotificationThread::holdWakeUps()
{
    ++t_holdDepth;
}

void CDelayedNotificationThread::releaseWakeUps()
{
    if (--t_holdDepth > 0 || !t_postedWhileHeld)
        return;
    t_postedWhileHeld = false;
    if (m_queue)
        wakeIfWaiting(*m_queue);
}

unsigned CDelayedNotificationThread::getThreadId()
{
    return shared().threadId;
}

int CDelayedNotificationThread::getCarrierCount()
{
    SharedState& state = shared();
    std::lock_guard lock(state.lock);
    return state.carriers;
}
