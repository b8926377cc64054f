#include "ToolkitTesting.h"
#include "gui/component/Box.h"
#include "gui/component/LayoutManagers.h"

#include <gtest/gtest.h>

namespace {

using namespace s::gui;
using namespace s::gui::win;
using s::gui::testing::EventLog;
using s::gui::testing::Sized;
using s::platform::Rect;

struct Child {
    int minWidth;
    int minHeight;
    int prefWidth;
    int prefHeight;
    bool hidden = false;
};

struct LayoutCase {
    const char* name;
    int kind;
    int hAlign;
    int vAlign;
    int hSpacing;
    int vSpacing;
    int width;
    int height;
    std::vector<Child> children;
    std::vector<Rect> placed;  // each child's (x, y, width, height)
    layout::ContentSizes reported;
};

class BoxLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(BoxLayoutTest, PlacesChildrenAndReportsContentSizes)
{
    const LayoutCase& c = GetParam();
    s::thread::PooledPtr<Box> box(s::thread::take<Box>());
    box->setLayoutKind(c.kind);
    if (c.hAlign == layout::kCentre)
        box->setHAlignCenter();
    else if (c.hAlign == layout::kRight)
        box->setHAlignRight();
    if (c.vAlign == layout::kMiddle)
        box->setVAlignMiddle();
    else if (c.vAlign == layout::kBottom)
        box->setVAlignBottom();
    box->setHSpacing(c.hSpacing);
    box->setVSpacing(c.vSpacing);
    std::vector<Sized*> children;
    for (const Child& child : c.children) {
        children.push_back(new Sized(child.minWidth, child.minHeight, child.prefWidth, child.prefHeight));
        box->add(children.back());
        if (child.hidden)
            children.back()->setVisible(false, false);
    }
    box->setSize(c.width, c.height);
    box->doLayout();

