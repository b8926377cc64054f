#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"

#include <cstdint>
#include <vector>

namespace s::image {

// An off-screen image: rows of 32-bit pixels 0xAARRGGBB with premultiplied alpha, top row first,
// no padding between rows (the layout cairo calls ARGB32, so the toolkit can paint it directly).
class Image final : public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 16;
    // Larger images are refused rather than allocated (a damaged header can claim anything).
    static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 26;

    // Makes the image width x height, every pixel 0 (transparent). False, and the image empty,
    // when either side is not positive or the image would be larger than kMaxPixels.
    bool allocate(int width, int height);
    void clear();

    bool isEmpty() const { return m_pixels.empty(); }
    int getWidth() const { return m_width; }
    int getHeight() const { return m_height; }
    // Bytes from one row to the next.
    int getStride() const { return m_width * 4; }
    std::uint32_t* getPixels() { return m_pixels.data(); }
    const std::uint32_t* getPixels() const { return m_pixels.data(); }
    // No bounds check; callers stay inside the image.
    std::uint32_t getPixel(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }

    const char* getClassName() const override { return "s_image_Image"; }
    base::IObject* newInstance() const override { return thread::take<Image>(); }
    void recycle() override { thread::giveBack(this); }
    void reset() override { clear(); }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

}  // namespace s::image
