#pragma once

#include "image/Image.h"

#include <span>

namespace s::image {

// Decodes JPEG data with libjpeg-turbo.
class JpegReader {
public:
    // Decodes bytes into image (opaque pixels). Damaged data of any kind, a truncated stream
    // included, an unsupported colour space or an image larger than Image::kMaxPixels decodes to
    // nothing: false, and image is left empty.
    static bool read(std::span<const unsigned char> bytes, Image& image);

    // A decoded image from the image pool, or null when the data does not decode.
    static Image* decode(std::span<const unsigned char> bytes);
};

}  // namespace s::image
