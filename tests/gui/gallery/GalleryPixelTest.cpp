#include "Gallery.h"
#include "ToolkitTesting.h"
#include "gui/skin/SkinColours.h"
#include "gui/skin/ThinWindow.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace s::gui;
using namespace s::gui::win;
using s::gui::drawer::skin::SkinColours;
using s::gui::drawer::skin::skinTable;
using s::gui::gallery::Gallery;
using s::gui::testing::HeadlessDesk;

const SkinColours& colours(std::string_view name)
{
    for (const SkinColours& c : skinTable()) {
        if (c.name == name)
            return c;
    }
    return skinTable()[0];
}

class GalleryPixelTest : public HeadlessDesk, public ::testing::WithParamInterface<const char*> {
protected:
    void open(const char* skinName)
    {
        skinner.reset(drawer::skin::makeSkinner());
        skinner->selectSkin(skinName);
        window = s::thread::take<Window>();
        window->setBounds(20, 20, 720, 440);
        window->setSkinner(skinner.get());
        ASSERT_TRUE(window->createIn(*display));
        gallery = std::make_unique<Gallery>(*skinner);
        gallery->buildInto(*window);
        window->show(s::platform::SW_SHOW);
        pump();
    }
    void TearDown() override
    {
        if (window != nullptr)
            window->recycle();
        gallery.reset();
        skinner.reset();
        HeadlessDesk::TearDown();
    }

    // Each role's colour of the skin where it belongs.
    void expectRoles(const SkinColours& c)
    {
        SCOPED_TRACE(std::string(c.name));
        const std::uint32_t background = c.rrggbb[0];
        const std::uint32_t frame = c.rrggbb[1];
        const std::uint32_t disabled = c.rrggbb[2];
        const std::uint32_t accent = c.rrggbb[3];
        const std::uint32_t text = c.rrggbb[5];
        const std::uint32_t pushedFill = c.rrggbb[8];
        EXPECT_EQ(pixel(*window, 0, 200), frame);
        EXPECT_EQ(pixel(*window, 719, 200), frame);
        EXPECT_EQ(pixel(*window, 360, 0), frame);
        EXPECT_EQ(pixel(*window, 360, 439), frame);
        EXPECT_EQ(pixel(*window, 4, 200), background);
        EXPECT_EQ(pixel(*window, 715, 300), background);
        EXPECT_GT(countOf(*gallery->plain, fromRgbHex(text)), 30) << "label text";
        EXPECT_EQ(pixelOf(*gallery->push, 0, 12), accent) << "button frame";
        EXPECT_EQ(pixelOf(*gallery->push, 40, 23), accent);
        EXPECT_EQ(pixelOf(*gallery->pushed, 2, 2), pushedFill) << "pushed fill";
        EXPECT_EQ(pixelOf(*gallery->pushed, 77, 21), pushedFill);
        EXPECT_GT(countOf(*gallery->check, fromRgbHex(accent)), 20) << "check box frame";
        EXPECT_GT(countOf(*gallery->check, fromRgbHex(text), 24), 10) << "check box caption";
        EXPECT_GT(countOf(*gallery->bound, fromRgbHex(disabled)), 20) << "disabled check box";
        EXPECT_GT(countOf(*gallery->grip, fromRgbHex(accent)), 8) << "size grip glyph";
        EXPECT_EQ(pixelOf(*gallery->grip, 1, 1), background) << "the flat grip shows the window";
    }

    s::thread::PooledPtr<drawer::Skinner> skinner;
    std::unique_ptr<Gallery> gallery;
    Window* window = nullptr;
};

TEST_P(GalleryPixelTest, EveryRolesColourIsWhereItBelongs)
{
    open(GetParam());
    expectRoles(colours(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Skins, GalleryPixelTest, ::testing::Values("Black Black II", "Ivory", "Classic LG", "Pink"),
                         [](const auto& test) {
                             std::string name;
                             for (char ch : std::string(test.param))
                                 if (ch != ' ')
                                     name += ch;
                             return name;
                         });

class GallerySkinSwitchTest : public GalleryPixelTest {};

TEST_F(GallerySkinSwitchTest, SwitchingTheSkinRepaintsTheSameComponents)
{
    open("Black Black II");
    expectRoles(colours("Black Black II"));
    const s::platform::WindowId frame = window->getWindowId();
    Label* plain = gallery->plain;
    Button* push = gallery->push;
    const int rootChildren = window->getChild(0)->getChildCount();

    skinner->selectSkin("Ivory");
    pump();
    expectRoles(colours("Ivory"));
    EXPECT_EQ(window->getWindowId(), frame) << "no new frame";
    EXPECT_EQ(gallery->plain, plain);
    EXPECT_EQ(gallery->push, push);
    EXPECT_EQ(window->getChild(0)->getChildCount(), rootChildren);
    EXPECT_EQ(plain->getText(), "Plain text");

    click(*gallery->nextSkin, 10, 10);
    EXPECT_EQ(skinner->getCurrentSkin()->getName(), "Black");
    EXPECT_EQ(gallery->skinName->getText(), "Black");
    expectRoles(colours("Black"));
}

TEST_F(GallerySkinSwitchTest, ClicksOnTheGalleryReachItsListeners)
{
    open("Black Black II");
    click(*gallery->check, 4, 4);
    EXPECT_TRUE(gallery->bound->isEnabled()) << "bound to the check box";
    click(*gallery->toggle, 10, 10);
    click(*gallery->pushed, 10, 10);
    click(*gallery->link, 4, 4);
    EXPECT_EQ(gallery->events(),
              (std::vector<std::string>{"check:1", "toggle:1", "toggle:2", "link:1"}))
        << "the pushed one-way toggle lets the click through";
    EXPECT_TRUE(gallery->toggle->isPushed());
}

}  // namespace
