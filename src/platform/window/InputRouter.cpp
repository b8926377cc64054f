#include "platform/window/InputRouter.h"

#include "platform/Messages.h"
#include "platform/window/DisplayBase.h"
#include "platform/window/WindowBase.h"

#include <algorithm>
#include <cstdlib>

namespace s::platform {

namespace {

int buttonKey(int button)
{
    switch (button) {
    case 1: return VK_LBUTTON;
    case 2: return VK_RBUTTON;
    case 3: return VK_MBUTTON;
    default: return 0;
    }
}

// The side-independent code that key messages carry.
int genericKey(int virtualKey)
{
    switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return virtualKey;
    }
}

}  // namespace

bool InputRouter::isKeyDown(int virtualKey) const
{
    return virtualKey > 0 && virtualKey < 256 && m_keys[static_cast<std::size_t>(virtualKey)];
}

void InputRouter::setKey(int virtualKey, bool down)
{
    if (virtualKey <= 0 || virtualKey >= 256)
        return;
    m_keys[static_cast<std::size_t>(virtualKey)] = down;
    m_keys[VK_SHIFT] = m_keys[VK_LSHIFT] || m_keys[VK_RSHIFT];
    m_keys[VK_CONTROL] = m_keys[VK_LCONTROL] || m_keys[VK_RCONTROL];
    m_keys[VK_MENU] = m_keys[VK_LMENU] || m_keys[VK_RMENU];
}

void InputRouter::syncState(bool shift, bool control, bool alt, bool left, bool right, bool middle)
{
    const auto align = [this](int generic, int leftKey, int rightKey, bool down) {
        if (isKeyDown(generic) == down)
            return;
        if (down) {
            setKey(leftKey, true);
        } else {
            setKey(leftKey, false);
            setKey(rightKey, false);
        }
    };
    align(VK_SHIFT, VK_LSHIFT, VK_RSHIFT, shift);
    align(VK_CONTROL, VK_LCONTROL, VK_RCONTROL, control);
    align(VK_MENU, VK_LMENU, VK_RMENU, alt);
    setKey(VK_LBUTTON, left);
    setKey(VK_RBUTTON, right);
    setKey(VK_MBUTTON, middle);
}

unsigned InputRouter::mouseKeyFlags() const
{
    unsigned flags = 0;
    if (isKeyDown(VK_LBUTTON))
        flags |= MK_LBUTTON;
    if (isKeyDown(VK_RBUTTON))
        flags |= MK_RBUTTON;
    if (isKeyDown(VK_MBUTTON))
        flags |= MK_MBUTTON;
    if (isKeyDown(VK_SHIFT))
        flags |= MK_SHIFT;
    if (isKeyDown(VK_CONTROL))
        flags |= MK_CONTROL;
    return flags;
}

WindowBase* InputRouter::capture() const
{
    return m_display.window(m_capture);
}

void InputRouter::setCapture(WindowBase* window)
{
    WindowBase* previous = capture();
    if (previous == window)
        return;
    m_capture = window->id();
    // The new grab replaces the old one; the old window is only told.
    window->grabPointer(true);
    if (previous != nullptr)
        previous->send(WM_CAPTURECHANGED, 0, static_cast<LParam>(window->id()));
}

void InputRouter::releaseCapture()
{
    WindowBase* previous = capture();
    if (previous == nullptr)
        return;
    m_capture = 0;
    previous->grabPointer(false);
    previous->send(WM_CAPTURECHANGED, 0, 0);
}

void InputRouter::captureLost()
{
    releaseCapture();
}

void InputRouter::forget(WindowId window)
{
    if (m_capture == window)
        m_capture = 0;
    if (m_lastPress.window == window)
        m_lastPress = {};
}

WindowBase* InputRouter::hitTarget(const PointerInput& input, int* hit)
{
    std::vector<WindowBase*> order = m_display.windowsFromTop();
    const auto under = [&](const WindowBase* w) {
        if (!w->bounds().contains(input.screen))
            return false;
        if (w->shape().empty())
            return true;
        const Point local = w->screenToClient(input.screen);
        return std::any_of(w->shape().begin(), w->shape().end(), [&](const Rect& r) { return r.contains(local); });
    };
    // The backend knows best which window the desktop put under the pointer; the search for
    // what lies beneath it follows the thread's own stacking order.
    auto start = order.begin();
    if (WindowBase* received = m_display.window(input.receivedBy); received != nullptr && under(received)) {
        auto at = std::find(order.begin(), order.end(), received);
        if (at != order.end())
            start = at;
    }
    for (auto it = start; it != order.end(); ++it) {
        WindowBase* w = *it;
        if (!under(w))
            continue;
        if (!w->isEnabled())
            return nullptr;
        const WindowId id = w->id();
        const LResult answer = w->send(WM_NCHITTEST, 0, makeLParam(input.screen.x, input.screen.y));
        if (m_display.window(id) == nullptr)
            return nullptr;
        if (answer == HTTRANSPARENT)
            continue;
        *hit = static_cast<int>(answer);
        return w;
    }
    return nullptr;
}

