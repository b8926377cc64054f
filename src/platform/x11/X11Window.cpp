#include "platform/x11/X11Window.h"

#include "platform/x11/ErrorTrap.h"
#include "platform/x11/X11Display.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#include <unistd.h>

#include <atomic>
#include <climits>

namespace s::platform::x11 {

namespace {

std::atomic<bool> g_shmAllowed{true};

constexpr long kNetStateRemove = 0;
constexpr long kNetStateAdd = 1;
constexpr long kMoveResizeMove = 8;

int positive(int v)
{
    return v > 0 ? v : 1;
}

}  // namespace

void setSharedMemoryAllowed(bool allowed)
{
    g_shmAllowed.store(allowed);
}

X11Window::X11Window(X11Display& display, const WindowParams& params, IWindowProc* proc)
    : WindowBase(display, params, proc), m_x11(display)
{
}

X11Window::~X11Window() = default;

bool X11Window::realize()
{
    ::Display* x = m_x11.x();
    const Rect b = bounds();
    XSetWindowAttributes attributes{};
    // No background: the server never clears the window; exposed parts are presented from the
    // back buffer, so there is no flicker.
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.colormap = m_x11.colormap();
    attributes.bit_gravity = NorthWestGravity;
    attributes.event_mask = ExposureMask | StructureNotifyMask | PropertyChangeMask | FocusChangeMask |
                            ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                            LeaveWindowMask | KeyPressMask | KeyReleaseMask;
    unsigned long mask = CWBackPixmap | CWBorderPixel | CWColormap | CWBitGravity | CWEventMask;
    const bool popup = kind() == WindowKind::Popup;
    if (popup) {
        attributes.override_redirect = True;
        attributes.save_under = True;
        mask |= CWOverrideRedirect | CWSaveUnder;
    }
    ErrorTrap trap(x);
    m_handle = XCreateWindow(x, m_x11.root(), b.left, b.top, static_cast<unsigned>(positive(b.width())),
                             static_cast<unsigned>(positive(b.height())), 0, m_x11.depth(), InputOutput,
                             m_x11.visual(), mask, &attributes);
    if (!trap.passed() || m_handle == 0)
        return false;

    const Atoms& a = m_x11.atoms();
    XClassHint classHint{const_cast<char*>("ostrel"), const_cast<char*>("Ostrel")};
    XWMHints wmHints{};
    wmHints.flags = InputHint | StateHint;
    wmHints.input = True;
    wmHints.initial_state = NormalState;
    XSetWMProperties(x, m_handle, nullptr, nullptr, nullptr, 0, nullptr, &wmHints, &classHint);
    Atom protocols[] = {a.wmDeleteWindow, a.netWmPing};
    XSetWMProtocols(x, m_handle, protocols, 2);
    const long pid = static_cast<long>(getpid());
    XChangeProperty(x, m_handle, a.netWmPid, XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0)
        XChangeProperty(x, m_handle, XInternAtom(x, "WM_CLIENT_MACHINE", False), XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(host), static_cast<int>(std::char_traits<char>::length(host)));
    // Frameless: the toolkit draws frame and caption itself.
    const long motif[5] = {2 /* decorations field valid */, 0, 0 /* no decorations */, 0, 0};
    XChangeProperty(x, m_handle, a.motifWmHints, a.motifWmHints, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
    const Atom type = popup ? a.netWmWindowTypePopupMenu
                            : (params().owner != 0 ? a.netWmWindowTypeDialog : a.netWmWindowTypeNormal);
    XChangeProperty(x, m_handle, a.netWmWindowType, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&type), 1);
    if (params().owner != 0) {
        if (auto* owner = static_cast<X11Window*>(m_x11.window(params().owner)))
            XSetTransientForHint(x, m_handle, owner->handle());
    }
    writeSizeHints();
    nativeSetTitle();
    return true;
}

void X11Window::writeSizeHints()
{
    XSizeHints hints{};
    const Rect b = bounds();
    // Static gravity: positions are those of the window itself, whatever a window manager wraps
    // around it; user-specified, so the manager keeps them.
    hints.flags = USPosition | USSize | PWinGravity;
    hints.x = b.left;
    hints.y = b.top;
    hints.width = positive(b.width());
    hints.height = positive(b.height());
    hints.win_gravity = StaticGravity;
    if (!isResizable()) {
        hints.flags |= PMinSize | PMaxSize;
        hints.min_width = hints.max_width = hints.width;
        hints.min_height = hints.max_height = hints.height;
    }
    XSetWMNormalHints(m_x11.x(), m_handle, &hints);
}

void X11Window::nativeSetResizable()
{
    writeSizeHints();
}

void X11Window::writeNetState()
{
    const Atoms& a = m_x11.atoms();
    std::vector<Atom> states;
    if (isKeepOnTop())
        states.push_back(a.netWmStateAbove);
    if (!params().showInTaskbar || params().owner != 0)
        states.push_back(a.netWmStateSkipTaskbar);
    if (isMaximized()) {
        states.push_back(a.netWmStateMaximizedVert);
        states.push_back(a.netWmStateMaximizedHorz);
    }
    if (isMinimized())
        states.push_back(a.netWmStateHidden);
    if (params().owner != 0)
        states.push_back(a.netWmStateModal);
    XChangeProperty(m_x11.x(), m_handle, a.netWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(states.data()), static_cast<int>(states.size()));
    XFlush(m_x11.x());
}

// A change of a mapped window's state is a request to the window manager (the property is
// then the manager's); without one, the window writes the property itself for onlookers.
void X11Window::sendNetState(bool add, Atom first, Atom second)
{
    if (!m_x11.hasWindowManager() || !isVisible()) {
        writeNetState();
        return;
    }
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = m_handle;
    e.xclient.message_type = m_x11.atoms().netWmState;
    e.xclient.format = 32;
    e.xclient.data.l[0] = add ? kNetStateAdd : kNetStateRemove;
    e.xclient.data.l[1] = static_cast<long>(first);
    e.xclient.data.l[2] = static_cast<long>(second);
    e.xclient.data.l[3] = 1;  // an application's request
    XSendEvent(m_x11.x(), m_x11.root(), False, SubstructureNotifyMask | SubstructureRedirectMask, &e);
    XFlush(m_x11.x());
}

void X11Window::nativeMap(bool mapped)
{
    ::Display* x = m_x11.x();
    if (mapped) {
        if (kind() == WindowKind::TopLevel) {
            writeNetState();
            XWMHints hints{};
            hints.flags = InputHint | StateHint;
            hints.input = True;
            hints.initial_state = isMinimized() ? IconicState : NormalState;
            XSetWMHints(x, m_handle, &hints);
        }
        // Without a window manager a minimised window is simply not shown.
        if (!isMinimized() || m_x11.hasWindowManager()) {
            XMapRaised(x, m_handle);
            m_x11.restack();
        }
    } else {
        if (hasCapture() || m_grabbed)
            nativeGrab(false);
        if (kind() == WindowKind::TopLevel)
            XWithdrawWindow(x, m_handle, m_x11.screen());
        else
            XUnmapWindow(x, m_handle);
    }
    XFlush(x);
}

void X11Window::nativeSetBounds(const Rect& b)
{
    const Rect sized = Rect::fromSize(b.left, b.top, positive(b.width()), positive(b.height()));
    m_requested.push_back(sized);
    if (m_requested.size() > 64)
        m_requested.pop_front();
    XMoveResizeWindow(m_x11.x(), m_handle, sized.left, sized.top, static_cast<unsigned>(sized.width()),
                      static_cast<unsigned>(sized.height()));
    if (!isResizable())
        writeSizeHints();
    XFlush(m_x11.x());
}

void X11Window::onConfigure(const XConfigureEvent& event)
{
    Rect reported = Rect::fromSize(event.x, event.y, event.width, event.height);
    // A real notification of a window that a manager has wrapped gives the position inside
    // the wrapper; synthetic ones (and those of unwrapped windows) give it on the root.
    if (!event.send_event && m_x11.hasWindowManager() && kind() == WindowKind::TopLevel) {
        int rx = 0;
        int ry = 0;
        ::Window child = 0;
        if (XTranslateCoordinates(m_x11.x(), m_handle, m_x11.root(), 0, 0, &rx, &ry, &child))
            reported = Rect::fromSize(rx, ry, event.width, event.height);
    }
    // Notifications of our own requests, in order, say nothing new.
    for (auto it = m_requested.begin(); it != m_requested.end(); ++it) {
        if (*it == reported) {
            m_requested.erase(m_requested.begin(), it + 1);
            return;
        }
    }
    m_requested.clear();
    noteBoundsFromSystem(reported);
}

void X11Window::onMapped(bool mapped)
{
    m_mapped = mapped;
    if (mapped && m_wantGrab)
        nativeGrab(true);
    if (!mapped && m_grabbed && hasCapture())
        noteCaptureEnded();
}

void X11Window::onExpose(const Rect& rect, bool last)
{
    m_exposed = m_exposed.unite(rect);
    if (!last)
        return;
    const Rect exposed = m_exposed.intersect(clientRect());
    m_exposed = Rect{};
    if (exposed.isEmpty())
        return;
    // The back buffer holds the last painting: show it again without asking the window.
    if (m_painted && m_buffer)
        nativePresent({exposed});
    else
        invalidate(&exposed, true);
}

X11Window::State X11Window::stateFromProperties()
{
    const Atoms& a = m_x11.atoms();
    bool hidden = false;
    bool vertical = false;
    bool horizontal = false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_x11.x(), m_handle, a.netWmState, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; format == 32 && i < count; ++i) {
            hidden = hidden || atoms[i] == a.netWmStateHidden;
            vertical = vertical || atoms[i] == a.netWmStateMaximizedVert;
            horizontal = horizontal || atoms[i] == a.netWmStateMaximizedHorz;
        }
        XFree(data);
    }
    data = nullptr;
    if (XGetWindowProperty(m_x11.x(), m_handle, a.wmState, 0, 2, False, a.wmState, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr) {
        if (format == 32 && count >= 1 && reinterpret_cast<const long*>(data)[0] == IconicState)
            hidden = true;
        XFree(data);
    }
    if (hidden)
        return State::Minimized;
    return vertical && horizontal ? State::Maximized : State::Normal;
}

