#include "RecordingProc.h"
#include "platform/headless/HeadlessWindowSystem.h"

#include <cairo.h>
#include <gtest/gtest.h>

namespace {

using namespace s::platform;
using s::platform::testing::RecordingProc;
namespace hl = s::platform::headless;

class WindowStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = system.openDisplay(nullptr);
        WindowParams params;
        params.bounds = Rect::fromSize(100, 100, 300, 200);
        params.background = 0x00332211;  // RGB 11 22 33
        window = display->createWindow(params, &proc);
    }

    std::vector<int> sizeKinds() const
    {
        std::vector<int> kinds;
        for (const auto& r : proc.of(WM_SIZE))
            kinds.push_back(static_cast<int>(r.wParam));
        return kinds;
    }

    hl::HeadlessWindowSystem system;
    RecordingProc proc{{WM_SIZE, WM_MOVE, WM_SHOWWINDOW, WM_PAINT, WM_ERASEBKGND, WM_ENTERSIZEMOVE,
                        WM_EXITSIZEMOVE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}};
    RecordingProc ordered{{WM_PAINT, WM_USER + 1}};
    RecordingProc refusing;
    std::unique_ptr<Display> display;
    NativeWindow* window = nullptr;
};

TEST_F(WindowStateTest, MinimiseMaximiseAndRestoreReportTheirStates)
{
    window->show(SW_SHOW);
    EXPECT_TRUE(hl::isMapped(*window));

    window->show(SW_MAXIMIZE);
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(window->bounds(), display->workArea(Rect::fromSize(100, 100, 300, 200)));
    EXPECT_EQ(window->normalBounds(), Rect::fromSize(100, 100, 300, 200));

    window->show(SW_MINIMIZE);
    EXPECT_TRUE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(hl::isMapped(*window));
    EXPECT_FALSE(window->isActive());

    // Restoring a window minimised from maximised brings it back maximised; again, to normal.
    window->show(SW_RESTORE);
    EXPECT_TRUE(window->isMaximized());
    EXPECT_TRUE(hl::isMapped(*window));
    window->show(SW_RESTORE);
    EXPECT_FALSE(window->isMaximized());
    EXPECT_EQ(window->bounds(), Rect::fromSize(100, 100, 300, 200));

    EXPECT_EQ(sizeKinds(), (std::vector<int>{SIZE_MAXIMIZED, SIZE_MINIMIZED, SIZE_MAXIMIZED, SIZE_RESTORED}));
    EXPECT_EQ(proc.of(WM_SIZE)[1].lParam, 0);  // a minimised window has no client size
    EXPECT_EQ(pointFromLParam(proc.of(WM_SIZE)[3].lParam), (Point{300, 200}));
}

TEST_F(WindowStateTest, SetBoundsLetsTheProcedureAdjustAndReportsMoveAndSize)
{
    proc.handler = [](NativeWindow&, unsigned code, WParam, LParam l) -> std::optional<LResult> {
        if (code == WM_WINDOWPOSCHANGING) {
            auto* pos = reinterpret_cast<WindowPos*>(l);
            pos->cx = std::max(pos->cx, 150);  // a minimum width
        }
        return std::nullopt;
    };
    window->setBounds(Rect::fromSize(10, 20, 50, 60));
    EXPECT_EQ(window->bounds(), Rect::fromSize(10, 20, 150, 60));
    ASSERT_EQ(proc.of(WM_MOVE).size(), 1u);
    EXPECT_EQ(proc.of(WM_MOVE)[0].point(), (Point{10, 20}));
    ASSERT_EQ(proc.of(WM_SIZE).size(), 1u);
    EXPECT_EQ(proc.of(WM_SIZE)[0].point(), (Point{150, 60}));

    proc.clear();
    window->setBounds(Rect::fromSize(30, 40, 1, 1), SWP_NOSIZE);
    EXPECT_EQ(window->bounds(), Rect::fromSize(30, 40, 150, 60));
    EXPECT_TRUE(proc.of(WM_SIZE).empty());
}

