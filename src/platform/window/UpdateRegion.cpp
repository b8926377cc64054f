#include "platform/window/UpdateRegion.h"

namespace s::platform {

namespace {

bool touches(const Rect& a, const Rect& b)
{
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

}  // namespace

void UpdateRegion::add(const Rect& rect, const Rect& clip)
{
    Rect r = rect.intersect(clip);
    if (r.isEmpty())
        return;
    // Merging may make the grown rectangle touch others: repeat until it stands alone.
    bool merged = true;
    while (merged) {
        merged = false;
        for (std::size_t i = 0; i < m_rects.size(); ++i) {
            if (touches(m_rects[i], r)) {
                r = r.unite(m_rects[i]);
                m_rects.erase(m_rects.begin() + static_cast<std::ptrdiff_t>(i));
                merged = true;
                break;
            }
        }
    }
    m_rects.push_back(r);
    if (m_rects.size() > kMaxRects) {
        const Rect all = bounds();
        m_rects.assign(1, all);
    }
}

Rect UpdateRegion::bounds() const
{
    Rect all;
    for (const Rect& r : m_rects)
        all = all.unite(r);
    return all;
}

}  // namespace s::platform
