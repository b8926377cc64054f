#pragma once

#include "gui/base/IDrawer.h"
#include "gui/text/TextEngine.h"
#include "platform/WindowTypes.h"

#include <string_view>

typedef struct _cairo cairo_t;

namespace s::gui::win {
class FontSetting;
}

namespace s::gui::drawer {

// What a text drawer measures for a text: the four content sizes of a widget showing it.
struct TextSizes {
    int minWidth = 0;
    int minHeight = 0;
    int prefWidth = 0;
    int prefHeight = 0;
    friend bool operator==(const TextSizes&, const TextSizes&) = default;
};

// Measures and paints texts with their effects; holds the font settings labels inherit.
class ITextDrawer : public IDrawer {
public:
    enum class Role { Normal, Disabled, Link, LinkHover, LinkPressed };

    virtual const win::FontSetting& getSetting(Role role) const = 0;
    virtual TextSizes measure(std::string_view text, const win::FontBase& font) = 0;
    // The extent of the text wrapped to width (a word-wrapping widget's size at that width).
    virtual gui::text::Extent measureWrapped(std::string_view text, const win::FontBase& font, int width) = 0;
    // Paints the text into rect (clipped to it) with the font's colour, flow and effect.
    virtual void draw(cairo_t* cr, std::string_view text, const win::FontBase& font, const platform::Rect& rect) = 0;
};

}  // namespace s::gui::drawer
