#include "foundation/IEventListener.h"
#include "gui/drawer/Skinner.h"
#include "gui/skin/ButtonThin.h"
#include "gui/skin/CheckBoxThin.h"
#include "gui/skin/SkinSetting.h"
#include "gui/skin/ThinWindow.h"
#include "gui/skin/WindowThin.h"
#include "settings/XmlMappedData.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace s::gui;
using namespace s::gui::drawer;
using s::gui::drawer::skin::makeSkinner;

class Counting final : public s::gui::events::IEventListener {
public:
    int onEvent(s::base::IObject*, int code) override
    {
        codes.push_back(code);
        return 0;
    }
    std::vector<int> codes;
};

TEST(SkinnerTest, HoldsTheSixteenSkinsInMenuOrder)
{
    s::thread::PooledPtr<Skinner> skinner(makeSkinner());
    EXPECT_EQ(skinner->getFamilyName(), "ThinWindow");
    const std::vector<std::string> expected{"White",      "Ivory",     "Black",  "Black II", "Black Black",
                                            "Black Black II", "Classic LG", "Beige", "Sky Blue", "Pink",
                                            "Salmon Red", "Yellow",    "Green",  "Orange",   "Khaki", "Indigo"};
    EXPECT_EQ(skinner->getSkinNames(), expected);
    EXPECT_EQ(skinner->getCurrentSkin(), nullptr);
    for (std::size_t i = 0; i < skinner->getSkinCount(); ++i)
        EXPECT_STREQ(skinner->getSkin(i)->getClassName(), "s_gui_drawer_skin_ThinWindow");
    skinner->reset();
    EXPECT_EQ(skinner->getFamilyName(), "Basic");
    EXPECT_EQ(skinner->getSkinCount(), 0u);
}

TEST(SkinnerTest, NamesAreFoundExactly)
{
    s::thread::PooledPtr<Skinner> skinner(makeSkinner());
    const std::pair<const char*, int> cases[] = {{"White", 0},        {"Ivory", 1},   {"ivory", -1}, {"Black Black II", 5},
                                                 {"Black Black ii", -1}, {"Indigo", 15}, {"", -1},      {" Ivory", -1}};
    for (const auto& [name, index] : cases)
        EXPECT_EQ(skinner->findSkin(name), index) << name;
}

TEST(SkinnerTest, SelectingTellsTheListenersOnlyOfAChange)
{
    s::thread::PooledPtr<Skinner> skinner(makeSkinner());
    Counting listener;
    skinner->addListener(&listener);
    skinner->selectSkin("Black Black II");
    EXPECT_EQ(skinner->getCurrentSkin()->getName(), "Black Black II");
    EXPECT_EQ(listener.codes, std::vector<int>{0});
    skinner->selectSkin("Black Black II");
    skinner->selectSkinByIndex(5);
    EXPECT_EQ(listener.codes.size(), 1u) << "already current";
    skinner->selectSkin("No Such Skin");
    EXPECT_EQ(skinner->getCurrentIndex(), 0) << "an unknown name gives the first skin";
    skinner->selectSkinByIndex(16);
    EXPECT_EQ(skinner->getCurrentIndex(), 0) << "past the end changes nothing";
    skinner->selectSkinByIndex(1);
    EXPECT_EQ(skinner->getCurrentSkin()->getName(), "Ivory");
    EXPECT_EQ(listener.codes.size(), 3u);
    skinner->removeListener(&listener);
    skinner->selectSkinByIndex(2);
    EXPECT_EQ(listener.codes.size(), 3u);
}

