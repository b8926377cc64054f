#pragma once

#include "platform/Display.h"
#include "platform/WindowTypes.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace s::platform {

// Wakes a waiting user-interface thread. Each backend provides one that its own wait watches
// (an eventfd beside the X connection, a condition variable for the headless backend).
// Level-triggered: a wake() stays set until clear(), so a wake that comes between a check and
// the wait is never lost as long as the waiter clears before it checks.
class IWaker {
public:
    virtual ~IWaker() = default;
    virtual void wake() = 0;
    virtual void clear() = 0;
    // Waits for a wake only (not for input); timeoutMs < 0 waits without limit.
    virtual void waitAlone(int timeoutMs) = 0;
};

// A synchronous message on its way to another thread. The sender waits until done.
struct SentMessage {
    WindowId target = 0;
    unsigned code = 0;
    WParam wParam = 0;
    LParam lParam = 0;
    const std::function<void()>* work = nullptr;  // an invoke: runs instead of the procedure
    std::shared_ptr<ThreadQueue> replyTo;         // the sender's own queue, woken on reply

    std::mutex lock;
    std::condition_variable replied;
    LResult result = 0;
    bool done = false;
    bool delivered = false;  // the target window existed when the message was served

    void complete(LResult value, bool reachedWindow);
    bool isDone();
};

struct PostedMessage {
    WindowId target = 0;
    unsigned code = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// The cross-thread side of one user-interface thread: sent and posted messages and the quit
// request, under one lock.
class ThreadQueue {
public:
    explicit ThreadQueue(std::unique_ptr<IWaker> waker);
    ~ThreadQueue();
    ThreadQueue(const ThreadQueue&) = delete;
    ThreadQueue& operator=(const ThreadQueue&) = delete;

    // False when the queue is closed; the message is then not taken.
    bool pushSend(const std::shared_ptr<SentMessage>& message);
    bool post(const PostedMessage& message);
    bool postQuit(int exitCode);

    std::shared_ptr<SentMessage> popSend();
    std::optional<PostedMessage> popPosted();
    bool hasPosted() const;
    bool quitPending(int* exitCode) const;
    void takeQuit();

    // Refuses everything from now on and answers every waiting send with 0.
    void close();

    IWaker& waker() { return *m_waker; }

private:
    mutable std::mutex m_lock;
    std::deque<std::shared_ptr<SentMessage>> m_sent;
    std::deque<PostedMessage> m_posted;
    bool m_quit = false;
    int m_quitCode = 0;
    bool m_closed = false;
    std::unique_ptr<IWaker> m_waker;
};

// Process-wide map from window handles to the queue of the thread that owns the window.
namespace registry {
WindowId add(const std::shared_ptr<ThreadQueue>& queue);
void remove(WindowId id);
std::shared_ptr<ThreadQueue> queueOf(WindowId id);
}  // namespace registry

}  // namespace s::platform
