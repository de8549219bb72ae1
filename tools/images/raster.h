// raster.h: the picture being composed, in floating-point sRGB.
//
// A Raster owns the pixels of one screen image while the screen builders
// paint into it; the PNG writer turns it into 8-bit rows at the end. Every
// painter blends through blend(), which clips to the picture.
#pragma once

#include <cstdint>
#include <vector>

namespace art {

// A colour in sRGB, each channel 0..1.
struct Colour {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

inline constexpr float kChannelMax = 255.0f; // 8-bit channel value of full intensity

// The colour with 8-bit channels r, g, b.
constexpr Colour rgb(int r, int g, int b) {
    return {static_cast<float>(r) / kChannelMax, static_cast<float>(g) / kChannelMax,
            static_cast<float>(b) / kChannelMax};
}

// `from` blended toward `to` by t (0 keeps `from`, 1 gives `to`).
Colour mix(Colour from, Colour to, float t);

class Raster {
  public:
    // A width x height picture filled with `background`.
    Raster(int width, int height, Colour background);

    int width() const { return width_; }
    int height() const { return height_; }

    // Lays `colour` over pixel (x, y) at `coverage` (0..1); pixels outside are ignored.
    void blend(int x, int y, Colour colour, float coverage);
    // The colour of pixel (x, y), which must lie inside the picture.
    Colour at(int x, int y) const;
    // The picture as 8-bit RGB bytes, rows top first.
    std::vector<std::uint8_t> toRgb8() const;

  private:
    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

} // namespace art
