#include "platform/window/DisplayBase.h"

#include "platform/Messages.h"
#include "platform/window/WindowBase.h"

#include <algorithm>
#include <limits>

namespace s::platform {

namespace {

thread_local DisplayBase* t_display = nullptr;

int band(const WindowBase* w)
{
    if (w->kind() == WindowKind::Popup)
        return 2;
    return w->isKeepOnTop() ? 1 : 0;
}

}  // namespace

DisplayBase::DisplayBase(std::unique_ptr<IWaker> waker)
    : m_queue(std::make_shared<ThreadQueue>(std::move(waker))), m_input(*this)
{
    t_display = this;
}

DisplayBase::~DisplayBase()
{
    closeAll();
    if (t_display == this)
        t_display = nullptr;
}

void DisplayBase::closeAll()
{
    m_queue->close();
    // Destroy from the top so owned windows (message boxes, popups) go before their owners.
    while (!m_zOrder.empty())
        m_zOrder.front()->destroy();
    m_retired.clear();
    m_timers.clear();
}

DisplayBase* DisplayBase::current()
{
    return t_display;
}

Display* currentDisplay()
{
    return DisplayBase::current();
}

WindowBase* DisplayBase::window(WindowId id) const
{
    if (id == 0)
        return nullptr;
    for (const auto& w : m_windows) {
        if (w->id() == id)
            return w->isDestroyed() ? nullptr : w.get();
    }
    return nullptr;
}

NativeWindow* DisplayBase::findWindow(WindowId id) const
{
    return window(id);
}

std::vector<WindowBase*> DisplayBase::ownedBy(WindowId owner) const
{
    std::vector<WindowBase*> owned;
    for (const auto& w : m_windows) {
        if (!w->isDestroyed() && w->params().owner == owner)
            owned.push_back(w.get());
    }
    return owned;
}

std::vector<WindowBase*> DisplayBase::windowsFromTop() const
{
    std::vector<WindowBase*> visible;
    for (WindowBase* w : m_zOrder) {
        if (w->isVisible() && !w->isMinimized())
            visible.push_back(w);
    }
    return visible;
}

void DisplayBase::raise(WindowBase* window)
{
    auto found = std::find(m_zOrder.begin(), m_zOrder.end(), window);
    if (found != m_zOrder.end())
        m_zOrder.erase(found);
    auto place = std::find_if(m_zOrder.begin(), m_zOrder.end(),
                              [&](const WindowBase* other) { return band(other) <= band(window); });
    m_zOrder.insert(place, window);
}

void DisplayBase::setActive(WindowBase* window)
{
    m_active = window != nullptr ? window->id() : 0;
}

WindowBase* DisplayBase::active() const
{
    return window(m_active);
}

NativeWindow* DisplayBase::activeWindow() const
{
    return active();
}

NativeWindow* DisplayBase::capture() const
{
    return m_input.capture();
}

void DisplayBase::adopt(std::unique_ptr<WindowBase> window)
{
    m_zOrder.insert(m_zOrder.end(), window.get());
    raise(window.get());
    m_windows.push_back(std::move(window));
}

void DisplayBase::retire(WindowBase* window)
{
    m_zOrder.erase(std::remove(m_zOrder.begin(), m_zOrder.end(), window), m_zOrder.end());
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [&](const Timer& t) { return t.window == window->id(); }),
                   m_timers.end());
    m_input.forget(window->id());
    if (m_active == window->id())
        m_active = 0;
    auto found = std::find_if(m_windows.begin(), m_windows.end(), [&](const auto& w) { return w.get() == window; });
    if (found != m_windows.end()) {
        m_retired.push_back(std::move(*found));
        m_windows.erase(found);
    }
    timersChanged();
}

void DisplayBase::collectRetired()
{
    if (m_depth == 0)
        m_retired.clear();
}

bool DisplayBase::setTimer(WindowId window, std::uintptr_t id, int periodMs)
{
    if (this->window(window) == nullptr)
        return false;
    // The system's minimum period; also keeps a zero period from spinning the loop.
    const int period = std::max(periodMs, 10);
    const std::int64_t due = now() + period;
    for (Timer& t : m_timers) {
        if (t.window == window && t.id == id) {
            t.period = period;
            t.due = due;
            timersChanged();
            return true;
        }
    }
    m_timers.push_back({window, id, period, due});
    timersChanged();
    return true;
}

bool DisplayBase::killTimer(WindowId window, std::uintptr_t id)
{
    auto found = std::find_if(m_timers.begin(), m_timers.end(),
                              [&](const Timer& t) { return t.window == window && t.id == id; });
    if (found == m_timers.end())
        return false;
    m_timers.erase(found);
    timersChanged();
    return true;
}

