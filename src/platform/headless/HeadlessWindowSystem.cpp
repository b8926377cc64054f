#include "platform/headless/HeadlessWindowSystem.h"

#include "platform/Messages.h"
#include "platform/headless/HeadlessDisplay.h"
#include "platform/headless/HeadlessWindow.h"

#include <algorithm>

namespace s::platform::headless {

struct HeadlessWindowSystem::Shared {
    std::mutex lock;
    std::vector<std::weak_ptr<ThreadQueue>> queues;
};

HeadlessWindowSystem::HeadlessWindowSystem() : m_shared(std::make_shared<Shared>()) {}

HeadlessWindowSystem::~HeadlessWindowSystem() = default;

std::unique_ptr<Display> HeadlessWindowSystem::openDisplay(std::string* error)
{
    if (m_desktop.monitors.empty()) {
        if (error != nullptr)
            *error = "headless desktop has no monitor";
        return nullptr;
    }
    auto display = std::make_unique<HeadlessDisplay>(*this);
    std::lock_guard lock(m_shared->lock);
    m_shared->queues.push_back(display->threadQueue());
    return display;
}

void HeadlessWindowSystem::advanceClock(int ms)
{
    setClock(now() + ms);
}

void HeadlessWindowSystem::setClock(std::int64_t ms)
{
    m_clock.store(ms);
    std::lock_guard lock(m_shared->lock);
    auto& queues = m_shared->queues;
    queues.erase(std::remove_if(queues.begin(), queues.end(), [](const auto& q) { return q.expired(); }), queues.end());
    for (const auto& weak : queues) {
        if (auto queue = weak.lock())
            queue->waker().wake();
    }
}

namespace {

HeadlessDisplay& headless(Display& display)
{
    return static_cast<HeadlessDisplay&>(display);
}

HeadlessWindow& headless(NativeWindow& window)
{
    return static_cast<HeadlessWindow&>(window);
}

void injectPointer(Display& display, PointerInput::Kind kind, int button, int delta, Point screen)
{
    PointerInput input;
    input.kind = kind;
    input.button = button;
    input.wheelDelta = delta;
    input.screen = screen;
    headless(display).inject(input);
}

}  // namespace

void movePointer(Display& display, Point screen)
{
    injectPointer(display, PointerInput::Move, 0, 0, screen);
}

void pressButton(Display& display, int button, Point screen)
{
    movePointer(display, screen);
    injectPointer(display, PointerInput::Press, button, 0, screen);
}

void releaseButton(Display& display, int button, Point screen)
{
    movePointer(display, screen);
    injectPointer(display, PointerInput::Release, button, 0, screen);
}

void click(Display& display, int button, Point screen)
{
    pressButton(display, button, screen);
    releaseButton(display, button, screen);
}

void turnWheel(Display& display, int notches, Point screen, bool horizontal)
{
    movePointer(display, screen);
    injectPointer(display, horizontal ? PointerInput::HorizontalWheel : PointerInput::Wheel, 0, notches * WHEEL_DELTA,
                  screen);
}

void pressKey(Display& display, int virtualKey)
{
    KeyInput input;
    input.virtualKey = virtualKey;
    input.down = true;
    headless(display).inject(input);
}

void releaseKey(Display& display, int virtualKey)
{
    KeyInput input;
    input.virtualKey = virtualKey;
    input.down = false;
    headless(display).inject(input);
}

void pump(Display& display)
{
    display.serveOnce(0);
}

void advance(Display& display, int ms)
{
    HeadlessDisplay& d = headless(display);
    HeadlessWindowSystem& system = d.system();
    const std::int64_t target = system.now() + ms;
    pump(display);
    for (;;) {
        const std::int64_t due = d.nextTimerDue();
        if (due < 0 || due > target)
            break;
        system.setClock(std::max(due, system.now()));
        pump(display);
    }
    system.setClock(target);
    pump(display);
}

std::uint32_t presentedPixel(NativeWindow& window, int x, int y)
{
    return headless(window).presentedPixel(x, y);
}

std::vector<Rect> takePresentedRects(NativeWindow& window)
{
    return headless(window).takePresented();
}

Cursor cursorOf(NativeWindow& window)
{
    return headless(window).cursor();
}

bool isMapped(NativeWindow& window)
{
    return headless(window).mapped();
}

bool holdsGrab(NativeWindow& window)
{
    return headless(window).grabbed();
}

}  // namespace s::platform::headless
