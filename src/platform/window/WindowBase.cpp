#include "platform/window/WindowBase.h"

#include "platform/window/DisplayBase.h"

#include <cairo.h>

#include <cstdlib>

namespace s::platform {

namespace {

Rect sane(const Rect& r)
{
    return Rect::fromSize(r.left, r.top, r.width() > 0 ? r.width() : 0, r.height() > 0 ? r.height() : 0);
}

Cursor cursorForHit(int hit, bool* set)
{
    *set = true;
    switch (hit) {
    case HTLEFT:
    case HTRIGHT: return Cursor::SizeWE;
    case HTTOP:
    case HTBOTTOM: return Cursor::SizeNS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return Cursor::SizeNWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return Cursor::SizeNESW;
    case HTCLIENT: *set = false; return Cursor::Arrow;
    default: return Cursor::Arrow;
    }
}

}  // namespace

// The system's move loop for a drag on the caption: the pointer is followed once it has left
// the drag threshold; the desktop takes over when it offers to (a window manager's move).
class MoveLoop final : public IPointerTracker {
public:
    MoveLoop(WindowBase& window, Point start) : m_window(window), m_id(window.id()), m_start(start), m_origin(window.bounds()) {}

    bool run()
    {
        DisplayBase& display = m_window.owner();
        display.input().setTracker(this);
        display.runUntil([&] { return m_done || display.window(m_id) == nullptr; });
        display.input().setTracker(nullptr);
        if (m_moving && display.window(m_id) != nullptr)
            m_window.send(WM_EXITSIZEMOVE);
        return m_moving || m_handedOver;
    }

    void track(const PointerInput& input) override
    {
        if (m_done)
            return;
        if (input.kind == PointerInput::Release && input.button == 1) {
            follow(input.screen);
            m_done = true;
            return;
        }
        if (input.kind == PointerInput::Move)
            follow(input.screen);
    }

    void cancel() override
    {
        if (m_moving)
            m_window.setBounds(m_origin, SWP_NOSIZE);
        m_done = true;
    }

private:
    void follow(Point p)
    {
        const int dx = p.x - m_start.x;
        const int dy = p.y - m_start.y;
        if (!m_moving) {
            const int threshold = m_window.owner().dragThreshold();
            if (std::abs(dx) <= threshold && std::abs(dy) <= threshold)
                return;
            if (m_window.nativeBeginMove(p)) {
                m_handedOver = true;
                m_done = true;
                return;
            }
            m_moving = true;
            m_window.send(WM_ENTERSIZEMOVE);
        }
        m_window.setBounds(m_origin.offset(dx, dy), SWP_NOSIZE);
    }