std::int64_t DisplayBase::nextTimerDue() const
{
    std::int64_t due = -1;
    for (const Timer& t : m_timers) {
        if (due < 0 || t.due < due)
            due = t.due;
    }
    return due;
}

int DisplayBase::timerWaitMs() const
{
    const std::int64_t due = nextTimerDue();
    if (due < 0)
        return -1;
    const std::int64_t left = due - now();
    return static_cast<int>(std::clamp<std::int64_t>(left, 0, std::numeric_limits<int>::max()));
}

bool DisplayBase::fireTimer()
{
    const std::int64_t at = now();
    Timer* next = nullptr;
    for (Timer& t : m_timers) {
        if (t.due <= at && (next == nullptr || t.due < next->due))
            next = &t;
    }
    if (next == nullptr)
        return false;
    // Expirations missed while the thread was busy make one message, as with the system's timers.
    next->due = at + next->period;
    const WindowId target = next->window;
    const std::uintptr_t id = next->id;
    timersChanged();
    if (WindowBase* w = window(target))
        w->send(WM_TIMER, id, 0);
    return true;
}

bool DisplayBase::paintOne()
{
    for (WindowBase* w : m_zOrder) {
        if (w->needsPaint() && w->isVisible()) {
            w->paintNow();
            return true;
        }
    }
    return false;
}

void DisplayBase::dispatchPosted(const PostedMessage& message)
{
    if (WindowBase* w = window(message.target))
        w->send(message.code, message.wParam, message.lParam);
}

void DisplayBase::serve(SentMessage& message)
{
    WindowBase* w = window(message.target);
    if (w == nullptr) {
        message.complete(0, false);
        return;
    }
    if (message.work != nullptr) {
        (*message.work)();
        message.complete(0, true);
        return;
    }
    message.complete(w->send(message.code, message.wParam, message.lParam), true);
}

bool DisplayBase::serveSends()
{
    bool any = false;
    while (std::shared_ptr<SentMessage> message = m_queue->popSend()) {
        ++m_depth;
        serve(*message);
        --m_depth;
        any = true;
    }
    return any;
}

void DisplayBase::waitForReply(SentMessage& message)
{
    for (;;) {
        m_queue->waker().clear();
        serveSends();
        if (message.isDone())
            return;
        m_queue->waker().waitAlone(-1);
    }
}

DisplayBase::Step DisplayBase::step()
{
    ++m_depth;
    Step result = Step::Dispatched;
    if (serveSends()) {
    } else if (std::optional<PostedMessage> posted = m_queue->popPosted()) {
        dispatchPosted(*posted);
    } else if (m_queue->quitPending(nullptr)) {
        result = Step::Quit;
    } else if (dispatchInput()) {
    } else if (paintOne()) {
    } else if (fireTimer()) {
    } else {
        result = Step::Idle;
    }
    --m_depth;
    collectRetired();
    return result;
}

DisplayBase::Step DisplayBase::stepOrWait(int maxWaitMs)
{
    Step s = step();
    if (s != Step::Idle)
        return s;
    // Clear before the second look, so a wake that comes after the look ends the wait.
    m_queue->waker().clear();
    s = step();
    if (s != Step::Idle)
        return s;
    int wait = timerWaitMs();
    if (maxWaitMs >= 0 && (wait < 0 || wait > maxWaitMs))
        wait = maxWaitMs;
    waitForEvents(wait);
    return Step::Idle;
}

int DisplayBase::run()
{
    for (;;) {
        if (stepOrWait(-1) == Step::Quit) {
            int code = 0;
            m_queue->quitPending(&code);
            m_queue->takeQuit();
            return code;
        }
    }
}

bool DisplayBase::runUntil(const std::function<bool()>& done)
{
    while (!done()) {
        if (stepOrWait(-1) == Step::Quit)
            return false;
    }
    return true;
}

void DisplayBase::serveOnce(int timeoutMs)
{
    bool any = false;
    for (;;) {
        const Step s = step();
        if (s != Step::Dispatched)
            break;
        any = true;
    }
    if (any || m_queue->quitPending(nullptr))
        return;
    stepOrWait(timeoutMs);
    while (step() == Step::Dispatched) {
    }
}

void DisplayBase::wake()
{
    m_queue->waker().wake();
}

void DisplayBase::postQuit(int exitCode)
{
    m_queue->postQuit(exitCode);
}

}  // namespace s::platform
