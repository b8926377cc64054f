#pragma once

#include "gui/text/ITextDrawer.h"

#include <string_view>

// How a check box is measured: the box takes h + h / 6 pixels beside the caption, h being the
// caption's line height.
namespace s::gui::drawer {

int checkGlyphExtent(int lineHeight);
// Single line: both widths are the caption's plus the glyph, the height the line's. With word
// wrap: the minimum width from the widest word, the preferred one from the single line.
TextSizes checkBoxSizes(std::string_view text, const win::FontBase& font);
// The caption wrapped to width less the glyph: (glyph + wrapped width, max(line, wrapped height)).
gui::text::Extent checkBoxWrapped(std::string_view text, const win::FontBase& font, int width);

}  // namespace s::gui::drawer