    WindowBase& m_window;
    WindowId m_id;
    Point m_start;
    Rect m_origin;
    bool m_moving = false;
    bool m_handedOver = false;
    bool m_done = false;
};

WindowBase::WindowBase(DisplayBase& display, const WindowParams& params, IWindowProc* proc)
    : m_display(display), m_proc(proc), m_params(params)
{
    m_id = registry::add(display.threadQueue());
    m_bounds = sane(params.bounds);
    m_normalBounds = m_bounds;
}

WindowBase::~WindowBase()
{
    registry::remove(m_id);
}

Display& WindowBase::display()
{
    return m_display;
}

bool WindowBase::create()
{
    return send(WM_CREATE, 0, reinterpret_cast<LParam>(&m_params)) != -1;
}

LResult WindowBase::send(unsigned code, WParam wParam, LParam lParam)
{
    if (m_destroyed)
        return 0;
    if (m_proc == nullptr)
        return defaultProc(code, wParam, lParam);
    return m_proc->windowProc(*this, code, wParam, lParam);
}

void WindowBase::destroy()
{
    if (m_destroyed)
        return;
    for (WindowBase* owned : m_display.ownedBy(m_id))
        owned->destroy();
    if (hasCapture())
        m_display.releaseCapture();
    if (m_display.input().tracker() != nullptr)
        m_display.input().tracker()->cancel();
    send(WM_DESTROY);
    if (m_active)
        noteActivation(false, false);
    m_destroyed = true;
    registry::remove(m_id);
    if (m_buffer != nullptr) {
        nativeReleaseBuffer();
        m_buffer = nullptr;
    }
    nativeDestroy();
    if (m_proc != nullptr)
        m_proc->windowProc(*this, WM_NCDESTROY, 0, 0);
    m_display.retire(this);
}

void WindowBase::sendWindowPosChanged(unsigned flags)
{
    WindowPos pos{m_id, m_bounds.left, m_bounds.top, m_bounds.width(), m_bounds.height(), flags};
    send(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LParam>(&pos));
}

void WindowBase::becomeVisible(bool activate)
{
    if (!m_visible) {
        send(WM_SHOWWINDOW, 1, 0);
        m_visible = true;
        m_display.raise(this);
        nativeMap(true);
        sendWindowPosChanged(SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
        invalidate(nullptr, true);
    }
    if (activate && m_state != State::Minimized)
        activateFor(false);
}

bool WindowBase::show(int showCommand)
{
    const bool wasVisible = m_visible;
    switch (showCommand) {
    case SW_HIDE:
        if (!m_visible)
            return false;
        send(WM_SHOWWINDOW, 0, 0);
        if (hasCapture())
            m_display.releaseCapture();
        m_visible = false;
        nativeMap(false);
        if (m_active)
            noteActivation(false, false);
        sendWindowPosChanged(SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        applyState(State::Minimized, false);
        becomeVisible(false);
        break;
    case SW_MAXIMIZE:
        applyState(State::Maximized, false);
        becomeVisible(true);
        break;
    case SW_RESTORE:
        applyState(m_state == State::Minimized && m_restoreMaximized ? State::Maximized : State::Normal, false);
        becomeVisible(true);
        break;
    case SW_SHOWNORMAL:
        applyState(State::Normal, false);
        becomeVisible(true);
        break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        becomeVisible(false);
        break;
    default:
        becomeVisible(m_params.kind == WindowKind::TopLevel);
        break;
    }
    return wasVisible;
}

void WindowBase::applyState(State state, bool fromSystem)
{
    if (state == m_state)
        return;
    const State old = m_state;
    if (old == State::Normal)
        m_normalBounds = m_bounds;
    if (state == State::Minimized)
        m_restoreMaximized = old == State::Maximized;
    Rect target = m_bounds;
    if (state == State::Maximized)
        target = m_display.workArea(m_normalBounds);
    else if (state == State::Normal)
        target = m_normalBounds;
    m_state = state;

    bool managed = false;
    if (!fromSystem && m_visible)
        managed = nativeRequestState(state);
    unsigned flags = SWP_STATECHANGED;
    if (!fromSystem && state != State::Minimized && target != m_bounds) {
        if (target.left == m_bounds.left && target.top == m_bounds.top)
            flags |= SWP_NOMOVE;
        if (target.width() == m_bounds.width() && target.height() == m_bounds.height())
            flags |= SWP_NOSIZE;
        m_bounds = target;
        // A window manager that carries the state out places the window itself; the bounds
        // recorded here follow the request until it reports where it put it.
        if (!managed)
            nativeSetBounds(target);
        if (!(flags & SWP_NOSIZE))
            invalidate(nullptr, true);
    } else {
        flags |= SWP_NOMOVE | SWP_NOSIZE;
    }
    if (state == State::Minimized) {
        if (hasCapture())
            m_display.releaseCapture();
        if (m_active)
            noteActivation(false, false);
    }
    sendWindowPosChanged(flags);
}

void WindowBase::noteStateFromSystem(State state)
{
    applyState(state, true);
}

void WindowBase::noteBoundsFromSystem(const Rect& bounds)
{
    const Rect next = sane(bounds);
    if (next == m_bounds)
        return;
    unsigned flags = 0;
    if (next.left == m_bounds.left && next.top == m_bounds.top)
        flags |= SWP_NOMOVE;
    if (next.width() == m_bounds.width() && next.height() == m_bounds.height())
        flags |= SWP_NOSIZE;
    m_bounds = next;
    if (!(flags & SWP_NOSIZE))
        invalidate(nullptr, true);
    sendWindowPosChanged(flags);
}

void WindowBase::setBounds(const Rect& bounds, unsigned swpFlags)
{
    WindowPos pos{m_id, bounds.left, bounds.top, bounds.width(), bounds.height(), swpFlags & (SWP_NOMOVE | SWP_NOSIZE)};
    if (swpFlags & SWP_NOMOVE) {
        pos.x = m_bounds.left;
        pos.y = m_bounds.top;
    }
    if (swpFlags & SWP_NOSIZE) {
        pos.cx = m_bounds.width();
        pos.cy = m_bounds.height();
    }
    send(WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LParam>(&pos));
    if (m_destroyed)
        return;
    const Rect next = sane(Rect::fromSize(pos.x, pos.y, pos.cx, pos.cy));
    unsigned flags = 0;
    if (next.left == m_bounds.left && next.top == m_bounds.top)
        flags |= SWP_NOMOVE;
    if (next.width() == m_bounds.width() && next.height() == m_bounds.height())
        flags |= SWP_NOSIZE;
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE))
        return;
    m_bounds = next;
    nativeSetBounds(next);
    if (!(flags & SWP_NOSIZE))
        invalidate(nullptr, true);
    sendWindowPosChanged(flags);
}

LResult WindowBase::systemCommand(unsigned command)
{
    switch (command) {
    case SC_CLOSE: send(WM_CLOSE); break;
    case SC_MINIMIZE: show(SW_MINIMIZE); break;
    case SC_MAXIMIZE: show(SW_MAXIMIZE); break;
    case SC_RESTORE: show(SW_RESTORE); break;
    case SC_MOVE: moveByDrag(m_display.cursorPos()); break;
    default: break;
    }
    return 0;
}

bool WindowBase::moveByDrag(Point screen)
{
    if (!m_visible || m_state != State::Normal || !m_display.isKeyDown(VK_LBUTTON) ||
        m_display.input().tracker() != nullptr)
        return false;
    MoveLoop loop(*this, screen);
    return loop.run();
}

LResult WindowBase::defaultProc(unsigned code, WParam wParam, LParam lParam)
{
    switch (code) {
    case WM_NCHITTEST:
        return m_bounds.contains(pointFromLParam(lParam)) ? HTCLIENT : HTNOWHERE;
    case WM_SETCURSOR: {
        bool set = false;
        const Cursor shape = cursorForHit(signedLoWord(static_cast<std::uintptr_t>(lParam)), &set);
        if (!set)
            return 0;
        setCursor(shape);
        return 1;
    }
    case WM_NCLBUTTONDOWN:
        if (static_cast<int>(wParam) == HTCAPTION)
            moveByDrag(pointFromLParam(lParam));
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (static_cast<int>(wParam) == HTCAPTION && m_params.resizable)
            send(WM_SYSCOMMAND, m_state == State::Maximized ? SC_RESTORE : SC_MAXIMIZE, lParam);
        return 0;
    case WM_SYSCOMMAND:
        return systemCommand(static_cast<unsigned>(wParam) & 0xFFF0u);
    case WM_SYSKEYDOWN:
        if (static_cast<int>(wParam) == VK_F4)
            send(WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_CLOSE:
        destroy();
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WindowPos*>(lParam);
        if (!(pos->flags & SWP_NOMOVE))
            send(WM_MOVE, 0, makeLParam(pos->x, pos->y));
        if (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_STATECHANGED)) {
            const int kind = m_state == State::Minimized ? SIZE_MINIMIZED
                             : m_state == State::Maximized ? SIZE_MAXIMIZED
                                                           : SIZE_RESTORED;
            send(WM_SIZE, static_cast<WParam>(kind), m_state == State::Minimized ? 0 : makeLParam(pos->cx, pos->cy));
        }
        return 0;
    }
    case WM_ERASEBKGND:
        fill(m_painting.empty() ? std::vector<Rect>{clientRect()} : m_painting);
        return 1;
    case WM_PAINT:
        endPaint(beginPaint());
        return 0;
    case WM_NCACTIVATE:
        return 1;
    default:
        return 0;
    }
}

