#include "gui/component/ComponentRouter.h"

#include "gui/component/Component.h"
#include "gui/component/Window.h"

#include <algorithm>

namespace s::gui::win {

using platform::LParam;
using platform::LResult;
using platform::Point;
using platform::Rect;
using platform::WParam;

IComponent* hitComponent(IComponent& component, Point point, Point* local)
{
    if (!component.isShown() || !component.isEnabled())
        return nullptr;
    const Rect r = Rect::fromSize(component.getX() + component.getOriginX(), component.getY() + component.getOriginY(),
                                  component.getWidth(), component.getHeight());
    if (!r.contains(point))
        return nullptr;
    const Point inside{point.x - r.left, point.y - r.top};
    if (IComponent* deeper = findHit(component, inside, local))
        return deeper;
    if (component.hitTest(inside) == platform::HTTRANSPARENT)
        return nullptr;
    *local = inside;
    return &component;
}

IComponent* findHit(const IComponent& container, Point point, Point* local)
{
    const std::vector<IComponent*>& children = container.getChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (IComponent* hit = hitComponent(**it, point, local))
            return hit;
    }
    return nullptr;
}

bool offerWheelToChildren(IComponent& container, Point screen, int delta)
{
    for (IComponent* child : container.getChildren()) {
        if (child->isContainer() && child->isVisible() && child->containsScreenPoint(screen.x, screen.y) &&
            child->takeWheel(screen, delta))
            return true;
    }
    return false;
}

void ComponentRouter::forget(Component* component)
{
    m_enrolled.erase(component);
    if (m_hit == component)
        m_hit = nullptr;
    if (m_captured == component)
        release(component);
    for (const Timer& timer : m_timers) {
        if (timer.component == component && m_window.getNativeWindow() != nullptr)
            m_window.getNativeWindow()->killTimer(timer.nativeId);
    }
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [component](const Timer& t) { return t.component == component; }),
                   m_timers.end());
}

Component* ComponentRouter::hitTest(Point point)
{
    Point local;
    m_hit = static_cast<Component*>(m_window.findComponentAt(point, &local));
    return m_hit;
}

bool ComponentRouter::dispatchPointer(unsigned code, WParam wParam, LParam lParam)
{
    platform::NativeWindow* native = m_window.getNativeWindow();
    Component* target = m_captured;
    // While the window itself holds the pointer (a drag of its own), nothing is routed.
    if (target == nullptr && (native == nullptr || !native->hasCapture()))
        target = m_hit;
    if (target == nullptr)
        return false;
    const Point p = platform::pointFromLParam(lParam);
    const Rect r = target->windowRect();
    const bool held = target == m_captured;
    target->handleMessage(code, wParam, platform::makeLParam(p.x - r.left, p.y - r.top));
    if (code != platform::WM_MOUSEMOVE)
        return true;
    // A move that made the holder let go belongs to what is under the pointer now, so hovering
    // passes from one component to the next with the same move.
    Component* under = target;
    if (held && m_captured == nullptr && isEnrolled(target)) {
        under = hitTest(p);
        if (under != nullptr && under != target) {
            const Rect n = under->windowRect();
            under->handleMessage(code, wParam, platform::makeLParam(p.x - n.left, p.y - n.top));
        }
    }
    // While a component holds the pointer the window system asks for no cursor: the one under
    // the pointer, or the holder, chooses it.
    if (m_captured != nullptr)
        under = m_captured;
    if (under != nullptr && isEnrolled(under) && native != nullptr) {
        const Rect u = under->windowRect();
        native->setCursor(under->cursorAt({p.x - u.left, p.y - u.top}));
    } else if (native != nullptr) {
        native->setCursor(platform::Cursor::Arrow);
    }
    return true;
}

bool ComponentRouter::cursorFor(Point point, platform::Cursor* cursor) const
{
    if (m_hit == nullptr)
        return false;
    const Rect r = m_hit->windowRect();
    *cursor = m_hit->cursorAt({point.x - r.left, point.y - r.top});
    return true;
}

void ComponentRouter::capture(Component* component)
{
    if (m_captured == component || !isEnrolled(component))
        return;
    Component* previous = m_captured;
    m_captured = component;
    if (previous != nullptr)
        previous->handleMessage(platform::WM_CAPTURECHANGED, 0, 0);
    platform::NativeWindow* native = m_window.getNativeWindow();
    if (native != nullptr && !native->hasCapture())
        native->setCapture();
}

void ComponentRouter::release(Component* component)
{
    if (m_captured != component || component == nullptr)
        return;
    m_captured = nullptr;
    component->handleMessage(platform::WM_CAPTURECHANGED, 0, 0);
    platform::NativeWindow* native = m_window.getNativeWindow();
    if (native != nullptr && native->hasCapture() && m_captured == nullptr) {
        m_releasing = true;
        native->display().releaseCapture();
        m_releasing = false;
    }
}

void ComponentRouter::nativeCaptureChanged()
{
    if (m_releasing || m_captured == nullptr)
        return;
    Component* lost = m_captured;
    m_captured = nullptr;
    lost->handleMessage(platform::WM_CAPTURECHANGED, 0, 0);
}

bool ComponentRouter::setTimer(Component* component, std::uintptr_t id, int periodMs)
{
    platform::NativeWindow* native = m_window.getNativeWindow();
    if (native == nullptr || !isEnrolled(component))
        return false;
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [&](const Timer& t) { return t.component == component && t.id == id; });
    if (it == m_timers.end()) {
        m_timers.push_back({component, id, m_nextTimer++});
        it = m_timers.end() - 1;
    }
    if (native->setTimer(it->nativeId, periodMs))
        return true;
    m_timers.erase(it);
    return false;
}

void ComponentRouter::killTimer(Component* component, std::uintptr_t id)
{
    auto it = std::find_if(m_timers.begin(), m_timers.end(),
                           [&](const Timer& t) { return t.component == component && t.id == id; });
    if (it == m_timers.end())
        return;
    if (platform::NativeWindow* native = m_window.getNativeWindow())
        native->killTimer(it->nativeId);
    m_timers.erase(it);
}

bool ComponentRouter::dispatchTimer(std::uintptr_t nativeId)
{
    if (nativeId < kTimerBase)
        return false;
    auto it = std::find_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) { return t.nativeId == nativeId; });
    if (it != m_timers.end())
        it->component->handleMessage(platform::WM_TIMER, it->id, 0);
    return true;
}

LResult ComponentRouter::deliver(Component* component, const ComponentMessage& message)
{
    if (!isEnrolled(component))
        return 0;
    return component->handleMessage(message.code, message.wParam, message.lParam);
}

}  // namespace s::gui::win
