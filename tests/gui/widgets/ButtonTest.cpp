#include "ToolkitTesting.h"
#include "gui/component/Box.h"
#include "gui/component/PrivateMessages.h"
#include "gui/widgets/Button.h"

#include <gtest/gtest.h>

namespace {

using namespace s::gui;
using namespace s::gui::win;
using s::gui::testing::EventLog;
using s::gui::testing::HeadlessDesk;
using s::platform::Point;
using s::platform::Rect;
namespace hl = s::platform::headless;

class ButtonTest : public HeadlessDesk {
protected:
    // A window with the button at the bottom-right of a full-size column.
    Button* placeButton(Button* button) { return place(button, Rect::fromSize(100, 100, 300, 200), 2, 2); }
    void press(const Button& b) { hl::pressButton(*display, 1, screenOf(b, 3, 3)); pump(); }
    void release(const Button& b) { hl::releaseButton(*display, 1, screenOf(b, 3, 3)); pump(); }
};

TEST_F(ButtonTest, APressAndAClickReachTheirListenersInOrder)
{
    Button* button = placeButton(makeButton("Save", 80, 20));
    EventLog events;
    button->addPressListener(&events);
    button->addClickListener(&events);
    button->addAfterClickListener(&events);
    press(*button);
    EXPECT_EQ(button->getMouseState(), 2);
    EXPECT_EQ(events.codes(), std::vector<int>{Button::kPressed});
    release(*button);
    EXPECT_EQ(events.codes(), (std::vector<int>{Button::kPressed, Button::kClicked, Button::kAfterClick}));
    EXPECT_EQ(button->getMouseState(), 1);

    // Released elsewhere: no click.
    events.clear();
    press(*button);
    hl::movePointer(*display, {10, 10});
    hl::releaseButton(*display, 1, {10, 10});
    pump();
    EXPECT_EQ(events.codes(), std::vector<int>{Button::kPressed});
    EXPECT_EQ(button->getMouseState(), 0);
}

TEST_F(ButtonTest, AOneWayToggleStaysPushedAndLetsHitsThrough)
{
    Button* button = placeButton(makeButton("On top", 80, 20));
    button->setToggle(true, false, false, false);
    EventLog clicks;
    button->addClickListener(&clicks);
    click(*button, 3, 3);
    EXPECT_TRUE(button->isPushed());
    EXPECT_EQ(button->hitTest({3, 3}), s::platform::HTTRANSPARENT);
    click(*button, 3, 3);
    EXPECT_TRUE(button->isPushed());
    EXPECT_EQ(clicks.codes().size(), 1u) << "the second click went to what lies beneath";
    button->setPushed(false);
    click(*button, 3, 3);
    EXPECT_EQ(clicks.codes().size(), 2u);
}

TEST_F(ButtonTest, ATwoWayToggleFlipsOnEveryClick)
{
    Button* button = placeButton(makeButton("Bold", 80, 20));
    button->setToggle(true, true, false, false);
    click(*button, 3, 3);
    EXPECT_TRUE(button->isPushed());
    click(*button, 3, 3);
    EXPECT_FALSE(button->isPushed());
    button->setEnabled(false);
    button->sendMessage(msg::kReflectedClick);
    EXPECT_FALSE(button->isPushed()) << "a disabled toggle does not toggle";
}

TEST_F(ButtonTest, AutoRepeatTicksAfterHalfASecondThenTenTimesASecond)
{
    Button* button = placeButton(makeButton("#Down", 18, 18));
    button->setAutoRepeat(true);
    EventLog presses;
    button->addPressListener(&presses);
    press(*button);
    EXPECT_EQ(presses.codes().size(), 1u);
    advance(499);
    EXPECT_EQ(presses.codes().size(), 1u);
    advance(1);
    EXPECT_EQ(presses.codes().size(), 2u);
    advance(100);
    EXPECT_EQ(presses.codes().size(), 3u);
    advance(300);
    EXPECT_EQ(presses.codes().size(), 6u);
    // Off the button the timer runs on but tells nobody; back on, it tells again.
    hl::movePointer(*display, {5, 5});
    pump();
    advance(300);
    EXPECT_EQ(presses.codes().size(), 6u);
    hl::movePointer(*display, screenOf(*button, 4, 4));
    pump();
    advance(100);
    EXPECT_EQ(presses.codes().size(), 7u);
    release(*button);
    advance(1000);
    EXPECT_EQ(presses.codes().size(), 7u);
}

TEST_F(ButtonTest, ADisabledButtonTakesNothing)
{
    Button* button = placeButton(makeButton("Clear", 80, 20));
    EventLog clicks;
    button->addClickListener(&clicks);
    button->setEnabledFlag(false);
    EXPECT_EQ(button->hitTest({1, 1}), s::platform::HTTRANSPARENT);
    click(*button, 3, 3);
    EXPECT_TRUE(clicks.codes().empty());
    button->setEnabled(true);
    click(*button, 3, 3);
    EXPECT_EQ(clicks.codes(), std::vector<int>{Button::kClicked});
}

TEST_F(ButtonTest, TheSizeGripResizesItsWindow)
{
    Button* grip = placeButton(makeButton("#Resizer", 12, 12));
    Window* window = grip->getWindow();
    EXPECT_EQ(grip->getX() + grip->getOriginX() + 12, window->getInnerWidth());
    hover(*grip, 6, 6);
    EXPECT_EQ(hl::cursorOf(*window->getNativeWindow()), s::platform::Cursor::SizeNWSE);

    const Point start = screenOf(*grip, 6, 6);
    hl::pressButton(*display, 1, start);
    hl::movePointer(*display, {start.x + 30, start.y + 10});
    hl::movePointer(*display, {start.x + 50, start.y + 30});
    hl::releaseButton(*display, 1, {start.x + 50, start.y + 30});
    pump();
    EXPECT_EQ(window->getNativeWindow()->bounds(), Rect::fromSize(100, 100, 350, 230));
    EXPECT_EQ(grip->getScreenX() + 12, 100 + 350 - 2) << "the grip followed the corner";

    // Not below the window's minimum size.
    const Point corner = screenOf(*grip, 6, 6);
    hl::pressButton(*display, 1, corner);
    hl::movePointer(*display, {corner.x - 1000, corner.y - 1000});
    hl::releaseButton(*display, 1, {corner.x - 1000, corner.y - 1000});
    pump();
    EXPECT_EQ(window->getWidth(), window->getMinWidth());
    EXPECT_EQ(window->getHeight(), window->getMinHeight());
    EXPECT_GE(window->getWidth(), 12);
}

TEST_F(ButtonTest, TheDefaultStyleComesAndGoesByMessage)
{
    Button* button = placeButton(makeButton("OK", 80, 20));
    button->setDefaultStyle(true);
    EXPECT_TRUE(button->isDefault());
    button->setDefaultStyle(false);
    EXPECT_FALSE(button->isDefault());
    button->sendMessage(msg::kSetDefaultStyle);
    EXPECT_TRUE(button->isDefault());
}

TEST_F(ButtonTest, SizeRules)
{
    s::thread::PooledPtr<Button> fixed(makeButton("A long caption", 40, 18));
    EXPECT_EQ(fixed->getMinWidth(), 40);
    EXPECT_EQ(fixed->getPreferredHeight(), 18);
    s::thread::PooledPtr<Button> measured(makeButtonById(2100000, -1, 18));
    measured->setText("Save Log...");
    EXPECT_GT(measured->getPreferredWidth(), 40) << "its text's extent";
    EXPECT_EQ(measured->getTextId(), 2100000);
    measured->setPercentWidth(50);
    EXPECT_EQ(measured->getFixedWidth(), -1);
}

}  // namespace
