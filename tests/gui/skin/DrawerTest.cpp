#include "gui/skin/BorderDrawer.h"
#include "gui/skin/ButtonThin.h"
#include "gui/skin/CheckBoxThin.h"
#include "gui/skin/Glyphs.h"
#include "gui/skin/WindowThin.h"
#include "gui/text/Font.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cctype>
#include <functional>

namespace {

using namespace s::gui;
using namespace s::gui::drawer;
using s::platform::Rect;

// An RGB surface filled with one colour, read back as 0xRRGGBB.
class Canvas {
public:
    Canvas(int width, int height, std::uint32_t fill = 0x808080) : m_width(width), m_height(height)
    {
        m_surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
        m_cr = cairo_create(m_surface);
        setSourceColour(m_cr, fromRgbHex(fill));
        cairo_paint(m_cr);
    }
    ~Canvas()
    {
        cairo_destroy(m_cr);
        cairo_surface_destroy(m_surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    cairo_t* cr() { return m_cr; }
    std::uint32_t at(int x, int y)
    {
        cairo_surface_flush(m_surface);
        const auto* data = cairo_image_surface_get_data(m_surface);
        return *reinterpret_cast<const std::uint32_t*>(data + y * cairo_image_surface_get_stride(m_surface) + x * 4) &
               0xFFFFFF;
    }
    // The bounding box of the pixels of one colour.
    Rect boundsOf(std::uint32_t rgb)
    {
        Rect r{m_width, m_height, 0, 0};
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                if (at(x, y) == rgb)
                    r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
            }
        }
        return r;
    }
    int count(std::uint32_t rgb)
    {
        int n = 0;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x)
                n += at(x, y) == rgb;
        }
        return n;
    }

private:
    int m_width;
    int m_height;
    cairo_surface_t* m_surface;
    cairo_t* m_cr;
};

TEST(WindowDrawerTest, PaintsBackgroundFrameAndCorners)
{
    window::win::Thin drawer;
    drawer.setBackgroundColour(fromRgbHex(0x112233), true);
    drawer.setFrameColour(fromRgbHex(0xAABBCC));
    Canvas square(40, 20);
    drawer.paintFrame(square.cr(), 40, 20);
    EXPECT_EQ(square.at(0, 0), 0xAABBCCu);
    EXPECT_EQ(square.at(39, 19), 0xAABBCCu);
    EXPECT_EQ(square.at(20, 0), 0xAABBCCu);
    EXPECT_EQ(square.at(1, 1), 0x112233u);
    EXPECT_EQ(square.at(20, 10), 0x112233u);
    EXPECT_TRUE(drawer.region(40, 20).empty()) << "square corners keep the whole rectangle";

    drawer.setCorners(window::win::Thin::kLargeRound, window::win::Thin::kSmallRound);
    Canvas round(40, 20);
    drawer.paintFrame(round.cr(), 40, 20);
    EXPECT_EQ(round.at(4, 1), 0xAABBCCu) << "a run of five on row 1";
    EXPECT_EQ(round.at(5, 1), 0x112233u);
    EXPECT_EQ(round.at(35, 1), 0xAABBCCu);
    EXPECT_EQ(round.at(0, 5), 0xAABBCCu);
    EXPECT_EQ(round.at(1, 5), 0x112233u);
    EXPECT_EQ(round.at(1, 18), 0xAABBCCu) << "a small mark at the bottom";
    EXPECT_EQ(round.at(2, 18), 0x112233u);
    const std::vector<Rect> region = drawer.region(40, 20);
    ASSERT_FALSE(region.empty());
    EXPECT_GT(region.front().left, 0);
    int area = 0;
    for (const Rect& r : region)
        area += r.width() * r.height();
    EXPECT_LT(area, 40 * 20);
    EXPECT_GT(area, 40 * 20 - 60);

    drawer.setBackgroundColour(fromRgbHex(0x112233), false);
    Canvas clear(10, 10, 0x445566);
    drawer.paintFrame(clear.cr(), 10, 10);
    EXPECT_EQ(clear.at(5, 5), 0x445566u) << "not opaque: the background stays";
}

class ButtonDrawerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        drawer.setColours(fromRgbHex(0x0000C0), fromRgbHex(0x909090), fromRgbHex(0x0000C0), fromRgbHex(0xC0C000));
        font.setTextColour(fromRgbHex(0x00C000));
    }
    ButtonFace face(int state, std::string_view text = "#Stop")
    {
        ButtonFace f;
        f.rect = Rect::fromSize(0, 0, 30, 20);
        f.mouseState = state;
        f.text = text;
        f.font = &font;
        return f;
    }
    button::win::Thin drawer;
    win::Font font;
};

