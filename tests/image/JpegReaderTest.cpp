#include "archive/Archive.h"
#include "image/JpegReader.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

using s::image::Image;
using s::image::JpegReader;

// Encodes a test image with libjpeg: components 1 (grey), 3 (RGB) or 4 (CMYK).
std::vector<unsigned char> encode(int width, int height, int components, unsigned char (*sample)(int x, int y, int c))
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width * components));
    while (info.next_scanline < info.image_height) {
        int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < components; ++c)
                row[static_cast<std::size_t>(x * components + c)] = sample(x, y, c);
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<unsigned char> bytes(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

unsigned char orange(int, int, int c)
{
    const unsigned char rgb[] = {255, 165, 0};
    return rgb[c];
}

unsigned char cyan(int, int, int c)
{
    return c == 0 ? 255 : 0;
}

unsigned char greyRamp(int x, int, int)
{
    return static_cast<unsigned char>(x * 16);
}

bool near(std::uint32_t pixel, unsigned red, unsigned green, unsigned blue, unsigned tolerance)
{
    auto close = [tolerance](unsigned a, unsigned b) { return (a > b ? a - b : b - a) <= tolerance; };
    return (pixel >> 24) == 255 && close((pixel >> 16) & 255, red) && close((pixel >> 8) & 255, green) &&
           close(pixel & 255, blue);
}

TEST(JpegReader, DecodesColourAndGreyIntoOpaqueArgbPixels)
{
    Image image;
    ASSERT_TRUE(JpegReader::read(encode(24, 8, 3, orange), image));
    EXPECT_EQ(image.getWidth(), 24);
    EXPECT_EQ(image.getHeight(), 8);
    EXPECT_EQ(image.getStride(), 24 * 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_TRUE(near(image.getPixel(x, y), 255, 165, 0, 4)) << x << "," << y << std::hex << image.getPixel(x, y);

    ASSERT_TRUE(JpegReader::read(encode(16, 4, 1, greyRamp), image));
    EXPECT_TRUE(near(image.getPixel(0, 0), 0, 0, 0, 6));
    EXPECT_TRUE(near(image.getPixel(15, 3), 240, 240, 240, 6));
    EXPECT_TRUE(near(image.getPixel(8, 2), 128, 128, 128, 6));
}

TEST(JpegReader, EmbeddedTexturesDecodeToTheirSizes)
{
    s::archive::dll::win::Archive archive;
    ASSERT_TRUE(archive.openExecutable());
    namespace r = s::resources;
    struct Case {
        int id;
        int width;
        int height;
    };
    for (Case c : {Case{r::kWideTextureId, 700, 230}, Case{r::kTallTextureId, 230, 700}}) {
        s::thread::PooledPtr<Image> image(JpegReader::decode(archive.readResource(r::kImageType, c.id)));
        ASSERT_NE(image, nullptr) << c.id;
        EXPECT_EQ(image->getWidth(), c.width);
        EXPECT_EQ(image->getHeight(), c.height);
        EXPECT_NE(image->getPixel(0, 0), image->getPixel(c.width / 2, c.height / 2)) << "a drawn image, not a fill";
    }
}

TEST(JpegReader, DamagedDataDecodesToNothing)
{
    const std::vector<unsigned char> good = encode(64, 48, 3, orange);
    std::vector<std::vector<unsigned char>> damaged = {
        {},
        {0xFF, 0xD8},
        {0xFF, 0xD8, 0xFF, 0xE0, 0x00},
        std::vector<unsigned char>(200, 0xAB),
        encode(8, 8, 4, cyan),  // CMYK is not a colour space of this program's images
    };
    // Cut anywhere: in the headers, in the scan, just before the end marker.
    for (std::size_t length : {std::size_t{3}, std::size_t{20}, good.size() / 3, good.size() / 2, good.size() - 2})
        damaged.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
    // A frame header that claims 60000 x 60000 pixels.
    std::vector<unsigned char> huge = good;
    for (std::size_t i = 0; i + 8 < huge.size(); ++i) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0xEA, huge[i + 6] = 0x60, huge[i + 7] = 0xEA, huge[i + 8] = 0x60;
            break;
        }
    }
    damaged.push_back(huge);

    for (std::size_t i = 0; i < damaged.size(); ++i) {
        Image image;
        image.allocate(2, 2);
        EXPECT_FALSE(JpegReader::read(damaged[i], image)) << "case " << i;
        EXPECT_TRUE(image.isEmpty()) << "case " << i;
        EXPECT_EQ(JpegReader::decode(damaged[i]), nullptr) << "case " << i;
    }
}

// Bytes flipped inside the data may still decode (JPEG has no checksum); what must hold is that
// every result is either nothing or a whole image, and nothing is read out of bounds (ASan runs).
TEST(JpegReader, FlippedBytesNeverGiveAPartialImage)
{
    const std::vector<unsigned char> good = encode(64, 48, 3, orange);
    std::srand(7);
    for (int round = 0; round < 300; ++round) {
        std::vector<unsigned char> bytes = good;
        for (int flips = 0; flips < 1 + round % 4; ++flips)
            bytes[static_cast<std::size_t>(std::rand()) % bytes.size()] ^= static_cast<unsigned char>(1 + std::rand() % 255);
        Image image;
        if (JpegReader::read(bytes, image))
            EXPECT_GT(image.getWidth() * image.getHeight(), 0);
        else
            EXPECT_TRUE(image.isEmpty());
    }
}

}  // namespace
