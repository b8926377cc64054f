#include "platform/Display.h"
#include "platform/Messages.h"
#include "platform/window/DisplayBase.h"
#include "platform/window/ThreadQueue.h"

#include <atomic>

namespace s::platform {

namespace {

std::atomic<IWindowSystem*> g_windowSystem{nullptr};

// Delivers a send and waits for its reply: a user-interface thread keeps serving sends
// addressed to itself meanwhile; any other thread simply blocks.
LResult deliver(const std::shared_ptr<ThreadQueue>& target, const std::shared_ptr<SentMessage>& message,
                bool* reached)
{
    DisplayBase* self = DisplayBase::current();
    if (self != nullptr)
        message->replyTo = self->threadQueue();
    if (!target->pushSend(message))
        return 0;
    if (self != nullptr) {
        self->waitForReply(*message);
    } else {
        std::unique_lock lock(message->lock);
        message->replied.wait(lock, [&] { return message->done; });
    }
    std::lock_guard lock(message->lock);
    if (reached != nullptr)
        *reached = message->delivered;
    // Drop the reference to our own queue so a message kept by nobody frees it.
    message->replyTo.reset();
    return message->result;
}

}  // namespace

IWindowSystem* windowSystem()
{
    return g_windowSystem.load();
}

void setWindowSystem(IWindowSystem* system)
{
    g_windowSystem.store(system);
}

LResult sendMessage(WindowId window, unsigned code, WParam wParam, LParam lParam)
{
    std::shared_ptr<ThreadQueue> target = registry::queueOf(window);
    if (!target)
        return 0;
    DisplayBase* self = DisplayBase::current();
    if (self != nullptr && self->threadQueue() == target) {
        NativeWindow* w = self->findWindow(window);
        return w != nullptr ? w->send(code, wParam, lParam) : 0;
    }
    auto message = std::make_shared<SentMessage>();
    message->target = window;
    message->code = code;
    message->wParam = wParam;
    message->lParam = lParam;
    return deliver(target, message, nullptr);
}

bool postMessage(WindowId window, unsigned code, WParam wParam, LParam lParam)
{
    std::shared_ptr<ThreadQueue> target = registry::queueOf(window);
    return target && target->post({window, code, wParam, lParam});
}

bool invoke(WindowId window, const std::function<void()>& work)
{
    std::shared_ptr<ThreadQueue> target = registry::queueOf(window);
    if (!target)
        return false;
    DisplayBase* self = DisplayBase::current();
    if (self != nullptr && self->threadQueue() == target) {
        if (self->findWindow(window) == nullptr)
            return false;
        work();
        return true;
    }
    auto message = std::make_shared<SentMessage>();
    message->target = window;
    message->work = &work;
    bool reached = false;
    deliver(target, message, &reached);
    return reached;
}

bool postQuit(const ThreadQueueRef& queue, int exitCode)
{
    return queue && queue->postQuit(exitCode);
}

}  // namespace s::platform
