// raster.cpp: pixel storage and blending for the picture being composed.
#include "tools/images/raster.h"

#include <algorithm>
#include <cmath>

namespace art {

Colour mix(Colour from, Colour to, float t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
            from.b + (to.b - from.b) * t};
}

Raster::Raster(int width, int height, Colour background)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), background) {}

void Raster::blend(int x, int y, Colour colour, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || coverage <= 0.0f) {
        return;
    }
    Colour& pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
    pixel = mix(pixel, colour, std::min(coverage, 1.0f));
}

Colour Raster::at(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

std::vector<std::uint8_t> Raster::toRgb8() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(pixels_.size() * 3);
    auto channel = [](float value) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * kChannelMax));
    };
    for (const Colour& pixel : pixels_) {
        bytes.push_back(channel(pixel.r));
        bytes.push_back(channel(pixel.g));
        bytes.push_back(channel(pixel.b));
    }
    return bytes;
}

} // namespace art
