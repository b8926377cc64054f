#include "gui/component/Painting.h"

#include <cairo.h>

namespace s::gui::win {

void paintComponent(cairo_t* cr, IComponent& component)
{
    if (!component.isShown() || component.getWidth() <= 0 || component.getHeight() <= 0)
        return;
    const double left = component.getX() + component.getOriginX();
    const double top = component.getY() + component.getOriginY();
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    if (left >= x2 || top >= y2 || left + component.getWidth() <= x1 || top + component.getHeight() <= y1)
        return;
    cairo_save(cr);
    cairo_translate(cr, left, top);
    cairo_rectangle(cr, 0, 0, component.getWidth(), component.getHeight());
    cairo_clip(cr);
    component.paint(cr);
    paintChildren(cr, component);
    cairo_restore(cr);
}

void paintChildren(cairo_t* cr, const IComponent& container)
{
    for (IComponent* child : container.getChildren())
        paintComponent(cr, *child);
}

}  // namespace s::gui::win
