#include "image/IconGroup.h"

#include <cstdint>

namespace s::image {

namespace {

std::uint16_t readU16(std::span<const unsigned char> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t readU32(std::span<const unsigned char> bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint32_t premultiplied(unsigned blue, unsigned green, unsigned red, unsigned alpha)
{
    auto scale = [alpha](unsigned c) { return (c * alpha + 127) / 255; };
    return alpha << 24 | scale(red) << 16 | scale(green) << 8 | scale(blue);
}

// One image of an ICO file: a 40-byte header, the colour rows and the 1-bit mask rows, both
// bottom-up, each row padded to 4 bytes. The header's height counts both halves.
bool readDib(std::span<const unsigned char> dib, Image& image)
{
    constexpr std::size_t kHeaderSize = 40;
    if (dib.size() < kHeaderSize || readU32(dib, 0) < kHeaderSize)
        return false;
    std::size_t headerSize = readU32(dib, 0);
    auto width = static_cast<std::int32_t>(readU32(dib, 4));
    auto doubledHeight = static_cast<std::int32_t>(readU32(dib, 8));
    unsigned bitCount = readU16(dib, 14);
    std::uint32_t compression = readU32(dib, 16);
    if (width <= 0 || width > 1024 || doubledHeight <= 0 || doubledHeight % 2 != 0 || doubledHeight / 2 > 1024 ||
        compression != 0 || (bitCount != 32 && bitCount != 24) || headerSize > dib.size())
        return false;
    int height = doubledHeight / 2;
    std::size_t colourStride = (static_cast<std::size_t>(width) * bitCount / 8 + 3) & ~std::size_t{3};
    std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    std::size_t colourSize = colourStride * static_cast<std::size_t>(height);
    std::size_t maskSize = maskStride * static_cast<std::size_t>(height);
    // A 32-bit image may leave the mask out; its alpha channel says everything.
    bool hasMask = dib.size() - headerSize >= colourSize + maskSize;
    if (dib.size() - headerSize < colourSize || (bitCount == 24 && !hasMask))
        return false;
    if (!image.allocate(width, height))
        return false;

    std::span<const unsigned char> colours = dib.subspan(headerSize, colourSize);
    std::span<const unsigned char> mask = hasMask ? dib.subspan(headerSize + colourSize, maskSize) : colours.first(0);
    auto masked = [&](std::size_t row, int x) {
        return hasMask && (mask[row * maskStride + static_cast<std::size_t>(x) / 8] & (0x80 >> (x % 8))) != 0;
    };
    // Old 32-bit icons carry no alpha at all (every alpha byte 0) and rely on the mask alone.
    bool alphaChannel = false;
    if (bitCount == 32) {
        for (std::size_t at = 3; at < colourSize && !alphaChannel; at += 4)
            alphaChannel = colours[at] != 0;
    }
    std::size_t bytesPerPixel = bitCount / 8;
    for (int y = 0; y < height; ++y) {
        std::size_t row = static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            std::size_t at = row * colourStride + static_cast<std::size_t>(x) * bytesPerPixel;
            unsigned alpha = alphaChannel ? colours[at + 3] : masked(row, x) ? 0 : 255;
            image.getPixels()[static_cast<std::size_t>(y) * width + x] =
                premultiplied(colours[at], colours[at + 1], colours[at + 2], alpha);
        }
    }
    return true;
}

}  // namespace

bool IconGroup::read(std::span<const unsigned char> bytes)
{
    clear();
    constexpr std::size_t kDirectorySize = 6;
    constexpr std::size_t kEntrySize = 16;
    if (bytes.size() < kDirectorySize || readU16(bytes, 0) != 0 || readU16(bytes, 2) != 1)
        return false;
    std::size_t count = readU16(bytes, 4);
    if (count == 0 || (bytes.size() - kDirectorySize) / kEntrySize < count)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t entry = kDirectorySize + i * kEntrySize;
        std::size_t size = readU32(bytes, entry + 8);
        std::size_t offset = readU32(bytes, entry + 12);
        if (offset > bytes.size() || size > bytes.size() - offset)
            continue;
        Image* image = thread::take<Image>();
        if (readDib(bytes.subspan(offset, size), *image))
            m_images.push_back(image);
        else
            image->recycle();
    }
    return !m_images.empty();
}

void IconGroup::clear()
{
    for (Image* image : m_images)
        image->recycle();
    m_images.clear();
}

const Image* IconGroup::findImage(int size) const
{
    const Image* larger = nullptr;
    const Image* largest = nullptr;
    for (const Image* image : m_images) {
        int side = image->getWidth();
        if (side == size && image->getHeight() == size)
            return image;
        if (side > size && (larger == nullptr || side < larger->getWidth()))
            larger = image;
        if (largest == nullptr || side > largest->getWidth())
            largest = image;
    }
    return larger != nullptr ? larger : largest;
}

}  // namespace s::image
