#include "RecordingProc.h"
#include "ScreenCapture.h"
#include "platform/x11/X11WindowSystem.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <chrono>
#include <deque>

namespace {

using namespace s::platform;
using s::platform::testing::RecordingProc;
using s::testing::Image;

constexpr std::uintptr_t kTickTimer = 999;

class X11BackendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        display = x11::windowSystem().openDisplay(&error);
        ASSERT_NE(display, nullptr) << error;
        ASSERT_FALSE(x11::hasWindowManager(*display)) << "these tests expect a bare X server";
    }
    void TearDown() override { x11::setSharedMemoryAllowed(true); }

    RecordingProc& proc(std::vector<unsigned> watched = {}) { return m_procs.emplace_back(std::move(watched)); }

    NativeWindow* open(RecordingProc& p, Rect bounds)
    {
        WindowParams params;
        params.bounds = bounds;
        params.title = "Ostrel test – Ωμέγα";
        NativeWindow* window = display->createWindow(params, &p);
        EXPECT_NE(window, nullptr);
        window->setTimer(kTickTimer, 20);  // keeps the loop looking at the deadline
        window->show(SW_SHOW);
        settle();
        return window;
    }

    // Runs the loop until done() holds or the wait is hopeless.
    bool waitFor(const std::function<bool()>& done, int ms = 5000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        return display->runUntil([&] { return done() || std::chrono::steady_clock::now() > deadline; }) && done();
    }
    // Lets the server catch up with everything asked so far.
    void settle()
    {
        s::testing::runCommand("xdotool sleep 0.1");
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
        display->runUntil([&] { return std::chrono::steady_clock::now() > until; });
    }
    std::string xdotool(const std::string& arguments)
    {
        std::string output;
        EXPECT_EQ(s::testing::runCommand("xdotool " + arguments, &output), 0) << output;
        return output;
    }
    std::string windowProperty(NativeWindow& w, const char* property)
    {
        std::string output;
        s::testing::runCommand("xprop -id " + std::to_string(x11::nativeHandle(w)) + " " + property, &output);
        return output;
    }
    std::string mapState(NativeWindow& w)
    {
        std::string output;
        s::testing::runCommand("xwininfo -id " + std::to_string(x11::nativeHandle(w)) + " | grep 'Map State'", &output);
        return output;
    }

    std::deque<RecordingProc> m_procs;
    std::unique_ptr<Display> display;
};

// Paints a known pattern: red left half, green right half, a blue 20 × 20 square at (30, 40).
std::optional<LResult> paintPattern(NativeWindow& w, unsigned code, WParam, LParam)
{
    if (code != WM_PAINT)
        return std::nullopt;
    PaintInfo paint = w.beginPaint();
    cairo_t* cr = cairo_create(paint.surface);
    const Rect c = w.clientRect();
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, 0, 0, c.width() / 2, c.height());
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 1, 0);
    cairo_rectangle(cr, c.width() / 2, 0, c.width() - c.width() / 2, c.height());
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 1);
    cairo_rectangle(cr, 30, 40, 20, 20);
    cairo_fill(cr);
    cairo_destroy(cr);
    w.endPaint(paint);
    return 0;
}

class PresentTest : public X11BackendTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PresentTest, AFramelessWindowShowsWhatItPainted)
{
    x11::setSharedMemoryAllowed(GetParam());
    RecordingProc& p = proc({WM_PAINT});
    p.handler = paintPattern;
    NativeWindow* window = open(p, Rect::fromSize(100, 80, 200, 120));
    ASSERT_TRUE(waitFor([&] { return !p.of(WM_PAINT).empty(); }));
    settle();
    EXPECT_EQ(x11::presentsThroughSharedMemory(*window), GetParam());

    Image shot;
    std::string error;
    ASSERT_TRUE(s::testing::captureWindow(x11::nativeHandle(*window), &shot, &error)) << error;
    ASSERT_EQ(shot.width, 200);
    ASSERT_EQ(shot.height, 120);
    EXPECT_EQ(shot.at(0, 0), 0xFF0000u);
    EXPECT_EQ(shot.at(99, 119), 0xFF0000u);
    EXPECT_EQ(shot.at(100, 0), 0x00FF00u);
    EXPECT_EQ(shot.at(199, 119), 0x00FF00u);
    EXPECT_EQ(shot.at(30, 40), 0x0000FFu);
    EXPECT_EQ(shot.at(49, 59), 0x0000FFu);
    EXPECT_EQ(shot.at(50, 60), 0xFF0000u);

