#pragma once

#include <cstdint>

typedef struct _cairo cairo_t;

namespace s::gui {

// A colour as the toolkit holds it: 0x00BBGGRR.
using Colour = std::uint32_t;

constexpr Colour rgb(int r, int g, int b)
{
    return static_cast<Colour>((b & 0xFF) << 16 | (g & 0xFF) << 8 | (r & 0xFF));
}
// From the RRGGBB triple colours are written as.
constexpr Colour fromRgbHex(std::uint32_t rrggbb)
{
    return rgb(static_cast<int>((rrggbb >> 16) & 0xFF), static_cast<int>((rrggbb >> 8) & 0xFF),
               static_cast<int>(rrggbb & 0xFF));
}
constexpr int red(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int green(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blue(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }
// To 0x00RRGGBB, the order pixels are read back in.
constexpr std::uint32_t toRgbHex(Colour c)
{
    return static_cast<std::uint32_t>(red(c)) << 16 | static_cast<std::uint32_t>(green(c)) << 8 |
           static_cast<std::uint32_t>(blue(c));
}

// Each channel multiplied by factor, capped at 255.
Colour scaled(Colour c, double factor);

void setSourceColour(cairo_t* cr, Colour c);

// The desktop palette the toolkit's defaults refer to (the classic system colours).
namespace system_colour {
inline constexpr Colour kButtonFace = rgb(240, 240, 240);
inline constexpr Colour kInactiveCaptionText = rgb(0, 0, 0);
inline constexpr Colour kGrayText = rgb(109, 109, 109);
}  // namespace system_colour

}  // namespace s::gui
