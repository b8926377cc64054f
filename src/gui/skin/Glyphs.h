#pragma once

#include "gui/base/Colour.h"
#include "platform/WindowTypes.h"

#include <string_view>
#include <vector>

typedef struct _cairo cairo_t;

namespace s::gui::drawer {

// Whether a button text names a glyph ("#_", "#X", "#Play", ...).
bool isGlyph(std::string_view text);
// Draws the named glyph as vector shapes in colour, centred in rect; false for an unknown name.
bool drawGlyph(cairo_t* cr, std::string_view name, const platform::Rect& rect, Colour colour);
// Every glyph name, for the gallery and the tests.
const std::vector<std::string_view>& glyphNames();

}  // namespace s::gui::drawer
