#pragma once

#include "platform/Display.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// A window system without a display, for tests: windows, messages, sends and timers run in
// process; time is a clock the test moves; input is injected; what a window presented can be
// read back. Windows behave as on a desktop without a window manager.
namespace s::platform::headless {

struct Monitor {
    Rect area;
    Rect work;  // the area less panels
};

struct Desktop {
    std::vector<Monitor> monitors{{Rect::fromSize(0, 0, 1280, 1024), Rect::fromSize(0, 0, 1280, 1000)}};
    double dpi = 96.0;
    int doubleClickTime = 400;
    int doubleClickDistance = 5;
    int dragThreshold = 4;
    int wheelScrollLines = 3;
};

class HeadlessWindowSystem final : public IWindowSystem {
public:
    HeadlessWindowSystem();
    ~HeadlessWindowSystem();

    std::unique_ptr<Display> openDisplay(std::string* error) override;
    const char* name() const override { return "headless"; }

    // Set before displays are opened.
    Desktop& desktop() { return m_desktop; }
    const Desktop& desktop() const { return m_desktop; }

    std::int64_t now() const { return m_clock.load(); }
    // Moves the clock forward and wakes every display (for displays on other threads).
    void advanceClock(int ms);
    void setClock(std::int64_t ms);

    struct Shared;

private:
    Desktop m_desktop;
    std::atomic<std::int64_t> m_clock{0};
    std::shared_ptr<Shared> m_shared;
    friend class HeadlessDisplay;
};

// Injected input: callable from any thread; served in order by the display's loop. The
// pointer position is in screen coordinates. Inject a whole gesture before serving it: a press
// on a caption starts a move loop that waits for the release.
void movePointer(Display& display, Point screen);
void pressButton(Display& display, int button, Point screen);  // 1 left, 2 right, 3 middle
void releaseButton(Display& display, int button, Point screen);
void click(Display& display, int button, Point screen);
void turnWheel(Display& display, int notches, Point screen, bool horizontal = false);
void pressKey(Display& display, int virtualKey);
void releaseKey(Display& display, int virtualKey);

// On the display's thread: serves everything pending without waiting.
void pump(Display& display);
// On the display's thread: moves the clock forward by ms, serving each timer at its due time.
void advance(Display& display, int ms);

// What a window has presented: 0x00RRGGBB of one pixel (window coordinates).
std::uint32_t presentedPixel(NativeWindow& window, int x, int y);
// The rectangles presented since the last call.
std::vector<Rect> takePresentedRects(NativeWindow& window);
Cursor cursorOf(NativeWindow& window);
bool isMapped(NativeWindow& window);
// Whether the window holds the pointer grab.
bool holdsGrab(NativeWindow& window);

}  // namespace s::platform::headless
