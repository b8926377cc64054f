#include "Gallery.h"
#include "ScreenCapture.h"
#include "gui/skin/SkinColours.h"
#include "gui/skin/ThinWindow.h"
#include "platform/x11/X11WindowSystem.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using namespace s::gui;
using namespace s::gui::win;
using s::gui::gallery::Gallery;
using s::testing::Image;

class GalleryE2ETest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(OSTREL_SCREENSHOTS_DIR);
        skinner.reset(drawer::skin::makeSkinner());
        skinner->selectSkin("Black Black II");
        window = s::thread::take<Window>();
        window->setBounds(40, 40, 720, 440);
        window->setTitle("Ostrel toolkit gallery");
        window->setSkinner(skinner.get());
        ASSERT_TRUE(window->create(&s::platform::x11::windowSystem()));
        gallery = std::make_unique<Gallery>(*skinner);
        gallery->buildInto(*window);
        window->show(s::platform::SW_SHOW);
        settle();
    }
    void TearDown() override
    {
        if (window != nullptr)
            window->recycle();
        gallery.reset();
        skinner.reset();
    }

    // Lets the server and the window's thread catch up.
    static void settle() { s::testing::runCommand("xdotool sleep 0.3"); }

    // The screen centre of a component, read on the window's thread.
    std::pair<int, int> centreOf(const Component& c)
    {
        std::pair<int, int> centre;
        window->runOnThread([&] { centre = {c.getScreenX() + c.getWidth() / 2, c.getScreenY() + c.getHeight() / 2}; });
        return centre;
    }
    void clickAt(const Component& c)
    {
        const auto [x, y] = centreOf(c);
        std::string output;
        EXPECT_EQ(s::testing::runCommand("xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y) +
                                             " click 1 mousemove --sync 5 5",
                                         &output),
                  0)
            << output;
    }
    bool waitForEvents(std::size_t count)
    {
        for (int i = 0; i < 300; ++i) {
            if (gallery->events().size() >= count)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    Image shoot(const std::string& file)
    {
        Image shot;
        std::string error;
        unsigned long handle = 0;
        window->runOnThread([&] { handle = s::platform::x11::nativeHandle(*window->getNativeWindow()); });
        EXPECT_TRUE(s::testing::captureWindow(handle, &shot, &error)) << error;
        EXPECT_TRUE(s::testing::writePng(shot, std::string(OSTREL_SCREENSHOTS_DIR) + "/" + file));
        return shot;
    }
    std::uint32_t colourAt(const Image& shot, const Component& c, int x, int y)
    {
        s::platform::Rect r;
        window->runOnThread([&] { r = c.windowRect(); });
        return shot.at(r.left + x, r.top + y);
    }

    s::thread::PooledPtr<drawer::Skinner> skinner;
    std::unique_ptr<Gallery> gallery;
    Window* window = nullptr;
};

TEST_F(GalleryE2ETest, ClicksArriveAndTheSkinSwitches)
{
    const Image before = shoot("gallery-black-black-ii.png");
    ASSERT_EQ(before.width, 720);
    EXPECT_EQ(before.at(0, 200), 0x333333u) << "frame";
    EXPECT_EQ(before.at(4, 200), 0x000000u) << "background";
    EXPECT_EQ(colourAt(before, *gallery->push, 0, 12), 0xB0B0B0u) << "button frame";
    EXPECT_EQ(colourAt(before, *gallery->pushed, 2, 2), 0xCCCCCCu) << "pushed fill";

    clickAt(*gallery->check);
    ASSERT_TRUE(waitForEvents(1));
    clickAt(*gallery->toggle);
    ASSERT_TRUE(waitForEvents(3));
    EXPECT_EQ(gallery->events(), (std::vector<std::string>{"check:1", "toggle:1", "toggle:2"}));
    bool checked = false;
    bool pushed = false;
    bool boundEnabled = false;
    window->runOnThread([&] {
        checked = gallery->check->isChecked();
        pushed = gallery->toggle->isPushed();
        boundEnabled = gallery->bound->isEnabled();
    });
    EXPECT_TRUE(checked);
    EXPECT_TRUE(pushed);
    EXPECT_TRUE(boundEnabled);
    settle();
    const Image clicked = shoot("gallery-clicked.png");
    EXPECT_EQ(colourAt(clicked, *gallery->toggle, 2, 2), 0xCCCCCCu) << "the toggle shows pushed";

    // "Next skin" goes from Black Black II to Classic LG.
    clickAt(*gallery->nextSkin);
    for (int i = 0; i < 300; ++i) {
        std::string name;
        window->runOnThread([&] { name = skinner->getCurrentSkin()->getName(); });
        if (name == "Classic LG")
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    settle();
    const Image after = shoot("gallery-classic-lg.png");
    EXPECT_EQ(after.at(0, 200), 0x111111u) << "frame";
    EXPECT_EQ(after.at(4, 200), 0x747474u) << "background";
    EXPECT_EQ(colourAt(after, *gallery->push, 0, 12), 0x111111u) << "button frame";
    EXPECT_EQ(colourAt(after, *gallery->pushed, 2, 2), 0x191919u) << "pushed fill";
}

}  // namespace
