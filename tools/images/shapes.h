// shapes.h: anti-aliased filled and stroked shapes, soft shadows and gradients.
//
// Stateless painters over a Raster, called by the widgets and screen
// builders. Every edge is smoothed over about one pixel; soft shadows take
// a softness in pixels instead.
#pragma once

#include "tools/images/geometry.h"
#include "tools/images/raster.h"

#include <span>
#include <vector>

namespace art {

// Fills `rect` with corners rounded to `radius` pixels, at `opacity` (0..1).
void fillRoundedRect(Raster& raster, Rect rect, float radius, Colour colour, float opacity = 1.0f);
// Fills a rounded rectangle with a vertical gradient from `top` to `bottom` colour.
void fillRoundedRectGradient(Raster& raster, Rect rect, float radius, Colour top, Colour bottom);
// Draws a frame `width` pixels wide lying just inside the outline of the rounded rectangle.
void strokeRoundedRect(Raster& raster, Rect rect, float radius, float width, Colour colour,
                       float opacity = 1.0f);
// A blurred rounded rectangle: `softness` pixels of fade centred on its outline.
void fillSoftRoundedRect(Raster& raster, Rect rect, float radius, float softness, Colour colour,
                         float opacity);

// Fills the circle of `radius` pixels around `centre`.
void fillCircle(Raster& raster, Point centre, float radius, Colour colour, float opacity = 1.0f);

// Fills the polygon through `corners` (even-odd rule, closed automatically).
void fillPolygon(Raster& raster, std::span<const Point> corners, Colour colour,
                 float opacity = 1.0f);
// Draws the open line through `points`, `width` pixels wide with round ends and joins.
void strokePolyline(Raster& raster, std::span<const Point> points, float width, Colour colour,
                    float opacity = 1.0f);

// The corners of a star with `points` tips, tip radius `outer`, notch radius `inner`,
// the first tip `rotation` radians clockwise from straight up.
std::vector<Point> starCorners(Point centre, float outer, float inner, int points, float rotation);
// `local` turned by `angle` radians clockwise and moved to `origin`.
Point placed(Point origin, float angle, Point local);

} // namespace art
