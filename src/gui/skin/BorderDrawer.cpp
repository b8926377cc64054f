#include "gui/skin/BorderDrawer.h"

#include <cairo.h>

namespace s::gui::drawer {

namespace {

// One ring: top and left edges in one colour, bottom and right in another.
void ring(cairo_t* cr, const platform::Rect& r, Colour topLeft, Colour bottomRight)
{
    if (r.isEmpty())
        return;
    setSourceColour(cr, topLeft);
    cairo_rectangle(cr, r.left, r.top, r.width(), 1);
    cairo_rectangle(cr, r.left, r.top, 1, r.height());
    cairo_fill(cr);
    setSourceColour(cr, bottomRight);
    cairo_rectangle(cr, r.left, r.bottom - 1, r.width(), 1);
    cairo_rectangle(cr, r.right - 1, r.top, 1, r.height());
    cairo_fill(cr);
}

}  // namespace

void BorderDrawer::draw(cairo_t* cr, const platform::Rect& rect, Colour base, Style style) const
{
    if (!m_shading || style == Style::Flat) {
        ring(cr, rect, base, base);
        return;
    }
    const platform::Rect inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    if (style == Style::Raised) {
        ring(cr, rect, scaled(base, kTones[0]), scaled(base, kTones[6]));
        ring(cr, inner, scaled(base, kTones[1]), scaled(base, kTones[4]));
    } else {
        ring(cr, rect, scaled(base, kTones[7]), scaled(base, kTones[3]));
        ring(cr, inner, scaled(base, kTones[5]), scaled(base, kTones[2]));
    }
}

}  // namespace s::gui::drawer