void WindowBase::activateFor(bool byClick)
{
    if (m_params.kind != WindowKind::TopLevel || !m_visible || m_destroyed)
        return;
    m_display.raise(this);
    if (nativeActivate())
        noteActivation(true, byClick);
}

void WindowBase::activate()
{
    activateFor(false);
}

void WindowBase::noteActivation(bool active, bool byClick)
{
    if (active == m_active)
        return;
    if (active) {
        WindowBase* previous = m_display.active();
        if (previous != nullptr && previous != this)
            previous->noteActivation(false, false);
        m_active = true;
        m_display.setActive(this);
        send(WM_NCACTIVATE, 1, 0);
        send(WM_ACTIVATE, static_cast<WParam>(byClick ? WA_CLICKACTIVE : WA_ACTIVE), 0);
        send(WM_SETFOCUS);
    } else {
        m_active = false;
        if (m_display.active() == this)
            m_display.setActive(nullptr);
        send(WM_NCACTIVATE, 0, 0);
        send(WM_ACTIVATE, static_cast<WParam>(WA_INACTIVE), 0);
        send(WM_KILLFOCUS);
    }
}

void WindowBase::noteCaptureEnded()
{
    if (hasCapture())
        m_display.input().captureLost();
}

void WindowBase::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (!enabled && hasCapture())
        m_display.releaseCapture();
    send(WM_ENABLE, enabled ? 1 : 0, 0);
}

void WindowBase::setTitle(const std::string& utf8)
{
    m_params.title = utf8;
    nativeSetTitle();
}

void WindowBase::setIcon(bool big, const Icon& icon)
{
    m_icons[big ? 1 : 0] = icon;
    nativeSetIcons();
}

