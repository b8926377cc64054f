#include "monitor/CDelayedNotificationThread.h"

#include "monitor/CDelayedDirectoryChangeHandler.h"
#include "monitor/DelayedNotification.h"
#include "platform/ThreadControl.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Records kept for use again, on each side; the rest of a burst is freed.
constexpr std::size_t kSpareLimit = 8192;

void freeAll(std::vector<DelayedNotification*>& records)
{
    for (DelayedNotification* record : records)
        delete record;
    records.clear();
}

// Moves records into spare while it holds fewer than the limit and frees the others.
void keepSpare(std::vector<DelayedNotification*>& spare, std::vector<DelayedNotification*>& records)
{
    const std::size_t room = kSpareLimit > spare.size() ? kSpareLimit - spare.size() : 0;
    const std::size_t kept = std::min(room, records.size());
    try {
        spare.insert(spare.end(), records.end() - static_cast<std::ptrdiff_t>(kept), records.end());
        records.resize(records.size() - kept);
    } catch (const std::bad_alloc&) {
    }
    freeAll(records);
}

}  // namespace

// The notification thread's message queue. A null record asks the thread to end. Records the
// thread has dispatched come back through `spare`, so that handing them over and taking them
// back costs one lock per batch, not per record.
struct CDelayedNotificationThread::Queue {
    std::mutex lock;
    std::condition_variable wake;
    std::vector<DelayedNotification*> records;
    std::vector<DelayedNotification*> spare;
    bool consumerWaiting = false;

    ~Queue()
    {
        for (DelayedNotification* record : records)
            delete record;
        freeAll(spare);
    }

    void append(std::vector<DelayedNotification*>& batch)
    {
        bool wakeConsumer = false;
        {
            std::lock_guard guard(lock);
            try {
                records.insert(records.end(), batch.begin(), batch.end());
            } catch (const std::bad_alloc&) {
                // Lost, as records that cannot be made are.
                freeAll(batch);
                return;
            }
            wakeConsumer = consumerWaiting;
        }
        batch.clear();
        if (wakeConsumer)
            wake.notify_one();
    }
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

// What a posting thread (the watcher's worker) keeps: its held posts and records to use again.
struct Producer {
    int holdDepth = 0;
    CDelayedNotificationThread::Queue* batchQueue = nullptr;
    std::vector<DelayedNotification*> batch;
    std::vector<DelayedNotification*> spare;

    ~Producer() { freeAll(spare); }

    void flush()
    {
        if (batchQueue != nullptr && !batch.empty())
            batchQueue->append(batch);
        batchQueue = nullptr;
    }
};

thread_local Producer t_producer;

void notificationLoop(std::shared_ptr<CDelayedNotificationThread::Queue> queue, s::thread::Event* started)
{
    shared().threadId = s::platform::currentThreadId();
    started->set();
    std::vector<DelayedNotification*> batch;
    std::vector<DelayedNotification*> done;
    for (bool ending = false; !ending;) {
        {
            std::unique_lock lock(queue->lock);
            keepSpare(queue->spare, done);
            queue->consumerWaiting = true;
            queue->wake.wait(lock, [&queue] { return !queue->records.empty(); });
            queue->consumerWaiting = false;
            batch.swap(queue->records);
        }
        for (DelayedNotification* record : batch) {
            if (record == nullptr) {
                ending = true;
                continue;
            }
            // Records still queued when the thread ends are not delivered.
            if (!ending && record->handler != nullptr)
                CDelayedDirectoryChangeHandler::dispatchNotification(record->handler, record);
            record->reset();
            try {
                done.push_back(record);
            } catch (const std::bad_alloc&) {
                delete record;
            }
        }
        batch.clear();
    }
    freeAll(done);
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
    if (t_producer.batchQueue == m_queue.get())
        t_producer.flush();
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

DelayedNotification* CDelayedNotificationThread::newRecord()
{
    Producer& producer = t_producer;
    if (producer.spare.empty() && m_queue) {
        std::lock_guard lock(m_queue->lock);
        producer.spare.swap(m_queue->spare);
    }
    if (!producer.spare.empty()) {
        DelayedNotification* record = producer.spare.back();
        producer.spare.pop_back();
        return record;
    }
    return new (std::nothrow) DelayedNotification();
}

void CDelayedNotificationThread::discard(DelayedNotification* record)
{
    record->reset();
    Producer& producer = t_producer;
    if (producer.spare.size() < kSpareLimit) {
        try {
            producer.spare.push_back(record);
            return;
        } catch (const std::bad_alloc&) {
        }
    }
    delete record;
}

bool CDelayedNotificationThread::post(DelayedNotification* record)
{
    if (!m_queue)
        return false;
    Producer& producer = t_producer;
    if (producer.holdDepth > 0) {
        if (producer.batchQueue != m_queue.get())
            producer.flush();
        try {
            producer.batch.push_back(record);
        } catch (const std::bad_alloc&) {
            return false;
        }
        producer.batchQueue = m_queue.get();
        return true;
    }
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
    if (wake)
        queue.wake.notify_one();
    return true;
}

void CDelayedNotificationThread::holdWakeUps()
{
    ++t_producer.holdDepth;
}

void CDelayedNotificationThread::releaseWakeUps()
{
    if (--t_producer.holdDepth == 0)
        t_producer.flush();
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
