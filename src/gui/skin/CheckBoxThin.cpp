#include "gui/skin/CheckBoxThin.h"

#include "gui/drawer/CheckBoxMetrics.h"
#include "gui/text/TextDrawer.h"

#include <cairo.h>

#include <algorithm>

namespace s::gui::drawer::checkbox::win {

using platform::Rect;

void Thin::reset()
{
    m_accent = rgb(0, 0, 0);
    m_disabled = rgb(0xAA, 0xAA, 0xAA);
    for (gui::win::FontSetting& s : m_settings)
        s.resetProperties();
}

void Thin::setColours(Colour accent, Colour text, Colour disabled)
{
    m_accent = accent;
    m_disabled = disabled;
    m_settings[0].setTextColour(text);
    m_settings[1].setTextColour(disabled);
}

TextSizes Thin::measure(std::string_view text, const gui::win::FontBase& font)
{
    return checkBoxSizes(text, font);
}

gui::text::Extent Thin::measureWrapped(std::string_view text, const gui::win::FontBase& font, int width)
{
    return checkBoxWrapped(text, font, width);
}

void Thin::drawCheckBox(cairo_t* cr, const Rect& rect, std::string_view text, const gui::win::FontBase& font,
                        bool checked, bool enabled, int mouseState)
{
    const int line = gui::text::TextEngine::forThisThread().measure(text, font, gui::text::Flow::SingleLine, 0).height;
    const int glyph = checkGlyphExtent(line);
    const int side = std::min({kBoxSide, std::max(1, glyph - 2), std::max(1, rect.height())});
    const int left = rect.left + 1;
    const int top = rect.top + std::max(0, (std::min(line, rect.height()) - side) / 2);
    const Colour colour = enabled ? m_accent : m_disabled;
    setSourceColour(cr, colour);
    cairo_rectangle(cr, left, top, side, 1);
    cairo_rectangle(cr, left, top + side - 1, side, 1);
    cairo_rectangle(cr, left, top, 1, side);
    cairo_rectangle(cr, left + side - 1, top, 1, side);
    cairo_fill(cr);
    if (mouseState != 0 && enabled) {
        cairo_rectangle(cr, left + 1, top + 1, side - 2, 1);
        cairo_rectangle(cr, left + 1, top + side - 2, side - 2, 1);
        cairo_rectangle(cr, left + 1, top + 1, 1, side - 2);
        cairo_rectangle(cr, left + side - 2, top + 1, 1, side - 2);
        cairo_fill(cr);
    }
    if (checked) {
        cairo_set_line_width(cr, std::max(1.5, side / 6.5));
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
        cairo_move_to(cr, left + side * 0.25, top + side * 0.5);
        cairo_line_to(cr, left + side * 0.43, top + side * 0.7);
        cairo_line_to(cr, left + side * 0.76, top + side * 0.3);
        cairo_stroke(cr);
    }
    text::win::Basic::shared().draw(cr, text, font, Rect{rect.left + glyph, rect.top, rect.right, rect.bottom});
}

}  // namespace s::gui::drawer::checkbox::win
