#pragma once

#include "platform/WindowTypes.h"

#include <cstdint>
#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace s::platform {

class Display;
class NativeWindow;

// The procedure of one native window. Called on the window's own thread only, for every
// message: input, painting, timers, sends and posts. A message the procedure does not handle
// is passed on to NativeWindow::defaultProc, as the toolkit decides. A procedure must outlive
// its window (closing a display destroys its windows, which sends them WM_DESTROY).
class IWindowProc {
public:
    virtual LResult windowProc(NativeWindow& window, unsigned code, WParam wParam, LParam lParam) = 0;

protected:
    ~IWindowProc() = default;
};

// Pointer shapes; the values are the system's cursor identifiers.
enum class Cursor : int {
    Arrow = 32512,
    IBeam = 32513,
    Wait = 32514,
    SizeNWSE = 32642,
    SizeNESW = 32643,
    SizeWE = 32644,
    SizeNS = 32645,
    SizeAll = 32646,
    Hand = 32649,
};

enum class WindowKind {
    // A frameless top-level window: managed by the desktop, in the taskbar unless told not to.
    TopLevel,
    // A popup (menus, tool tips): placed exactly where asked, never managed, never in the taskbar.
    Popup,
};

struct WindowParams {
    WindowKind kind = WindowKind::TopLevel;
    Rect bounds = Rect::fromSize(0, 0, 240, 120);
    std::string title;  // UTF-8
    // The window this one belongs to (a message box to its owner): kept above it, no taskbar entry.
    WindowId owner = 0;
    bool showInTaskbar = true;
    bool keepOnTop = false;
    bool resizable = true;
    // Colour used by the default erase, 0x00BBGGRR.
    std::uint32_t background = 0x00F0F0F0;
};

// A window icon: width × height pixels of premultiplied-free ARGB (0xAARRGGBB), row by row.
struct Icon {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// What BeginPaint gives: the back buffer and the damaged rectangles (window coordinates).
struct PaintInfo {
    cairo_surface_t* surface = nullptr;
    std::vector<Rect> rects;
    Rect bounds;         // the union of rects
    bool erase = false;  // the background still needs erasing (WM_ERASEBKGND answered 0)
};

// A native window. Every operation must be called on the window's own thread; other threads
// reach it with sendMessage, postMessage or invoke (Display.h) through its WindowId.
//
// The whole window is client area: frame, caption and borders are the toolkit's own drawing.
// Coordinates are pixels, screen coordinates for bounds, window coordinates for the client.
class NativeWindow {
public:
    virtual WindowId id() const = 0;
    virtual WindowKind kind() const = 0;
    virtual Display& display() = 0;

    // The system's handling of a message the procedure did not handle (see the layer's
    // documentation for what each message does by default).
    virtual LResult defaultProc(unsigned code, WParam wParam, LParam lParam) = 0;
    // Calls the window's procedure at once, as a send from its own thread.
    virtual LResult send(unsigned code, WParam wParam = 0, LParam lParam = 0) = 0;
    // Sends WM_DESTROY and WM_NCDESTROY, then frees the window; the reference is invalid afterwards.
    virtual void destroy() = 0;

    // Visibility and state.
    virtual bool show(int showCommand) = 0;  // SW_*; returns whether it was visible before
    virtual bool isVisible() const = 0;      // shown, minimised or not
    virtual bool isMinimized() const = 0;
    virtual bool isMaximized() const = 0;
    virtual bool isActive() const = 0;
    virtual void setEnabled(bool enabled) = 0;  // a disabled window receives no input
    virtual bool isEnabled() const = 0;

    // Geometry. setBounds sends WM_WINDOWPOSCHANGING (which may adjust it) and
    // WM_WINDOWPOSCHANGED, whose default handling sends WM_MOVE and WM_SIZE.
    virtual Rect bounds() const = 0;
    virtual void setBounds(const Rect& bounds, unsigned swpFlags = 0) = 0;  // SWP_NOMOVE, SWP_NOSIZE
    // The bounds the window returns to when restored from maximised or minimised.
    virtual Rect normalBounds() const = 0;
    Rect clientRect() const { Rect b = bounds(); return {0, 0, b.width(), b.height()}; }
    Point screenToClient(Point p) const { Rect b = bounds(); return {p.x - b.left, p.y - b.top}; }
    Point clientToScreen(Point p) const { Rect b = bounds(); return {p.x + b.left, p.y + b.top}; }

    // Desktop presentation.
    virtual void setTitle(const std::string& utf8) = 0;
    virtual const std::string& title() const = 0;
    // big = false: the small (16 px) icon; true: the big (32 px) one. Both are offered to the desktop.
    virtual void setIcon(bool big, const Icon& icon) = 0;
    virtual void setKeepOnTop(bool on) = 0;
    virtual bool isKeepOnTop() const = 0;
    virtual void setShowInTaskbar(bool on) = 0;
    virtual void setResizable(bool on) = 0;
    // Limits the window's visible and clickable area to these rectangles; empty = the whole window.
    virtual void setShape(const std::vector<Rect>& rects) = 0;
    virtual void setBackground(std::uint32_t bgr) = 0;
    // Brings the window to the front and gives it the keyboard (SetForegroundWindow).
    virtual void activate() = 0;
    virtual void setCursor(Cursor cursor) = 0;

    // Pointer capture: every pointer message goes to this window, in its client coordinates,
    // until released or lost; the window losing it gets WM_CAPTURECHANGED.
    virtual void setCapture() = 0;
    virtual bool hasCapture() const = 0;

    // Painting. The back buffer is a cairo image surface of the window's size (it is replaced
    // when the size changes, so ask for it each time). invalidate adds to the damaged region
    // (null = everything); the loop sends WM_PAINT when nothing else is pending. update paints
    // at once when something is damaged.
    virtual void invalidate(const Rect* rect = nullptr, bool erase = false) = 0;
    virtual void update() = 0;
    virtual cairo_surface_t* backBuffer() = 0;
    // Validates the damaged region; sends WM_ERASEBKGND first when an erase was asked for.
    virtual PaintInfo beginPaint() = 0;
    // Presents the painted rectangles.
    virtual void endPaint(const PaintInfo& paint) = 0;
    // Presents part of the back buffer now (painting outside WM_PAINT).
    virtual void present(const Rect& rect) = 0;

    // Timers: WM_TIMER with wParam = id every periodMs (at least 10) until killed. Setting an
    // id that runs already restarts it with the new period.
    virtual bool setTimer(std::uintptr_t id, int periodMs) = 0;
    virtual bool killTimer(std::uintptr_t id) = 0;

protected:
    ~NativeWindow() = default;
};

}  // namespace s::platform
