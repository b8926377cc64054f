#include "platform/x11/X11Display.h"

#include "platform/Messages.h"
#include "platform/window/Monitors.h"
#include "platform/x11/ErrorTrap.h"
#include "platform/x11/Keys.h"
#include "platform/x11/X11Window.h"
#include "platform/x11/XSettings.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace s::platform::x11 {

namespace {

class EventFdWaker final : public IWaker {
public:
    EventFdWaker() : m_fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
    ~EventFdWaker() override
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    void wake() override
    {
        const std::uint64_t one = 1;
        while (write(m_fd, &one, sizeof one) < 0 && errno == EINTR) {
        }
    }
    void clear() override
    {
        std::uint64_t count = 0;
        while (read(m_fd, &count, sizeof count) < 0 && errno == EINTR) {
        }
    }
    void waitAlone(int timeoutMs) override
    {
        pollfd p{m_fd, POLLIN, 0};
        while (poll(&p, 1, timeoutMs) < 0 && errno == EINTR) {
        }
    }
    int fd() const { return m_fd; }

private:
    int m_fd;
};

template <class T>
struct XFreeDeleter {
    void operator()(T* p) const
    {
        if (p != nullptr)
            XFree(p);
    }
};

// A 32-bit property of a window as longs, empty when absent.
std::vector<long> cardinals(::Display* x, ::Window window, Atom property, Atom type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(x, window, property, 0, 1024, False, type, &actualType, &format, &count, &after, &data) ==
            Success &&
        data != nullptr) {
        if (format == 32) {
            const long* longs = reinterpret_cast<const long*>(data);
            values.assign(longs, longs + count);
        }
        XFree(data);
    }
    return values;
}

unsigned int cursorGlyph(Cursor shape)
{
    switch (shape) {
    case Cursor::IBeam: return XC_xterm;
    case Cursor::Wait: return XC_watch;
    case Cursor::SizeNWSE: return XC_bottom_right_corner;
    case Cursor::SizeNESW: return XC_bottom_left_corner;
    case Cursor::SizeWE: return XC_sb_h_double_arrow;
    case Cursor::SizeNS: return XC_sb_v_double_arrow;
    case Cursor::SizeAll: return XC_fleur;
    case Cursor::Hand: return XC_hand2;
    case Cursor::Arrow: break;
    }
    return XC_left_ptr;
}

}  // namespace

std::unique_ptr<IWaker> X11Display::makeWaker()
{
    return std::make_unique<EventFdWaker>();
}

std::unique_ptr<X11Display> X11Display::open(std::string* error)
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        if (error != nullptr)
            *error = "cannot open the X display: DISPLAY is not set";
        return nullptr;
    }
    installErrorHandler();
    ::Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) {
        if (error != nullptr)
            *error = std::string("cannot open the X display '") + name + "' named by DISPLAY";
        return nullptr;
    }
    std::unique_ptr<X11Display> display(new X11Display());
    if (!display->init(x, error))
        return nullptr;
    return display;
}

