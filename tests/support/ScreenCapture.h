#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Screenshots of the X display for end-to-end tests, taken from outside the program with xwd.
namespace s::testing {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, row by row

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)]; }
};

// Captures one X window (by its id) or, with id 0, the whole screen. False with a reason.
bool captureWindow(unsigned long windowId, Image* image, std::string* error);
// Reads an xwd dump; false when it is malformed.
bool readXwd(const std::string& path, Image* image, std::string* error);
// Saves an image as PNG.
bool writePng(const Image& image, const std::string& path);
// Runs a command line through the shell; returns its exit status, its output in *output.
int runCommand(const std::string& command, std::string* output = nullptr);

}  // namespace s::testing
