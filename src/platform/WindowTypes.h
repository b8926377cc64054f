#pragma once

#include <cstdint>

namespace s::platform {

// A process-wide handle of a native window. Never reused while the process lives, so a late
// send or post to a destroyed window finds nothing instead of another window. 0 = none.
using WindowId = std::uint64_t;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Left and top inclusive, right and bottom exclusive, as the window system's rectangles.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static Rect fromSize(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Rect intersect(const Rect& o) const;
    Rect unite(const Rect& o) const;
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect Rect::intersect(const Rect& o) const
{
    Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top, right < o.right ? right : o.right,
           bottom < o.bottom ? bottom : o.bottom};
    return r.isEmpty() ? Rect{} : r;
}

inline Rect Rect::unite(const Rect& o) const
{
    if (isEmpty())
        return o;
    if (o.isEmpty())
        return *this;
    return {left < o.left ? left : o.left, top < o.top ? top : o.top, right > o.right ? right : o.right,
            bottom > o.bottom ? bottom : o.bottom};
}

// Message parameters, as wide as a pointer so that a record's address fits.
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// Two signed 16-bit halves in one parameter: x (or the first value) in the low half.
constexpr LParam makeLParam(int low, int high)
{
    return static_cast<LParam>(static_cast<std::uint32_t>((static_cast<std::uint32_t>(high) & 0xFFFFu) << 16 |
                                                          (static_cast<std::uint32_t>(low) & 0xFFFFu)));
}
constexpr WParam makeWParam(int low, int high) { return static_cast<WParam>(static_cast<std::uint32_t>(makeLParam(low, high))); }
constexpr int loWord(std::uintptr_t v) { return static_cast<int>(v & 0xFFFFu); }
constexpr int hiWord(std::uintptr_t v) { return static_cast<int>((v >> 16) & 0xFFFFu); }
constexpr int signedLoWord(std::uintptr_t v) { return static_cast<std::int16_t>(v & 0xFFFFu); }
constexpr int signedHiWord(std::uintptr_t v) { return static_cast<std::int16_t>((v >> 16) & 0xFFFFu); }
constexpr Point pointFromLParam(LParam l)
{
    return {signedLoWord(static_cast<std::uintptr_t>(l)), signedHiWord(static_cast<std::uintptr_t>(l))};
}

}  // namespace s::platform
