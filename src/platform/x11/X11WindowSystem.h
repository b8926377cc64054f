#pragma once

#include "platform/Display.h"

#include <string>

// The X11 window system (Xlib, MIT-SHM, Xrandr), which also serves Wayland desktops through
// XWayland. One X connection per user-interface thread.
namespace s::platform::x11 {

IWindowSystem& windowSystem();

// Empty when the X display named by DISPLAY can be opened; otherwise a one-line reason that
// names DISPLAY.
std::string probeDisplay();

// Whether back buffers made from now on may use MIT-SHM (on by default; for measurements).
void setSharedMemoryAllowed(bool allowed);

// The X window of a native window (for tests that look at it from outside).
unsigned long nativeHandle(NativeWindow& window);
// Whether the window's back buffer is presented through MIT-SHM.
bool presentsThroughSharedMemory(NativeWindow& window);
// Waits until the server has handled every request made so far (for measurements).
void waitForServer(Display& display);
// Whether a window manager runs on the display of the calling thread.
bool hasWindowManager(Display& display);

}  // namespace s::platform::x11
