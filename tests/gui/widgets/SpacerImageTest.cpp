#include "ToolkitTesting.h"
#include "gui/component/Box.h"
#include "gui/widgets/Image.h"
#include "gui/widgets/Spacer.h"
#include "image/Image.h"

#include <gtest/gtest.h>

namespace {

using namespace s::gui;
using namespace s::gui::win;
using s::gui::testing::HeadlessDesk;
using s::platform::Rect;

struct SpacerCase {
    int orientation;
    int size;
    int parentKind;
    int minWidth;
    int minHeight;
};

class SpacerTest : public ::testing::TestWithParam<SpacerCase> {};

TEST_P(SpacerTest, TakesNoRoomAcrossItsParentsDirection)
{
    const SpacerCase& c = GetParam();
    s::thread::PooledPtr<Box> box(makeBox(-1, -1, 0, 0, -1, -1, -1, -1, c.parentKind));
    Spacer* spacer = makeSpacer(c.orientation, c.size);
    box->add(spacer);
    EXPECT_EQ(spacer->getMinWidth(), c.minWidth);
    EXPECT_EQ(spacer->getPreferredWidth(), c.minWidth);
    EXPECT_EQ(spacer->getMinHeight(), c.minHeight);
    EXPECT_EQ(spacer->getPreferredHeight(), c.minHeight);
}

INSTANTIATE_TEST_SUITE_P(Orientations, SpacerTest,
                         ::testing::Values(SpacerCase{0, 7, layout::kVertical, 7, 0},
                                           SpacerCase{0, 7, layout::kHorizontal, 7, 1},
                                           SpacerCase{1, 2, layout::kHorizontal, 0, 2},
                                           SpacerCase{1, 2, layout::kVertical, 1, 2},
                                           SpacerCase{1, 2, layout::kFlow, 1, 2}));

TEST(SpacerRulesTest, SwitchingOrientationExchangesTheRules)
{
    s::thread::PooledPtr<Spacer> spacer(makeSpacerPercent(40));
    EXPECT_EQ(spacer->getPercentWidth(), 40);
    EXPECT_EQ(spacer->getFixedHeight(), 1);
    spacer->setVertical();
    EXPECT_EQ(spacer->getPercentHeight(), 40);
    EXPECT_EQ(spacer->getFixedWidth(), 1);
    EXPECT_EQ(spacer->hitTest({0, 0}), s::platform::HTTRANSPARENT);
}

class ImageTest : public HeadlessDesk {};

TEST_F(ImageTest, ShowsItsPictureAtItsSize)
{
    s::image::Image picture;
    ASSERT_TRUE(picture.allocate(2, 2));
    for (int i = 0; i < 4; ++i)
        picture.getPixels()[i] = 0xFF20C040u;
    Window* window = openWindow(Rect::fromSize(0, 0, 100, 60));
    Box* root = makeBox(100, 100, 0, 0, -1, -1, -1, -1, layout::kVertical);
    Image* image = makeImage(&picture);
    root->add(image);
    window->add(root);
    pump();
    EXPECT_EQ(image->getWidth(), 16);
    EXPECT_EQ(pixelOf(*image, 8, 8), 0x20C040u);
    EXPECT_EQ(pixelOf(*image, 15, 15), 0x20C040u);
    image->setPicture(nullptr, false);
}

}  // namespace
