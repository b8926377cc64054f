#include "platform/window/ThreadQueue.h"

#include <atomic>
#include <unordered_map>

namespace s::platform {

void SentMessage::complete(LResult value, bool reachedWindow)
{
    std::shared_ptr<ThreadQueue> wake;
    {
        std::lock_guard guard(lock);
        result = value;
        delivered = reachedWindow;
        done = true;
        wake = replyTo;
        replied.notify_all();
    }
    if (wake)
        wake->waker().wake();
}

bool SentMessage::isDone()
{
    std::lock_guard guard(lock);
    return done;
}

ThreadQueue::ThreadQueue(std::unique_ptr<IWaker> waker) : m_waker(std::move(waker)) {}

ThreadQueue::~ThreadQueue()
{
    close();
}

bool ThreadQueue::pushSend(const std::shared_ptr<SentMessage>& message)
{
    {
        std::lock_guard guard(m_lock);
        if (m_closed)
            return false;
        m_sent.push_back(message);
    }
    m_waker->wake();
    return true;
}

bool ThreadQueue::post(const PostedMessage& message)
{
    {
        std::lock_guard guard(m_lock);
        if (m_closed)
            return false;
        m_posted.push_back(message);
    }
    m_waker->wake();
    return true;
}

bool ThreadQueue::postQuit(int exitCode)
{
    {
        std::lock_guard guard(m_lock);
        if (m_closed)
            return false;
        m_quit = true;
        m_quitCode = exitCode;
    }
    m_waker->wake();
    return true;
}

std::shared_ptr<SentMessage> ThreadQueue::popSend()
{
    std::lock_guard guard(m_lock);
    if (m_sent.empty())
        return nullptr;
    std::shared_ptr<SentMessage> message = std::move(m_sent.front());
    m_sent.pop_front();
    return message;
}

std::optional<PostedMessage> ThreadQueue::popPosted()
{
    std::lock_guard guard(m_lock);
    if (m_posted.empty())
        return std::nullopt;
    PostedMessage message = m_posted.front();
    m_posted.pop_front();
    return message;
}

bool ThreadQueue::hasPosted() const
{
    std::lock_guard guard(m_lock);
    return !m_posted.empty();
}

bool ThreadQueue::quitPending(int* exitCode) const
{
    std::lock_guard guard(m_lock);
    if (m_quit && exitCode != nullptr)
        *exitCode = m_quitCode;
    return m_quit;
}

void ThreadQueue::takeQuit()
{
    std::lock_guard guard(m_lock);
    m_quit = false;
}

void ThreadQueue::close()
{
    std::deque<std::shared_ptr<SentMessage>> waiting;
    {
        std::lock_guard guard(m_lock);
        m_closed = true;
        waiting.swap(m_sent);
        m_posted.clear();
    }
    for (const auto& message : waiting)
        message->complete(0, false);
}

namespace registry {

namespace {

struct Registry {
    std::mutex lock;
    std::unordered_map<WindowId, std::weak_ptr<ThreadQueue>> queues;
    WindowId next = 1;
};

// Never destroyed: sends from threads still running at process end must find a live map.
Registry& instance()
{
    static Registry* registry = new Registry();
    return *registry;
}

}  // namespace

WindowId add(const std::shared_ptr<ThreadQueue>& queue)
{
    Registry& r = instance();
    std::lock_guard guard(r.lock);
    const WindowId id = r.next++;
    r.queues.emplace(id, queue);
    return id;
}

void remove(WindowId id)
{
    Registry& r = instance();
    std::lock_guard guard(r.lock);
    r.queues.erase(id);
}

std::shared_ptr<ThreadQueue> queueOf(WindowId id)
{
    Registry& r = instance();
    std::lock_guard guard(r.lock);
    auto found = r.queues.find(id);
    return found == r.queues.end() ? nullptr : found->second.lock();
}

}  // namespace registry

}  // namespace s::platform
