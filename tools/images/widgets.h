// widgets.h: the pieces the screens are built from: paper, cards, buttons,
// frames, pills, badges and small drawings (pencil, stars, squiggles).
//
// Stateless painters over a Raster in the shared style, called by the
// screen builders. Widgets that carry text check that it fits and throw
// std::runtime_error otherwise, so a label can never be clipped unnoticed.
#pragma once

#include "tools/images/geometry.h"
#include "tools/images/raster.h"
#include "tools/images/text.h"

#include <string_view>

namespace art {

// Fills the whole picture with a gradient from `top` to `bottom`.
void paintPaper(Raster& raster, Colour top, Colour bottom);
// A soft shadow a little below `rect`, as if lit from above.
void dropShadow(Raster& raster, Rect rect, float radius);
// A raised card: shadow, `fill` and a thin `edge`.
void drawCard(Raster& raster, Rect rect, float radius, Colour fill, Colour edge);
// A button covering exactly `rect`: shadow, lip in `deep`, face in `face`, white label.
void drawButton(Raster& raster, const Font& font, Rect rect, std::string_view label, Colour face,
                Colour deep);
// Pure white covering `area` with a margin, and a frame in `frame` just outside it.
void drawPictureFrame(Raster& raster, Rect area, Colour frame);
// A fully rounded pill in `fill` with `text` centred in `ink`.
void drawPill(Raster& raster, const Font& font, Rect rect, std::string_view text, Colour fill,
              Colour ink);
// A disc in `fill` with `text` centred on it in white.
void drawBadge(Raster& raster, const Font& font, Point centre, float radius, std::string_view text,
               Colour fill);

// Throws std::runtime_error unless `text` is at most `width` pixels wide in `font`.
void requireFits(const Font& font, std::string_view text, float width);
// The baseline that centres capital letters of `font` between `top` and `bottom`.
float capCentredBaseline(const Font& font, float top, float bottom);

// A pencil with its point at `tip`, lying at `angle` radians clockwise from
// pointing left, `length` pixels long and `thickness` pixels across.
void drawPencil(Raster& raster, Point tip, float angle, float length, float thickness, Colour body);
// A five-pointed star of tip radius `radius`, turned `angle` radians.
void drawStar(Raster& raster, Point centre, float radius, float angle, Colour colour);
// The shape of a hand-drawn wavy line.
struct Wave {
    float length;     // along the line, pixels
    float amplitude;  // of the wave, pixels
    float wavelength; // pixels
    float width;      // of the line, pixels
    float angle;      // of the line, radians clockwise from the x axis
};
// Draws the wavy line `wave` from `start`.
void drawSquiggle(Raster& raster, Point start, const Wave& wave, Colour colour);

} // namespace art
