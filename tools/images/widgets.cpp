// widgets.cpp: the composite pieces of the screens in the shared style.
#include "tools/images/widgets.h"

#include "tools/images/shapes.h"
#include "tools/images/style.h"

#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace art {
namespace {

// Shadows, pixels.
constexpr float kShadowDrop = 5.0f;      // how far below its object a shadow falls
constexpr float kShadowSoftness = 14.0f; // width of a shadow's fade

// Buttons, pixels.
constexpr float kButtonRadius = 16.0f;
constexpr float kButtonLip = 5.0f;          // darker band showing under the face
constexpr float kButtonSheen = 0.22f;       // how much lighter the top of a face is, 0..1
constexpr float kButtonEdge = 1.5f;         // thin dark edge around a button
constexpr float kButtonTextPadding = 12.0f; // least room on either side of a label

// Picture frames, pixels.
constexpr float kWhiteMargin = 2.0f; // pure white beyond the area, for the game's edge pixels
constexpr float kFrameGap = 1.0f;    // white between that margin and the frame
constexpr float kFrameWidth = 5.0f;
constexpr float kFrameRadius = 9.0f;
constexpr float kFrameHighlight = 0.35f; // lighter inner line on a frame, 0..1 toward white
constexpr float kHighlightWidth = 1.5f;

// Cards, pixels.
constexpr float kCardEdgeWidth = 1.5f;

// Pencil proportions, as fractions of its length or thickness.
constexpr float kConeLength = 0.17f;       // sharpened wood, of the length
constexpr float kLeadLength = 0.38f;       // graphite, of the cone
constexpr float kFerruleLength = 0.09f;    // metal band, of the length
constexpr float kEraserLength = 0.08f;     // of the length
constexpr float kFacetWidth = 0.33f;       // each lighter or darker facet stripe, of the thickness
constexpr float kFacetShade = 0.18f;       // facet lightening or darkening, 0..1
constexpr float kFerruleRingWidth = 0.12f; // grooves on the band, of the band's length
constexpr Colour kWood = rgb(240, 204, 152);
constexpr Colour kLead = rgb(70, 62, 60);
constexpr Colour kFerrule = rgb(196, 196, 204);
constexpr Colour kFerruleGroove = rgb(150, 150, 162);
constexpr Colour kEraser = rgb(240, 140, 150);
constexpr Colour kBlack = rgb(0, 0, 0);

// Stars.
constexpr int kStarPoints = 5;
constexpr float kStarInner = 0.46f; // notch radius, of the tip radius

// Squiggles: points per wavelength.
constexpr int kWaveSteps = 24;

// A rectangle from x0…x1 along a pencil and y0…y1 across it, in the pencil's own frame.
std::array<Point, 4> band(Point tip, float angle, float x0, float x1, float y0, float y1) {
    return {placed(tip, angle, {x0, y0}), placed(tip, angle, {x1, y0}),
            placed(tip, angle, {x1, y1}), placed(tip, angle, {x0, y1})};
}

} // namespace

void paintPaper(Raster& raster, Colour top, Colour bottom) {
    const Rect page{0.0f, 0.0f, static_cast<float>(raster.width()),
                    static_cast<float>(raster.height())};
    fillRoundedRectGradient(raster, page, 0.0f, top, bottom);
}

void dropShadow(Raster& raster, Rect rect, float radius) {
    fillSoftRoundedRect(raster, rect.moved(0.0f, kShadowDrop), radius, kShadowSoftness,
                        style::kShadow, style::kShadowOpacity);
}

void drawCard(Raster& raster, Rect rect, float radius, Colour fill, Colour edge) {
    dropShadow(raster, rect, radius);
    fillRoundedRect(raster, rect, radius, fill);
    strokeRoundedRect(raster, rect, radius, kCardEdgeWidth, edge);
}

void drawButton(Raster& raster, const Font& font, Rect rect, std::string_view label, Colour face,
                Colour deep) {
    requireFits(font, label, rect.width() - 2.0f * kButtonTextPadding);
    dropShadow(raster, rect, kButtonRadius);
    fillRoundedRect(raster, rect, kButtonRadius, deep);
    const Rect top{rect.left, rect.top, rect.right, rect.bottom - kButtonLip};
    fillRoundedRectGradient(raster, top, kButtonRadius, mix(face, style::kWhite, kButtonSheen),
                            face);
    strokeRoundedRect(raster, rect, kButtonRadius, kButtonEdge, deep);
    const float baseline = capCentredBaseline(font, top.top, top.bottom);
    drawCentred(raster, font, label, rect.centreX(), baseline, style::kWhite);
}

void drawPictureFrame(Raster& raster, Rect area, Colour frame) {
    const Rect white = area.grown(kWhiteMargin);
    const Rect outer = white.grown(kFrameGap + kFrameWidth);
    dropShadow(raster, outer, kFrameRadius);
    fillRoundedRect(raster, outer, kFrameRadius, frame);
    const Rect inner = white.grown(kFrameGap);
    strokeRoundedRect(raster, inner.grown(kHighlightWidth), 0.0f, kHighlightWidth,
                      mix(frame, style::kWhite, kFrameHighlight));
    fillRoundedRect(raster, inner, 0.0f, style::kWhite);
}

