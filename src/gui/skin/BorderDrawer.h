#pragma once

#include "gui/base/Colour.h"
#include "platform/WindowTypes.h"

typedef struct _cairo cairo_t;

namespace s::gui::drawer {

// A button's frame. Shaded, a raised frame takes light tones of the base colour on its top and
// left edges and dark ones on its bottom and right edges (a pressed frame the reverse), in two
// rings; unshaded, every edge is one pixel of the base colour.
class BorderDrawer {
public:
    enum class Style { Raised, Pressed, Flat };

    void setShading(bool on) { m_shading = on; }
    bool isShading() const { return m_shading; }
    void draw(cairo_t* cr, const platform::Rect& rect, Colour base, Style style) const;

    // The tones the shading derives: 1.15 and 1.05 lighter, 0.95 to 0.45 darker.
    static constexpr double kTones[] = {1.15, 1.05, 0.95, 0.9, 0.85, 0.7, 0.5, 0.45};

private:
    bool m_shading = false;
};

}  // namespace s::gui::drawer
