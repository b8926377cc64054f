#include "support/TempFolder.h"
#include "ToolkitTesting.h"
#include "gui/component/Box.h"
#include "gui/widgets/Label.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

using namespace s::gui;
using namespace s::gui::win;
using s::gui::testing::EventLog;
using s::gui::testing::HeadlessDesk;
using s::platform::Rect;
namespace hl = s::platform::headless;

class LabelTest : public HeadlessDesk {};

TEST_F(LabelTest, SettingTheShownTextAgainChangesAndRepaintsNothing)
{
    Label* label = place(makeLabel("first", false, 0));
    hl::takePresentedRects(*label->getWindow()->getNativeWindow());
    EXPECT_TRUE(label->setText("second"));
    pump();
    EXPECT_FALSE(hl::takePresentedRects(*label->getWindow()->getNativeWindow()).empty());
    EXPECT_FALSE(label->setText("second"));
    pump();
    EXPECT_TRUE(hl::takePresentedRects(*label->getWindow()->getNativeWindow()).empty());
    EXPECT_EQ(label->getText(), "second");
}

TEST_F(LabelTest, ATemporaryTextGivesWayToTheFirstTextSaved)
{
    Label* label = place(makeLabel("steady", false, 0));
    label->showTemporaryText("one", 1000);
    EXPECT_EQ(label->getText(), "one");
    advance(500);
    label->showTemporaryText("two", 1000);
    EXPECT_EQ(label->getText(), "two");
    advance(999);
    EXPECT_EQ(label->getText(), "two");
    advance(2);
    EXPECT_EQ(label->getText(), "steady");
    advance(2000);
    EXPECT_EQ(label->getText(), "steady");

    s::thread::PooledPtr<Label> detached(makeLabel("alone", false, 0));
    detached->showTemporaryText("never", 100);
    EXPECT_EQ(detached->getText(), "alone") << "only a label in a window can time it";
}

TEST_F(LabelTest, TextIdsFollowTheWindowsLanguage)
{
    auto localizer = s::gui::testing::makeLocalizer({{"eng", "English", {{1010000, "Read:"}}},
                                                     {"fra", "French", {{1010000, "Lecture :"}}}});
    Label* label = place(makeLabelById(1010000, false, 100001));
    EXPECT_EQ(label->getText(), "");
    label->getWindow()->bindLocalizer(localizer.get());
    EXPECT_EQ(label->getText(), "Read:");
    const int englishWidth = label->getWidth();
    localizer->selectLanguageByName("French");
    EXPECT_EQ(label->getText(), "Lecture :");
    EXPECT_GT(label->getWidth(), englishWidth) << "measured and laid out again";
}

TEST_F(LabelTest, AWrappingLabelTakesTheSizeOfItsWrappedText)
{
    Label* label = makeLabel("one two three four five six seven", false, 0);
    label->setWordWrap(true);
    const int single = label->getPreferredWidth();
    const int widestWord = label->getMinWidth();
    EXPECT_LT(widestWord, single);
    label->resizeWithin(single / 2, 1);
    EXPECT_LE(label->getWidth(), single / 2);
    EXPECT_GT(label->getHeight(), label->getMinHeight());
    label->resizeWithin(1, 1);
    EXPECT_EQ(label->getWidth(), widestWord) << "down to its widest word";

    s::thread::PooledPtr<Label> ellipsis(makeLabel("a rather long caption", true, 0));
    ellipsis->resizeWithin(1, 100);
    EXPECT_EQ(ellipsis->getWidth(), 1);
    label->recycle();
}

TEST_F(LabelTest, APlainLabelLetsClicksThroughAndALinkTakesThem)
{
    Box* column = nullptr;
    Label* label = place(makeLabel("click here", false, 0), Rect::fromSize(0, 0, 300, 100), 0, 0, &column);
    EventLog boxClicks;
    EventLog linkClicks;
    column->addClickListener(&boxClicks);
    label->addClickListener(&linkClicks);
    click(*label, 3, 3);
    EXPECT_EQ(boxClicks.codes(), std::vector<int>{Box::kClicked});
    EXPECT_TRUE(linkClicks.codes().empty());

    label->setLink(true);
    hover(*label, 200, 60);
    hover(*label, 3, 3);
    EXPECT_EQ(label->getLinkState(), 1);
    EXPECT_EQ(hl::cursorOf(*label->getWindow()->getNativeWindow()), s::platform::Cursor::Hand);
    hl::pressButton(*display, 1, screenOf(*label, 3, 3));
    pump();
    EXPECT_EQ(label->getLinkState(), 2);
    hl::releaseButton(*display, 1, screenOf(*label, 3, 3));
    pump();
    EXPECT_EQ(linkClicks.codes(), std::vector<int>{Label::kClicked});
    EXPECT_EQ(boxClicks.codes().size(), 1u) << "the box got nothing more";
    hover(*label, -20, 60);
    EXPECT_EQ(label->getLinkState(), 0);
}

TEST_F(LabelTest, ALinkOpensItsTargetWithTheDesktop)
{
    s::testing::TempFolder dir;
    const std::string opened = dir.file("opened");
    const std::string script = dir.file("xdg-open");
    s::testing::writeWhole(script, "#!/bin/sh\nprintf '%s' \"$1\" > '" + opened + "'\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (dir.path().string() + ":" + path).c_str(), 1);

    Label* label = place(makeLabel("page", false, 0));
    label->setLink(true);
    label->setLinkTarget("https://example.org/a b");
    click(*label, 2, 2);
    setenv("PATH", path.c_str(), 1);
    for (int i = 0; i < 200 && !std::filesystem::exists(opened); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(s::testing::readWhole(opened), "https://example.org/a b") << "one argument, no shell";
}

TEST_F(LabelTest, TextCanBeSetFromAnotherThread)
{
    Window* window = s::thread::take<Window>();
    window->setBounds(0, 0, 200, 80);
    ASSERT_TRUE(window->create(&system));
    Box* root = makeBox(100, 100, 0, 0, -1, -1, -1, -1, layout::kVertical);
    Label* label = makeLabel("before", false, 0);
    root->add(label);
    window->add(root);
    window->show(s::platform::SW_SHOW);
    std::thread writer([label] {
        for (int i = 0; i < 50; ++i)
            label->setText("text " + std::to_string(i));
    });
    for (int i = 0; i < 50; ++i)
        label->setText("here " + std::to_string(i));
    writer.join();
    std::string shown;
    window->runOnThread([&] { shown = label->getText(); });
    EXPECT_TRUE(shown == "text 49" || shown == "here 49") << shown;
    window->recycle();
}

}  // namespace
