#pragma once

#include "platform/WindowTypes.h"

#include <array>
#include <cstdint>

namespace s::platform {

class DisplayBase;
class WindowBase;

// Pointer input as a backend sees it, before any routing.
struct PointerInput {
    enum Kind { Move, Press, Release, Wheel, HorizontalWheel };
    Kind kind = Move;
    Point screen;
    int button = 0;      // 1 left, 2 right, 3 middle (Press, Release)
    int wheelDelta = 0;  // WHEEL_DELTA per notch, forward or right positive
    // The window the backend found under the pointer (or holding the pointer), 0 for none.
    WindowId receivedBy = 0;
    std::int64_t time = 0;
};

struct KeyInput {
    bool down = true;
    int virtualKey = 0;  // side-specific codes (VK_LSHIFT ...) allowed; messages carry the generic one
    int scanCode = 0;
    bool extended = false;
    WindowId receivedBy = 0;  // the window holding the keyboard, 0 = the active window
};

// Takes over the pointer while the system runs a loop of its own (a window move).
class IPointerTracker {
public:
    virtual void track(const PointerInput& input) = 0;
    virtual void cancel() = 0;

protected:
    ~IPointerTracker() = default;
};

// The one neutral input path: turns pointer and key input into window messages. Hit tests
// decide client or non-client messages; a window answering HTTRANSPARENT passes the input to
// the next window of the thread beneath the pointer; capture routes everything to its window;
// double clicks are recognised by the desktop's time and distance.
class InputRouter {
public:
    explicit InputRouter(DisplayBase& display) : m_display(display) {}

    void pointer(const PointerInput& input);
    void key(const KeyInput& input);
    // Brings the key and button state in line with what the backend reports (modifier bits of
    // an event), for keys pressed or released while another program had the keyboard.
    void syncState(bool shift, bool control, bool alt, bool left, bool right, bool middle);

    void setCapture(WindowBase* window);
    void releaseCapture();
    // The capture ended without being released (window hidden or destroyed, grab broken).
    void captureLost();
    WindowBase* capture() const;

    void setTracker(IPointerTracker* tracker) { m_tracker = tracker; }
    IPointerTracker* tracker() const { return m_tracker; }

    bool isKeyDown(int virtualKey) const;
    Point cursorPos() const { return m_cursor; }
    // The MK_* flags of the current state.
    unsigned mouseKeyFlags() const;

    void forget(WindowId window);

private:
    void setKey(int virtualKey, bool down);
    WindowBase* hitTarget(const PointerInput& input, int* hit);
    unsigned messageFor(const PointerInput& input, bool client, bool doubleClick) const;
    bool isDoubleClick(const PointerInput& input, WindowId target, bool client);

    DisplayBase& m_display;
    std::array<bool, 256> m_keys{};
    Point m_cursor;
    WindowId m_capture = 0;
    IPointerTracker* m_tracker = nullptr;

    struct LastPress {
        int button = 0;
        WindowId window = 0;
        bool client = false;
        Point screen;
        std::int64_t time = 0;
    } m_lastPress;
};

}  // namespace s::platform
