#include "RecordingProc.h"
#include "platform/headless/HeadlessWindowSystem.h"

#include <gtest/gtest.h>

namespace {

using namespace s::platform;
using s::platform::testing::RecordingProc;

class TimersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        display = system.openDisplay(nullptr);
        window = display->createWindow({}, &proc);
    }
    std::vector<std::pair<std::int64_t, WParam>> fired() const
    {
        std::vector<std::pair<std::int64_t, WParam>> times;
        for (const auto& r : proc.of(WM_TIMER))
            times.emplace_back(r.time, r.wParam);
        return times;
    }

    headless::HeadlessWindowSystem system;
    RecordingProc proc{{WM_TIMER}};
    std::unique_ptr<Display> display;
    NativeWindow* window = nullptr;
};

using Fired = std::vector<std::pair<std::int64_t, WParam>>;

TEST_F(TimersTest, FiresAtItsPeriodUntilKilled)
{
    ASSERT_TRUE(window->setTimer(1, 100));
    headless::advance(*display, 350);
    EXPECT_EQ(fired(), (Fired{{100, 1}, {200, 1}, {300, 1}}));

    EXPECT_TRUE(window->killTimer(1));
    EXPECT_FALSE(window->killTimer(1));
    headless::advance(*display, 500);
    EXPECT_EQ(fired().size(), 3u);
}

TEST_F(TimersTest, IdsAreKeptApartAndSettingAnIdAgainRestartsIt)
{
    window->setTimer(1, 100);
    window->setTimer(2, 30);
    headless::advance(*display, 70);  // t = 70
    window->setTimer(1, 50);          // restarted: next at 120, then 170
    headless::advance(*display, 110);  // t = 180
    EXPECT_EQ(fired(), (Fired{{30, 2}, {60, 2}, {90, 2}, {120, 1}, {120, 2}, {150, 2}, {170, 1}, {180, 2}}));
}

TEST_F(TimersTest, PeriodsBelowTheMinimumRunAtTenMilliseconds)
{
    window->setTimer(5, 0);
    headless::advance(*display, 30);
    EXPECT_EQ(fired(), (Fired{{10, 5}, {20, 5}, {30, 5}}));
}

TEST_F(TimersTest, ABusyThreadGetsOneMessageForMissedExpirations)
{
    window->setTimer(1, 100);
    system.advanceClock(450);  // nobody served the loop meanwhile
    headless::pump(*display);
    headless::advance(*display, 100);
    EXPECT_EQ(fired(), (Fired{{450, 1}, {550, 1}}));
}

TEST_F(TimersTest, DestroyingTheWindowStopsItsTimers)
{
    window->setTimer(1, 10);
    window->destroy();
    headless::advance(*display, 100);
    EXPECT_TRUE(fired().empty());
}

}  // namespace
