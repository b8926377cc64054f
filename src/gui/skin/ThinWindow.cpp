#include "gui/skin/ThinWindow.h"

#include "gui/skin/ButtonThin.h"
#include "gui/skin/CheckBoxThin.h"
#include "gui/skin/SlotDrawers.h"
#include "gui/skin/WindowThin.h"
#include "gui/text/TextDrawer.h"

namespace s::gui::drawer::skin {

void ThinWindow::reset()
{
    m_name.clear();
    setWindowDrawer(nullptr);
    setButtonDrawer(nullptr);
    setTextDrawer(nullptr);
    setScrollBarDrawer(nullptr);
    setCheckBoxDrawer(nullptr);
    setRadioButtonDrawer(nullptr);
    setSliderDrawer(nullptr);
    setCounterDrawer(nullptr);
    setListHeaderDrawer(nullptr);
    setListBoxDrawer(nullptr);
    setStatusBarDrawer(nullptr);
    setMenuDrawer(nullptr);
    setComboDrawer(nullptr);
    setGroupBoxDrawer(nullptr);
    setTabBoxDrawer(nullptr);
}

ThinWindow* makeThinWindowSkin(const SkinColours& c)
{
    ThinWindow* skin = thread::take<ThinWindow>();
    skin->setName(c.name);

    auto* window = thread::take<window::win::Thin>();
    window->setBackgroundColour(c[1], true);
    window->setFrameColour(c[2]);
    window->setCorners(window::win::Thin::kSquare, window::win::Thin::kSquare);
    skin->setWindowDrawer(window);

    auto* button = thread::take<button::win::Thin>();
    button->setColours(c[4], c[3], c[4], c[9]);
    button->setting(IButtonDrawer::FontRole::Normal).setTextColour(c[6]);
    button->setting(IButtonDrawer::FontRole::Disabled).setTextColour(c[3]);
    button->setting(IButtonDrawer::FontRole::Pushed).setTextColour(c[10]);
    skin->setButtonDrawer(button);

    auto* text = thread::take<text::win::Basic>();
    using Role = ITextDrawer::Role;
    text->setting(Role::Normal).setTextColour(c[6]);
    text->setting(Role::Normal).setEffectColour1(c[1]);
    text->setting(Role::Normal).setEffectColour2(c[7]);
    text->setting(Role::Disabled).setTextColour(c[3]);
    text->setting(Role::Link).setTextColour(c[6]);
    text->setting(Role::LinkHover).setTextColour(c[4]);
    text->setting(Role::LinkPressed).setTextColour(c[4]);
    for (Role role : {Role::Disabled, Role::Link, Role::LinkHover, Role::LinkPressed}) {
        text->setting(role).setEffectColour1(c[1]);
        text->setting(role).setEffectColour2(c[7]);
    }
    skin->setTextDrawer(text);

    auto* scrollBar = thread::take<scrollbar::win::Thin>();
    scrollBar->setColour(c[4]);
    scrollBar->setSecondColour(c[8]);
    skin->setScrollBarDrawer(scrollBar);

    auto* checkBox = thread::take<checkbox::win::Thin>();
    checkBox->setColours(c[4], c[6], c[3]);
    skin->setCheckBoxDrawer(checkBox);

    auto* radio = thread::take<radiobutton::win::Thin>();
    radio->setColour(c[4]);
    radio->setTextColour(c[6]);
    radio->setDisabledColour(c[3]);
    skin->setRadioButtonDrawer(radio);

    auto* slider = thread::take<slider::win::Thin>();
    slider->setColour(c[4]);
    slider->setSecondColour(c[8]);
    slider->setDisabledColour(c[3]);
    skin->setSliderDrawer(slider);

    auto* counter = thread::take<counter::win::Basic>();
    counter->setBackgroundColour(c[1]);
    counter->setColour1(c[14]);
    counter->setColour2(c[15]);
    skin->setCounterDrawer(counter);

    auto* header = thread::take<listheader::win::Thin>();
    header->setColour(c[4]);
    header->setFillColour(c[9]);
    header->setTextColour(c[10]);
    skin->setListHeaderDrawer(header);

    auto* list = thread::take<listbox::win::Thin>();
    list->setRowBackground(c[11]);
    list->setRowText(c[12]);
    list->setSelectionColour(c[9]);
    list->setSelectedText(c[10]);
    list->setAlternateRowBackground(c[13]);
    skin->setListBoxDrawer(list);

    auto* statusBar = thread::take<statusbar::win::Thin>();
    statusBar->setColour(c[4]);
    skin->setStatusBarDrawer(statusBar);

    auto* menu = thread::take<menu::win::Basic>();
    menu->setTextColour(c[6]);
    menu->setHighlightColour(c[4]);
    menu->setHighlightTextColour(c[1]);
    skin->setMenuDrawer(menu);

    auto* combo = thread::take<combo::win::Thin>();
    combo->setTextColour(c[6]);
    combo->setColour(c[4]);
    skin->setComboDrawer(combo);

    auto* group = thread::take<groupbox::win::Thin>();
    group->setFrameColour(c[5]);
    group->setCaptionColour(c[6]);
    skin->setGroupBoxDrawer(group);

    auto* tab = thread::take<tabbox::win::Thin>();
    tab->setColour(c[4]);
    tab->setCaptionColour(c[6]);
    skin->setTabBoxDrawer(tab);
    return skin;
}

Skinner* makeSkinner()
{
    Skinner* skinner = thread::take<Skinner>();
    skinner->setFamilyName("ThinWindow");
    for (const SkinColours& colours : skinTable())
        skinner->addSkin(makeThinWindowSkin(colours));
    return skinner;
}

}  // namespace s::gui::drawer::skin
