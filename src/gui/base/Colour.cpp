#include "gui/base/Colour.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace s::gui {

Colour scaled(Colour c, double factor)
{
    const auto channel = [factor](int v) { return static_cast<int>(std::min(255.0, std::floor(v * factor))); };
    return rgb(channel(red(c)), channel(green(c)), channel(blue(c)));
}

void setSourceColour(cairo_t* cr, Colour c)
{
    cairo_set_source_rgb(cr, red(c) / 255.0, green(c) / 255.0, blue(c) / 255.0);
}

}  // namespace s::gui
