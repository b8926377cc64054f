#include "gui/drawer/CheckBoxMetrics.h"

#include <algorithm>

namespace s::gui::drawer {

using text::Extent;
using text::Flow;
using text::TextEngine;

int checkGlyphExtent(int lineHeight)
{
    return lineHeight + lineHeight / 6;
}

TextSizes checkBoxSizes(std::string_view text, const win::FontBase& font)
{
    TextEngine& engine = TextEngine::forThisThread();
    const Extent line = engine.measure(text, font, Flow::SingleLine, 0);
    const int glyph = checkGlyphExtent(line.height);
    TextSizes sizes{line.width + glyph, line.height, line.width + glyph, line.height};
    if (font.isWordWrap())
        sizes.minWidth = engine.measure(text, font, Flow::Wrap, 0).width + glyph;
    return sizes;
}

Extent checkBoxWrapped(std::string_view text, const win::FontBase& font, int width)
{
    TextEngine& engine = TextEngine::forThisThread();
    const int lineHeight = engine.measure(text, font, Flow::SingleLine, 0).height;
    const int glyph = checkGlyphExtent(lineHeight);
    const Extent wrapped = engine.measure(text, font, Flow::Wrap, std::max(0, width - glyph));
    return {glyph + wrapped.width, std::max(lineHeight, wrapped.height)};
}

}  // namespace s::gui::drawer
