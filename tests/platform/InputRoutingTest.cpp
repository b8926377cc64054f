#include "RecordingProc.h"
#include "platform/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

using namespace s::platform;
using s::platform::testing::RecordingProc;
namespace hl = s::platform::headless;

const std::vector<unsigned> kMouse{WM_MOUSEMOVE,     WM_LBUTTONDOWN,     WM_LBUTTONUP,     WM_LBUTTONDBLCLK,
                                   WM_RBUTTONDOWN,   WM_RBUTTONUP,       WM_MBUTTONDOWN,   WM_NCMOUSEMOVE,
                                   WM_NCLBUTTONDOWN, WM_NCLBUTTONUP,     WM_NCLBUTTONDBLCLK, WM_MOUSEWHEEL,
                                   WM_CAPTURECHANGED, WM_KEYDOWN,        WM_KEYUP,         WM_SYSKEYDOWN};

class InputRoutingTest : public ::testing::Test {
protected:
    void SetUp() override { display = system.openDisplay(nullptr); }

    NativeWindow* open(RecordingProc& proc, Rect bounds)
    {
        WindowParams params;
        params.bounds = bounds;
        NativeWindow* window = display->createWindow(params, &proc);
        window->show(SW_SHOW);
        hl::pump(*display);
        proc.clear();
        return window;
    }

    // Procedures outlive the display, which destroys the windows still open.
    RecordingProc& proc(std::vector<unsigned> watched = {}) { return m_procs.emplace_back(std::move(watched)); }

    hl::HeadlessWindowSystem system;
    std::deque<RecordingProc> m_procs;
    std::unique_ptr<Display> display;
};

TEST_F(InputRoutingTest, CaptureRoutesMovesAndReleaseToTheCapturingWindow)
{
    RecordingProc& a = proc(kMouse);
    RecordingProc& b = proc(kMouse);
    NativeWindow* wa = open(a, Rect::fromSize(0, 0, 200, 200));
    NativeWindow* wb = open(b, Rect::fromSize(300, 0, 200, 200));
    a.handler = [](NativeWindow& w, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code == WM_LBUTTONDOWN)
            w.setCapture();
        if (code == WM_LBUTTONUP)
            w.display().releaseCapture();
        return std::nullopt;
    };

    hl::pressButton(*display, 1, {50, 50});
    hl::movePointer(*display, {350, 60});
    hl::releaseButton(*display, 1, {360, 70});
    hl::pump(*display);

    EXPECT_TRUE(b.log().empty()) << "the window under the pointer got input during the capture";
    const auto moves = a.of(WM_MOUSEMOVE);
    ASSERT_EQ(moves.size(), 3u);
    EXPECT_EQ(moves[1].point(), (Point{350, 60}));  // window a's coordinates, outside it
    ASSERT_EQ(a.of(WM_LBUTTONUP).size(), 1u);
    EXPECT_EQ(a.of(WM_LBUTTONUP)[0].point(), (Point{360, 70}));
    EXPECT_EQ(a.of(WM_LBUTTONUP)[0].wParam & MK_LBUTTON, 0u);
    ASSERT_EQ(a.of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(display->capture(), nullptr);
    EXPECT_FALSE(hl::holdsGrab(*wa));

    // Released: the window under the pointer gets it again, in its own coordinates.
    hl::movePointer(*display, {320, 30});
    hl::pump(*display);
    ASSERT_EQ(b.of(WM_MOUSEMOVE).size(), 1u);
    EXPECT_EQ(b.of(WM_MOUSEMOVE)[0].point(), (Point{20, 30}));
    (void)wb;
}

