#include "gui/win/UIThread.h"

#include "gui/win/LoopPump.h"
#include "platform/ThreadControl.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>

namespace s::gui::win {

namespace {

constexpr int kPollMs = 10;
constexpr int kShutdownLimitMs = 5000;

void sleepPoll()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
}

}  // namespace

// Everything the thread touches; shared, so that a thread left running after a late shutdown
// never reaches into a deleted UIThread.
struct UIThread::State {
    std::mutex lock;
    std::condition_variable ended;
    std::string error;
    platform::ThreadQueueRef queue;
    bool finished = false;

    std::atomic<IUiWindow*> window{nullptr};
    std::atomic<platform::Display*> display{nullptr};
    std::atomic<bool> running{false};
    std::atomic<bool> failed{false};
    std::atomic<bool> stopRequested{false};
    std::atomic<unsigned> threadId{0};
    std::atomic<int> exitCode{0};

    void fail(const std::string& reason)
    {
        std::lock_guard guard(lock);
        error = reason;
        failed = true;
    }
    void finish()
    {
        std::lock_guard guard(lock);
        finished = true;
        ended.notify_all();
    }
};

namespace {

void threadMain(const std::shared_ptr<UIThread::State>& state, platform::IWindowSystem* system)
{
    state->threadId = platform::currentThreadId();
    std::string error;
    std::unique_ptr<platform::Display> display = system != nullptr ? system->openDisplay(&error) : nullptr;
    if (!display) {
        state->fail(system == nullptr ? "no window system has been chosen" : error);
        state->finish();
        return;
    }
    {
        std::lock_guard guard(state->lock);
        state->queue = display->threadQueue();
    }
    {
        LoopPump pump(*display);
        LoopPump::Installed installed(pump);
        while (state->window.load() == nullptr && !state->stopRequested)
            sleepPoll();
        if (state->stopRequested) {
            state->finish();
            return;
        }
        if (!state->window.load()->createNativeWindows(*display)) {
            state->fail("the window could not create its native windows");
        } else {
            state->display = display.get();
            state->running = true;
            state->exitCode = display->run();
            state->running = false;
            state->display = nullptr;
        }
    }
    display.reset();
    state->finish();
}

}  // namespace

UIThread::UIThread() : m_state(std::make_shared<State>()) {}

UIThread::~UIThread()
{
    shutdown();
}

bool UIThread::start(platform::IWindowSystem* system)
{
    if (m_thread.joinable())
        return false;
    if (system == nullptr)
        system = platform::windowSystem();
    try {
        m_thread = std::thread(threadMain, m_state, system);
    } catch (const std::system_error& e) {
        m_state->fail(std::string("no thread could be started: ") + e.what());
        return false;
    }
    return true;
}

void UIThread::setWindow(IUiWindow* window)
{
    m_state->window = window;
}

bool UIThread::isRunning() const
{
    return m_state->running;
}

bool UIThread::hasFailed() const
{
    return m_state->failed;
}

bool UIThread::waitUntilRunning()
{
    for (;;) {
        if (m_state->running)
            return true;
        if (m_state->failed)
            return false;
        {
            std::lock_guard guard(m_state->lock);
            if (m_state->finished)
                return false;
        }
        sleepPoll();
    }
}

std::string UIThread::startError() const
{
    std::lock_guard guard(m_state->lock);
    return m_state->error;
}

void UIThread::shutdown()
{
    if (!m_thread.joinable())
        return;
    int elapsed = 0;
    while (m_state->running) {
        platform::ThreadQueueRef queue;
        {
            std::lock_guard guard(m_state->lock);
            queue = m_state->queue;
        }
        if (platform::postQuit(queue, 0) || elapsed >= kShutdownLimitMs)
            break;
        sleepPoll();
        elapsed += kPollMs;
    }
    // A thread still starting gives up instead of waiting for a window that will not come.
    m_state->stopRequested = true;
    std::unique_lock lock(m_state->lock);
    const int left = kShutdownLimitMs - elapsed > 0 ? kShutdownLimitMs - elapsed : 0;
    const bool ended = m_state->ended.wait_for(lock, std::chrono::milliseconds(left), [this] { return m_state->finished; });
    lock.unlock();
    if (ended)
        m_thread.join();
    else
        m_thread.detach();
}

platform::Display* UIThread::display() const
{
    return m_state->display;
}

unsigned UIThread::getThreadId() const
{
    return m_state->threadId;
}

int UIThread::getExitCode() const
{
    return m_state->exitCode;
}

}  // namespace s::gui::win
