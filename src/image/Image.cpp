#include "image/Image.h"

#include <new>

namespace s::image {

bool Image::allocate(int width, int height)
{
    clear();
    if (width <= 0 || height <= 0 || std::int64_t{width} * height > kMaxPixels)
        return false;
    try {
        m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_width = width;
    m_height = height;
    return true;
}

void Image::clear()
{
    m_pixels.clear();
    m_pixels.shrink_to_fit();
    m_width = 0;
    m_height = 0;
}

}  // namespace s::image
