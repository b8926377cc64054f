#include "gui/skin/ButtonThin.h"

#include "gui/skin/Glyphs.h"

#include <cairo.h>

namespace s::gui::drawer::button::win {

using platform::Rect;

void Thin::reset()
{
    m_normal = m_pushed = rgb(0, 0, 0);
    m_disabled = rgb(0xAA, 0xAA, 0xAA);
    m_pushedFill = rgb(0xB0, 0xB0, 0xB0);
    for (gui::win::FontSetting& s : m_settings)
        s.resetProperties();
    m_pressOffset = true;
    m_border.setShading(false);
    m_text.reset();
    m_text.setCentring(true);
}

void Thin::setColours(Colour normal, Colour disabled, Colour pushed, Colour pushedFill)
{
    m_normal = normal;
    m_disabled = disabled;
    m_pushed = pushed;
    m_pushedFill = pushedFill;
}

void Thin::drawButton(cairo_t* cr, const ButtonFace& face)
{
    const Rect& r = face.rect;
    if (r.isEmpty())
        return;
    int state = face.mouseState;
    if (face.pushed) {
        if (state == kMouseHover)
            state = kMousePressed;
        else if (state == kMousePressed)
            state = kMouseHover;
        setSourceColour(cr, m_pushedFill);
        cairo_rectangle(cr, r.left + 1, r.top + 1, r.width() - 2, r.height() - 2);
        cairo_fill(cr);
    }
    const Colour frame = !face.enabled ? m_disabled : (face.pushed ? m_pushed : m_normal);
    if (state == kMouseHover)
        m_border.draw(cr, r, frame, BorderDrawer::Style::Raised);
    else if (state == kMousePressed)
        m_border.draw(cr, r, frame, BorderDrawer::Style::Pressed);
    else if (face.drawerFlag)
        m_border.draw(cr, r, frame, BorderDrawer::Style::Raised);
    else if (face.fourthFlag)
        m_border.draw(cr, r, frame, BorderDrawer::Style::Flat);

    Rect content{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2};
    if (m_pressOffset && state == kMouseHover)
        content = content.offset(-1, -1);
    else if (m_pressOffset && state == kMousePressed)
        content = content.offset(1, 1);
    if (isGlyph(face.text)) {
        drawGlyph(cr, face.text, content, frame);
        return;
    }
    if (face.font != nullptr)
        m_text.draw(cr, face.text, *face.font, content);
}

}  // namespace s::gui::drawer::button::win