void X11Window::onStateProperty()
{
    // Only a window manager changes the state behind the window's back.
    if (!m_x11.hasWindowManager() || !isVisible() || kind() != WindowKind::TopLevel)
        return;
    const State reported = stateFromProperties();
    if (reported != state())
        noteStateFromSystem(reported);
}

void X11Window::nativeSetTitle()
{
    ::Display* x = m_x11.x();
    const std::string& text = title();
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const int length = static_cast<int>(text.size());
    XChangeProperty(x, m_handle, m_x11.atoms().netWmName, m_x11.atoms().utf8String, 8, PropModeReplace, bytes, length);
    XChangeProperty(x, m_handle, m_x11.atoms().netWmIconName, m_x11.atoms().utf8String, 8, PropModeReplace, bytes, length);
    XTextProperty property{};
    char* list[] = {const_cast<char*>(text.c_str())};
    if (Xutf8TextListToTextProperty(x, list, 1, XStdICCTextStyle, &property) >= Success) {
        XSetWMName(x, m_handle, &property);
        XSetWMIconName(x, m_handle, &property);
        XFree(property.value);
    }
    XFlush(x);
}

void X11Window::nativeSetIcons()
{
    // Width, height and ARGB pixels of each icon in turn, as 32-bit items (longs to Xlib).
    std::vector<long> data;
    for (const Icon& icon : icons()) {
        if (icon.width <= 0 || icon.height <= 0 ||
            icon.pixels.size() != static_cast<std::size_t>(icon.width) * static_cast<std::size_t>(icon.height))
            continue;
        data.push_back(icon.width);
        data.push_back(icon.height);
        for (std::uint32_t pixel : icon.pixels)
            data.push_back(static_cast<long>(pixel));
    }
    if (data.empty())
        XDeleteProperty(m_x11.x(), m_handle, m_x11.atoms().netWmIcon);
    else
        XChangeProperty(m_x11.x(), m_handle, m_x11.atoms().netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
    XFlush(m_x11.x());
}

void X11Window::nativeSetKeepOnTop()
{
    sendNetState(isKeepOnTop(), m_x11.atoms().netWmStateAbove);
    if (!m_x11.hasWindowManager() && isVisible()) {
        if (isKeepOnTop())
            XRaiseWindow(m_x11.x(), m_handle);
        m_x11.restack();
        XFlush(m_x11.x());
    }
}

void X11Window::nativeSetShowInTaskbar()
{
    sendNetState(!params().showInTaskbar, m_x11.atoms().netWmStateSkipTaskbar);
}

void X11Window::nativeSetShape()
{
    if (!m_x11.hasShape())
        return;
    ::Display* x = m_x11.x();
    if (shape().empty()) {
        XShapeCombineMask(x, m_handle, ShapeBounding, 0, 0, None, ShapeSet);
        XShapeCombineMask(x, m_handle, ShapeInput, 0, 0, None, ShapeSet);
    } else {
        std::vector<XRectangle> rects;
        for (const Rect& r : shape()) {
            if (r.isEmpty())
                continue;
            rects.push_back({static_cast<short>(r.left), static_cast<short>(r.top), static_cast<unsigned short>(r.width()),
                             static_cast<unsigned short>(r.height())});
        }
        XShapeCombineRectangles(x, m_handle, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()), ShapeSet, Unsorted);
        XShapeCombineRectangles(x, m_handle, ShapeInput, 0, 0, rects.data(), static_cast<int>(rects.size()), ShapeSet, Unsorted);
    }
    XFlush(x);
}

