#include "platform/x11/X11WindowSystem.h"

#include "platform/x11/X11Display.h"
#include "platform/x11/X11Window.h"

#include <X11/Xlib.h>

#include <mutex>

namespace s::platform::x11 {

namespace {

class X11WindowSystem final : public IWindowSystem {
public:
    std::unique_ptr<Display> openDisplay(std::string* error) override
    {
        static std::once_flag once;
        std::call_once(once, [] { XInitThreads(); });
        return X11Display::open(error);
    }
    const char* name() const override { return "x11"; }
};

}  // namespace

IWindowSystem& windowSystem()
{
    static X11WindowSystem system;
    return system;
}

std::string probeDisplay()
{
    std::string error;
    std::unique_ptr<Display> display = windowSystem().openDisplay(&error);
    return display ? std::string() : error;
}

unsigned long nativeHandle(NativeWindow& window)
{
    return static_cast<X11Window&>(window).handle();
}

bool presentsThroughSharedMemory(NativeWindow& window)
{
    static_cast<X11Window&>(window).backBuffer();
    return static_cast<X11Window&>(window).usesSharedMemory();
}

void waitForServer(Display& display)
{
    XSync(static_cast<X11Display&>(display).x(), False);
}

bool hasWindowManager(Display& display)
{
    return static_cast<X11Display&>(display).hasWindowManager();
}

}  // namespace s::platform::x11
