#pragma once

#include "gui/base/Colour.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace s::gui::drawer::skin {

// The fifteen colours of a skin, by role: 1 window background and first text effect; 2 window
// frame; 3 disabled; 4 accent (frames, glyphs, lines); 5 group-box frame; 6 text; 7 second text
// effect; 8 second colour of scroll bars and sliders; 9 pushed fill, header and selection;
// 10 pushed, header and selected text; 11 list row background; 12 list row text; 13 alternate
// row background; 14 and 15 the counter's colours.
struct SkinColours {
    std::string_view name;
    std::array<std::uint32_t, 15> rrggbb;

    // Colour n (1 to 15) as the toolkit holds it.
    Colour operator[](int n) const { return fromRgbHex(rrggbb[static_cast<std::size_t>(n - 1)]); }
};

inline constexpr std::string_view kDefaultSkinName = "Black Black II";

// The program's skins, in menu order.
const std::array<SkinColours, 16>& skinTable();

}  // namespace s::gui::drawer::skin
