#include "archive/Archive.h"
#include "image/IconGroup.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using s::image::IconGroup;

void put16(std::vector<unsigned char>& out, unsigned value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

void put32(std::vector<unsigned char>& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// One icon image: every pixel of colour bgr, alpha as given (32-bit) and, in the mask, the
// top-left pixel marked transparent.
std::vector<unsigned char> dib(int size, int bitCount, unsigned char alpha)
{
    std::vector<unsigned char> out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(size));
    put32(out, static_cast<std::uint32_t>(2 * size));
    put16(out, 1);
    put16(out, static_cast<unsigned>(bitCount));
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    std::size_t stride = (static_cast<std::size_t>(size) * bitCount / 8 + 3) & ~std::size_t{3};
    for (int row = 0; row < size; ++row) {
        std::size_t start = out.size();
        for (int x = 0; x < size; ++x) {
            out.insert(out.end(), {0x30, 0x20, 0x10});
            if (bitCount == 32)
                out.push_back(alpha);
        }
        out.resize(start + stride, 0);
    }
    std::size_t maskStride = ((static_cast<std::size_t>(size) + 31) / 32) * 4;
    for (int row = 0; row < size; ++row) {
        std::vector<unsigned char> line(maskStride, 0);
        if (row == size - 1)  // bottom-up: the last row is the top one
            line[0] = 0x80;
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

std::vector<unsigned char> ico(const std::vector<std::vector<unsigned char>>& images, const std::vector<int>& sizes)
{
    std::vector<unsigned char> out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<unsigned char>(sizes[i]));
        out.push_back(static_cast<unsigned char>(sizes[i]));
        out.insert(out.end(), {0, 0});
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<std::uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

TEST(IconGroup, EmbeddedIconHasItsThreeSizesWithTransparentCorners)
{
    s::archive::dll::win::Archive archive;
    ASSERT_TRUE(archive.openExecutable());
    IconGroup group;
    ASSERT_TRUE(group.read(archive.readResource(s::resources::kGroupIconType, s::resources::kApplicationIconId)));
    ASSERT_EQ(group.getImageCount(), 3u);
    for (int size : {16, 32, 64}) {
        const s::image::Image* image = group.findImage(size);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->getWidth(), size);
        EXPECT_EQ(image->getHeight(), size);
        EXPECT_EQ(image->getPixel(0, 0) >> 24, 0u) << size << ": the tile's corner is rounded off";
        EXPECT_EQ(image->getPixel(size / 2, size - 4) >> 24, 255u) << size << ": the tile is opaque";
    }
    EXPECT_EQ(group.findImage(24)->getWidth(), 32) << "the smallest larger image";
    EXPECT_EQ(group.findImage(256)->getWidth(), 64) << "else the largest";
}

TEST(IconGroup, AlphaChannelOrElseMaskGivesTransparency)
{
    struct Case {
        int bitCount;
        unsigned char alpha;
        std::uint32_t topLeft;
        std::uint32_t other;
    };
    const Case cases[] = {
        // Straight alpha 0x80 is premultiplied into the colour.
        {32, 0x80, 0x80080000u | 0x1018, 0x80080000u | 0x1018},
        // No alpha at all: the mask decides.
        {32, 0x00, 0x00000000u, 0xFF102030u},
        {24, 0x00, 0x00000000u, 0xFF102030u},
    };
    for (const Case& c : cases) {
        IconGroup group;
        ASSERT_TRUE(group.read(ico({dib(4, c.bitCount, c.alpha)}, {4}))) << c.bitCount;
        const s::image::Image& image = group.getImage(0);
        EXPECT_EQ(image.getPixel(0, 0), c.topLeft) << c.bitCount << std::hex << " " << image.getPixel(0, 0);
        EXPECT_EQ(image.getPixel(3, 3), c.other) << c.bitCount << std::hex << " " << image.getPixel(3, 3);
    }
}

TEST(IconGroup, DamagedDataIsSkippedOrRefusedWithoutReadingPastTheEnd)
{
    std::vector<unsigned char> good = ico({dib(8, 32, 255)}, {8});
    std::vector<unsigned char> twoImages = ico({dib(8, 32, 255), dib(16, 32, 255)}, {8, 16});
    std::vector<unsigned char> entryPastEnd = twoImages;
    entryPastEnd[6 + 16 + 12] = 0xF0;  // the second entry's offset far beyond the data
    std::vector<unsigned char> png = ico({{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 0}}, {8});
    std::vector<unsigned char> oddHeight = good;
    oddHeight[6 + 16 + 8] = 15;

    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        bool readable;
        std::size_t images;
    };
    const Case cases[] = {
        {"empty", {}, false, 0},
        {"directory only", {0, 0, 1, 0, 1, 0}, false, 0},
        {"not an icon", {0, 0, 2, 0, 1, 0}, false, 0},
        {"truncated image", std::vector<unsigned char>(good.begin(), good.end() - 200), false, 0},
        {"one entry past the end", entryPastEnd, true, 1},
        {"png entry", png, false, 0},
        {"odd doubled height", oddHeight, false, 0},
        {"good", good, true, 1},
    };
    for (const Case& c : cases) {
        IconGroup group;
        EXPECT_EQ(group.read(c.bytes), c.readable) << c.name;
        EXPECT_EQ(group.getImageCount(), c.images) << c.name;
    }
}

}  // namespace
