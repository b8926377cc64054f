#pragma once

#include "platform/WindowTypes.h"

#include <vector>

namespace s::platform {

// The damaged part of a window as a few rectangles. Overlapping or touching rectangles are
// merged; beyond kMaxRects the region becomes its bounding box, so presenting stays cheap.
class UpdateRegion {
public:
    static constexpr std::size_t kMaxRects = 8;

    void add(const Rect& rect, const Rect& clip);
    void clear() { m_rects.clear(); }
    bool empty() const { return m_rects.empty(); }
    const std::vector<Rect>& rects() const { return m_rects; }
    Rect bounds() const;

private:
    std::vector<Rect> m_rects;
};

}  // namespace s::platform