bool X11Display::init(::Display* x, std::string* error)
{
    m_x = x;
    m_screen = DefaultScreen(x);
    m_root = RootWindow(x, m_screen);
    m_wakeFd = static_cast<EventFdWaker&>(queue().waker()).fd();
    m_timerFd = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    if (m_wakeFd < 0 || m_timerFd < 0) {
        if (error != nullptr)
            *error = std::string("cannot make the message loop's descriptors: ") + std::strerror(errno);
        return false;
    }

    // The back buffer is 32-bit xRGB; the window's visual must take those pixels as they are.
    XVisualInfo wanted{};
    if (!XMatchVisualInfo(x, m_screen, 24, TrueColor, &wanted)) {
        if (error != nullptr)
            *error = "the X display offers no 24-bit true-colour visual";
        return false;
    }
    m_visual = wanted.visual;
    m_depth = wanted.depth;
    m_colormap = m_visual == DefaultVisual(x, m_screen)
                     ? DefaultColormap(x, m_screen)
                     : XCreateColormap(x, m_root, m_visual, AllocNone);
    m_gc = XCreateGC(x, m_root, 0, nullptr);

    static const char* const kNames[] = {
        "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_STATE", "WM_CHANGE_STATE", "_NET_WM_PING", "_NET_WM_NAME",
        "_NET_WM_ICON_NAME", "UTF8_STRING", "_NET_WM_ICON", "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
        "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ",
        "_NET_WM_STATE_HIDDEN", "_NET_WM_STATE_MODAL", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL",
        "_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_PID", "_NET_ACTIVE_WINDOW",
        "_NET_WM_MOVERESIZE", "_NET_SUPPORTED", "_NET_SUPPORTING_WM_CHECK", "_NET_WORKAREA",
        "_NET_CURRENT_DESKTOP", "_MOTIF_WM_HINTS", "_XSETTINGS_SETTINGS", "_XSETTINGS_S0"};
    static_assert(sizeof kNames / sizeof kNames[0] == sizeof(Atoms) / sizeof(Atom));
    std::string selection = "_XSETTINGS_S" + std::to_string(m_screen);
    std::array<char*, sizeof kNames / sizeof kNames[0]> names{};
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = const_cast<char*>(kNames[i]);
    names.back() = selection.data();
    XInternAtoms(x, names.data(), static_cast<int>(names.size()), False, reinterpret_cast<Atom*>(&m_atoms));

    int eventBase = 0;
    int errorBase = 0;
    if (XShmQueryExtension(x))
        m_shmCompletion = XShmGetEventBase(x) + ShmCompletion;
    m_shape = XShapeQueryExtension(x, &eventBase, &errorBase);
    if (XRRQueryExtension(x, &eventBase, &errorBase)) {
        m_randrEvent = eventBase + RRScreenChangeNotify;
        XRRSelectInput(x, m_root, RRScreenChangeNotifyMask);
    }
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(x, True, &detectable);
    XSelectInput(x, m_root, PropertyChangeMask);

    readWindowManager();
    readMonitors();
    readDesktop();
    return true;
}

X11Display::~X11Display()
{
    closeAll();
    for (const auto& [shape, cursor] : m_cursors)
        XFreeCursor(m_x, cursor);
    if (m_gc != nullptr)
        XFreeGC(m_x, m_gc);
    if (m_x != nullptr)
        XCloseDisplay(m_x);
    if (m_timerFd >= 0)
        close(m_timerFd);
}

std::int64_t X11Display::now() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void X11Display::readWindowManager()
{
    m_wm = false;
    m_supported.clear();
    const std::vector<long> check = cardinals(m_x, m_root, m_atoms.netSupportingWmCheck, XA_WINDOW);
    if (!check.empty()) {
        ErrorTrap trap(m_x);  // the window may be stale
        const auto child = static_cast<::Window>(check[0]);
        const std::vector<long> self = cardinals(m_x, child, m_atoms.netSupportingWmCheck, XA_WINDOW);
        m_wm = trap.passed() && !self.empty() && static_cast<::Window>(self[0]) == child;
    }
    if (m_wm) {
        for (long atom : cardinals(m_x, m_root, m_atoms.netSupported, XA_ATOM))
            m_supported.push_back(static_cast<Atom>(atom));
    }
}

bool X11Display::wmSupports(Atom feature) const
{
    return m_wm && std::find(m_supported.begin(), m_supported.end(), feature) != m_supported.end();
}

void X11Display::readMonitors()
{
    m_monitors.clear();
    int count = 0;
    XRRMonitorInfo* monitors = m_randrEvent >= 0 ? XRRGetMonitors(m_x, m_root, True, &count) : nullptr;
    for (int i = 0; i < count; ++i)
        m_monitors.push_back(Rect::fromSize(monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height));
    if (monitors != nullptr)
        XRRFreeMonitors(monitors);
    if (m_monitors.empty())
        m_monitors.push_back(Rect::fromSize(0, 0, DisplayWidth(m_x, m_screen), DisplayHeight(m_x, m_screen)));

    m_workArea = Rect{};
    const std::vector<long> desktop = cardinals(m_x, m_root, m_atoms.netCurrentDesktop, XA_CARDINAL);
    const std::vector<long> areas = cardinals(m_x, m_root, m_atoms.netWorkArea, XA_CARDINAL);
    const std::size_t index = desktop.empty() ? 0 : static_cast<std::size_t>(std::max(0L, desktop[0]));
    if (areas.size() >= 4 * (index + 1)) {
        const long* a = &areas[4 * index];
        m_workArea = Rect::fromSize(static_cast<int>(a[0]), static_cast<int>(a[1]), static_cast<int>(a[2]),
                                    static_cast<int>(a[3]));
    }
}