void drawPill(Raster& raster, const Font& font, Rect rect, std::string_view text, Colour fill,
              Colour ink) {
    const float radius = rect.height() * 0.5f;
    requireFits(font, text, rect.width() - radius); // the words may reach into the round ends
    fillRoundedRect(raster, rect, radius, fill);
    drawCentred(raster, font, text, rect.centreX(), capCentredBaseline(font, rect.top, rect.bottom),
                ink);
}

void drawBadge(Raster& raster, const Font& font, Point centre, float radius, std::string_view text,
               Colour fill) {
    requireFits(font, text, 2.0f * radius);
    fillCircle(raster, centre, radius, fill);
    drawCentred(raster, font, text, centre.x,
                capCentredBaseline(font, centre.y - radius, centre.y + radius), style::kWhite);
}

void requireFits(const Font& font, std::string_view text, float width) {
    const float needed = font.measure(text);
    if (needed > width) {
        throw std::runtime_error("\"" + std::string(text) + "\" needs " + std::to_string(needed) +
                                 " pixels but has " + std::to_string(width));
    }
}

float capCentredBaseline(const Font& font, float top, float bottom) {
    return (top + bottom + font.capHeight()) * 0.5f;
}

void drawPencil(Raster& raster, Point tip, float angle, float length, float thickness,
                Colour body) {
    const float half = thickness * 0.5f;
    const float cone = length * kConeLength;
    const float eraserStart = length * (1.0f - kEraserLength);
    const float ferruleStart = eraserStart - length * kFerruleLength;

    // The shadow the pencil casts on the paper.
    const std::array<Point, 4> shadow = band(tip, angle, cone, length, -half, half);
    std::vector<Point> cast;
    for (const Point& p : shadow) {
        cast.push_back({p.x, p.y + kShadowDrop});
    }
    cast.insert(cast.begin(), {tip.x, tip.y + kShadowDrop});
    fillPolygon(raster, cast, style::kShadow, style::kShadowOpacity);

    // Sharpened wood and graphite point.
    const std::array<Point, 3> wood{tip, placed(tip, angle, {cone, -half}),
                                    placed(tip, angle, {cone, half})};
    fillPolygon(raster, wood, kWood);
    const float lead = cone * kLeadLength;
    const float leadHalf = half * kLeadLength;
    const std::array<Point, 3> graphite{tip, placed(tip, angle, {lead, -leadHalf}),
                                        placed(tip, angle, {lead, leadHalf})};
    fillPolygon(raster, graphite, kLead);

    // Painted body with a light and a dark facet.
    fillPolygon(raster, band(tip, angle, cone, ferruleStart, -half, half), body);
    const float facet = thickness * kFacetWidth;
    fillPolygon(raster, band(tip, angle, cone, ferruleStart, -half, -half + facet),
                mix(body, style::kWhite, kFacetShade));
    fillPolygon(raster, band(tip, angle, cone, ferruleStart, half - facet, half),
                mix(body, kBlack, kFacetShade));

    // Metal band with two grooves, then the eraser with a rounded end.
    const float eraserEnd = length - half;
    fillCircle(raster, placed(tip, angle, {eraserEnd, 0.0f}), half, kEraser);
    fillPolygon(raster, band(tip, angle, eraserStart, eraserEnd, -half, half), kEraser);
    fillPolygon(raster, band(tip, angle, ferruleStart, eraserStart, -half, half), kFerrule);
    const float ferrule = eraserStart - ferruleStart;
    const float groove = ferrule * kFerruleRingWidth;
    for (float at : {ferruleStart + ferrule / 3.0f, ferruleStart + 2.0f * ferrule / 3.0f}) {
        fillPolygon(raster, band(tip, angle, at - groove * 0.5f, at + groove * 0.5f, -half, half),
                    kFerruleGroove);
    }
}

void drawStar(Raster& raster, Point centre, float radius, float angle, Colour colour) {
    fillPolygon(raster, starCorners(centre, radius, radius * kStarInner, kStarPoints, angle),
                colour);
}

void drawSquiggle(Raster& raster, Point start, const Wave& wave, Colour colour) {
    const int steps = std::max(
        2, static_cast<int>(wave.length / wave.wavelength * static_cast<float>(kWaveSteps)));
    std::vector<Point> points;
    for (int i = 0; i <= steps; ++i) {
        const float along = wave.length * static_cast<float>(i) / static_cast<float>(steps);
        const float across =
            wave.amplitude * std::sin(2.0f * std::numbers::pi_v<float> * along / wave.wavelength);
        // placed() turns from "up"; the wave runs along the x axis, a quarter turn on.
        points.push_back(
            placed(start, wave.angle + std::numbers::pi_v<float> * 0.5f, {across, -along}));
    }
    strokePolyline(raster, points, wave.width, colour);
}

} // namespace art