    ASSERT_EQ(children.size(), c.placed.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Rect got = Rect::fromSize(children[i]->getX(), children[i]->getY(), children[i]->getWidth(),
                                        children[i]->getHeight());
        EXPECT_EQ(got, c.placed[i]) << "child " << i << " at " << got.left << "," << got.top << " " << got.width()
                                    << "x" << got.height();
    }
    const layout::ContentSizes got{box->getContentMinWidth(), box->getContentMinHeight(), box->getContentPrefWidth(),
                                   box->getContentPrefHeight()};
    EXPECT_EQ(got, c.reported) << got.minWidth << " " << got.minHeight << " " << got.prefWidth << " " << got.prefHeight;
}

const LayoutCase kCases[] = {
    {"ZeroWidthChildTakesNoSpacing", layout::kHorizontal, 0, 0, 5, 0, 0, 0,
     {{10, 5, 10, 5}, {0, 5, 0, 5}, {10, 5, 10, 5}},
     {Rect::fromSize(0, 0, 10, 5), Rect::fromSize(15, 0, 0, 5), Rect::fromSize(15, 0, 10, 5)},
     {25, 5, 25, 5}},
    {"PreferredBelowMinimumGivesMinimum", layout::kHorizontal, 0, 0, 0, 0, 100, 20,
     {{30, 10, 10, 10}},
     {Rect::fromSize(0, 0, 30, 10)},
     {30, 10, 30, 10}},
    {"ShareOfExtraIsTruncatedAndTheRestGoesInOrder", layout::kHorizontal, 0, 0, 0, 0, 60, 10,
     {{10, 10, 50, 10}, {10, 10, 30, 10}},
     {Rect::fromSize(0, 0, 37, 10), Rect::fromSize(37, 0, 23, 10)},
     {20, 10, 80, 10}},
    {"CentreAndMiddleOffsets", layout::kHorizontal, 1, 1, 10, 0, 100, 40,
     {{20, 10, 20, 10}, {30, 20, 30, 20}},
     {Rect::fromSize(20, 15, 20, 10), Rect::fromSize(50, 10, 30, 20)},
     {60, 20, 60, 20}},
    {"VerticalSingleRatio", layout::kVertical, 0, 0, 0, 0, 50, 80,
     {{10, 20, 10, 60}, {10, 20, 10, 40}},
     {Rect::fromSize(0, 0, 10, 47), Rect::fromSize(0, 47, 10, 33)},
     {10, 40, 10, 100}},
    {"VerticalRoomForAllPreferences", layout::kVertical, 0, 0, 0, 0, 50, 100,
     {{10, 20, 10, 60}, {10, 20, 10, 40}},
     {Rect::fromSize(0, 0, 10, 60), Rect::fromSize(0, 60, 10, 40)},
     {10, 40, 10, 100}},
    {"VerticalBottomPlacesTheColumn", layout::kVertical, 2, 2, 0, 4, 50, 100,
     {{10, 20, 10, 20}, {20, 10, 20, 10}},
     {Rect::fromSize(40, 66, 10, 20), Rect::fromSize(30, 90, 20, 10)},
     {20, 34, 20, 34}},
    {"FlowRightAlignsEveryLine", layout::kFlow, 2, 0, 5, 0, 100, 20,
     {{40, 10, 40, 10}, {40, 10, 40, 10}, {40, 10, 40, 10}},
     {Rect::fromSize(15, 0, 40, 10), Rect::fromSize(60, 0, 40, 10), Rect::fromSize(60, 10, 40, 10)},
     {40, 20, 130, 20}},
    {"HiddenChildOfFlowTakesNoSpacing", layout::kFlow, 0, 0, 10, 0, 200, 10,
     {{20, 10, 20, 10}, {20, 10, 20, 10, true}, {20, 10, 20, 10}},
     {Rect::fromSize(0, 0, 20, 10), Rect::fromSize(20, 0, 20, 10), Rect::fromSize(50, 0, 20, 10)},
     {20, 10, 70, 10}},
    {"FlowGrowsLowLinesTowardsTheirPreference", layout::kFlow, 0, 0, 0, 0, 50, 30,
     {{40, 10, 40, 30}, {40, 10, 40, 10}},
     {Rect::fromSize(0, 0, 40, 20), Rect::fromSize(0, 20, 40, 10)},
     {40, 20, 80, 40}},
    {"PileBottomAlignsEveryChild", layout::kPile, 0, 2, 0, 0, 100, 50,
     {{20, 10, 20, 10}, {30, 20, 30, 20}},
     {Rect::fromSize(0, 40, 20, 10), Rect::fromSize(0, 30, 30, 20)},
     {30, 20, 30, 20}},
    {"PileLeavesHiddenChildrenOut", layout::kPile, 1, 1, 0, 0, 10, 10,
     {{20, 20, 20, 20}, {80, 80, 80, 80, true}},
     {Rect::fromSize(0, 0, 20, 20), Rect::fromSize(Component::kHiddenX, 0, 0, 0)},
     {20, 20, 20, 20}},
};

INSTANTIATE_TEST_SUITE_P(Kinds, BoxLayoutTest, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(BoxSizeTest, AnEmptyBoxReportsNothingButItsMargins)
{
    s::thread::PooledPtr<Box> box(s::thread::take<Box>());
    box->setMargins(4);
    box->doLayout();
    EXPECT_EQ(box->getContentMinWidth(), 0);
    EXPECT_EQ(box->getContentPrefHeight(), 0);
    EXPECT_EQ(box->getMinWidth(), 8);
    EXPECT_EQ(box->getMinHeight(), 8);
    box->setSize(30, 20);
    EXPECT_EQ(box->getInnerWidth(), 22);
    EXPECT_EQ(box->getInnerHeight(), 12);
    box->setSize(5, 5);
    EXPECT_EQ(box->getInnerWidth(), 0) << "never below 0";
}

TEST(BoxSizeTest, APercentageRoundsForABoxAndTruncatesForALeaf)
{
    s::thread::PooledPtr<Box> parent(s::thread::take<Box>());
    parent->setSize(101, 101);
    Box* box = s::thread::take<Box>();
    box->setPercentWidth(50, false);
    auto* leaf = new Sized();
    leaf->setPercent(50, 50);
    parent->add(box);
    parent->add(leaf);
    EXPECT_EQ(box->getPreferredWidth(), 51);
    EXPECT_EQ(leaf->getPreferredWidth(), 50);
    EXPECT_EQ(leaf->getPreferredHeight(), 50);
}

TEST(BoxSizeTest, AFixedSizeAndAPercentageReplaceEachOther)
{
    s::thread::PooledPtr<Box> box(s::thread::take<Box>());
    box->setPercentWidth(50, false);
    box->setFixedWidth(20, false);
    EXPECT_EQ(box->getPercentWidth(), -1);
    EXPECT_EQ(box->getFixedWidth(), 20);
    box->setPercentWidth(30, false);
    EXPECT_EQ(box->getFixedWidth(), -1);
    EXPECT_EQ(box->getPercentWidth(), 30);
    box->setFixedHeight(7, false);
    box->setPercentHeight(60, false);
    EXPECT_EQ(box->getFixedHeight(), -1);
    EXPECT_EQ(box->getPercentHeight(), 60);
}

TEST(BoxSizeTest, MinimumRulesOfABox)
{
    s::thread::PooledPtr<Box> box(s::thread::take<Box>());
    box->setHorizontal();
    box->setHMargins(3);
    box->add(new Sized(10, 10, 40, 10));
    box->doLayout();
    EXPECT_EQ(box->getMinWidth(), 16);
    EXPECT_EQ(box->getPreferredWidth(), 46);
    box->setMinWidthFloor(30);
    EXPECT_EQ(box->getMinWidth(), 30);
    box->setNoMinWidth(true);
    EXPECT_EQ(box->getMinWidth(), 0);
    box->setNoMinHeight(true);
    EXPECT_EQ(box->getMinHeight(), 0);
    box->setFixedWidth(12, false);
    EXPECT_EQ(box->getPreferredWidth(), 12);
}

struct WithinCase {
    int offered;
    int minimum;
    int preferred;
    int expected;
};

class ResizeWithinTest : public ::testing::TestWithParam<WithinCase> {};

TEST_P(ResizeWithinTest, TakesTheOfferBetweenMinimumAndPreference)
{
    const WithinCase& c = GetParam();
    Sized leaf(c.minimum, c.minimum, c.preferred, c.preferred);
    leaf.resizeWithin(c.offered, c.offered);
    EXPECT_EQ(leaf.getWidth(), c.expected);
    EXPECT_EQ(leaf.getHeight(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, ResizeWithinTest,
                         ::testing::Values(WithinCase{100, 10, 50, 50}, WithinCase{30, 10, 50, 30},
                                           WithinCase{5, 10, 50, 10}, WithinCase{100, 40, 20, 40},
                                           WithinCase{-20, 0, 50, 0}));

TEST(BoxFactoryTest, MakeBoxAppliesOnlyWhatItIsGiven)
{
    s::thread::PooledPtr<Box> plain(makeBox(-1, -1, 0, 0, 0, 0, 0, 0, 7));
    EXPECT_EQ(plain->getLayoutKind(), layout::kVertical);
    EXPECT_EQ(plain->getPercentWidth(), -1);
    EXPECT_EQ(plain->getHSpacing(), 0);
    EXPECT_EQ(plain->getMarginLeft(), 0);

    s::thread::PooledPtr<Box> full(makeBox(100, 0, 1, 5, 10, 3, 12, 6, 2));
    EXPECT_EQ(full->getLayoutKind(), layout::kFlow);
    EXPECT_EQ(full->getPercentWidth(), 100);
    EXPECT_EQ(full->getPercentHeight(), 0);
    EXPECT_EQ(full->getHAlign(), layout::kCentre);
    EXPECT_EQ(full->getVAlign(), layout::kBottom);
    EXPECT_EQ(full->getHSpacing(), 10);
    EXPECT_EQ(full->getVSpacing(), 3);
    EXPECT_EQ(full->getMarginLeft(), 12);
    EXPECT_EQ(full->getMarginRight(), 12);
    EXPECT_EQ(full->getMarginTop(), 6);
    EXPECT_EQ(full->getMarginBottom(), 6);

    s::thread::PooledPtr<Box> row(makeRowBox(100, 65));
    EXPECT_EQ(row->getLayoutKind(), layout::kHorizontal);
    EXPECT_EQ(row->getHAlign(), layout::kRight);
    EXPECT_EQ(row->getVAlign(), layout::kBottom);
    EXPECT_EQ(row->getFixedWidth(), 65);
    EXPECT_EQ(row->getPercentHeight(), 100);
}

TEST(BoxLayoutRulesTest, EveryChildMovesOnceALayout)
{
    s::thread::PooledPtr<Box> parent(s::thread::take<Box>());
    parent->setVertical();
    EventLog first;
    EventLog second;
    Box* a = s::thread::take<Box>();
    Box* b = s::thread::take<Box>();
    a->setFixedHeight(30, false);
    b->setFixedHeight(40, false);
    a->addGeometryListener(&first);
    b->addGeometryListener(&second);
    parent->add(a);
    parent->add(b);
    parent->setSize(200, 100);
    parent->doLayout();
    // Position and size were each set at least once: one change is applied per child.
    EXPECT_EQ(first.codes(), std::vector<int>{Box::kGeometryChanged});
    EXPECT_EQ(second.codes(), std::vector<int>{Box::kGeometryChanged});
    EXPECT_EQ(b->getY(), 30);
}

TEST(BoxLayoutRulesTest, ALayoutAskedForDuringItsOwnNestsOneLevelOnly)
{
    s::thread::PooledPtr<Box> box(s::thread::take<Box>());
    box->add(new Sized(5, 5, 5, 5));
    struct Relayouter final : s::gui::events::IEventListener {
        Box* box = nullptr;
        int calls = 0;
        int onEvent(s::base::IObject*, int) override
        {
            ++calls;
            box->doLayout();
            return 0;
        }
    } relayouter;
    relayouter.box = box.get();
    box->addLaidOutListener(&relayouter);
    box->doLayout();
    EXPECT_EQ(relayouter.calls, 2);
}

TEST(BoxLayoutRulesTest, ALayoutManagerReplacesTheKindAndKeepsNoSizes)
{
    s::thread::PooledPtr<Box> box(s::thread::take<Box>());
    box->setHorizontal();
    box->setHSpacing(10);
    auto* a = new Sized(10, 10, 10, 10);
    auto* b = new Sized(10, 10, 10, 10);
    box->add(a);
    box->add(b);
    box->setLayoutManager(&layout::Vertical::shared());
    box->setSize(50, 50);
    box->doLayout();
    EXPECT_EQ(b->getX(), 0);
    EXPECT_EQ(b->getY(), 10) << "one column without spacing";
    EXPECT_EQ(box->getContentMinHeight(), 0);
    EXPECT_EQ(box->getLayoutManager(), &layout::Vertical::shared());
    box->setLayoutManager(nullptr);
    EXPECT_EQ(box->getLayoutManager(), &layout::FlowH::shared());
}

TEST(BoxLayoutRulesTest, ShowOnlyChildParkedMovesTheOthersAway)
{
    s::thread::PooledPtr<Box> box(s::thread::take<Box>());
    auto* a = new Sized();
    auto* b = new Sized();
    box->add(a);
    box->add(b);
    box->showOnlyChildParked(1);
    EXPECT_FALSE(a->isShown());
    EXPECT_TRUE(b->isShown());
    EXPECT_EQ(a->getY(), 3000);
    EXPECT_EQ(b->getX(), 0);
    EXPECT_EQ(b->getY(), 0);
}

TEST(BoxLayoutRulesTest, BadSizesAreKeptWithinBounds)
{
    for (int kind : {layout::kHorizontal, layout::kVertical, layout::kFlow, layout::kPile}) {
        s::thread::PooledPtr<Box> box(s::thread::take<Box>());
        box->setLayoutKind(kind);
        box->setMargins(-5);
        box->setHSpacing(-3);
        EXPECT_EQ(box->getMarginLeft(), 0);
        EXPECT_EQ(box->getHSpacing(), 0);
        for (int i = 0; i < 300; ++i)
            box->add(new Sized(Component::kMaxExtent, Component::kMaxExtent, Component::kMaxExtent, Component::kMaxExtent));
        box->setSize(-40, -40);
        EXPECT_EQ(box->getWidth(), 0);
        box->doLayout();
        EXPECT_EQ(box->getContentMinWidth(), Component::kMaxExtent) << kind << ": sums are cut, never wrapped";
        for (IComponent* child : box->getChildren()) {
            EXPECT_LE(child->getX(), Component::kMaxExtent) << kind;
            EXPECT_LE(child->getY(), Component::kMaxExtent) << kind;
        }
        Box* child = s::thread::take<Box>();
        child->setPercentWidth(2'000'000'000, false);
        box->add(child);
        EXPECT_LE(child->getPreferredWidth(), Component::kMaxExtent);
        EXPECT_GE(child->getPreferredWidth(), 0);
    }
}

}  // namespace
