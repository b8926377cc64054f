#include "platform/headless/HeadlessDisplay.h"

#include "platform/headless/HeadlessWindow.h"
#include "platform/window/Monitors.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>

namespace s::platform::headless {

namespace {

class ConditionWaker final : public IWaker {
public:
    void wake() override
    {
        std::lock_guard lock(m_lock);
        m_set = true;
        m_changed.notify_all();
    }
    void clear() override
    {
        std::lock_guard lock(m_lock);
        m_set = false;
    }
    void waitAlone(int timeoutMs) override
    {
        std::unique_lock lock(m_lock);
        if (timeoutMs < 0)
            m_changed.wait(lock, [this] { return m_set; });
        else
            m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_set; });
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_set = false;
};

}  // namespace

HeadlessDisplay::HeadlessDisplay(HeadlessWindowSystem& system)
    : DisplayBase(std::make_unique<ConditionWaker>()), m_system(system)
{
}

HeadlessDisplay::~HeadlessDisplay()
{
    closeAll();
}

NativeWindow* HeadlessDisplay::createWindow(const WindowParams& params, IWindowProc* proc)
{
    auto window = std::make_unique<HeadlessWindow>(*this, params, proc);
    HeadlessWindow* created = window.get();
    adopt(std::move(window));
    if (!created->create()) {
        created->destroy();
        return nullptr;
    }
    return created;
}

const Monitor& HeadlessDisplay::monitorFor(const Rect& rect) const
{
    const auto& monitors = m_system.desktop().monitors;
    std::vector<Rect> areas;
    areas.reserve(monitors.size());
    for (const Monitor& m : monitors)
        areas.push_back(m.area);
    return monitors[monitorHolding(areas, rect)];
}

Rect HeadlessDisplay::virtualScreen() const
{
    Rect all;
    for (const Monitor& m : m_system.desktop().monitors)
        all = all.unite(m.area);
    return all;
}

Rect HeadlessDisplay::monitorArea(const Rect& rect) const
{
    return monitorFor(rect).area;
}

Rect HeadlessDisplay::workArea(const Rect& rect) const
{
    return monitorFor(rect).work;
}

void HeadlessDisplay::inject(const PointerInput& input)
{
    {
        std::lock_guard lock(m_inputLock);
        m_input.emplace_back(input);
    }
    wake();
}

void HeadlessDisplay::inject(const KeyInput& input)
{
    {
        std::lock_guard lock(m_inputLock);
        m_input.emplace_back(input);
    }
    wake();
}

bool HeadlessDisplay::dispatchInput()
{
    std::variant<PointerInput, KeyInput> next;
    {
        std::lock_guard lock(m_inputLock);
        if (m_input.empty())
            return false;
        next = m_input.front();
        m_input.pop_front();
    }
    if (auto* pointer = std::get_if<PointerInput>(&next)) {
        pointer->time = now();
        // As a display server would: the topmost mapped window under the pointer receives it.
        for (WindowBase* w : windowsFromTop()) {
            if (w->bounds().contains(pointer->screen)) {
                pointer->receivedBy = w->id();
                break;
            }
        }
        input().pointer(*pointer);
    } else {
        input().key(std::get<KeyInput>(next));
    }
    return true;
}

void HeadlessDisplay::waitForEvents(int timeoutMs)
{
    queue().waker().waitAlone(timeoutMs);
}

}  // namespace s::platform::headless
