#include "RecordingProc.h"
#include "platform/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

namespace {

using namespace s::platform;
using s::platform::testing::RecordingProc;

TEST(DesktopTest, TheMonitorOfARectangleIsTheOneHoldingMostOfItElseTheNearest)
{
    headless::HeadlessWindowSystem system;
    const Rect left = Rect::fromSize(0, 0, 1920, 1080);
    const Rect right = Rect::fromSize(1920, 0, 1280, 1024);
    const Rect rightWork = Rect::fromSize(1920, 30, 1280, 994);
    system.desktop().monitors = {{left, Rect::fromSize(0, 0, 1920, 1040)}, {right, rightWork}};
    std::unique_ptr<Display> display = system.openDisplay(nullptr);

    EXPECT_EQ(display->virtualScreen(), Rect::fromSize(0, 0, 3200, 1080));
    const struct {
        Rect rect;
        Rect monitor;
    } cases[] = {
        {Rect::fromSize(100, 100, 400, 300), left},
        {Rect::fromSize(1800, 100, 400, 300), right},    // 280 of 400 columns on the right one
        {Rect::fromSize(1700, 100, 400, 300), left},     // 220 on the left one
        {Rect::fromSize(4000, 2000, 100, 100), right},   // off every screen: the nearest
        {Rect::fromSize(-5000, 500, 100, 100), left},
    };
    for (const auto& c : cases)
        EXPECT_EQ(display->monitorArea(c.rect), c.monitor) << c.rect.left << "," << c.rect.top;
    EXPECT_EQ(display->workArea(Rect::fromSize(2500, 500, 10, 10)), rightWork);

    // Maximising uses the work area of the monitor that holds the window.
    RecordingProc proc;
    WindowParams params;
    params.bounds = Rect::fromSize(2000, 200, 300, 200);
    NativeWindow* window = display->createWindow(params, &proc);
    window->show(SW_MAXIMIZE);
    EXPECT_EQ(window->bounds(), rightWork);
    window->destroy();
}

}  // namespace
