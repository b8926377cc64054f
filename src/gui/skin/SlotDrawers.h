#pragma once

#include "foundation/ClassPool.h"
#include "gui/drawer/WidgetDrawers.h"

// The drawers of the skin's further slots: each holds the colours and measures its skin gives
// it; the widgets that draw with them add their painting.

namespace s::gui::drawer::scrollbar::win {

class Thin final : public IScrollBarDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    static constexpr int kThickness = 15;
    int getThickness() const override { return m_thickness; }
    void setThickness(int pixels) { m_thickness = pixels; }
    Colour getColour() const override { return m_colour; }
    void setColour(Colour colour) { m_colour = colour; }
    Colour getSecondColour() const override { return m_secondColour; }
    void setSecondColour(Colour colour) { m_secondColour = colour; }

    const char* getClassName() const override { return "s_gui_drawer_scrollbar_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_colour = 0; m_secondColour = 0; m_thickness = kThickness; }

private:
    int m_thickness = kThickness;
    Colour m_colour = 0;
    Colour m_secondColour = 0;
};

}  // namespace s::gui::drawer::scrollbar::win

namespace s::gui::drawer::radiobutton::win {

class Thin final : public IRadioButtonDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    Colour getColour() const override { return m_colour; }
    void setColour(Colour colour) { m_colour = colour; }
    Colour getTextColour() const override { return m_textColour; }
    void setTextColour(Colour colour) { m_textColour = colour; }
    Colour getDisabledColour() const override { return m_disabledColour; }
    void setDisabledColour(Colour colour) { m_disabledColour = colour; }

    const char* getClassName() const override { return "s_gui_drawer_radiobutton_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_colour = 0; m_textColour = 0; m_disabledColour = 0; }

private:
    Colour m_colour = 0;
    Colour m_textColour = 0;
    Colour m_disabledColour = 0;
};

}  // namespace s::gui::drawer::radiobutton::win

namespace s::gui::drawer::slider::win {

class Thin final : public ISliderDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    Colour getColour() const override { return m_colour; }
    void setColour(Colour colour) { m_colour = colour; }
    Colour getSecondColour() const override { return m_secondColour; }
    void setSecondColour(Colour colour) { m_secondColour = colour; }
    Colour getDisabledColour() const override { return m_disabledColour; }
    void setDisabledColour(Colour colour) { m_disabledColour = colour; }

    const char* getClassName() const override { return "s_gui_drawer_slider_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_colour = 0; m_secondColour = 0; m_disabledColour = 0; }

private:
    Colour m_colour = 0;
    Colour m_secondColour = 0;
    Colour m_disabledColour = 0;
};

}  // namespace s::gui::drawer::slider::win

namespace s::gui::drawer::counter::win {

class Basic final : public ICounterDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    bool isTransparent() const override { return m_transparent; }
    void setTransparent(bool on) { m_transparent = on; }
    Colour getBackgroundColour() const override { return m_backgroundColour; }
    void setBackgroundColour(Colour colour) { m_backgroundColour = colour; }
    Colour getColour1() const override { return m_colour1; }
    void setColour1(Colour colour) { m_colour1 = colour; }
    Colour getColour2() const override { return m_colour2; }
    void setColour2(Colour colour) { m_colour2 = colour; }

    const char* getClassName() const override { return "s_gui_drawer_counter_win_Basic"; }
    base::IObject* newInstance() const override { return thread::take<Basic>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_backgroundColour = 0; m_colour1 = 0; m_colour2 = 0; m_transparent = true; }

private:
    bool m_transparent = true;
    Colour m_backgroundColour = 0;
    Colour m_colour1 = 0;
    Colour m_colour2 = 0;
};

}  // namespace s::gui::drawer::counter::win

namespace s::gui::drawer::listheader::win {

class Thin final : public IListHeaderDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    Colour getColour() const override { return m_colour; }
    void setColour(Colour colour) { m_colour = colour; }
    Colour getFillColour() const override { return m_fillColour; }
    void setFillColour(Colour colour) { m_fillColour = colour; }
    Colour getTextColour() const override { return m_textColour; }
    void setTextColour(Colour colour) { m_textColour = colour; }

    const char* getClassName() const override { return "s_gui_drawer_listheader_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_colour = 0; m_fillColour = 0; m_textColour = 0; }

private:
    Colour m_colour = 0;
    Colour m_fillColour = 0;
    Colour m_textColour = 0;
};

}  // namespace s::gui::drawer::listheader::win

