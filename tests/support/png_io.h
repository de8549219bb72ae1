// png_io.h: writing and reading plain 8-bit PNG files in tests.
//
// Test helpers only: they make placeholder screen images and read committed
// art back for comparison with screenshots. Independent of the game's loader.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// An 8-bit image, rows top first, `channels` bytes a pixel (3 RGB, 4 RGBA).
struct Image {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::vector<unsigned char> pixels;

    const unsigned char* at(int x, int y) const {
        return &pixels[(static_cast<std::size_t>(y) * width + x) * channels];
    }
};

// Writes `image` as an 8-bit RGB or RGBA PNG; returns false on failure.
bool writePng(const std::string& path, const Image& image);
// Reads any PNG as 8-bit RGB; an empty image (width 0) on failure.
Image readPngRgb(const std::string& path);
// A width x height RGB image of one colour.
Image solidImage(int width, int height, unsigned char r, unsigned char g, unsigned char b);

} // namespace testsupport