bool InputRouter::isDoubleClick(const PointerInput& input, WindowId target, bool client)
{
    const LastPress& last = m_lastPress;
    const int distance = m_display.doubleClickDistance();
    const bool doubleClick = last.button == input.button && last.window == target && last.client == client &&
                             input.time >= last.time && input.time - last.time <= m_display.doubleClickTime() &&
                             std::abs(input.screen.x - last.screen.x) <= distance &&
                             std::abs(input.screen.y - last.screen.y) <= distance;
    // After a double click the next press starts a new pair.
    if (doubleClick)
        m_lastPress = {};
    else
        m_lastPress = {input.button, target, client, input.screen, input.time};
    return doubleClick;
}

unsigned InputRouter::messageFor(const PointerInput& input, bool client, bool doubleClick) const
{
    if (input.kind == PointerInput::Move)
        return client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
    // Per button: down, up, double click, client and non-client.
    static constexpr unsigned kClient[3][3] = {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
                                               {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
                                               {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}};
    static constexpr unsigned kNonClient[3][3] = {{WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK},
                                                  {WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK},
                                                  {WM_NCMBUTTONDOWN, WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK}};
    const std::size_t button = static_cast<std::size_t>(input.button - 1);
    const std::size_t which = input.kind == PointerInput::Release ? 1 : (doubleClick ? 2 : 0);
    return client ? kClient[button][which] : kNonClient[button][which];
}

void InputRouter::pointer(const PointerInput& input)
{
    const bool isButton = input.kind == PointerInput::Press || input.kind == PointerInput::Release;
    if (isButton && buttonKey(input.button) == 0)
        return;
    if (input.kind == PointerInput::Move && input.screen == m_cursor && m_tracker == nullptr)
        return;
    m_cursor = input.screen;
    if (isButton)
        setKey(buttonKey(input.button), input.kind == PointerInput::Press);
    if (m_tracker != nullptr) {
        m_tracker->track(input);
        return;
    }

    WindowBase* target = capture();
    const bool captured = target != nullptr;
    int hit = HTCLIENT;
    if (!captured) {
        target = hitTarget(input, &hit);
        if (target == nullptr)
            return;
    }
    const WindowId id = target->id();
    const LParam screen = makeLParam(input.screen.x, input.screen.y);

    if (input.kind == PointerInput::Wheel || input.kind == PointerInput::HorizontalWheel) {
        target->send(input.kind == PointerInput::Wheel ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL,
                     makeWParam(static_cast<int>(mouseKeyFlags()), input.wheelDelta), screen);
        return;
    }

    const bool client = hit == HTCLIENT;
    const bool doubleClick = input.kind == PointerInput::Press && isDoubleClick(input, id, client);
    const unsigned code = messageFor(input, client, doubleClick);
    if (!captured && input.kind != PointerInput::Release) {
        target->send(WM_SETCURSOR, static_cast<WParam>(id), makeLParam(hit, static_cast<int>(code)));
        target = m_display.window(id);
        if (target == nullptr)
            return;
    }
    // A click on an inactive window activates it, as the desktop's click-to-focus does.
    if (input.kind == PointerInput::Press && !captured && target->kind() == WindowKind::TopLevel && !target->isActive()) {
        target->activateByClick();
        target = m_display.window(id);
        if (target == nullptr)
            return;
    }
    if (client) {
        const Point local = target->screenToClient(input.screen);
        target->send(code, mouseKeyFlags(), makeLParam(local.x, local.y));
    } else {
        target->send(code, static_cast<WParam>(hit), screen);
    }
}

void InputRouter::key(const KeyInput& input)
{
    const int generic = genericKey(input.virtualKey);
    const bool wasDown = isKeyDown(input.virtualKey);
    setKey(input.virtualKey, input.down);

    WindowBase* target = capture();
    if (target == nullptr || target->kind() != WindowKind::Popup) {
        target = m_display.window(input.receivedBy);
        if (target == nullptr)
            target = m_display.active();
    }
    if (target == nullptr || !target->isEnabled())
        return;

    const bool alt = isKeyDown(VK_MENU);
    const bool system = (alt && !isKeyDown(VK_CONTROL)) || generic == VK_F10;
    std::uint32_t bits = 1u | (static_cast<std::uint32_t>(input.scanCode & 0xFF) << 16);
    if (input.extended)
        bits |= KF_EXTENDED;
    if (alt)
        bits |= KF_ALTDOWN;
    if (wasDown || !input.down)
        bits |= KF_REPEAT;
    if (!input.down)
        bits |= KF_UP;
    const unsigned code = input.down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    target->send(code, static_cast<WParam>(generic), static_cast<LParam>(bits));
}

}  // namespace s::platform