TEST_F(InputRoutingTest, CaptureEndsWhenAnotherWindowTakesItOrTheWindowHides)
{
    RecordingProc& a = proc({WM_CAPTURECHANGED});
    RecordingProc& b = proc({WM_CAPTURECHANGED});
    NativeWindow* wa = open(a, Rect::fromSize(0, 0, 100, 100));
    NativeWindow* wb = open(b, Rect::fromSize(200, 0, 100, 100));

    wa->setCapture();
    EXPECT_TRUE(hl::holdsGrab(*wa));
    wb->setCapture();
    ASSERT_EQ(a.of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(static_cast<WindowId>(a.of(WM_CAPTURECHANGED)[0].lParam), wb->id());
    EXPECT_TRUE(b.log().empty());

    wb->show(SW_HIDE);
    ASSERT_EQ(b.of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(b.of(WM_CAPTURECHANGED)[0].lParam, 0);
    EXPECT_EQ(display->capture(), nullptr);
}

TEST_F(InputRoutingTest, ATransparentHitFallsThroughToTheWindowBelow)
{
    RecordingProc& below = proc(kMouse);
    RecordingProc& above = proc(kMouse);
    open(below, Rect::fromSize(0, 0, 300, 300));
    open(above, Rect::fromSize(50, 50, 200, 200));
    // The upper window is see-through in its left half; the lower one is all caption.
    above.handler = [](NativeWindow& w, unsigned code, WParam, LParam l) -> std::optional<LResult> {
        if (code == WM_NCHITTEST)
            return w.screenToClient(pointFromLParam(l)).x < 100 ? HTTRANSPARENT : HTCLIENT;
        return std::nullopt;
    };
    below.handler = [](NativeWindow&, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code == WM_NCHITTEST)
            return HTCAPTION;
        return std::nullopt;
    };

    hl::movePointer(*display, {100, 100});  // over the see-through half
    hl::movePointer(*display, {200, 120});  // over the solid half
    hl::pump(*display);

    ASSERT_EQ(below.of(WM_NCMOUSEMOVE).size(), 1u);
    EXPECT_EQ(below.of(WM_NCMOUSEMOVE)[0].wParam, static_cast<WParam>(HTCAPTION));
    EXPECT_EQ(below.of(WM_NCMOUSEMOVE)[0].point(), (Point{100, 100}));  // non-client: screen coordinates
    ASSERT_EQ(above.of(WM_MOUSEMOVE).size(), 1u);
    EXPECT_EQ(above.of(WM_MOUSEMOVE)[0].point(), (Point{150, 70}));
    EXPECT_TRUE(below.of(WM_MOUSEMOVE).empty());
}

TEST_F(InputRoutingTest, InputWhereEveryWindowIsTransparentReachesNobody)
{
    RecordingProc& only = proc(kMouse);
    open(only, Rect::fromSize(0, 0, 100, 100));
    only.handler = [](NativeWindow&, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code == WM_NCHITTEST)
            return HTTRANSPARENT;
        return std::nullopt;
    };
    hl::click(*display, 1, {10, 10});
    hl::pump(*display);
    EXPECT_TRUE(only.log().empty());
}

struct DoubleClickCase {
    const char* name;
    int delayMs;
    Point second;
    int secondButton;
    bool expectDouble;
};

class DoubleClickTest : public InputRoutingTest, public ::testing::WithParamInterface<DoubleClickCase> {};