TEST(SkinnerTest, EverySkinBuildsEverySlotFromItsColours)
{
    s::thread::PooledPtr<Skinner> skinner(makeSkinner());
    for (std::size_t i = 0; i < skinner->getSkinCount(); ++i) {
        const skin::SkinColours& c = skin::skinTable()[i];
        ISkin* s = skinner->getSkin(i);
        ASSERT_NE(s, nullptr);
        SCOPED_TRACE(s->getName());
        ASSERT_EQ(s->getName(), c.name);
        const std::pair<s::base::IObject*, const char*> slots[] = {
            {s->getWindowDrawer(), "s_gui_drawer_window_win_Thin"},
            {s->getButtonDrawer(), "s_gui_drawer_button_win_Thin"},
            {s->getTextDrawer(), "s_gui_drawer_text_win_Basic"},
            {s->getScrollBarDrawer(), "s_gui_drawer_scrollbar_win_Thin"},
            {s->getCheckBoxDrawer(), "s_gui_drawer_checkbox_win_Thin"},
            {s->getRadioButtonDrawer(), "s_gui_drawer_radiobutton_win_Thin"},
            {s->getSliderDrawer(), "s_gui_drawer_slider_win_Thin"},
            {s->getCounterDrawer(), "s_gui_drawer_counter_win_Basic"},
            {s->getListHeaderDrawer(), "s_gui_drawer_listheader_win_Thin"},
            {s->getListBoxDrawer(), "s_gui_drawer_listbox_win_Thin"},
            {s->getStatusBarDrawer(), "s_gui_drawer_statusbar_win_Thin"},
            {s->getMenuDrawer(), "s_gui_drawer_menu_win_Basic"},
            {s->getComboDrawer(), "s_gui_drawer_combo_win_Thin"},
            {s->getGroupBoxDrawer(), "s_gui_drawer_groupbox_win_Thin"},
            {s->getTabBoxDrawer(), "s_gui_drawer_tabbox_win_Thin"},
        };
        for (const auto& [drawer, identity] : slots) {
            ASSERT_NE(drawer, nullptr) << identity;
            EXPECT_STREQ(drawer->getClassName(), identity);
        }
        EXPECT_EQ(s->getWindowDrawer()->getBackgroundColour(), c[1]);
        EXPECT_EQ(s->getWindowDrawer()->getFrameColour(), c[2]);
        auto* button = static_cast<button::win::Thin*>(s->getButtonDrawer());
        EXPECT_EQ(button->getNormalColour(), c[4]);
        EXPECT_EQ(button->getDisabledColour(), c[3]);
        EXPECT_EQ(button->getPushedFill(), c[9]);
        EXPECT_EQ(button->getSetting(IButtonDrawer::FontRole::Normal).getTextColour(), c[6]);
        EXPECT_EQ(button->getSetting(IButtonDrawer::FontRole::Disabled).getTextColour(), c[3]);
        EXPECT_EQ(button->getSetting(IButtonDrawer::FontRole::Pushed).getTextColour(), c[10]);
        const ITextDrawer* text = s->getTextDrawer();
        EXPECT_EQ(text->getSetting(ITextDrawer::Role::Normal).getTextColour(), c[6]);
        EXPECT_EQ(text->getSetting(ITextDrawer::Role::Normal).getEffectColour1(), c[1]);
        EXPECT_EQ(text->getSetting(ITextDrawer::Role::Normal).getEffectColour2(), c[7]);
        EXPECT_EQ(text->getSetting(ITextDrawer::Role::Disabled).getTextColour(), c[3]);
        EXPECT_EQ(text->getSetting(ITextDrawer::Role::LinkHover).getTextColour(), c[4]);
        EXPECT_EQ(s->getScrollBarDrawer()->getThickness(), 15);
        EXPECT_EQ(s->getScrollBarDrawer()->getSecondColour(), c[8]);
        EXPECT_EQ(s->getCounterDrawer()->getColour1(), c[14]);
        EXPECT_EQ(s->getCounterDrawer()->getColour2(), c[15]);
        EXPECT_EQ(s->getListHeaderDrawer()->getTextColour(), c[10]);
        EXPECT_EQ(s->getListBoxDrawer()->getAlternateRowBackground(), c[13]);
        EXPECT_EQ(s->getStatusBarDrawer()->getPreferredHeight(), 13);
        EXPECT_EQ(s->getMenuDrawer()->getHighlightTextColour(), c[1]);
        EXPECT_EQ(s->getGroupBoxDrawer()->getFrameColour(), c[5]);
        const bool dark = s->getName() == "Classic LG";
        EXPECT_EQ(s->getListBoxDrawer()->getRowBackground(), dark ? fromRgbHex(0x313131) : fromRgbHex(0xFFFFFF));
        EXPECT_EQ(s->getListBoxDrawer()->getRowText(), dark ? fromRgbHex(0xBFBFBF) : fromRgbHex(0x000000));
    }
}

TEST(SkinnerTest, ASkinGivesTheDrawerItReplacesBack)
{
    s::thread::PooledPtr<skin::ThinWindow> skin(skin::makeThinWindowSkin(skin::skinTable()[0]));
    auto* replacement = s::thread::take<window::win::Thin>();
    skin->setWindowDrawer(replacement);
    EXPECT_EQ(skin->getWindowDrawer(), replacement);
    skin->setWindowDrawer(replacement);
    EXPECT_EQ(skin->getWindowDrawer(), replacement) << "setting the same drawer keeps it";
}

struct SettingCase {
    const char* stored;  // null: nothing stored
    const char* selected;
};

class SkinSettingTest : public ::testing::TestWithParam<SettingCase> {};

TEST_P(SkinSettingTest, TheStoredNameChoosesTheSkinAtStart)
{
    auto settings = s::xml::MappedData::openWithoutFile();
    if (GetParam().stored != nullptr)
        settings->setString(skin::kSkinSettingPath, "", GetParam().stored);
    s::thread::PooledPtr<Skinner> skinner(makeSkinner());
    skin::applySkinSetting(*skinner, *settings, skin::kDefaultSkinName);
    EXPECT_EQ(skinner->getCurrentSkin()->getName(), GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(Names, SkinSettingTest,
                         ::testing::Values(SettingCase{nullptr, "Black Black II"}, SettingCase{"", "Black Black II"},
                                           SettingCase{"Ivory", "Ivory"}, SettingCase{"ivory", "Black Black II"},
                                           SettingCase{"Skin of another version", "Black Black II"}));

TEST(SkinSettingRulesTest, AWindowOfItsOwnKeepsItsSkinUnderItsPath)
{
    auto settings = s::xml::MappedData::openWithoutFile();
    s::thread::PooledPtr<Skinner> skinner(makeSkinner());
    EXPECT_TRUE(skin::storeSkinName(*settings, "Pink", "MainWindow\\Skin"));
    EXPECT_EQ(skin::readSkinName(*settings, *skinner, "Classic LG", "MainWindow\\Skin"), "Pink");
    EXPECT_EQ(skin::readSkinName(*settings, *skinner, "Classic LG"), "Classic LG");
    EXPECT_TRUE(skin::storeSkinName(*settings, "Ivory"));
    EXPECT_EQ(settings->getString("Skin", "", ""), "Ivory");
}

}  // namespace
