#pragma once

#include "gui/base/IDrawer.h"
#include "gui/text/ITextDrawer.h"

#include <string_view>

namespace s::gui::drawer {

// A check box's box, mark and caption.
class ICheckBoxDrawer : public IDrawer {
public:
    enum class FontRole { Normal, Disabled };

    // The check box's four content sizes for its text in font (word wrap taken from the font).
    virtual TextSizes measure(std::string_view text, const win::FontBase& font) = 0;
    // Its size with the text wrapped to fit width.
    virtual gui::text::Extent measureWrapped(std::string_view text, const win::FontBase& font, int width) = 0;
    virtual void drawCheckBox(cairo_t* cr, const platform::Rect& rect, std::string_view text,
                              const win::FontBase& font, bool checked, bool enabled, int mouseState) = 0;
    virtual const win::FontSetting& getSetting(FontRole role) const = 0;
};

}  // namespace s::gui::drawer