namespace s::gui::drawer::listbox::win {

class Thin final : public IListBoxDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    Colour getRowBackground() const override { return m_rowBackground; }
    void setRowBackground(Colour colour) { m_rowBackground = colour; }
    Colour getRowText() const override { return m_rowText; }
    void setRowText(Colour colour) { m_rowText = colour; }
    Colour getSelectionColour() const override { return m_selectionColour; }
    void setSelectionColour(Colour colour) { m_selectionColour = colour; }
    Colour getSelectedText() const override { return m_selectedText; }
    void setSelectedText(Colour colour) { m_selectedText = colour; }
    Colour getAlternateRowBackground() const override { return m_alternateRowBackground; }
    void setAlternateRowBackground(Colour colour) { m_alternateRowBackground = colour; }

    const char* getClassName() const override { return "s_gui_drawer_listbox_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_rowBackground = 0; m_rowText = 0; m_selectionColour = 0; m_selectedText = 0; m_alternateRowBackground = 0; }

private:
    Colour m_rowBackground = 0;
    Colour m_rowText = 0;
    Colour m_selectionColour = 0;
    Colour m_selectedText = 0;
    Colour m_alternateRowBackground = 0;
};

}  // namespace s::gui::drawer::listbox::win

namespace s::gui::drawer::statusbar::win {

class Thin final : public IStatusBarDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    static constexpr int kPreferredHeight = 13;
    int getPreferredHeight() const override { return kPreferredHeight; }
    // The thin bar draws nothing: the window's background shows.
    void paintBar(cairo_t*, const platform::Rect&) override {}
    Colour getColour() const override { return m_colour; }
    void setColour(Colour colour) { m_colour = colour; }

    const char* getClassName() const override { return "s_gui_drawer_statusbar_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_colour = 0; }

private:
    Colour m_colour = 0;
};

}  // namespace s::gui::drawer::statusbar::win

namespace s::gui::drawer::menu::win {

class Basic final : public IMenuDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    Colour getTextColour() const override { return m_textColour; }
    void setTextColour(Colour colour) { m_textColour = colour; }
    Colour getHighlightColour() const override { return m_highlightColour; }
    void setHighlightColour(Colour colour) { m_highlightColour = colour; }
    Colour getHighlightTextColour() const override { return m_highlightTextColour; }
    void setHighlightTextColour(Colour colour) { m_highlightTextColour = colour; }

    const char* getClassName() const override { return "s_gui_drawer_menu_win_Basic"; }
    base::IObject* newInstance() const override { return thread::take<Basic>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_textColour = 0; m_highlightColour = 0; m_highlightTextColour = 0; }

private:
    Colour m_textColour = 0;
    Colour m_highlightColour = 0;
    Colour m_highlightTextColour = 0;
};

}  // namespace s::gui::drawer::menu::win

namespace s::gui::drawer::combo::win {

class Thin final : public IComboDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    Colour getTextColour() const override { return m_textColour; }
    void setTextColour(Colour colour) { m_textColour = colour; }
    Colour getColour() const override { return m_colour; }
    void setColour(Colour colour) { m_colour = colour; }

    const char* getClassName() const override { return "s_gui_drawer_combo_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_textColour = 0; m_colour = 0; }

private:
    Colour m_textColour = 0;
    Colour m_colour = 0;
};

}  // namespace s::gui::drawer::combo::win

namespace s::gui::drawer::groupbox::win {

class Thin final : public IGroupBoxDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    Colour getFrameColour() const override { return m_frameColour; }
    void setFrameColour(Colour colour) { m_frameColour = colour; }
    Colour getCaptionColour() const override { return m_captionColour; }
    void setCaptionColour(Colour colour) { m_captionColour = colour; }

    const char* getClassName() const override { return "s_gui_drawer_groupbox_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_frameColour = 0; m_captionColour = 0; }

private:
    Colour m_frameColour = 0;
    Colour m_captionColour = 0;
};

}  // namespace s::gui::drawer::groupbox::win

namespace s::gui::drawer::tabbox::win {

class Thin final : public ITabBoxDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    Colour getColour() const override { return m_colour; }
    void setColour(Colour colour) { m_colour = colour; }
    Colour getCaptionColour() const override { return m_captionColour; }
    void setCaptionColour(Colour colour) { m_captionColour = colour; }

    const char* getClassName() const override { return "s_gui_drawer_tabbox_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { m_colour = 0; m_captionColour = 0; }

private:
    Colour m_colour = 0;
    Colour m_captionColour = 0;
};

}  // namespace s::gui::drawer::tabbox::win
