#include "ToolkitTesting.h"
#include "gui/component/Box.h"
#include "gui/component/PrivateMessages.h"
#include "gui/skin/ThinWindow.h"
#include "gui/text/TextEngine.h"

#include <cairo.h>
#include <gtest/gtest.h>

namespace {

using namespace s::gui;
using namespace s::gui::win;
using s::gui::testing::EventLog;
using s::gui::testing::HeadlessDesk;
using s::gui::testing::Sized;
using s::platform::Point;
using s::platform::Rect;
namespace hl = s::platform::headless;

class WindowTest : public HeadlessDesk {};

TEST_F(WindowTest, ChildrenFillTheClientAreaAndTheStatusBarDocksBelowThem)
{
    Window* window = openWindow(Rect::fromSize(50, 60, 300, 200));
    window->setClientEdge(false);
    Box* root = makeBox(100, 100, 0, 0, -1, -1, 4, 4, layout::kVertical);
    Box* bar = s::thread::take<Box>();
    bar->setFixedHeight(16, false);
    bar->setPercentWidth(100, false);
    window->add(root);
    window->setStatusBar(bar);
    EXPECT_EQ(root->getWindow(), window);
    EXPECT_EQ(Rect::fromSize(root->getX(), root->getY(), root->getWidth(), root->getHeight()),
              Rect::fromSize(0, 0, 300, 200));
    EXPECT_EQ(root->getInnerWidth(), 292);
    EXPECT_EQ(Rect::fromSize(bar->getX(), bar->getY(), bar->getWidth(), bar->getHeight()),
              Rect::fromSize(0, 184, 300, 16));

    // A resize from the desktop lays everything out again.
    window->getNativeWindow()->setBounds(Rect::fromSize(50, 60, 420, 250));
    pump();
    EXPECT_EQ(window->getWidth(), 420);
    EXPECT_EQ(root->getWidth(), 420);
    EXPECT_EQ(bar->getY(), 234);
    EXPECT_EQ(bar->getScreenY(), 60 + 234);
}

TEST_F(WindowTest, TheClientEdgeInsetsAnUnskinnedWindow)
{
    Window* window = openWindow(Rect::fromSize(0, 0, 200, 100));
    Box* root = makeBox(100, 100, 0, 0, -1, -1, -1, -1, layout::kVertical);
    window->add(root);
    EXPECT_TRUE(window->hasClientEdge());
    EXPECT_EQ(root->getOriginX(), 2);
    EXPECT_EQ(root->getWidth(), 196);
    window->setClientEdge(false);
    EXPECT_EQ(root->getOriginX(), 0);
    EXPECT_EQ(root->getWidth(), 200);

    s::thread::PooledPtr<drawer::Skinner> skinner(drawer::skin::makeSkinner());
    skinner->selectSkin("White");
    window->setClientEdge(true);
    window->setSkinner(skinner.get());
    EXPECT_EQ(root->getOriginX(), 0) << "a skinned window draws its own frame instead";
    window->setResizable(false);
    EXPECT_FALSE(window->isResizable());
}

TEST_F(WindowTest, TheTitleFollowsTheLanguage)
{
    auto localizer = s::gui::testing::makeLocalizer({{"eng", "English", {{500000, "Ostrel"}, {500010, "1.11"}}},
                                                     {"deu", "German", {{500000, "Ostrel DE"}, {500010, "1.11a"}}}});
    Window* window = openWindow();
    EventLog languages;
    window->addLanguageListener(&languages);
    window->setTitleTextId(500000);
    window->bindLocalizer(localizer.get());
    EXPECT_EQ(window->getNativeWindow()->title(), "Ostrel");
    window->setVersionTextId(500010);
    EXPECT_EQ(window->getNativeWindow()->title(), "Ostrel v1.11");
    localizer->selectLanguageByName("German");
    EXPECT_EQ(window->getNativeWindow()->title(), "Ostrel DE v1.11a");
    EXPECT_EQ(languages.codes(), std::vector<int>{Window::kLanguageChanged});
    EXPECT_EQ(s::gui::text::userInterfaceLanguage(), "de");
    localizer->selectLanguageByName("English");
    EXPECT_EQ(s::gui::text::userInterfaceLanguage(), "en");
}

TEST_F(WindowTest, TransparentComponentsLetThePointerThroughAndOthersTakeIt)
{
    Window* window = openWindow(Rect::fromSize(0, 0, 300, 200));
    window->setClientEdge(false);
    Box* root = makeBox(100, 100, 0, 0, -1, -1, -1, -1, layout::kHorizontal);
    Box* clickable = s::thread::take<Box>();
    clickable->setFixedWidth(100, false);
    clickable->setPercentHeight(100, false);
    auto* taker = new Sized(50, 50, 50, 50);
    taker->opaque = true;
    auto* passer = new Sized(50, 50, 50, 50);
    EventLog clicks;
    clickable->addClickListener(&clicks);
    root->add(clickable);
    root->add(taker);
    root->add(passer);
    window->add(root);

    const Point origin{window->getX(), window->getY()};
    const auto hitAt = [&](int x, int y) {
        return window->getNativeWindow()->send(s::platform::WM_NCHITTEST, 0, s::platform::makeLParam(origin.x + x, origin.y + y));
    };
    EXPECT_EQ(hitAt(120, 20), s::platform::HTCLIENT);
    EXPECT_EQ(window->router().lastHit(), taker);
    EXPECT_EQ(hitAt(170, 20), s::platform::HTCLIENT);
    EXPECT_EQ(window->router().lastHit(), nullptr) << "nothing takes it: the window itself";
    window->setEasyDrag(true);
    EXPECT_EQ(hitAt(170, 20), s::platform::HTCAPTION);
    EXPECT_EQ(hitAt(250, 150), s::platform::HTCAPTION) << "the root box is transparent too";

    click(*clickable, 10, 10);
    EXPECT_EQ(clicks.codes(), std::vector<int>{Box::kClicked});
    click(*taker, 5, 5);
    EXPECT_NE(std::find(taker->messages.begin(), taker->messages.end(), s::platform::WM_LBUTTONDOWN), taker->messages.end());
    EXPECT_NE(std::find(taker->messages.begin(), taker->messages.end(), s::platform::WM_LBUTTONUP), taker->messages.end());

    taker->setEnabled(false);
    EXPECT_EQ(hitAt(120, 20), s::platform::HTCAPTION) << "a disabled component takes nothing";
}

TEST_F(WindowTest, TheWheelGoesToTheContainerUnderThePointer)
{
    Window* window = openWindow(Rect::fromSize(0, 0, 300, 200));
    Box* root = makeBox(100, 100, 0, 0, -1, -1, -1, -1, layout::kHorizontal);
    Box* left = makeBox(50, 100, 0, 0, -1, -1, -1, -1, layout::kVertical);
    Box* right = makeBox(50, 100, 0, 0, -1, -1, -1, -1, layout::kVertical);
    EventLog wheel;
    right->addWheelListener(&wheel);
    root->add(left);
    root->add(right);
    window->add(root);

    hl::turnWheel(*display, 1, {right->getScreenX() + 10, right->getScreenY() + 10});
    hl::turnWheel(*display, -1, {right->getScreenX() + 10, right->getScreenY() + 10});
    hl::turnWheel(*display, 1, {left->getScreenX() + 10, left->getScreenY() + 10});
    pump();
    EXPECT_EQ(wheel.codes(), (std::vector<int>{Box::kWheelTurned, Box::kWheelTurned})) << "the left box has no listener";
    EXPECT_EQ(right->getWheelLines(), -3);
}

TEST_F(WindowTest, BoxesPaintFillDrawerAndHoverInOrder)
{
    Window* window = openWindow(Rect::fromSize(0, 0, 200, 100));
    window->setClientEdge(false);
    window->setBackgroundColor(10, 20, 30, false);
    Box* root = makeBox(100, 100, 0, 0, -1, -1, -1, -1, layout::kHorizontal);
    Box* transparent = makeBox(-1, 100, 0, 0, -1, -1, -1, -1, layout::kVertical);
    transparent->setFixedWidth(50, false);
    Box* coloured = makeBox(-1, 100, 0, 0, -1, -1, -1, -1, layout::kVertical);
    coloured->setFixedWidth(50, false);
    coloured->setBackgroundColor(200, 0, 0, false);
    coloured->setHoverColor(0, 200, 0);
    coloured->setHitTransparent(false);
    root->add(transparent);
    root->add(coloured);
    window->add(root);
    pump();
    EXPECT_EQ(pixel(*window, 25, 50), 0x0A141Eu) << "a transparent box shows its parent";
    EXPECT_EQ(pixel(*window, 75, 50), 0xC80000u);

    hover(*coloured, 10, 10);
    EXPECT_TRUE(coloured->isHovering());
    EXPECT_EQ(pixel(*window, 75, 50), 0x00C800u);
    hover(*transparent, 10, 10);
    EXPECT_FALSE(coloured->isHovering());
    EXPECT_EQ(pixel(*window, 75, 50), 0xC80000u);

    // A painting listener draws first and may leave the box's own fill out.
    struct Painter final : s::gui::events::IEventListener {
        Box* box = nullptr;
        int onEvent(s::base::IObject*, int) override
        {
            cairo_t* cr = box->getPaintDC();
            cairo_set_source_rgb(cr, 0, 0, 1);
            cairo_paint(cr);
            box->suppressDefaultPaint();
            return 0;
        }
    } painter;
    painter.box = coloured;
    coloured->addPaintListener(&painter);
    coloured->redraw();
    pump();
    EXPECT_EQ(pixel(*window, 75, 50), 0x0000FFu);
}

TEST_F(WindowTest, WindowsOfBadSizesStaySane)
{
    Window* huge = openWindow(Rect::fromSize(-200, -200, 5000, 4000));
    EXPECT_EQ(huge->getNativeWindow()->bounds().width(), 5000) << "larger than the screen is allowed";
    Box* root = makeBox(100, 100, 0, 0, -1, -1, -1, -1, layout::kVertical);
    huge->add(root);
    pump();
    EXPECT_EQ(root->getHeight(), 3996);
    huge->setSize(1'000'000, 1'000'000);
    EXPECT_EQ(huge->getNativeWindow()->bounds().width(), Window::kMaxSide);
    EXPECT_EQ(root->getWidth(), Window::kMaxSide - 4);
    huge->setSize(800, 600);
    pump();

    Window* empty = openWindow(Rect::fromSize(0, 0, 100, 100));
    empty->add(makeBox(100, 100, 0, 0, -1, -1, -1, -1, layout::kVertical));
    empty->setSize(0, 0);
    pump();
    empty->setSize(-50, -50);
    pump();
    EXPECT_EQ(empty->getWidth(), 0);
    EXPECT_EQ(empty->getInnerWidth(), 0);
}

TEST_F(WindowTest, ComponentsLeaveTheirWindowWithItsFrame)
{
    Window* window = openWindow();
    Box* root = makeBox(100, 100, 0, 0, -1, -1, -1, -1, layout::kVertical);
    auto* child = new Sized(10, 10, 10, 10);
    root->add(child);
    window->add(root);
    EXPECT_TRUE(window->router().isEnrolled(child));
    window->getNativeWindow()->send(msg::kDefaultClose);
    EXPECT_EQ(window->getNativeWindow(), nullptr);
    EXPECT_EQ(child->getWindow(), nullptr);
    EXPECT_FALSE(child->isVisible());
    EXPECT_EQ(root->getParent(), window) << "children stay where they were";
}

TEST_F(WindowTest, ASkinChosenOnAnotherThreadIsTakenOnTheWindowsThread)
{
    s::thread::PooledPtr<drawer::Skinner> skinner(drawer::skin::makeSkinner());
    skinner->selectSkin("Black Black II");
    Window* window = s::thread::take<Window>();
    window->setBounds(0, 0, 200, 100);
    window->setSkinner(skinner.get());
    ASSERT_TRUE(window->create(&system));
    window->show(s::platform::SW_SHOW);
    skinner->selectSkin("Ivory");
    Colour background = 0;
    window->runOnThread([&] { background = window->getWindowDrawer()->getBackgroundColour(); });
    EXPECT_EQ(background, fromRgbHex(0xF2F0E6));
    window->recycle();
}

}  // namespace