void X11Display::readDesktop()
{
    // Xft.dpi is what the desktop's fonts are set up with; the server's millimetres are often
    // invented, so they are not used.
    if (const char* resources = XResourceManagerString(m_x)) {
        XrmDatabase db = XrmGetStringDatabase(resources);
        char* type = nullptr;
        XrmValue value{};
        if (db != nullptr && XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr) {
            const double dpi = std::atof(value.addr);
            if (dpi >= 48 && dpi <= 960)
                m_dpi = dpi;
        }
        if (db != nullptr)
            XrmDestroyDatabase(db);
    }
    const ::Window owner = XGetSelectionOwner(m_x, m_atoms.xsettingsSelection);
    if (owner == 0)
        return;
    ErrorTrap trap(m_x);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_x, owner, m_atoms.xsettingsSettings, 0, 65536, False, m_atoms.xsettingsSettings, &type,
                           &format, &count, &after, &data) == Success &&
        data != nullptr) {
        const std::map<std::string, int> settings = parseXSettings(data, format == 8 ? count : 0);
        XFree(data);
        const auto take = [&](const char* key, int low, int high, int* into) {
            auto found = settings.find(key);
            if (found != settings.end() && found->second >= low && found->second <= high)
                *into = found->second;
        };
        take("Net/DoubleClickTime", 50, 5000, &m_doubleClickTime);
        take("Net/DoubleClickDistance", 0, 100, &m_doubleClickDistance);
        take("Net/DndDragThreshold", 0, 100, &m_dragThreshold);
        int xftDpi = 0;
        take("Xft/DPI", 48 * 1024, 960 * 1024, &xftDpi);
        if (xftDpi > 0)
            m_dpi = xftDpi / 1024.0;
    }
}

Rect X11Display::virtualScreen() const
{
    Rect all;
    for (const Rect& m : m_monitors)
        all = all.unite(m);
    return all;
}

Rect X11Display::monitorArea(const Rect& rect) const
{
    return m_monitors[monitorHolding(m_monitors, rect)];
}

Rect X11Display::workArea(const Rect& rect) const
{
    const Rect monitor = monitorArea(rect);
    // The desktop's work area spans all monitors; its part on this monitor is this monitor's.
    const Rect work = m_workArea.isEmpty() ? monitor : monitor.intersect(m_workArea);
    return work.isEmpty() ? monitor : work;
}

::Cursor X11Display::cursor(Cursor shape)
{
    auto found = m_cursors.find(static_cast<int>(shape));
    if (found != m_cursors.end())
        return found->second;
    const ::Cursor made = XCreateFontCursor(m_x, cursorGlyph(shape));
    m_cursors.emplace(static_cast<int>(shape), made);
    return made;
}

NativeWindow* X11Display::createWindow(const WindowParams& params, IWindowProc* proc)
{
    auto window = std::make_unique<X11Window>(*this, params, proc);
    X11Window* created = window.get();
    if (!created->realize())
        return nullptr;
    m_byHandle[created->handle()] = created;
    adopt(std::move(window));
    if (!created->create()) {
        created->destroy();
        return nullptr;
    }
    return created;
}

X11Window* X11Display::windowOf(::Window handle) const
{
    auto found = m_byHandle.find(handle);
    if (found == m_byHandle.end() || found->second->isDestroyed())
        return nullptr;
    return found->second;
}

void X11Display::restack()
{
    if (m_wm)
        return;
    std::vector<WindowBase*> order = windowsFromTop();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if ((*it)->isKeepOnTop() || (*it)->kind() == WindowKind::Popup)
            XRaiseWindow(m_x, static_cast<X11Window*>(*it)->handle());
    }
}

void X11Display::waitForCompletion(::Window window, int* pending)
{
    struct Match {
        ::Window window;
        int type;
    } match{window, m_shmCompletion};
    while (*pending > 0) {
        XEvent event;
        XIfEvent(
            m_x, &event,
            [](::Display*, XEvent* e, XPointer arg) -> Bool {
                const auto* m = reinterpret_cast<const Match*>(arg);
                return e->type == m->type && reinterpret_cast<XShmCompletionEvent*>(e)->drawable == m->window;
            },
            reinterpret_cast<XPointer>(&match));
        --*pending;
    }
}

