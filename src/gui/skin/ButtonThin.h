#pragma once

#include "foundation/ClassPool.h"
#include "gui/drawer/IButtonDrawer.h"
#include "gui/skin/BorderDrawer.h"
#include "gui/text/FontSetting.h"
#include "gui/text/TextDrawer.h"

#include <array>

namespace s::gui::drawer::button::win {

// Buttons of the thin skins: flat in the normal state unless framed, a frame in hover and
// pressed, the pushed fill inside a pushed button, glyphs in the frame colour of the state and
// captions in the state's font colour, moved a pixel by the press offset.
class Thin final : public IButtonDrawer {
public:
    static constexpr int kPoolCapacity = 64;

    Thin() { reset(); }

    void setColours(Colour normal, Colour disabled, Colour pushed, Colour pushedFill);
    Colour getNormalColour() const { return m_normal; }
    Colour getDisabledColour() const { return m_disabled; }
    Colour getPushedColour() const { return m_pushed; }
    Colour getPushedFill() const { return m_pushedFill; }
    gui::win::FontSetting& setting(FontRole role) { return m_settings[static_cast<std::size_t>(role)]; }
    const gui::win::FontSetting& getSetting(FontRole role) const override
    {
        return m_settings[static_cast<std::size_t>(role)];
    }
    void setPressOffset(bool on) { m_pressOffset = on; }
    BorderDrawer& border() { return m_border; }

    void drawButton(cairo_t* cr, const ButtonFace& face) override;

    const char* getClassName() const override { return "s_gui_drawer_button_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

private:
    Colour m_normal = 0;
    Colour m_disabled = 0;
    Colour m_pushed = 0;
    Colour m_pushedFill = 0;
    std::array<gui::win::FontSetting, 3> m_settings;
    bool m_pressOffset = true;
    BorderDrawer m_border;
    text::win::Basic m_text;
};

}  // namespace s::gui::drawer::button::win