TEST_P(DoubleClickTest, SecondPressWithinTimeAndDistanceIsADoubleClick)
{
    // The desktop's settings: 400 ms, 5 pixels either way.
    RecordingProc& proc = this->proc({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN});
    open(proc, Rect::fromSize(0, 0, 200, 200));
    const DoubleClickCase& c = GetParam();

    hl::click(*display, 1, {100, 100});
    hl::pump(*display);
    hl::advance(*display, c.delayMs);
    hl::click(*display, c.secondButton, c.second);
    hl::pump(*display);

    EXPECT_EQ(proc.of(WM_LBUTTONDBLCLK).size(), c.expectDouble ? 1u : 0u);
    const std::size_t downs = proc.of(WM_LBUTTONDOWN).size() + proc.of(WM_RBUTTONDOWN).size();
    EXPECT_EQ(downs, c.expectDouble ? 1u : 2u);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, DoubleClickTest,
                         ::testing::Values(DoubleClickCase{"Immediate", 0, {100, 100}, 1, true},
                                           DoubleClickCase{"AtTheTimeLimit", 400, {100, 100}, 1, true},
                                           DoubleClickCase{"PastTheTimeLimit", 401, {100, 100}, 1, false},
                                           DoubleClickCase{"AtTheDistanceLimit", 100, {105, 95}, 1, true},
                                           DoubleClickCase{"PastTheDistanceX", 100, {106, 100}, 1, false},
                                           DoubleClickCase{"PastTheDistanceY", 100, {100, 94}, 1, false},
                                           DoubleClickCase{"OtherButton", 100, {100, 100}, 2, false}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(InputRoutingTest, AThirdPressStartsANewPairAndNonClientPressesPairToo)
{
    RecordingProc& proc = this->proc({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK});
    NativeWindow* window = open(proc, Rect::fromSize(0, 0, 200, 200));
    for (int i = 0; i < 3; ++i)
        hl::click(*display, 1, {10, 10});
    hl::pump(*display);
    EXPECT_EQ(proc.codes(), (std::vector<unsigned>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));

    hl::advance(*display, 1000);
    proc.clear();
    proc.handler = [](NativeWindow&, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code == WM_NCHITTEST)
            return HTBOTTOM;
        return std::nullopt;
    };
    hl::click(*display, 1, {10, 195});
    hl::click(*display, 1, {11, 196});
    hl::pump(*display);
    EXPECT_EQ(proc.codes(), (std::vector<unsigned>{WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK}));
    EXPECT_EQ(proc.of(WM_NCLBUTTONDBLCLK)[0].wParam, static_cast<WParam>(HTBOTTOM));
    (void)window;
}

TEST_F(InputRoutingTest, HitCodesChooseTheCursorByDefault)
{
    RecordingProc& proc = this->proc();
    NativeWindow* window = open(proc, Rect::fromSize(0, 0, 200, 200));
    int answer = HTCLIENT;
    proc.handler = [&](NativeWindow&, unsigned code, WParam, LParam) -> std::optional<LResult> {
        if (code == WM_NCHITTEST)
            return answer;
        return std::nullopt;
    };
    const std::pair<int, Cursor> cases[] = {{HTLEFT, Cursor::SizeWE},         {HTBOTTOM, Cursor::SizeNS},
                                            {HTTOPLEFT, Cursor::SizeNWSE},    {HTBOTTOMLEFT, Cursor::SizeNESW},
                                            {HTCAPTION, Cursor::Arrow},       {HTBOTTOMRIGHT, Cursor::SizeNWSE}};
    int x = 10;
    for (const auto& [hit, cursor] : cases) {
        answer = hit;
        hl::movePointer(*display, {x++, 10});
        hl::pump(*display);
        EXPECT_EQ(hl::cursorOf(*window), cursor) << "hit code " << hit;
    }
}

TEST_F(InputRoutingTest, WheelNotchesCarryTheirDeltaAndThePointer)
{
    RecordingProc& proc = this->proc({WM_MOUSEWHEEL, WM_MOUSEHWHEEL});
    open(proc, Rect::fromSize(10, 10, 200, 200));
    hl::turnWheel(*display, 1, {50, 60});
    hl::turnWheel(*display, -2, {50, 60});
    hl::turnWheel(*display, 1, {50, 60}, true);
    hl::pump(*display);
    const auto log = proc.log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(signedHiWord(log[0].wParam), WHEEL_DELTA);
    EXPECT_EQ(signedHiWord(log[1].wParam), -2 * WHEEL_DELTA);
    EXPECT_EQ(log[1].point(), (Point{50, 60}));  // screen coordinates
    EXPECT_EQ(log[2].code, WM_MOUSEHWHEEL);
}

TEST_F(InputRoutingTest, KeysArriveAsVirtualKeysWithTheirState)
{
    RecordingProc& proc = this->proc({WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_CLOSE, WM_DESTROY});
    NativeWindow* window = open(proc, Rect::fromSize(0, 0, 100, 100));
    window->activate();
    bool shiftSeen = false;
    proc.handler = [&](NativeWindow& w, unsigned code, WParam wParam, LParam) -> std::optional<LResult> {
        if (code == WM_KEYDOWN && wParam == 'A')
            shiftSeen = w.display().isKeyDown(VK_SHIFT);
        return std::nullopt;
    };

    hl::pressKey(*display, VK_LSHIFT);
    hl::pressKey(*display, 'A');
    hl::pressKey(*display, 'A');  // held: a repeat
    hl::releaseKey(*display, 'A');
    hl::releaseKey(*display, VK_LSHIFT);
    hl::pump(*display);
    const auto log = proc.log();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].wParam, static_cast<WParam>(VK_SHIFT));
    EXPECT_TRUE(shiftSeen);
    EXPECT_EQ(static_cast<std::uint32_t>(log[1].lParam) & KF_REPEAT, 0u);
    EXPECT_NE(static_cast<std::uint32_t>(log[2].lParam) & KF_REPEAT, 0u);
    EXPECT_EQ(log[3].code, WM_KEYUP);
    EXPECT_NE(static_cast<std::uint32_t>(log[3].lParam) & KF_UP, 0u);
    EXPECT_FALSE(display->isKeyDown(VK_SHIFT));

    // Alt+F4: a system key, whose default handling closes the window.
    proc.clear();
    const WindowId id = window->id();
    hl::pressKey(*display, VK_LMENU);
    hl::pressKey(*display, VK_F4);
    hl::pump(*display);
    EXPECT_EQ(proc.codes(), (std::vector<unsigned>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(display->findWindow(id), nullptr);
}

TEST_F(InputRoutingTest, AClickActivatesAnInactiveWindow)
{
    RecordingProc& a = proc({WM_ACTIVATE});
    RecordingProc& b = proc({WM_ACTIVATE});
    NativeWindow* wa = open(a, Rect::fromSize(0, 0, 100, 100));
    NativeWindow* wb = open(b, Rect::fromSize(200, 0, 100, 100));
    ASSERT_TRUE(wb->isActive());
    a.clear();
    b.clear();

    hl::click(*display, 1, {50, 50});
    hl::pump(*display);
    EXPECT_TRUE(wa->isActive());
    EXPECT_FALSE(wb->isActive());
    ASSERT_EQ(a.of(WM_ACTIVATE).size(), 1u);
    EXPECT_EQ(loWord(a.of(WM_ACTIVATE)[0].wParam), WA_CLICKACTIVE);
    ASSERT_EQ(b.of(WM_ACTIVATE).size(), 1u);
    EXPECT_EQ(loWord(b.of(WM_ACTIVATE)[0].wParam), WA_INACTIVE);
}

TEST_F(InputRoutingTest, ADisabledWindowGetsNoInput)
{
    RecordingProc& proc = this->proc(kMouse);
    NativeWindow* window = open(proc, Rect::fromSize(0, 0, 100, 100));
    window->setEnabled(false);
    hl::click(*display, 1, {50, 50});
    hl::pump(*display);
    EXPECT_TRUE(proc.log().empty());
}

}  // namespace
