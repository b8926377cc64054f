#include "image/JpegReader.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace s::image {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void failDecoding(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// libjpeg reports damage it can work around (a truncated stream, bad Huffman data) as warnings
// and fills in grey; a damaged image must decode to nothing instead.
void onMessage(j_common_ptr info, int level)
{
    if (level < 0)
        failDecoding(info);
}

void quiet(j_common_ptr) {}

// No object with a destructor lives in this frame: the error path leaves it by longjmp.
bool decodeInto(std::span<const unsigned char> bytes, Image& image, jpeg_decompress_struct& info,
                ErrorManager& errors)
{
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = failDecoding;
    errors.base.emit_message = onMessage;
    errors.base.output_message = quiet;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_CreateDecompress(&info, JPEG_LIB_VERSION, sizeof(info));
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.jpeg_color_space == JCS_CMYK ||
        info.jpeg_color_space == JCS_YCCK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // These byte orders give 0xAARRGGBB words on either kind of machine.
    info.out_color_space = std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    jpeg_start_decompress(&info);
    // libjpeg's dimensions are at most 65500, so they fit an int; allocate refuses huge images.
    if (info.output_components != 4 ||
        !image.allocate(static_cast<int>(info.output_width), static_cast<int>(info.output_height))) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(image.getPixels() +
                                                  static_cast<std::size_t>(info.output_scanline) * info.output_width);
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            jpeg_destroy_decompress(&info);
            return false;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

bool JpegReader::read(std::span<const unsigned char> bytes, Image& image)
{
    image.clear();
    if (bytes.empty())
        return false;
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof(info));
    ErrorManager errors;
    std::memset(&errors, 0, sizeof(errors));
    if (decodeInto(bytes, image, info, errors))
        return true;
    image.clear();
    return false;
}

Image* JpegReader::decode(std::span<const unsigned char> bytes)
{
    Image* image = thread::take<Image>();
    if (read(bytes, *image))
        return image;
    image->recycle();
    return nullptr;
}

}  // namespace s::image