TEST_F(ButtonDrawerTest, FramesFillAndGlyphFollowTheState)
{
    Canvas flat(30, 20);
    ButtonFace normal = face(kMouseNormal);
    normal.drawerFlag = false;
    drawer.drawButton(flat.cr(), normal);
    EXPECT_EQ(flat.at(0, 10), 0x808080u) << "a normal button without the frame flag is flat";
    EXPECT_GT(flat.count(0x0000C0), 10) << "its glyph in the frame colour";

    Canvas fourth(30, 20);
    normal.fourthFlag = true;
    drawer.drawButton(fourth.cr(), normal);
    EXPECT_EQ(fourth.at(0, 10), 0x0000C0u) << "the fourth flag frames it";

    for (int state : {kMouseNormal, kMouseHover, kMousePressed}) {
        Canvas framed(30, 20);
        drawer.drawButton(framed.cr(), face(state));
        EXPECT_EQ(framed.at(0, 10), 0x0000C0u) << state;
        EXPECT_EQ(framed.at(29, 19), 0x0000C0u) << state;
    }

    Canvas pushed(30, 20);
    ButtonFace p = face(kMouseNormal, "");
    p.pushed = true;
    p.drawerFlag = false;
    drawer.drawButton(pushed.cr(), p);
    EXPECT_EQ(pushed.at(1, 1), 0xC0C000u) << "the pushed fill one pixel in";
    EXPECT_EQ(pushed.at(0, 0), 0x808080u);

    Canvas disabled(30, 20);
    ButtonFace d = face(kMouseNormal);
    d.enabled = false;
    drawer.drawButton(disabled.cr(), d);
    EXPECT_EQ(disabled.at(0, 10), 0x909090u);
    EXPECT_EQ(disabled.count(0x0000C0), 0);
}

TEST_F(ButtonDrawerTest, ThePressOffsetMovesTheContentAPixelEachWay)
{
    const auto glyphBounds = [&](int state, bool pushed) {
        Canvas c(30, 20, 0xFFFFFF);
        ButtonFace f = face(state, "#.");
        f.drawerFlag = false;
        f.pushed = pushed;
        // Hover and pressed frames would hide the glyph's bounds; the fill of a pushed button
        // stays out of the glyph colour.
        drawer.drawButton(c.cr(), f);
        Rect r{30, 20, 0, 0};
        for (int y = 2; y < 18; ++y) {
            for (int x = 2; x < 28; ++x) {
                if (c.at(x, y) == 0x0000C0u)
                    r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1), std::max(r.bottom, y + 1)};
            }
        }
        return r;
    };
    const Rect normal = glyphBounds(kMouseNormal, false);
    const Rect hover = glyphBounds(kMouseHover, false);
    const Rect pressed = glyphBounds(kMousePressed, false);
    ASSERT_FALSE(normal.isEmpty());
    EXPECT_EQ(hover.left, normal.left - 1);
    EXPECT_EQ(hover.top, normal.top - 1);
    EXPECT_EQ(pressed.left, normal.left + 1);
    EXPECT_EQ(pressed.top, normal.top + 1);
    EXPECT_EQ(glyphBounds(kMouseHover, true).left, pressed.left) << "pushed, hover looks pressed";
    EXPECT_EQ(glyphBounds(kMousePressed, true).left, hover.left);
}

TEST_F(ButtonDrawerTest, ATextIsDrawnInTheStatesFontColour)
{
    Canvas c(60, 20);
    ButtonFace f = face(kMouseNormal, "Stop");
    f.rect = Rect::fromSize(0, 0, 60, 20);
    font.setBold(true);
    drawer.drawButton(c.cr(), f);
    EXPECT_GT(c.count(0x00C000), 10);
    Canvas unknown(60, 20);
    f.text = "#NotAGlyph";
    drawer.drawButton(unknown.cr(), f);
    EXPECT_GT(unknown.count(0x00C000), 10) << "a name of no glyph is a text";
}

TEST(BorderDrawerTest, ShadingDerivesTheTonesOfTheBase)
{
    const Colour base = fromRgbHex(0x808080);
    BorderDrawer border;
    Canvas plain(10, 10, 0);
    border.draw(plain.cr(), Rect::fromSize(0, 0, 10, 10), base, BorderDrawer::Style::Raised);
    EXPECT_EQ(plain.at(0, 0), 0x808080u);
    EXPECT_EQ(plain.at(9, 9), 0x808080u);
    EXPECT_EQ(plain.at(1, 1), 0x000000u);

    border.setShading(true);
    Canvas raised(10, 10, 0);
    border.draw(raised.cr(), Rect::fromSize(0, 0, 10, 10), base, BorderDrawer::Style::Raised);
    EXPECT_EQ(raised.at(0, 5), toRgbHex(scaled(base, 1.15)));
    EXPECT_EQ(raised.at(1, 5), toRgbHex(scaled(base, 1.05)));
    EXPECT_EQ(raised.at(9, 5), toRgbHex(scaled(base, 0.5)));
    EXPECT_EQ(raised.at(8, 5), toRgbHex(scaled(base, 0.85)));
    Canvas pressed(10, 10, 0);
    border.draw(pressed.cr(), Rect::fromSize(0, 0, 10, 10), base, BorderDrawer::Style::Pressed);
    EXPECT_LT(pressed.at(0, 5) & 0xFF, 0x80u) << "dark on top and left";
    EXPECT_GT(pressed.at(9, 5) & 0xFF, pressed.at(0, 5) & 0xFF);
    EXPECT_EQ(toRgbHex(scaled(fromRgbHex(0xF0F0F0), 1.15)), 0xFFFFFFu) << "capped at 255";
}