void X11Display::timersChanged()
{
    itimerspec spec{};
    const std::int64_t due = nextTimerDue();
    if (due >= 0) {
        // A due time of 0 would disarm the timer; the loop's clock never reads 0 anyway.
        const std::int64_t at = std::max<std::int64_t>(due, 1);
        spec.it_value.tv_sec = static_cast<time_t>(at / 1000);
        spec.it_value.tv_nsec = static_cast<long>((at % 1000) * 1000000);
    }
    timerfd_settime(m_timerFd, TFD_TIMER_ABSTIME, &spec, nullptr);
}

void X11Display::waitForEvents(int timeoutMs)
{
    XFlush(m_x);
    if (XEventsQueued(m_x, QueuedAlready) > 0)
        return;
    pollfd fds[3] = {{ConnectionNumber(m_x), POLLIN, 0}, {m_wakeFd, POLLIN, 0}, {m_timerFd, POLLIN, 0}};
    while (poll(fds, 3, timeoutMs) < 0 && errno == EINTR) {
    }
    if (fds[2].revents & POLLIN) {
        std::uint64_t expirations = 0;
        while (read(m_timerFd, &expirations, sizeof expirations) < 0 && errno == EINTR) {
        }
    }
}

bool X11Display::dispatchInput()
{
    if (XPending(m_x) == 0)
        return false;
    XEvent event;
    XNextEvent(m_x, &event);
    // Only the latest position of a run of moves matters, as with the system's move messages.
    if (event.type == MotionNotify) {
        XEvent next;
        while (XPending(m_x) > 0) {
            XPeekEvent(m_x, &next);
            if (next.type != MotionNotify || next.xmotion.window != event.xmotion.window)
                break;
            XNextEvent(m_x, &event);
        }
    }
    translate(event);
    return true;
}

std::int64_t X11Display::eventTime(Time time)
{
    // Server times are 32-bit milliseconds and wrap after 49 days.
    if (time < m_lastTime && m_lastTime - time > 0x80000000UL)
        m_timeBase += 0x100000000LL;
    m_lastTime = time;
    return m_timeBase + static_cast<std::int64_t>(time);
}

void X11Display::syncModifiers(unsigned state)
{
    input().syncState(state & ShiftMask, state & ControlMask, state & Mod1Mask, state & Button1Mask,
                      state & Button3Mask, state & Button2Mask);
}

