#include "gui/skin/Glyphs.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace s::gui::drawer {

namespace {

// A square cell centred in the glyph's rectangle, with coordinates 0 to 1 across it.
struct Cell {
    cairo_t* cr;
    double x;
    double y;
    double s;
    double line;  // stroke width in pixels

    double px(double u) const { return std::round(x + u * s); }
    double py(double v) const { return std::round(y + v * s); }
    void move(double u, double v) const { cairo_move_to(cr, x + u * s, y + v * s); }
    void to(double u, double v) const { cairo_line_to(cr, x + u * s, y + v * s); }
    // A filled rectangle snapped to whole pixels.
    void bar(double u1, double v1, double u2, double v2) const
    {
        const double left = px(u1);
        const double top = py(v1);
        cairo_rectangle(cr, left, top, std::max(1.0, px(u2) - left), std::max(1.0, py(v2) - top));
        cairo_fill(cr);
    }
    // A frame of line width, snapped to whole pixels.
    void frame(double u1, double v1, double u2, double v2) const
    {
        const double l = px(u1);
        const double t = py(v1);
        const double r = px(u2);
        const double b = py(v2);
        const double w = std::max(1.0, std::round(line));
        cairo_rectangle(cr, l, t, r - l, w);
        cairo_rectangle(cr, l, b - w, r - l, w);
        cairo_rectangle(cr, l, t, w, b - t);
        cairo_rectangle(cr, r - w, t, w, b - t);
        cairo_fill(cr);
    }
    void stroke() const
    {
        cairo_set_line_width(cr, line);
        cairo_stroke(cr);
    }
    void fill() const { cairo_fill(cr); }
    void polygon(std::initializer_list<std::pair<double, double>> points) const
    {
        bool first = true;
        for (const auto& [u, v] : points) {
            if (first)
                move(u, v);
            else
                to(u, v);
            first = false;
        }
        cairo_close_path(cr);
        fill();
    }
    void dot(double u, double v, double radius) const
    {
        cairo_arc(cr, x + u * s, y + v * s, radius * s, 0, 2 * M_PI);
        fill();
    }
};

void triangleRight(const Cell& c, double left, double right) { c.polygon({{left, 0.2}, {right, 0.5}, {left, 0.8}}); }
void triangleLeft(const Cell& c, double left, double right) { c.polygon({{right, 0.2}, {left, 0.5}, {right, 0.8}}); }

void speaker(const Cell& c)
{
    c.polygon({{0.12, 0.38}, {0.3, 0.38}, {0.55, 0.15}, {0.55, 0.85}, {0.3, 0.62}, {0.12, 0.62}});
}

void turn(const Cell& c, bool clockwise)
{
    cairo_new_path(c.cr);
    const double cx = c.x + 0.5 * c.s;
    const double cy = c.y + 0.55 * c.s;
    const double r = 0.3 * c.s;
    if (clockwise)
        cairo_arc(c.cr, cx, cy, r, M_PI, 1.9 * M_PI);
    else
        cairo_arc_negative(c.cr, cx, cy, r, 0, -0.9 * M_PI);
    c.stroke();
    if (clockwise)
        c.polygon({{0.72, 0.12}, {0.92, 0.45}, {0.58, 0.45}});
    else
        c.polygon({{0.28, 0.12}, {0.42, 0.45}, {0.08, 0.45}});
}

// Four corner arrows, pointing out of the cell or into it.
void cornerArrows(const Cell& c, bool outwards)
{
    const double a = outwards ? 0.08 : 0.4;
    const double b = outwards ? 0.38 : 0.1;
    for (const auto& [fx, fy] : {std::pair{1, 1}, std::pair{-1, 1}, std::pair{1, -1}, std::pair{-1, -1}}) {
        const auto u = [fx = fx](double v) { return fx > 0 ? v : 1 - v; };
        const auto v = [fy = fy](double w) { return fy > 0 ? w : 1 - w; };
        c.polygon({{u(a), v(a)}, {u(a + (b - a)), v(a)}, {u(a), v(a + (b - a))}});
        c.move(u(0.1), v(0.1));
        c.to(u(0.42), v(0.42));
        c.stroke();
    }
}

using Painter = std::function<void(const Cell&)>;

const std::vector<std::pair<std::string_view, Painter>>& painters()
{
    static const std::vector<std::pair<std::string_view, Painter>> table = {
        {"#_", [](const Cell& c) { c.bar(0.2, 0.68, 0.8, 0.68 + std::max(2.0, c.line) / c.s); }},
        {"#\u25A1", [](const Cell& c) { c.frame(0.2, 0.2, 0.8, 0.8); }},
        {"#\u2199",
         [](const Cell& c) {
             c.frame(0.38, 0.2, 0.8, 0.62);
             c.move(0.62, 0.38);
             c.to(0.24, 0.76);
             c.stroke();
             c.polygon({{0.2, 0.8}, {0.2, 0.5}, {0.5, 0.8}});
         }},
        {"#X",
         [](const Cell& c) {
             c.move(0.22, 0.22);
             c.to(0.78, 0.78);
             c.move(0.78, 0.22);
             c.to(0.22, 0.78);
             c.stroke();
         }},
        {"#Resizer",
         [](const Cell& c) {
             // The classic grip: a triangle of six squares in the bottom-right corner, whole pixels.
             const double square = std::max(1.0, std::floor(c.s / 4));
             const double step = std::max(square + 1, std::floor((c.s - square) / 2));
             const double right = std::round(c.x + c.s);
             const double bottom = std::round(c.y + c.s);
             for (const auto& [i, j] : {std::pair{0, 2}, {0, 1}, {1, 1}, {0, 0}, {1, 0}, {2, 0}})
                 cairo_rectangle(c.cr, right - square - i * step, bottom - square - j * step, square, square);
             c.fill();
         }},
        {"#Transform",
         [](const Cell& c) {
             c.frame(0.12, 0.12, 0.62, 0.62);
             c.frame(0.38, 0.38, 0.88, 0.88);
         }},
        {"#.", [](const Cell& c) { c.dot(0.5, 0.5, 0.1); }},
        {"#Play", [](const Cell& c) { triangleRight(c, 0.25, 0.8); }},
        {"#Pause",
         [](const Cell& c) {
             c.bar(0.25, 0.2, 0.42, 0.8);
             c.bar(0.58, 0.2, 0.75, 0.8);
         }},
        {"#Stop", [](const Cell& c) { c.bar(0.22, 0.22, 0.78, 0.78); }},
        {"#Speaker",
         [](const Cell& c) {
             speaker(c);
             cairo_arc(c.cr, c.x + 0.55 * c.s, c.y + 0.5 * c.s, 0.25 * c.s, -0.3 * M_PI, 0.3 * M_PI);
             c.stroke();
         }},
        {"#Mute",
         [](const Cell& c) {
             speaker(c);
             c.move(0.66, 0.36);
             c.to(0.9, 0.64);
             c.move(0.9, 0.36);
             c.to(0.66, 0.64);
             c.stroke();
         }},
        {"#Right", [](const Cell& c) { triangleRight(c, 0.32, 0.72); }},
        {"#RightRight",
         [](const Cell& c) {
             triangleRight(c, 0.12, 0.5);
             triangleRight(c, 0.5, 0.88);
         }},
        {"#Left", [](const Cell& c) { triangleLeft(c, 0.28, 0.68); }},
        {"#LeftLeft",
         [](const Cell& c) {
             triangleLeft(c, 0.12, 0.5);
             triangleLeft(c, 0.5, 0.88);
         }},
        {"#Up", [](const Cell& c) { c.polygon({{0.2, 0.68}, {0.5, 0.28}, {0.8, 0.68}}); }},
        {"#Down", [](const Cell& c) { c.polygon({{0.2, 0.32}, {0.5, 0.72}, {0.8, 0.32}}); }},
        {"#ThumbLineV",
         [](const Cell& c) {
             for (double v : {0.3, 0.5, 0.7})
                 c.bar(0.25, v - 0.04, 0.75, v + 0.04);
         }},
        {"#ThumbLineH",
         [](const Cell& c) {
             for (double u : {0.3, 0.5, 0.7})
                 c.bar(u - 0.04, 0.25, u + 0.04, 0.75);
         }},
        {"#Minus", [](const Cell& c) { c.bar(0.2, 0.44, 0.8, 0.56); }},
        {"#Plus",
         [](const Cell& c) {
             c.bar(0.2, 0.44, 0.8, 0.56);
             c.bar(0.44, 0.2, 0.56, 0.8);
         }},
        {"#PlusMinus",
         [](const Cell& c) {
             c.bar(0.2, 0.3, 0.8, 0.4);
             c.bar(0.45, 0.08, 0.55, 0.62);
             c.bar(0.2, 0.78, 0.8, 0.88);
         }},
        {"#Check",
         [](const Cell& c) {
             c.move(0.18, 0.52);
             c.to(0.42, 0.76);
             c.to(0.84, 0.26);
             c.stroke();
         }},
        {"#Next",
         [](const Cell& c) {
             triangleRight(c, 0.18, 0.66);
             c.bar(0.68, 0.2, 0.8, 0.8);
         }},
        {"#Prev",
         [](const Cell& c) {
             c.bar(0.2, 0.2, 0.32, 0.8);
             triangleLeft(c, 0.34, 0.82);
         }},
        {"#TreeClosed",
         [](const Cell& c) {
             c.frame(0.15, 0.15, 0.85, 0.85);
             c.bar(0.3, 0.46, 0.7, 0.54);
             c.bar(0.46, 0.3, 0.54, 0.7);
         }},
        {"#TreeOpen",
         [](const Cell& c) {
             c.frame(0.15, 0.15, 0.85, 0.85);
             c.bar(0.3, 0.46, 0.7, 0.54);
         }},
        {"#TurnRight", [](const Cell& c) { turn(c, true); }},
        {"#TurnLeft", [](const Cell& c) { turn(c, false); }},
        {"#OnTop",
         [](const Cell& c) {
             c.frame(0.15, 0.45, 0.85, 0.88);
             c.polygon({{0.3, 0.32}, {0.5, 0.08}, {0.7, 0.32}});
             c.bar(0.45, 0.3, 0.55, 0.62);
         }},
        {"#FitWindow", [](const Cell& c) { cornerArrows(c, true); }},
        {"#FitToWindow", [](const Cell& c) { cornerArrows(c, false); }},
        {"#Palm",
         [](const Cell& c) {
             c.bar(0.28, 0.48, 0.78, 0.9);
             for (double u : {0.3, 0.44, 0.58, 0.72})
                 c.bar(u - 0.05, 0.12, u + 0.05, 0.52);
             c.polygon({{0.28, 0.6}, {0.1, 0.42}, {0.16, 0.36}, {0.32, 0.5}});
         }},
        {"#KeepRatio",
         [](const Cell& c) {
             c.frame(0.1, 0.25, 0.9, 0.75);
             c.move(0.1, 0.75);
             c.to(0.9, 0.25);
             c.stroke();
         }},
    };
    return table;
}

const Painter* painterFor(std::string_view name)
{
    for (const auto& [glyph, painter] : painters()) {
        if (glyph == name)
            return &painter;
    }
    return nullptr;
}

}  // namespace

bool isGlyph(std::string_view text)
{
    return !text.empty() && text.front() == '#' && painterFor(text) != nullptr;
}

bool drawGlyph(cairo_t* cr, std::string_view name, const platform::Rect& rect, Colour colour)
{
    const Painter* painter = painterFor(name);
    if (painter == nullptr)
        return false;
    if (rect.isEmpty())
        return true;
    const double side = std::min(rect.width(), rect.height());
    Cell cell{cr, rect.left + std::floor((rect.width() - side) / 2), rect.top + std::floor((rect.height() - side) / 2),
              side, std::max(1.0, std::round(side / 9.0))};
    cairo_save(cr);
    cairo_new_path(cr);
    setSourceColour(cr, colour);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    (*painter)(cell);
    cairo_restore(cr);
    return true;
}

const std::vector<std::string_view>& glyphNames()
{
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> all;
        for (const auto& entry : painters())
            all.push_back(entry.first);
        return all;
    }();
    return names;
}

}  // namespace s::gui::drawer
