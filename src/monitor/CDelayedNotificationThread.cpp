#include "monitor/CDelayedNotificationThread.h"

#include "monitor/CDelayedDirectoryChangeHandler.h"
#include "monitor/DelayedNotification.h"
#include "platform/ThreadControl.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Notifications cross to the notification thread packed one after another in a buffer: the
// bytes of one hand-over lie together, so the other core reads them in one sweep, and the
// buffers come back empty to be filled again. An entry is this header, then the path and the
// new path.
struct EntryHeader {
    CDelayedDirectoryChangeHandler* handler;
    std::int32_t type;
    std::int32_t errorCode;
    std::uint64_t relativePathOffset;
    std::uint32_t pathLength;
    std::uint32_t newPathLength;
};

// Asks the notification thread to end; not a notification type.
constexpr std::int32_t kQuit = -1;
constexpr std::size_t kSpareBuffers = 16;

using Buffer = std::vector<char>;

void appendEntry(Buffer& buffer, const DelayedNotification& record, std::int32_t type)
{
    const EntryHeader header{record.handler,
                             type,
                             record.errorCode,
                             record.relativePathOffset,
                             static_cast<std::uint32_t>(record.path.size()),
                             static_cast<std::uint32_t>(record.newPath.size())};
    const char* bytes = reinterpret_cast<const char*>(&header);
    buffer.insert(buffer.end(), bytes, bytes + sizeof header);
    buffer.insert(buffer.end(), record.path.begin(), record.path.end());
    buffer.insert(buffer.end(), record.newPath.begin(), record.newPath.end());
}

}  // namespace

// The notification thread's message queue: buffers of packed notifications, oldest first.
struct CDelayedNotificationThread::Queue {
    std::mutex lock;
    std::condition_variable wake;
    std::vector<Buffer> buffers;
    std::vector<Buffer> spare;
    bool consumerWaiting = false;

    // Queues the filled buffer and gives an empty one back in its place.
    bool hand(Buffer& buffer)
    {
        bool wakeConsumer = false;
        {
            std::lock_guard guard(lock);
            try {
                buffers.push_back(std::move(buffer));
            } catch (const std::bad_alloc&) {
                buffer.clear();
                return false;
            }
            buffer = Buffer();
            if (!spare.empty()) {
                buffer = std::move(spare.back());
                spare.pop_back();
            }
            wakeConsumer = consumerWaiting;
        }
        if (wakeConsumer)
            wake.notify_one();
        return true;
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

// What a posting thread keeps: the posts it holds back and a buffer for a single post.
struct Producer {
    int holdDepth = 0;
    CDelayedNotificationThread::Queue* heldQueue = nullptr;
    Buffer held;
    Buffer single;

    void flush()
    {
        if (heldQueue != nullptr && !held.empty())
            heldQueue->hand(held);
        heldQueue = nullptr;
    }
};

thread_local Producer t_producer;

void deliver(const Buffer& buffer, DelayedNotification& record, bool& ending)
{
    std::size_t at = 0;
    while (buffer.size() - at >= sizeof(EntryHeader)) {
        EntryHeader header{};
        std::memcpy(&header, buffer.data() + at, sizeof header);
        const char* text = buffer.data() + at + sizeof header;
        at += sizeof header + header.pathLength + header.newPathLength;
        if (header.type == kQuit) {
            ending = true;
            continue;
        }
        // Records still queued when the thread ends are not delivered.
        if (ending || header.handler == nullptr)
            continue;
        record.handler = header.handler;
        record.type = header.type;
        record.errorCode = header.errorCode;
        record.relativePathOffset = header.relativePathOffset;
        record.path.assign(text, header.pathLength);
        record.newPath.assign(text + header.pathLength, header.newPathLength);
        CDelayedDirectoryChangeHandler::dispatchNotification(header.handler, &record);
    }
}

void notificationLoop(std::shared_ptr<CDelayedNotificationThread::Queue> queue, s::thread::Event* started)
{
    shared().threadId = s::platform::currentThreadId();
    started->set();
    std::vector<Buffer> taken;
    DelayedNotification record;
    for (bool ending = false; !ending;) {
        {
            std::unique_lock lock(queue->lock);
            for (Buffer& buffer : taken) {
                if (queue->spare.size() >= kSpareBuffers)
                    break;
                buffer.clear();
                queue->spare.push_back(std::move(buffer));
            }
            taken.clear();
            queue->consumerWaiting = true;
            queue->wake.wait(lock, [&queue] { return !queue->buffers.empty(); });
            queue->consumerWaiting = false;
            taken.swap(queue->buffers);
        }
        for (const Buffer& buffer : taken)
            deliver(buffer, record, ending);
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
    if (t_producer.heldQueue == m_queue.get())
        t_producer.flush();
    SharedState& state = shared();
    std::thread ending;
    {
        std::lock_guard lock(state.lock);
        if (--state.carriers <= 0) {
            state.carriers = 0;
            Buffer quit;
            try {
                appendEntry(quit, DelayedNotification(), kQuit);
            } catch (const std::bad_alloc&) {
            }
            m_queue->hand(quit);
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

bool CDelayedNotificationThread::post(const DelayedNotification& record)
{
    if (!m_queue)
        return false;
    Producer& producer = t_producer;
    try {
        if (producer.holdDepth > 0) {
            if (producer.heldQueue != m_queue.get())
                producer.flush();
            appendEntry(producer.held, record, record.type);
            producer.heldQueue = m_queue.get();
            return true;
        }
        appendEntry(producer.single, record, record.type);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return m_queue->hand(producer.single);
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
