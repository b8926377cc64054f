#include "ScreenCapture.h"

#include <cairo.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace s::testing {

namespace {

std::uint32_t bigEndian32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

int shiftOf(std::uint32_t mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

}  // namespace

int runCommand(const std::string& command, std::string* output)
{
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::string text;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    const int status = pclose(pipe);
    if (output != nullptr)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool readXwd(const std::string& path, Image* image, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // 25 big-endian 32-bit header fields, the window name, the colour map, then the pixels.
    if (data.size() < 100) {
        *error = "xwd dump too short";
        return false;
    }
    const auto field = [&](int i) { return bigEndian32(&data[static_cast<std::size_t>(i) * 4]); };
    const std::uint32_t headerSize = field(0);
    const std::uint32_t width = field(4);
    const std::uint32_t height = field(5);
    const std::uint32_t byteOrder = field(7);
    const std::uint32_t bitsPerPixel = field(11);
    const std::uint32_t bytesPerLine = field(12);
    const std::uint32_t red = field(14), green = field(15), blue = field(16);
    const std::uint32_t colours = field(19);
    if (bitsPerPixel != 32 || width == 0 || height == 0 || width > 16384 || height > 16384) {
        *error = "unsupported xwd dump (" + std::to_string(bitsPerPixel) + " bits per pixel)";
        return false;
    }
    const std::size_t start = headerSize + static_cast<std::size_t>(colours) * 12;
    if (start + static_cast<std::size_t>(bytesPerLine) * height > data.size() || bytesPerLine < width * 4) {
        *error = "truncated xwd dump";
        return false;
    }
    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    image->pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = &data[start + static_cast<std::size_t>(y) * bytesPerLine + x * 4];
            const std::uint32_t v = byteOrder == 0 ? (static_cast<std::uint32_t>(p[3]) << 24 | static_cast<std::uint32_t>(p[2]) << 16 |
                                                      static_cast<std::uint32_t>(p[1]) << 8 | p[0])
                                                   : bigEndian32(p);
            const std::uint32_t r = (v & red) >> shiftOf(red);
            const std::uint32_t g = (v & green) >> shiftOf(green);
            const std::uint32_t b = (v & blue) >> shiftOf(blue);
            image->pixels[static_cast<std::size_t>(y) * width + x] = r << 16 | g << 8 | b;
        }
    }
    return true;
}

bool captureWindow(unsigned long windowId, Image* image, std::string* error)
{
    char path[] = "/tmp/ostrel-capture-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        *error = "no temporary file";
        return false;
    }
    close(fd);
    const std::string target = windowId == 0 ? std::string("-root") : "-id " + std::to_string(windowId);
    std::string output;
    const int status = runCommand("xwd -silent " + target + " -out " + path, &output);
    bool ok = status == 0;
    if (!ok)
        *error = "xwd failed: " + output;
    else
        ok = readXwd(path, image, error);
    unlink(path);
    return ok;
}

bool writePng(const Image& image, const std::string& path)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.width; ++x)
            row[x] = image.at(x, y);
    }
    cairo_surface_mark_dirty(surface);
    const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace s::testing
