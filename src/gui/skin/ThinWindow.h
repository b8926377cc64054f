#pragma once

#include "foundation/ClassPool.h"
#include "gui/drawer/ISkin.h"
#include "gui/drawer/Skinner.h"
#include "gui/skin/SkinColours.h"

#include <string>

namespace s::gui::drawer::skin {

// The program's skin family: one drawer per kind of widget, built from a colour set.
class ThinWindow final : public ISkin {
public:
    static constexpr int kPoolCapacity = 32;

    ThinWindow() = default;
    ~ThinWindow() override { reset(); }
    ThinWindow(const ThinWindow&) = delete;
    ThinWindow& operator=(const ThinWindow&) = delete;

    const std::string& getName() const override { return m_name; }
    void setName(std::string_view name) override { m_name = std::string(name); }

    IWindowDrawer* getWindowDrawer() const override { return m_window; }
    void setWindowDrawer(IWindowDrawer* drawer) override { replace(m_window, drawer); }
    IButtonDrawer* getButtonDrawer() const override { return m_button; }
    void setButtonDrawer(IButtonDrawer* drawer) override { replace(m_button, drawer); }
    ITextDrawer* getTextDrawer() const override { return m_text; }
    void setTextDrawer(ITextDrawer* drawer) override { replace(m_text, drawer); }
    IScrollBarDrawer* getScrollBarDrawer() const override { return m_scrollBar; }
    void setScrollBarDrawer(IScrollBarDrawer* drawer) override { replace(m_scrollBar, drawer); }
    ICheckBoxDrawer* getCheckBoxDrawer() const override { return m_checkBox; }
    void setCheckBoxDrawer(ICheckBoxDrawer* drawer) override { replace(m_checkBox, drawer); }
    IRadioButtonDrawer* getRadioButtonDrawer() const override { return m_radioButton; }
    void setRadioButtonDrawer(IRadioButtonDrawer* drawer) override { replace(m_radioButton, drawer); }
    ISliderDrawer* getSliderDrawer() const override { return m_slider; }
    void setSliderDrawer(ISliderDrawer* drawer) override { replace(m_slider, drawer); }
    ICounterDrawer* getCounterDrawer() const override { return m_counter; }
    void setCounterDrawer(ICounterDrawer* drawer) override { replace(m_counter, drawer); }
    IListHeaderDrawer* getListHeaderDrawer() const override { return m_listHeader; }
    void setListHeaderDrawer(IListHeaderDrawer* drawer) override { replace(m_listHeader, drawer); }
    IListBoxDrawer* getListBoxDrawer() const override { return m_listBox; }
    void setListBoxDrawer(IListBoxDrawer* drawer) override { replace(m_listBox, drawer); }
    IStatusBarDrawer* getStatusBarDrawer() const override { return m_statusBar; }
    void setStatusBarDrawer(IStatusBarDrawer* drawer) override { replace(m_statusBar, drawer); }
    IMenuDrawer* getMenuDrawer() const override { return m_menu; }
    void setMenuDrawer(IMenuDrawer* drawer) override { replace(m_menu, drawer); }
    IComboDrawer* getComboDrawer() const override { return m_combo; }
    void setComboDrawer(IComboDrawer* drawer) override { replace(m_combo, drawer); }
    IGroupBoxDrawer* getGroupBoxDrawer() const override { return m_groupBox; }
    void setGroupBoxDrawer(IGroupBoxDrawer* drawer) override { replace(m_groupBox, drawer); }
    ITabBoxDrawer* getTabBoxDrawer() const override { return m_tabBox; }
    void setTabBoxDrawer(ITabBoxDrawer* drawer) override { replace(m_tabBox, drawer); }

    const char* getClassName() const override { return "s_gui_drawer_skin_ThinWindow"; }
    base::IObject* newInstance() const override { return thread::take<ThinWindow>(); }
    void recycle() override { thread::giveBack(this); }
    // Gives every drawer back.
    void reset() override;

private:
    template <class D>
    void replace(D*& slot, D* drawer)
    {
        if (slot == drawer)
            return;
        if (slot != nullptr)
            slot->recycle();
        slot = drawer;
    }

    std::string m_name;
    IWindowDrawer* m_window = nullptr;
    IButtonDrawer* m_button = nullptr;
    ITextDrawer* m_text = nullptr;
    IScrollBarDrawer* m_scrollBar = nullptr;
    ICheckBoxDrawer* m_checkBox = nullptr;
    IRadioButtonDrawer* m_radioButton = nullptr;
    ISliderDrawer* m_slider = nullptr;
    ICounterDrawer* m_counter = nullptr;
    IListHeaderDrawer* m_listHeader = nullptr;
    IListBoxDrawer* m_listBox = nullptr;
    IStatusBarDrawer* m_statusBar = nullptr;
    IMenuDrawer* m_menu = nullptr;
    IComboDrawer* m_combo = nullptr;
    IGroupBoxDrawer* m_groupBox = nullptr;
    ITabBoxDrawer* m_tabBox = nullptr;
};

// A ThinWindow skin of that name with every drawer built from the colour set.
ThinWindow* makeThinWindowSkin(const SkinColours& colours);
// A skinner of the family "ThinWindow" holding the sixteen skins in menu order; none current yet.
Skinner* makeSkinner();

}  // namespace s::gui::drawer::skin