void X11Window::nativeSetCursor()
{
    XDefineCursor(m_x11.x(), m_handle, m_x11.cursor(cursor()));
    XFlush(m_x11.x());
}

bool X11Window::nativeActivate()
{
    ::Display* x = m_x11.x();
    if (m_x11.hasWindowManager()) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = m_handle;
        e.xclient.message_type = m_x11.atoms().netActiveWindow;
        e.xclient.format = 32;
        e.xclient.data.l[0] = 1;  // an application's request
        e.xclient.data.l[1] = static_cast<long>(m_x11.lastEventTime());
        XSendEvent(x, m_x11.root(), False, SubstructureNotifyMask | SubstructureRedirectMask, &e);
        XFlush(x);
        return false;  // the focus change reports the activation, if the manager grants it
    }
    if (isMinimized())
        return false;
    XRaiseWindow(x, m_handle);
    m_x11.restack();
    // Requests are served in order, so the window is viewable by now even if its map is new.
    ErrorTrap trap(x);
    XSetInputFocus(x, m_handle, RevertToParent, CurrentTime);
    return trap.passed();
}

bool X11Window::nativeRequestState(State next)
{
    ::Display* x = m_x11.x();
    const Atoms& a = m_x11.atoms();
    if (!m_x11.hasWindowManager()) {
        if (next == State::Minimized) {
            XUnmapWindow(x, m_handle);
        } else {
            XMapRaised(x, m_handle);
            m_x11.restack();
        }
        writeNetState();
        XFlush(x);
        return false;
    }
    if (next == State::Minimized) {
        XIconifyWindow(x, m_handle, m_x11.screen());
        XFlush(x);
        return true;
    }
    XMapWindow(x, m_handle);  // de-iconifies a minimised window
    if (!m_x11.wmSupports(a.netWmStateMaximizedVert)) {
        XFlush(x);
        return false;
    }
    sendNetState(next == State::Maximized, a.netWmStateMaximizedVert, a.netWmStateMaximizedHorz);
    return true;
}