class GlyphTest : public ::testing::TestWithParam<std::string_view> {};

TEST_P(GlyphTest, DrawsInsideItsRectangleInItsColour)
{
    Canvas c(24, 24, 0xFFFFFF);
    const Rect cell = Rect::fromSize(4, 4, 16, 16);
    ASSERT_TRUE(drawGlyph(c.cr(), GetParam(), cell, fromRgbHex(0x000000)));
    int inside = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            if (c.at(x, y) == 0xFFFFFFu)
                continue;
            EXPECT_TRUE(Rect::fromSize(3, 3, 18, 18).contains({x, y})) << GetParam() << " at " << x << "," << y;
            inside += cell.contains({x, y});
        }
    }
    EXPECT_GT(inside, 3) << GetParam();
    EXPECT_TRUE(isGlyph(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(All, GlyphTest, ::testing::ValuesIn(glyphNames()), [](const auto& test) {
    std::string name;
    for (unsigned char ch : test.param)
        name += std::isalnum(ch) ? static_cast<char>(ch) : '_';
    return name + "_" + std::to_string(test.index);
});

TEST(GlyphNamesTest, TheCaptionGlyphsAndTheOthersAreThere)
{
    for (std::string_view name :
         {"#_",          "#\u25A1",  "#\u2199",   "#X",         "#Resizer",   "#Transform", "#.",
          "#Play",       "#Pause",      "#Stop",      "#Speaker",   "#Mute",      "#Right",     "#RightRight",
          "#Left",       "#LeftLeft",   "#Up",        "#Down",      "#ThumbLineV", "#ThumbLineH", "#Minus",
          "#Plus",       "#PlusMinus",  "#Check",     "#Next",      "#Prev",      "#TreeClosed", "#TreeOpen",
          "#TurnRight",  "#TurnLeft",   "#OnTop",     "#FitWindow", "#FitToWindow", "#Palm",    "#KeepRatio"})
        EXPECT_TRUE(isGlyph(name)) << name;
    EXPECT_FALSE(isGlyph("#"));
    EXPECT_FALSE(isGlyph("X"));
    EXPECT_FALSE(isGlyph("#x"));
    Canvas c(4, 4);
    EXPECT_FALSE(drawGlyph(c.cr(), "#Nothing", Rect::fromSize(0, 0, 4, 4), 0));
    EXPECT_TRUE(drawGlyph(c.cr(), "#X", Rect{}, 0)) << "an empty rectangle draws nothing";
}

TEST(CheckBoxDrawerTest, BoxAndMarkInTheAccentColour)
{
    checkbox::win::Thin drawer;
    drawer.setColours(fromRgbHex(0x0000C0), fromRgbHex(0x00C000), fromRgbHex(0x909090));
    win::Font font;
    font.setTextColour(fromRgbHex(0x00C000));
    font.setBold(true);
    Canvas unchecked(80, 20, 0xFFFFFF);
    drawer.drawCheckBox(unchecked.cr(), Rect::fromSize(0, 0, 80, 20), "Write", font, false, true, 0);
    Canvas checked(80, 20, 0xFFFFFF);
    drawer.drawCheckBox(checked.cr(), Rect::fromSize(0, 0, 80, 20), "Write", font, true, true, 0);
    EXPECT_GT(checked.count(0x0000C0), unchecked.count(0x0000C0)) << "the tick";
    EXPECT_GT(unchecked.count(0x00C000), 10) << "the caption";
    Canvas disabled(80, 20, 0xFFFFFF);
    drawer.drawCheckBox(disabled.cr(), Rect::fromSize(0, 0, 80, 20), "Write", font, true, false, 0);
    EXPECT_EQ(disabled.count(0x0000C0), 0);
    EXPECT_GT(disabled.count(0x909090), 10);
    EXPECT_EQ(drawer.getSetting(ICheckBoxDrawer::FontRole::Disabled).getTextColour(), fromRgbHex(0x909090));
}

}  // namespace