    // Frameless at the asked position: the screen shows the same pixels there.
    Image screen;
    ASSERT_TRUE(s::testing::captureWindow(0, &screen, &error)) << error;
    EXPECT_EQ(screen.at(100 + 30, 80 + 40), 0x0000FFu);
    EXPECT_EQ(screen.at(100 + 150, 80 + 10), 0x00FF00u);
    s::testing::writePng(shot, ::testing::TempDir() + "ostrel-x11-pattern.png");

    EXPECT_NE(windowProperty(*window, "_NET_WM_NAME").find("Ostrel test – Ωμέγα"), std::string::npos);
    window->setIcon(false, Icon{2, 3, std::vector<std::uint32_t>(6, 0xFF112233u)});
    window->setIcon(true, Icon{4, 4, std::vector<std::uint32_t>(16, 0xFF445566u)});
    const std::string icons = windowProperty(*window, "_NET_WM_ICON");
    EXPECT_NE(icons.find("Icon (2 x 3)"), std::string::npos) << icons;
    EXPECT_NE(icons.find("Icon (4 x 4)"), std::string::npos) << icons;
    window->setShowInTaskbar(false);
    EXPECT_NE(windowProperty(*window, "_NET_WM_STATE").find("_NET_WM_STATE_SKIP_TASKBAR"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(SharedMemory, PresentTest, ::testing::Values(true, false),
                         [](const auto& test) { return std::string(test.param ? "Shm" : "PutImage"); });

TEST_F(X11BackendTest, ClicksWheelAndKeysArriveAsMessages)
{
    RecordingProc& p = proc({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_MBUTTONDOWN,
                             WM_MOUSEWHEEL, WM_KEYDOWN, WM_KEYUP});
    NativeWindow* window = open(p, Rect::fromSize(100, 100, 300, 200));
    ASSERT_TRUE(window->isActive());

    xdotool("mousemove --sync 150 130 click 1");
    ASSERT_TRUE(waitFor([&] { return p.of(WM_LBUTTONUP).size() == 1; }));
    ASSERT_EQ(p.of(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(p.of(WM_LBUTTONDOWN)[0].point(), (Point{50, 30}));
    EXPECT_NE(p.of(WM_LBUTTONDOWN)[0].wParam & MK_LBUTTON, 0u);

    p.clear();
    xdotool("sleep 0.6 mousemove --sync 200 150 click --repeat 2 --delay 80 1");
    ASSERT_TRUE(waitFor([&] { return p.of(WM_LBUTTONUP).size() == 2; }));
    EXPECT_EQ(p.codes(), (std::vector<unsigned>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    EXPECT_EQ(p.of(WM_LBUTTONDBLCLK)[0].point(), (Point{100, 50}));

    p.clear();
    xdotool("click 3 click 2 click 4 click 5 click 5");
    ASSERT_TRUE(waitFor([&] { return p.of(WM_MOUSEWHEEL).size() == 3; }));
    EXPECT_EQ(p.of(WM_RBUTTONDOWN).size(), 1u);
    EXPECT_EQ(p.of(WM_MBUTTONDOWN).size(), 1u);
    const auto wheel = p.of(WM_MOUSEWHEEL);
    EXPECT_EQ(signedHiWord(wheel[0].wParam), WHEEL_DELTA);
    EXPECT_EQ(signedHiWord(wheel[1].wParam), -WHEEL_DELTA);
    EXPECT_EQ(wheel[0].point(), (Point{200, 150}));  // screen coordinates

    p.clear();
    xdotool("key a shift+b Return F5");
    ASSERT_TRUE(waitFor([&] { return p.of(WM_KEYUP).size() == 5; }));
    std::vector<WParam> keys;
    for (const auto& r : p.of(WM_KEYDOWN))
        keys.push_back(r.wParam);
    EXPECT_EQ(keys, (std::vector<WParam>{'A', VK_SHIFT, 'B', VK_RETURN, VK_F1 + 4}));
}

TEST_F(X11BackendTest, KeepOnTopMinimiseAndRestoreChangeTheWindowsState)
{
    RecordingProc& topProc = proc({WM_SIZE});
    RecordingProc& otherProc = proc();
    topProc.handler = paintPattern;
    otherProc.handler = [](NativeWindow& w, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code != WM_PAINT)
            return std::nullopt;
        PaintInfo paint = w.beginPaint();
        cairo_t* cr = cairo_create(paint.surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_destroy(cr);
        w.endPaint(paint);
        return 0;
    };
    NativeWindow* top = open(topProc, Rect::fromSize(50, 50, 200, 200));
    top->setKeepOnTop(true);
    EXPECT_NE(windowProperty(*top, "_NET_WM_STATE").find("_NET_WM_STATE_ABOVE"), std::string::npos);

    // A window shown and activated later still stays below it.
    NativeWindow* other = open(otherProc, Rect::fromSize(100, 100, 200, 200));
    other->activate();
    settle();
    Image screen;
    std::string error;
    ASSERT_TRUE(s::testing::captureWindow(0, &screen, &error)) << error;
    EXPECT_EQ(screen.at(200, 200), 0x00FF00u) << "the kept-on-top window is not on top";
    EXPECT_EQ(screen.at(280, 280), 0xFFFFFFu);

    top->show(SW_MINIMIZE);
    settle();
    EXPECT_TRUE(top->isMinimized());
    EXPECT_NE(mapState(*top).find("IsUnMapped"), std::string::npos) << mapState(*top);
    EXPECT_NE(windowProperty(*top, "_NET_WM_STATE").find("_NET_WM_STATE_HIDDEN"), std::string::npos);

    top->show(SW_RESTORE);
    settle();
    EXPECT_FALSE(top->isMinimized());
    EXPECT_NE(mapState(*top).find("IsViewable"), std::string::npos) << mapState(*top);
    EXPECT_EQ(windowProperty(*top, "_NET_WM_STATE").find("_NET_WM_STATE_HIDDEN"), std::string::npos);

    top->show(SW_MAXIMIZE);
    settle();
    EXPECT_EQ(top->bounds(), display->workArea(top->bounds()));
    std::string geometry;
    s::testing::runCommand("xwininfo -id " + std::to_string(x11::nativeHandle(*top)) + " | grep Width", &geometry);
    EXPECT_NE(geometry.find(std::to_string(display->workArea(top->bounds()).width())), std::string::npos) << geometry;

    std::vector<int> kinds;
    for (const auto& r : topProc.of(WM_SIZE))
        kinds.push_back(static_cast<int>(r.wParam));
    EXPECT_EQ(kinds, (std::vector<int>{SIZE_MINIMIZED, SIZE_RESTORED, SIZE_MAXIMIZED}));
}

TEST_F(X11BackendTest, DraggingTheCaptionMovesTheWindowWithoutAWindowManager)
{
    RecordingProc& p = proc({WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE, WM_NCLBUTTONUP});
    p.handler = [](NativeWindow&, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code == WM_NCHITTEST)
            return HTCAPTION;
        return std::nullopt;
    };
    NativeWindow* window = open(p, Rect::fromSize(100, 100, 200, 100));
    xdotool("mousemove --sync 150 110 mousedown 1 mousemove --sync 180 130 mousemove --sync 250 170 mouseup 1");
    ASSERT_TRUE(waitFor([&] { return !p.of(WM_EXITSIZEMOVE).empty(); }));
    settle();
    EXPECT_EQ(window->bounds(), Rect::fromSize(200, 160, 200, 100));
    std::string info;
    s::testing::runCommand("xwininfo -id " + std::to_string(x11::nativeHandle(*window)), &info);
    EXPECT_NE(info.find("Absolute upper-left X:  200"), std::string::npos) << info;
    EXPECT_NE(info.find("Absolute upper-left Y:  160"), std::string::npos) << info;
}

TEST_F(X11BackendTest, TheDesktopAnswersScreenAndSettings)
{
    EXPECT_EQ(display->virtualScreen(), Rect::fromSize(0, 0, 1280, 1024));
    EXPECT_EQ(display->workArea(Rect::fromSize(10, 10, 100, 100)), Rect::fromSize(0, 0, 1280, 1024));
    EXPECT_GE(display->dpi(), 48.0);
    EXPECT_GT(display->doubleClickTime(), 0);
}

}  // namespace