void X11Display::translate(XEvent& event)
{
    if (event.type == m_shmCompletion) {
        if (X11Window* w = windowOf(reinterpret_cast<XShmCompletionEvent&>(event).drawable))
            w->onShmCompletion();
        return;
    }
    if (event.type == m_randrEvent) {
        XRRUpdateConfiguration(&event);
        readMonitors();
        return;
    }
    if (event.xany.window == m_root) {
        if (event.type == PropertyNotify) {
            if (event.xproperty.atom == m_atoms.netWorkArea || event.xproperty.atom == m_atoms.netCurrentDesktop)
                readMonitors();
            else if (event.xproperty.atom == m_atoms.netSupportingWmCheck || event.xproperty.atom == m_atoms.netSupported)
                readWindowManager();
        }
        return;
    }
    X11Window* w = windowOf(event.xany.window);
    if (w == nullptr)
        return;
    switch (event.type) {
    case Expose:
        w->onExpose(Rect::fromSize(event.xexpose.x, event.xexpose.y, event.xexpose.width, event.xexpose.height),
                    event.xexpose.count == 0);
        break;
    case ConfigureNotify:
        w->onConfigure(event.xconfigure);
        break;
    case MapNotify:
        w->onMapped(true);
        break;
    case UnmapNotify:
        w->onMapped(false);
        break;
    case PropertyNotify:
        if (event.xproperty.atom == m_atoms.netWmState || event.xproperty.atom == m_atoms.wmState)
            w->onStateProperty();
        break;
    case FocusIn:
    case FocusOut:
        // Grabs (our own popups among them) move the focus only for a while: not an activation.
        if (event.xfocus.mode == NotifyGrab || event.xfocus.mode == NotifyUngrab ||
            event.xfocus.detail == NotifyPointer || event.xfocus.detail == NotifyInferior)
            break;
        if (w->kind() == WindowKind::TopLevel)
            w->noteActivation(event.type == FocusIn, false);
        break;
    case ClientMessage:
        if (event.xclient.message_type == m_atoms.wmProtocols) {
            const auto protocol = static_cast<Atom>(event.xclient.data.l[0]);
            if (protocol == m_atoms.wmDeleteWindow) {
                // The desktop's close (its close button, Alt+F4 handled by it) is the user's
                // system close command, which a window may turn into hiding.
                w->send(WM_SYSCOMMAND, SC_CLOSE, 0);
            } else if (protocol == m_atoms.netWmPing) {
                XEvent reply = event;
                reply.xclient.window = m_root;
                XSendEvent(m_x, m_root, False, SubstructureNotifyMask | SubstructureRedirectMask, &reply);
            }
        }
        break;
    case EnterNotify:
    case MotionNotify: {
        const bool enter = event.type == EnterNotify;
        if (enter && event.xcrossing.mode != NotifyNormal)
            break;
        PointerInput in;
        in.kind = PointerInput::Move;
        in.screen = enter ? Point{event.xcrossing.x_root, event.xcrossing.y_root}
                          : Point{event.xmotion.x_root, event.xmotion.y_root};
        in.receivedBy = w->id();
        in.time = eventTime(enter ? event.xcrossing.time : event.xmotion.time);
        syncModifiers(enter ? event.xcrossing.state : event.xmotion.state);
        input().pointer(in);
        break;
    }
    case ButtonPress:
    case ButtonRelease: {
        const XButtonEvent& b = event.xbutton;
        PointerInput in;
        in.screen = {b.x_root, b.y_root};
        in.receivedBy = w->id();
        in.time = eventTime(b.time);
        syncModifiers(b.state);
        const bool press = event.type == ButtonPress;
        switch (b.button) {
        case Button1: in.button = 1; break;
        case Button2: in.button = 3; break;
        case Button3: in.button = 2; break;
        case Button4:
        case Button5:
        case 6:
        case 7:
            if (!press)
                return;
            in.kind = b.button <= Button5 ? PointerInput::Wheel : PointerInput::HorizontalWheel;
            in.wheelDelta = (b.button == Button4 || b.button == 7) ? WHEEL_DELTA : -WHEEL_DELTA;
            input().pointer(in);
            return;
        default:
            return;
        }
        in.kind = press ? PointerInput::Press : PointerInput::Release;
        input().pointer(in);
        break;
    }
    case KeyPress:
    case KeyRelease: {
        XKeyEvent& k = event.xkey;
        eventTime(k.time);
        // The key's own symbol, without shift; a layout without Latin letters falls back to the
        // first group that has one, so shortcuts keep their keys.
        const int group = static_cast<int>((k.state >> 13) & 3);
        KeySym symbol = XkbKeycodeToKeysym(m_x, static_cast<::KeyCode>(k.keycode), group, 0);
        // With Num Lock the keypad gives digits (its second level), as the numpad keys.
        if (IsKeypadKey(symbol) && (k.state & Mod2Mask)) {
            const KeySym digit = XkbKeycodeToKeysym(m_x, static_cast<::KeyCode>(k.keycode), group, 1);
            if (IsKeypadKey(digit))
                symbol = digit;
        }
        KeyCode code = virtualKeyOf(symbol);
        for (int g = 0; code.virtualKey == 0 && g < 4; ++g)
            code = virtualKeyOf(XkbKeycodeToKeysym(m_x, static_cast<::KeyCode>(k.keycode), g, 0));
        if (code.virtualKey == 0)
            break;
        syncModifiers(k.state);
        KeyInput in;
        in.down = event.type == KeyPress;
        in.virtualKey = code.virtualKey;
        in.extended = code.extended;
        in.scanCode = static_cast<int>(k.keycode) - 8;
        in.receivedBy = w->id();
        input().key(in);
        break;
    }
    default:
        break;
    }
}

}  // namespace s::platform::x11
