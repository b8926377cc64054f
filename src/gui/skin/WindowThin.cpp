#include "gui/skin/WindowThin.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace s::gui::drawer::window::win {

using platform::Rect;

namespace {

// The stepped runs of a large round corner, rows 1 to 5 from the corner.
constexpr int kLargeRuns[] = {5, 3, 2, 2, 1};

void pixelRun(cairo_t* cr, int x, int y, int length)
{
    cairo_rectangle(cr, x, y, length, 1);
}

// How far row y (0 at the rounded edge) of a rounded corner of that ellipse diameter is inset.
int cornerInset(int diameter, int row)
{
    const double radius = diameter / 2.0;
    const double dy = radius - (row + 0.5);
    if (dy <= 0)
        return 0;
    return static_cast<int>(std::lround(radius - std::sqrt(std::max(0.0, radius * radius - dy * dy))));
}

int diameterOf(Thin::Corner corner)
{
    switch (corner) {
    case Thin::kSmallRound: return 5;
    case Thin::kLargeRound: return 11;
    default: return 0;
    }
}

}  // namespace

void Thin::reset()
{
    m_background = rgb(255, 255, 255);
    m_opaque = true;
    m_frame = rgb(0, 0, 0);
    m_top = kSquare;
    m_bottom = kSquare;
}

void Thin::paintFrame(cairo_t* cr, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    if (m_opaque) {
        setSourceColour(cr, m_background);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_fill(cr);
    }
    setSourceColour(cr, m_frame);
    cairo_rectangle(cr, 0, 0, w, 1);
    cairo_rectangle(cr, 0, h - 1, w, 1);
    cairo_rectangle(cr, 0, 0, 1, h);
    cairo_rectangle(cr, w - 1, 0, 1, h);
    const auto corners = [&](Corner style, bool top) {
        if (style == kSmallRound) {
            const int y = top ? 1 : h - 2;
            pixelRun(cr, 0, y, 2);
            pixelRun(cr, w - 2, y, 2);
        } else if (style == kLargeRound) {
            for (int i = 0; i < 5; ++i) {
                const int y = top ? 1 + i : h - 2 - i;
                pixelRun(cr, 0, y, kLargeRuns[i]);
                pixelRun(cr, w - kLargeRuns[i], y, kLargeRuns[i]);
            }
        }
    };
    corners(m_top, true);
    corners(m_bottom, false);
    cairo_fill(cr);
}

void Thin::paintBackground(cairo_t* cr, const Rect& rect)
{
    cairo_save(cr);
    cairo_translate(cr, rect.left, rect.top);
    paintFrame(cr, rect.width(), rect.height());
    cairo_restore(cr);
}

std::vector<Rect> Thin::region(int width, int height) const
{
    if ((m_top == kSquare && m_bottom == kSquare) || width <= 0 || height <= 0)
        return {};
    const int topDiameter = std::min(diameterOf(m_top), height / 2 * 2);
    const int bottomDiameter = std::min(diameterOf(m_bottom), height / 2 * 2);
    const int topRows = topDiameter / 2;
    const int bottomRows = bottomDiameter / 2;
    std::vector<Rect> rects;
    for (int row = 0; row < topRows; ++row) {
        const int inset = cornerInset(topDiameter, row);
        rects.push_back({inset, row, width - inset, row + 1});
    }
    if (height - bottomRows > topRows)
        rects.push_back({0, topRows, width, height - bottomRows});
    for (int row = 0; row < bottomRows; ++row) {
        const int inset = cornerInset(bottomDiameter, row);
        const int y = height - 1 - row;
        rects.push_back({inset, y, width - inset, y + 1});
    }
    return rects;
}

}  // namespace s::gui::drawer::window::win
