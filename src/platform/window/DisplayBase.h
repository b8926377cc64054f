#pragma once

#include "platform/Display.h"
#include "platform/window/InputRouter.h"
#include "platform/window/ThreadQueue.h"

#include <memory>
#include <vector>

namespace s::platform {

class WindowBase;

// The backend-neutral half of a Display: the loop, sends while waiting, timers, painting
// order, z-order of the thread's windows and the input router. A backend derives and supplies
// the native input, the wait and the desktop queries.
class DisplayBase : public Display {
public:
    explicit DisplayBase(std::unique_ptr<IWaker> waker);
    ~DisplayBase() override;

    // Display
    NativeWindow* findWindow(WindowId id) const override;
    int run() override;
    bool runUntil(const std::function<bool()>& done) override;
    void serveOnce(int timeoutMs) override;
    void wake() override;
    void postQuit(int exitCode) override;
    ThreadQueueRef threadQueue() const override { return m_queue; }
    NativeWindow* capture() const override;
    void releaseCapture() override { m_input.releaseCapture(); }
    NativeWindow* activeWindow() const override;
    bool isKeyDown(int virtualKey) const override { return m_input.isKeyDown(virtualKey); }
    Point cursorPos() const override { return m_input.cursorPos(); }

    // The display of the calling thread, or null.
    static DisplayBase* current();

    InputRouter& input() { return m_input; }
    WindowBase* window(WindowId id) const;
    // The windows whose owner is this one.
    std::vector<WindowBase*> ownedBy(WindowId owner) const;
    // The thread's visible windows, topmost first.
    std::vector<WindowBase*> windowsFromTop() const;
    // Moves a window to the top of its band (popups above windows kept on top, those above the rest).
    void raise(WindowBase* window);
    void setActive(WindowBase* window);
    WindowBase* active() const;

    bool setTimer(WindowId window, std::uintptr_t id, int periodMs);
    bool killTimer(WindowId window, std::uintptr_t id);
    // The due time of the earliest timer, or -1.
    std::int64_t nextTimerDue() const;

    // Waits for a send's reply while serving sends addressed to this thread.
    void waitForReply(SentMessage& message);
    // Serves every send waiting for this thread; true when there was one.
    bool serveSends();

    // For windows: registration and the end of their lives.
    void adopt(std::unique_ptr<WindowBase> window);
    void retire(WindowBase* window);

protected:
    // Translates and dispatches native input that has arrived; false when there was none.
    virtual bool dispatchInput() = 0;
    // Blocks until native input arrives, the waker is woken or timeoutMs passes (-1 = no limit).
    virtual void waitForEvents(int timeoutMs) = 0;
    // The timers changed; the earliest due time is nextTimerDue().
    virtual void timersChanged() {}
    // How long waitForEvents may sleep given the next timer (the headless clock never runs by itself).
    virtual int timerWaitMs() const;

    // Destroys every window; backends call it first in their destructor.
    void closeAll();
    ThreadQueue& queue() { return *m_queue; }

private:
    enum class Step { Dispatched, Idle, Quit };
    Step step();
    Step stepOrWait(int maxWaitMs);
    void dispatchPosted(const PostedMessage& message);
    bool paintOne();
    bool fireTimer();
    void serve(SentMessage& message);
    void collectRetired();

    std::shared_ptr<ThreadQueue> m_queue;
    InputRouter m_input;
    std::vector<std::unique_ptr<WindowBase>> m_windows;
    std::vector<WindowBase*> m_zOrder;  // topmost first, visible or not
    std::vector<std::unique_ptr<WindowBase>> m_retired;
    WindowId m_active = 0;
    int m_depth = 0;  // dispatch nesting; retired windows are freed at depth 0

    struct Timer {
        WindowId window;
        std::uintptr_t id;
        int period;
        std::int64_t due;
    };
    std::vector<Timer> m_timers;
};

}  // namespace s::platform
