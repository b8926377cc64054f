#pragma once

#include "platform/NativeWindow.h"
#include "platform/WindowTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace s::platform {

// The message queue of one user-interface thread, as other threads hold it (to end its loop).
class ThreadQueue;
using ThreadQueueRef = std::shared_ptr<ThreadQueue>;

// One user-interface thread's connection to the window system: its windows, its message loop,
// and what it can ask about the desktop. Made on that thread by IWindowSystem::openDisplay and
// used only there, except wake(). Closing it destroys the windows still open.
//
// Loop order, as a window system's queue: sent messages first (also while the thread waits in
// a send of its own), then posted messages, then the quit request, then input, then WM_PAINT
// for damaged windows, then WM_TIMER for due timers.
class Display {
public:
    virtual ~Display() = default;

    virtual const char* backendName() const = 0;

    // Creates a hidden window; WM_CREATE reaches the procedure before this returns. Null when
    // the window system refuses.
    virtual NativeWindow* createWindow(const WindowParams& params, IWindowProc* proc) = 0;
    // One of this thread's windows, or null.
    virtual NativeWindow* findWindow(WindowId id) const = 0;

    // Runs the loop until WM_QUIT; returns its exit code.
    virtual int run() = 0;
    // A nested (modal) loop that runs until done() answers true after a dispatch. A WM_QUIT
    // seen meanwhile ends it with false and stays pending for the outer loop.
    virtual bool runUntil(const std::function<bool()>& done) = 0;
    // Serves everything pending; when nothing is, waits up to timeoutMs for something.
    virtual void serveOnce(int timeoutMs) = 0;
    // Ends a wait of this display's thread; callable from any thread.
    virtual void wake() = 0;
    // Asks the loop to end (WM_QUIT) once the posted messages before it are served.
    virtual void postQuit(int exitCode) = 0;
    virtual ThreadQueueRef threadQueue() const = 0;

    // Pointer capture (see NativeWindow::setCapture).
    virtual NativeWindow* capture() const = 0;
    virtual void releaseCapture() = 0;
    virtual NativeWindow* activeWindow() const = 0;

    // Keyboard and mouse state as of the message being handled (VK_* codes, buttons included).
    virtual bool isKeyDown(int virtualKey) const = 0;
    virtual Point cursorPos() const = 0;
    // Milliseconds on the loop's clock (the test clock on the headless backend).
    virtual std::int64_t now() const = 0;

    // The desktop.
    virtual Rect virtualScreen() const = 0;
    // The monitor that holds most of the rectangle (the nearest one when none does).
    virtual Rect monitorArea(const Rect& rect) const = 0;
    // That monitor's area less the desktop's panels.
    virtual Rect workArea(const Rect& rect) const = 0;
    virtual double dpi() const = 0;
    virtual int doubleClickTime() const = 0;      // ms
    virtual int doubleClickDistance() const = 0;  // pixels either way from the first press
    virtual int dragThreshold() const = 0;        // pixels before a press becomes a drag
    virtual int wheelScrollLines() const = 0;
};

// The window system of the process: opens one Display per user-interface thread.
class IWindowSystem {
public:
    // On the calling thread; null with a one-line reason in error when it cannot.
    virtual std::unique_ptr<Display> openDisplay(std::string* error) = 0;
    virtual const char* name() const = 0;

protected:
    ~IWindowSystem() = default;
};

// The window system the toolkit uses, chosen once by the program (or a test) before windows
// are made. Null until set.
IWindowSystem* windowSystem();
void setWindowSystem(IWindowSystem* system);

// The display of the calling thread, or null.
Display* currentDisplay();

// Cross-thread messages, callable from any thread. A send runs the window's procedure on the
// window's thread and returns its result; the caller waits, and a user-interface thread keeps
// serving sends addressed to itself while it waits, so two threads sending to each other both
// complete. A send or post to a window that no longer exists does nothing and answers 0.
LResult sendMessage(WindowId window, unsigned code, WParam wParam = 0, LParam lParam = 0);
bool postMessage(WindowId window, unsigned code, WParam wParam = 0, LParam lParam = 0);
// Runs work on the window's thread, synchronously like a send. False when the window is gone.
bool invoke(WindowId window, const std::function<void()>& work);
// Ends the loop of another user-interface thread (a thread message WM_QUIT). False when that
// thread's loop has already closed its queue.
bool postQuit(const ThreadQueueRef& queue, int exitCode);

}  // namespace s::platform