void WindowBase::setKeepOnTop(bool on)
{
    m_params.keepOnTop = on;
    m_display.raise(this);
    nativeSetKeepOnTop();
}

void WindowBase::setShowInTaskbar(bool on)
{
    m_params.showInTaskbar = on;
    nativeSetShowInTaskbar();
}

void WindowBase::setResizable(bool on)
{
    m_params.resizable = on;
    nativeSetResizable();
}

void WindowBase::setShape(const std::vector<Rect>& rects)
{
    m_shape = rects;
    nativeSetShape();
}

void WindowBase::setCursor(Cursor cursor)
{
    if (cursor == m_cursor)
        return;
    m_cursor = cursor;
    nativeSetCursor();
}

void WindowBase::setCapture()
{
    if (m_visible && m_enabled)
        m_display.input().setCapture(this);
}

bool WindowBase::hasCapture() const
{
    return m_display.input().capture() == this;
}

void WindowBase::invalidate(const Rect* rect, bool erase)
{
    const Rect client = clientRect();
    m_damage.add(rect != nullptr ? *rect : client, client);
    if (!m_damage.empty())
        m_erase = m_erase || erase;
}

void WindowBase::paintNow()
{
    if (m_inPaint)
        return;
    m_inPaint = true;
    const std::vector<Rect> before = m_damage.rects();
    send(WM_PAINT);
    // A procedure that does not validate would be asked again and again; it counts as painted.
    if (!m_destroyed && !before.empty() && m_damage.rects() == before) {
        m_damage.clear();
        m_erase = false;
    }
    m_inPaint = false;
}

void WindowBase::update()
{
    if (needsPaint() && m_visible && m_state != State::Minimized)
        paintNow();
}

void WindowBase::resizeBuffer()
{
    nativeBeforeDraw();
    if (m_buffer != nullptr)
        nativeReleaseBuffer();
    m_bufferWidth = m_bounds.width() > 0 ? m_bounds.width() : 1;
    m_bufferHeight = m_bounds.height() > 0 ? m_bounds.height() : 1;
    m_buffer = nativeCreateBuffer(m_bufferWidth, m_bufferHeight);
    if (m_buffer != nullptr)
        fill({Rect{0, 0, m_bufferWidth, m_bufferHeight}});
}

cairo_surface_t* WindowBase::backBuffer()
{
    if (m_destroyed)
        return nullptr;
    const int width = m_bounds.width() > 0 ? m_bounds.width() : 1;
    const int height = m_bounds.height() > 0 ? m_bounds.height() : 1;
    if (m_buffer == nullptr || width != m_bufferWidth || height != m_bufferHeight)
        resizeBuffer();
    return m_buffer;
}

void WindowBase::fill(const std::vector<Rect>& rects)
{
    cairo_surface_t* surface = backBuffer();
    if (surface == nullptr)
        return;
    nativeBeforeDraw();
    cairo_t* cr = cairo_create(surface);
    const std::uint32_t bgr = m_params.background;
    cairo_set_source_rgb(cr, (bgr & 0xFF) / 255.0, ((bgr >> 8) & 0xFF) / 255.0, ((bgr >> 16) & 0xFF) / 255.0);
    for (const Rect& r : rects)
        cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
}

PaintInfo WindowBase::beginPaint()
{
    PaintInfo info;
    info.surface = backBuffer();
    nativeBeforeDraw();
    info.rects = m_damage.rects();
    info.bounds = m_damage.bounds();
    m_damage.clear();
    const bool erase = m_erase;
    m_erase = false;
    if (erase && !info.rects.empty()) {
        m_painting = info.rects;
        info.erase = send(WM_ERASEBKGND) == 0;
        m_painting.clear();
    }
    return info;
}

void WindowBase::endPaint(const PaintInfo& paint)
{
    if (paint.surface != nullptr)
        cairo_surface_flush(paint.surface);
    if (!paint.rects.empty() && !m_destroyed && m_visible && m_state != State::Minimized && m_buffer != nullptr)
        nativePresent(paint.rects);
}

void WindowBase::present(const Rect& rect)
{
    const Rect r = rect.intersect(clientRect());
    if (!r.isEmpty() && !m_destroyed && m_visible && m_state != State::Minimized && backBuffer() != nullptr) {
        cairo_surface_flush(m_buffer);
        nativePresent({r});
    }
}

bool WindowBase::setTimer(std::uintptr_t id, int periodMs)
{
    return !m_destroyed && m_display.setTimer(m_id, id, periodMs);
}

bool WindowBase::killTimer(std::uintptr_t id)
{
    return m_display.killTimer(m_id, id);
}

}  // namespace s::platform