void X11Window::nativeGrab(bool on)
{
    ::Display* x = m_x11.x();
    if (on) {
        const int status = XGrabPointer(x, m_handle, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                                        GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
        // A window that is not viewable yet is grabbed once it is mapped.
        m_wantGrab = status == GrabNotViewable;
        m_grabbed = status == GrabSuccess;
        if (m_grabbed && kind() == WindowKind::Popup)
            XGrabKeyboard(x, m_handle, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    } else {
        if (m_grabbed) {
            XUngrabPointer(x, CurrentTime);
            if (kind() == WindowKind::Popup)
                XUngrabKeyboard(x, CurrentTime);
        }
        m_grabbed = false;
        m_wantGrab = false;
    }
    XFlush(x);
}

cairo_surface_t* X11Window::nativeCreateBuffer(int width, int height)
{
    m_buffer = BackBuffer::make(m_x11.x(), m_x11.visual(), m_x11.depth(), width, height, g_shmAllowed.load());
    m_painted = false;
    return m_buffer ? m_buffer->surface() : nullptr;
}

void X11Window::nativeReleaseBuffer()
{
    nativeBeforeDraw();
    m_buffer.reset();
    m_painted = false;
}

void X11Window::nativeBeforeDraw()
{
    if (m_pendingPresents > 0)
        m_x11.waitForCompletion(m_handle, &m_pendingPresents);
}

void X11Window::nativePresent(const std::vector<Rect>& rects)
{
    if (!m_buffer)
        return;
    if (m_buffer->present(m_handle, m_x11.gc(), rects))
        ++m_pendingPresents;
    m_painted = true;
}

bool X11Window::nativeBeginMove(Point screen)
{
    if (!m_x11.wmSupports(m_x11.atoms().netWmMoveResize))
        return false;
    ::Display* x = m_x11.x();
    // The manager grabs the pointer itself; the press's own grab must go first.
    XUngrabPointer(x, CurrentTime);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = m_handle;
    e.xclient.message_type = m_x11.atoms().netWmMoveResize;
    e.xclient.format = 32;
    e.xclient.data.l[0] = screen.x;
    e.xclient.data.l[1] = screen.y;
    e.xclient.data.l[2] = kMoveResizeMove;
    e.xclient.data.l[3] = Button1;
    e.xclient.data.l[4] = 1;
    XSendEvent(x, m_x11.root(), False, SubstructureNotifyMask | SubstructureRedirectMask, &e);
    XFlush(x);
    return true;
}

void X11Window::nativeDestroy()
{
    if (m_grabbed)
        nativeGrab(false);
    nativeBeforeDraw();
    m_buffer.reset();
    m_x11.forget(m_handle);
    XDestroyWindow(m_x11.x(), m_handle);
    XFlush(m_x11.x());
}

}  // namespace s::platform::x11
