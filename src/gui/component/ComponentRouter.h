#pragma once

#include "gui/component/IComponent.h"
#include "platform/Messages.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

namespace s::gui::win {

class Component;
class Window;

// A message carried to a component from another thread (lParam of msg::kComponentMessage).
struct ComponentMessage {
    unsigned code = 0;
    platform::WParam wParam = 0;
    platform::LParam lParam = 0;
};

// The one place where a window's native messages become the messages of its windowless
// components: hit tests (transparent components let what lies beneath have the point), pointer
// capture, pointer messages in component coordinates, cursors, component timers and messages
// sent to components from other threads.
class ComponentRouter {
public:
    // Component timers use native timer ids from here up; the window's own stay below.
    static constexpr std::uintptr_t kTimerBase = 0x40000000;

    explicit ComponentRouter(Window& window) : m_window(window) {}

    // Attached components; only these receive messages.
    void enrol(Component* component) { m_enrolled.insert(component); }
    void forget(Component* component);
    bool isEnrolled(const Component* component) const { return m_enrolled.count(component) != 0; }

    // The component that takes the point (window coordinates), remembered for the pointer
    // messages that follow; null when the window itself has it.
    Component* hitTest(platform::Point point);
    Component* lastHit() const { return m_hit; }

    // Delivers a pointer message (point in window coordinates) to the component holding the
    // pointer, else to the one last hit; false when it is the window's own.
    bool dispatchPointer(unsigned code, platform::WParam wParam, platform::LParam lParam);
    // The cursor for the point (window coordinates) over the last hit component; false when the
    // window itself decides.
    bool cursorFor(platform::Point point, platform::Cursor* cursor) const;

    void capture(Component* component);
    void release(Component* component);
    Component* capturedBy() const { return m_captured; }
    // WM_CAPTURECHANGED reached the window.
    void nativeCaptureChanged();

    bool setTimer(Component* component, std::uintptr_t id, int periodMs);
    void killTimer(Component* component, std::uintptr_t id);
    // WM_TIMER reached the window; false when the id is not a component timer.
    bool dispatchTimer(std::uintptr_t nativeId);

    // msg::kComponentMessage: the message for the component if it is still enrolled, else 0.
    platform::LResult deliver(Component* component, const ComponentMessage& message);

private:
    struct Timer {
        Component* component;
        std::uintptr_t id;
        std::uintptr_t nativeId;
    };

    Window& m_window;
    std::unordered_set<const Component*> m_enrolled;
    Component* m_hit = nullptr;
    Component* m_captured = nullptr;
    bool m_releasing = false;
    std::vector<Timer> m_timers;
    std::uintptr_t m_nextTimer = kTimerBase;
};

// The deepest shown, enabled component of container's tree at point (container coordinates)
// that does not answer HTTRANSPARENT: later children lie above earlier ones, and a component's
// children above itself. Null when all of them let the point through. Every component derives
// from Component.
IComponent* findHit(const IComponent& container, platform::Point point, platform::Point* local);
// The same for one component at point (its parent's client coordinates): its children first,
// then itself.
IComponent* hitComponent(IComponent& component, platform::Point point, platform::Point* local);

// Offers a wheel turn to every shown child container under the screen point, in order; true
// when one took it.
bool offerWheelToChildren(IComponent& container, platform::Point screen, int delta);

}  // namespace s::gui::win
