#include "platform/window/Monitors.h"

namespace s::platform {

std::size_t monitorHolding(const std::vector<Rect>& monitors, const Rect& rect)
{
    const long long cx = (static_cast<long long>(rect.left) + rect.right) / 2;
    const long long cy = (static_cast<long long>(rect.top) + rect.bottom) / 2;
    std::size_t best = 0;
    long long bestArea = -1;
    long long bestDistance = -1;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const Rect& m = monitors[i];
        const Rect o = m.intersect(rect);
        const long long area = static_cast<long long>(o.width()) * o.height();
        const long long dx = cx < m.left ? m.left - cx : (cx >= m.right ? cx - m.right + 1 : 0);
        const long long dy = cy < m.top ? m.top - cy : (cy >= m.bottom ? cy - m.bottom + 1 : 0);
        const long long distance = dx * dx + dy * dy;
        if (area > bestArea || (area == 0 && bestArea == 0 && distance < bestDistance)) {
            best = i;
            bestArea = area;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace s::platform
