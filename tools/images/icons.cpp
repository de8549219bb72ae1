// icons.cpp: the application icon, in the title screen's look.
//
// Large sizes are a paper tile with the title's sticker Q (white backing,
// tan shadow), the orange squiggle and, from kPencilFromSize up, the yellow
// pencil drawing it. Sizes up to kSmallIconMaxSize are a teal tile with a
// thick white geometric Q: glyph hinting and the sticker edges turn to mush
// at 16 pixels, a ring and a tail of whole pixels do not. Every length is a
// fraction of the icon's side, so one layout serves each size.
#include "tools/images/icons.h"

#include "tools/images/shapes.h"
#include "tools/images/style.h"
#include "tools/images/widgets.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace art {
namespace {

constexpr int kSmallIconMaxSize = 32; // pixels: up to this side, the simplified art
constexpr int kPencilFromSize = 128;  // pixels: from this side on, the pencil fits

// The tile, as fractions of the side.
constexpr float kTileInset = 1.0f / 32.0f; // transparent margin on each side
constexpr float kTileRadius = 0.2f;
constexpr float kTileEdgeWidth = 0.02f;
constexpr float kLeastEdgeWidth = 1.0f; // pixels: thinner edges vanish

// Small art: a ring and a tail, fractions of the side.
constexpr Point kRingCentre{0.5f, 0.47f};
constexpr float kRingOuter = 0.34f;
constexpr float kRingInner = 0.18f;
constexpr Point kTailFrom{0.56f, 0.58f};
constexpr Point kTailTo{0.80f, 0.82f};
constexpr float kTailWidth = 0.17f;

// Large art, fractions of the side.
constexpr float kLetterSize = 0.66f;     // pixels per em of the Q
constexpr float kLetterCentreX = 0.46f;  // middle of the Q's advance
constexpr float kLetterBaseline = 0.64f; // the Q's tail dips below it
constexpr float kLetterTilt = -0.09f;    // radians, as the title's Q
constexpr float kLetterBacking = 0.05f;  // white sticker edge
constexpr Point kLetterShadow{0.02f, 0.03f};
constexpr Colour kLetterShadowColour = rgb(222, 203, 176); // the title's sticker shadow
constexpr Point kWaveStart{0.13f, 0.84f};
constexpr Wave kWave{0.5f, 0.025f, 0.125f, 0.035f, 0.0f}; // lengths as fractions
constexpr Point kStarCentre{0.82f, 0.2f};
constexpr float kStarRadius = 0.085f;
constexpr float kStarAngle = 0.2f;     // radians
constexpr float kPencilAngle = -0.62f; // radians: the pencil rises to the right of its point
constexpr float kPencilLength = 0.3f;
constexpr float kPencilThickness = 0.075f;
constexpr Colour kPencilYellow = rgb(250, 196, 60);

Point scaled(Point fraction, float side) {
    return {fraction.x * side, fraction.y * side};
}

Rect tileRect(float side) {
    const float inset = std::round(side * kTileInset);
    return {inset, inset, side - inset, side - inset};
}

void paintSmall(Raster& raster, float side) {
    const Rect tile = tileRect(side);
    fillRoundedRect(raster, tile, side * kTileRadius, style::kPlayer1.main);
    const Point centre = scaled(kRingCentre, side);
    fillCircle(raster, centre, side * kRingOuter, style::kWhite);
    fillCircle(raster, centre, side * kRingInner, style::kPlayer1.main);
    const std::array<Point, 2> tail{scaled(kTailFrom, side), scaled(kTailTo, side)};
    strokePolyline(raster, tail, side * kTailWidth, style::kWhite);
}

void paintLarge(Raster& raster, const FontLibrary& library, float side) {
    const Rect tile = tileRect(side);
    const float radius = side * kTileRadius;
    fillRoundedRectGradient(raster, tile, radius, style::kPaperTop, style::kPaperBottom);
    strokeRoundedRect(raster, tile, radius, std::max(side * kTileEdgeWidth, kLeastEdgeWidth),
                      style::kCardEdge);

    const Wave wave{kWave.length * side, kWave.amplitude * side, kWave.wavelength * side,
                    kWave.width * side, kWave.angle};
    const Point waveStart = scaled(kWaveStart, side);
    drawSquiggle(raster, waveStart, wave, style::kPlayer2.main);
    if (side >= static_cast<float>(kPencilFromSize)) {
        drawPencil(raster, {waveStart.x + wave.length, waveStart.y}, kPencilAngle,
                   side * kPencilLength, side * kPencilThickness, kPencilYellow);
    } else {
        drawStar(raster, scaled(kStarCentre, side), side * kStarRadius, kStarAngle,
                 style::kSunshine);
    }

    const Font font(library, style::kSansBold, static_cast<int>(side * kLetterSize));
    const Point pen{side * kLetterCentreX - font.measure("Q") * 0.5f, side * kLetterBaseline};
    const float backing = side * kLetterBacking;
    font.drawGlyph(raster, U'Q', {pen.x + side * kLetterShadow.x, pen.y + side * kLetterShadow.y},
                   {kLetterShadowColour, kLetterTilt, backing});
    font.drawGlyph(raster, U'Q', pen, {style::kWhite, kLetterTilt, backing});
    font.drawGlyph(raster, U'Q', pen, {style::kPlayer1.main, kLetterTilt});
}

} // namespace

Icon buildIcon(const FontLibrary& library, int size) {
    const float side = static_cast<float>(size);
    const bool small = size <= kSmallIconMaxSize;
    // The background is the tile's own edge colour, so that the partly
    // covered pixels along its rounded outline carry no dark fringe.
    Icon icon{Raster(size, size, small ? style::kPlayer1.main : style::kCardEdge),
              Raster(size, size, rgb(0, 0, 0))};
    fillRoundedRect(icon.coverage, tileRect(side), side * kTileRadius, style::kWhite);
    if (small) {
        paintSmall(icon.colour, side);
    } else {
        paintLarge(icon.colour, library, side);
    }
    return icon;
}

} // namespace art