TEST_F(WindowStateTest, DraggingTheCaptionMovesTheWindowWithoutAWindowManager)
{
    proc.handler = [](NativeWindow&, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code == WM_NCHITTEST)
            return HTCAPTION;
        return std::nullopt;
    };
    window->show(SW_SHOW);
    hl::pressButton(*display, 1, {150, 110});
    hl::movePointer(*display, {152, 111});  // inside the drag threshold: nothing yet
    hl::movePointer(*display, {200, 150});
    hl::movePointer(*display, {250, 170});
    hl::releaseButton(*display, 1, {250, 170});
    hl::pump(*display);

    EXPECT_EQ(window->bounds(), Rect::fromSize(200, 160, 300, 200));
    EXPECT_EQ(proc.of(WM_ENTERSIZEMOVE).size(), 1u);
    EXPECT_EQ(proc.of(WM_EXITSIZEMOVE).size(), 1u);
    EXPECT_EQ(proc.of(WM_MOVE).size(), 2u);

    // A click without a drag moves nothing; a double click on the caption maximises.
    hl::advance(*display, 1000);
    hl::click(*display, 1, {260, 170});
    hl::click(*display, 1, {260, 170});
    hl::pump(*display);
    EXPECT_TRUE(window->isMaximized());
}

TEST_F(WindowStateTest, PaintingPresentsOnlyTheDamagedRectangles)
{
    window->show(SW_SHOW);
    hl::pump(*display);
    // Shown: the whole window was erased with its background and presented.
    EXPECT_EQ(hl::presentedPixel(*window, 299, 199), 0x112233u);
    EXPECT_EQ(hl::takePresentedRects(*window), (std::vector<Rect>{Rect{0, 0, 300, 200}}));

    proc.handler = [](NativeWindow& w, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code != WM_PAINT)
            return std::nullopt;
        PaintInfo paint = w.beginPaint();
        cairo_t* cr = cairo_create(paint.surface);
        cairo_set_source_rgb(cr, 1, 0, 0);
        cairo_paint(cr);  // the whole buffer; only the damage is presented
        cairo_destroy(cr);
        w.endPaint(paint);
        return 0;
    };
    const Rect damage = Rect::fromSize(10, 20, 100, 20);
    window->invalidate(&damage);
    proc.clear();
    hl::pump(*display);

    EXPECT_EQ(proc.of(WM_PAINT).size(), 1u);
    EXPECT_EQ(hl::takePresentedRects(*window), (std::vector<Rect>{damage}));
    EXPECT_EQ(hl::presentedPixel(*window, 10, 20), 0xFF0000u);
    EXPECT_EQ(hl::presentedPixel(*window, 109, 39), 0xFF0000u);
    EXPECT_EQ(hl::presentedPixel(*window, 110, 20), 0x112233u);
    EXPECT_EQ(hl::presentedPixel(*window, 10, 40), 0x112233u);
}

TEST_F(WindowStateTest, PaintWaitsUntilPostedMessagesAreServed)
{
    constexpr unsigned kPosted = WM_USER + 1;
    WindowParams params;
    NativeWindow* other = display->createWindow(params, &ordered);
    other->show(SW_SHOWNA);
    postMessage(other->id(), kPosted);
    hl::pump(*display);
    EXPECT_EQ(ordered.codes(), (std::vector<unsigned>{kPosted, WM_PAINT}));
}

TEST_F(WindowStateTest, DestroySendsItsMessagesAndForgetsTheWindow)
{
    const WindowId id = window->id();
    window->destroy();
    EXPECT_EQ(proc.codes(), (std::vector<unsigned>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(display->findWindow(id), nullptr);
}

TEST_F(WindowStateTest, AProcedureThatRefusesCreationGetsNoWindow)
{
    refusing.handler = [](NativeWindow&, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code == WM_CREATE)
            return -1;
        return std::nullopt;
    };
    EXPECT_EQ(display->createWindow({}, &refusing), nullptr);
}

}  // namespace
