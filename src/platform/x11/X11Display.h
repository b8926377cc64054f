#pragma once

#include "platform/window/DisplayBase.h"

#include <X11/Xlib.h>

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

namespace s::platform::x11 {

class X11Window;

// The atoms the layer uses, interned in one round trip.
struct Atoms {
    Atom wmProtocols, wmDeleteWindow, wmState, wmChangeState, netWmPing, netWmName, netWmIconName, utf8String,
        netWmIcon, netWmState, netWmStateAbove, netWmStateSkipTaskbar, netWmStateMaximizedVert,
        netWmStateMaximizedHorz, netWmStateHidden, netWmStateModal, netWmWindowType, netWmWindowTypeNormal,
        netWmWindowTypeDialog, netWmWindowTypePopupMenu, netWmPid, netActiveWindow, netWmMoveResize, netSupported,
        netSupportingWmCheck, netWorkArea, netCurrentDesktop, motifWmHints, xsettingsSettings, xsettingsSelection;
};

// One X connection: the user-interface thread's loop waits on it, on an eventfd for sends and
// posts, and on a timerfd for the next timer.
class X11Display final : public DisplayBase {
public:
    // Null with a reason when the display cannot be opened.
    static std::unique_ptr<X11Display> open(std::string* error);
    ~X11Display() override;

    const char* backendName() const override { return "x11"; }
    NativeWindow* createWindow(const WindowParams& params, IWindowProc* proc) override;
    std::int64_t now() const override;
    Rect virtualScreen() const override;
    Rect monitorArea(const Rect& rect) const override;
    Rect workArea(const Rect& rect) const override;
    double dpi() const override { return m_dpi; }
    int doubleClickTime() const override { return m_doubleClickTime; }
    int doubleClickDistance() const override { return m_doubleClickDistance; }
    int dragThreshold() const override { return m_dragThreshold; }
    int wheelScrollLines() const override { return 3; }

    ::Display* x() const { return m_x; }
    ::Window root() const { return m_root; }
    int screen() const { return m_screen; }
    Visual* visual() const { return m_visual; }
    int depth() const { return m_depth; }
    Colormap colormap() const { return m_colormap; }
    GC gc() const { return m_gc; }
    const Atoms& atoms() const { return m_atoms; }
    bool hasWindowManager() const { return m_wm; }
    bool wmSupports(Atom feature) const;
    int shmCompletionEvent() const { return m_shmCompletion; }
    bool hasShape() const { return m_shape; }
    ::Cursor cursor(Cursor shape);
    // The time of the last event from the server (for requests that want one).
    Time lastEventTime() const { return m_lastTime; }

    void forget(::Window window) { m_byHandle.erase(window); }
    // Without a window manager nobody keeps windows above others: raise them again.
    void restack();
    // Waits until the server has finished reading a shared-memory image of this window.
    void waitForCompletion(::Window window, int* pending);

protected:
    bool dispatchInput() override;
    void waitForEvents(int timeoutMs) override;
    void timersChanged() override;
    int timerWaitMs() const override { return -1; }

private:
    X11Display() : DisplayBase(makeWaker()) {}
    static std::unique_ptr<IWaker> makeWaker();
    bool init(::Display* x, std::string* error);
    void readDesktop();
    void readMonitors();
    void readWindowManager();
    void translate(XEvent& event);
    X11Window* windowOf(::Window handle) const;
    std::int64_t eventTime(Time time);
    void syncModifiers(unsigned state);

    ::Display* m_x = nullptr;
    int m_screen = 0;
    ::Window m_root = 0;
    Visual* m_visual = nullptr;
    int m_depth = 0;
    Colormap m_colormap = 0;
    GC m_gc = nullptr;
    Atoms m_atoms{};
    std::vector<Atom> m_supported;
    bool m_wm = false;
    int m_shmCompletion = -1;
    bool m_shape = false;
    int m_randrEvent = -1;
    int m_timerFd = -1;
    int m_wakeFd = -1;
    std::vector<Rect> m_monitors;
    Rect m_workArea;
    double m_dpi = 96.0;
    int m_doubleClickTime = 400;
    int m_doubleClickDistance = 5;
    int m_dragThreshold = 4;
    std::unordered_map<int, ::Cursor> m_cursors;
    std::unordered_map<::Window, X11Window*> m_byHandle;
    Time m_lastTime = 0;
    std::int64_t m_timeBase = 0;

    friend class X11Window;
};

}  // namespace s::platform::x11
