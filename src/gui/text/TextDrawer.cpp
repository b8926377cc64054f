#include "gui/text/TextDrawer.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <vector>

namespace s::gui::drawer::text::win {

namespace {

using gui::text::Extent;
using gui::text::Flow;
using gui::text::TextEngine;

constexpr Colour kBlack = rgb(0, 0, 0);
constexpr Colour kWhite = rgb(255, 255, 255);

struct Stroke {
    int dx;
    int dy;
    enum Paint { Text, Effect1, Effect2, Shadow, Black, White } paint;
};

// The effect table: where the text is drawn, in which colour, last stroke on top.
std::vector<Stroke> strokesOf(int effect)
{
    const auto outline = [](Stroke::Paint colour) {
        std::vector<Stroke> strokes;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = 0; dx <= 2; ++dx) {
                if (dx != 1 || dy != 0)
                    strokes.push_back({dx, dy, colour});
            }
        }
        strokes.push_back({1, 0, Stroke::Text});
        return strokes;
    };
    switch (effect) {
    case 1: return outline(Stroke::Effect1);
    case 2: return {{1, 1, Stroke::Shadow}, {0, 0, Stroke::Text}};
    case 3: return {{2, 2, Stroke::Black}, {0, 0, Stroke::White}, {1, 1, Stroke::Text}};
    case 4: return {{0, 0, Stroke::White}, {0, 2, Stroke::Black}, {0, 1, Stroke::Text}};
    case 5: return {{2, 2, Stroke::White}, {0, 0, Stroke::Black}, {1, 1, Stroke::Text}};
    case 6: return {{0, 0, Stroke::Black}, {0, 2, Stroke::White}, {0, 1, Stroke::Text}};
    case 7: return outline(Stroke::Effect2);
    default: return {{0, 0, Stroke::Text}};
    }
}

Colour colourOf(Stroke::Paint paint, const gui::win::FontBase& font)
{
    switch (paint) {
    case Stroke::Effect1: return font.getEffectColour1();
    case Stroke::Effect2: return font.getEffectColour2();
    case Stroke::Shadow: return font.getTextColour() != kBlack ? rgb(0x77, 0x77, 0x77) : rgb(0xEE, 0xEE, 0xEE);
    case Stroke::Black: return kBlack;
    case Stroke::White: return kWhite;
    case Stroke::Text: break;
    }
    return font.getTextColour();
}

}  // namespace

Extent effectGrowth(int effect)
{
    if (effect < 1 || effect > 7)
        return {0, 0};
    const int width = effect == 2 ? 1 : (effect % 2 == 1 ? 2 : 0);
    return {width, 1};
}

Basic::Basic()
{
    reset();
}

void Basic::reset()
{
    for (gui::win::FontSetting& s : m_settings)
        s.resetProperties();
    setting(Role::Disabled).setTextColour(rgb(161, 161, 146));
    setting(Role::Link).setTextColour(rgb(0, 170, 0));
    setting(Role::Link).setUnderline(true);
    for (Role role : {Role::LinkHover, Role::LinkPressed}) {
        setting(role).setTextColour(rgb(170, 170, 0));
        setting(role).setUnderline(true);
    }
    m_centring = false;
}

Basic& Basic::shared()
{
    thread_local Basic drawer;
    return drawer;
}

TextSizes Basic::measure(std::string_view text, const gui::win::FontBase& font)
{
    TextEngine& engine = TextEngine::forThisThread();
    const Extent line = engine.measure(text, font, Flow::SingleLine, 0);
    TextSizes sizes{line.width, line.height, line.width, line.height};
    if (font.isWordWrap())
        sizes.minWidth = engine.measure(text, font, Flow::Wrap, 0).width;
    else if (font.isEndEllipsis())
        sizes.minWidth = std::min(1, line.width);
    const Extent growth = effectGrowth(font.getEffect());
    sizes.minWidth += growth.width;
    sizes.prefWidth += growth.width;
    sizes.minHeight += growth.height;
    sizes.prefHeight += growth.height;
    return sizes;
}

gui::text::Extent Basic::measureWrapped(std::string_view text, const gui::win::FontBase& font, int width)
{
    const Extent growth = effectGrowth(font.getEffect());
    const Extent wrapped =
        TextEngine::forThisThread().measure(text, font, Flow::Wrap, std::max(0, width - growth.width));
    return {wrapped.width + growth.width, wrapped.height + growth.height};
}

void Basic::draw(cairo_t* cr, std::string_view text, const gui::win::FontBase& font, const platform::Rect& rect)
{
    if (rect.isEmpty() || text.empty())
        return;
    const Extent growth = effectGrowth(font.getEffect());
    const int boxWidth = std::max(0, rect.width() - growth.width);
    Flow flow = Flow::SingleLine;
    if (m_centring || (!font.isWordWrap() && font.isEndEllipsis()))
        flow = Flow::Ellipsis;
    else if (font.isWordWrap())
        flow = Flow::Wrap;
    PangoLayout* layout = TextEngine::forThisThread().layout(text, font, flow, boxWidth);

    double x = rect.left;
    double y = rect.top;
    if (m_centring) {
        PangoRectangle logical{};
        pango_layout_get_pixel_extents(layout, nullptr, &logical);
        x += (rect.width() - growth.width - logical.width) / 2 - logical.x;
        y += (rect.height() - growth.height - logical.height) / 2;
    }
    cairo_save(cr);
    cairo_rectangle(cr, rect.left, rect.top, rect.width(), rect.height());
    cairo_clip(cr);
    for (const Stroke& stroke : strokesOf(font.getEffect())) {
        setSourceColour(cr, colourOf(stroke.paint, font));
        cairo_move_to(cr, x + stroke.dx, y + stroke.dy);
        pango_cairo_show_layout(cr, layout);
    }
    cairo_restore(cr);
}

}  // namespace s::gui::drawer::text::win
