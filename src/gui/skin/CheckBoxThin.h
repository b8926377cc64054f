#pragma once

#include "foundation/ClassPool.h"
#include "gui/drawer/ICheckBoxDrawer.h"
#include "gui/text/FontSetting.h"

#include <array>

namespace s::gui::drawer::checkbox::win {

// Check boxes of the thin skins: a one-pixel square in the accent colour (the disabled colour
// when disabled) with a tick when checked, and the caption beside it.
class Thin final : public ICheckBoxDrawer {
public:
    static constexpr int kPoolCapacity = 64;
    static constexpr int kBoxSide = 13;

    Thin() { reset(); }

    void setColours(Colour accent, Colour text, Colour disabled);
    Colour getAccentColour() const { return m_accent; }
    Colour getDisabledColour() const { return m_disabled; }
    const gui::win::FontSetting& getSetting(FontRole role) const override
    {
        return m_settings[static_cast<std::size_t>(role)];
    }

    TextSizes measure(std::string_view text, const gui::win::FontBase& font) override;
    gui::text::Extent measureWrapped(std::string_view text, const gui::win::FontBase& font, int width) override;
    void drawCheckBox(cairo_t* cr, const platform::Rect& rect, std::string_view text, const gui::win::FontBase& font,
                      bool checked, bool enabled, int mouseState) override;

    const char* getClassName() const override { return "s_gui_drawer_checkbox_win_Thin"; }
    base::IObject* newInstance() const override { return thread::take<Thin>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override;

private:
    Colour m_accent = 0;
    Colour m_disabled = 0;
    std::array<gui::win::FontSetting, 2> m_settings;
};

}  // namespace s::gui::drawer::checkbox::win
