// scene_areas.h: the places on screen where the game draws or takes presses.
//
// The game fixes these in scene units (x −50…50 left to right, y 0…75
// bottom to top); the screen builders read them here converted to image
// pixels so that buttons and frames land exactly on them.
#pragma once

#include "tools/images/geometry.h"

#include <array>

namespace art::scene {

inline constexpr int kImageWidth = 1024; // pixels; one texel per window pixel
inline constexpr int kImageHeight = 768; // pixels

inline constexpr float kPixelsPerUnit = 10.24f; // image pixels per scene unit
inline constexpr float kCentreX = 512.0f;       // image x of scene x 0, pixels
inline constexpr float kCentreY = 384.0f;       // image y of scene y kMiddleY, pixels
inline constexpr float kMiddleY = 37.5f;        // scene y at the middle of the window

// Image x of scene x.
constexpr float toPixelX(float x) {
    return kCentreX + x * kPixelsPerUnit;
}
// Image y of scene y (scene y grows up, image y down).
constexpr float toPixelY(float y) {
    return kCentreY - (y - kMiddleY) * kPixelsPerUnit;
}
// The image rectangle of the scene rectangle left…right, bottom…top.
constexpr Rect toPixels(float left, float right, float bottom, float top) {
    return {toPixelX(left), toPixelY(top), toPixelX(right), toPixelY(bottom)};
}

// Buttons.
inline constexpr Rect kDoneButton = toPixels(29.59f, 48.14f, 20.41f, 31.35f);
inline constexpr Rect kGameOverButton = toPixels(16.9f, 47.85f, 2.73f, 8.89f);

// The canvas the pen draws on, and the colour picker beside it.
inline constexpr Rect kCanvas = toPixels(-47.0f, 27.66f, 20.3f, 72.81f);
inline constexpr Rect kPaletteGrid = toPixels(33.5f, 43.5f, 41.5f, 66.5f);
inline constexpr Rect kPaletteSwatch = toPixels(41.5f, 43.5f, 35.5f, 37.5f);
inline constexpr Rect kPalettePressArea = toPixels(30.0f, 47.0f, 38.0f, 69.0f);

// The typed line under the canvas: six rows of 79 characters.
inline constexpr std::array<float, 6> kAnswerBaselines = {toPixelY(13.5f), toPixelY(11.5f),
                                                          toPixelY(9.5f),  toPixelY(7.5f),
                                                          toPixelY(5.5f),  toPixelY(3.5f)};
inline constexpr float kAnswerLeft = toPixelX(-46.0f);
inline constexpr float kAnswerRight = toPixelX(46.5f);
inline constexpr float kAnswerAscent = 2.2f * kPixelsPerUnit;  // glyph room above a baseline
inline constexpr float kAnswerDescent = 0.6f * kPixelsPerUnit; // descender room below it

// The two reduced pictures on the game-over screen.
inline constexpr Rect kGameOverPicture1 = toPixels(-47.2f, -2.404f, 36.68f, 68.186f);
inline constexpr Rect kGameOverPicture2 = toPixels(2.6f, 47.396f, 36.68f, 68.186f);

} // namespace art::scene
