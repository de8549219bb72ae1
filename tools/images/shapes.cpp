// shapes.cpp: shape painters built on signed distances.
//
// Each shape is a function giving, for a pixel centre, its signed distance
// to the outline in pixels (negative inside); the coverage of a pixel is
// then a ramp across the outline, which is what anti-aliases every edge.
#include "tools/images/shapes.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace art {
namespace {

constexpr float kPixelCentre = 0.5f; // offset from a pixel's corner to its centre, pixels
constexpr float kEdgeRamp = 1.0f;    // width of the anti-aliased ramp across an edge, pixels
constexpr float kBoundsSlack = 2.0f; // extra pixels scanned around a shape's bounds

// Coverage of a pixel whose centre lies `distance` from the outline, over a ramp `ramp` wide.
float coverage(float distance, float ramp) {
    const float t = std::clamp(kPixelCentre - distance / ramp, 0.0f, 1.0f);
    if (ramp <= kEdgeRamp) {
        return t;
    }
    return t * t * (3.0f - 2.0f * t); // a soft edge eases in and out
}

// Blends `colour` over every pixel of `bounds` by the coverage that `distance` gives it.
template <typename Distance, typename Shade>
void paint(Raster& raster, Rect bounds, float ramp, float opacity, Distance distance, Shade shade) {
    const Rect scan = bounds.grown(kBoundsSlack + ramp);
    const int x0 = std::max(0, static_cast<int>(std::floor(scan.left)));
    const int y0 = std::max(0, static_cast<int>(std::floor(scan.top)));
    const int x1 = std::min(raster.width(), static_cast<int>(std::ceil(scan.right)));
    const int y1 = std::min(raster.height(), static_cast<int>(std::ceil(scan.bottom)));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const Point centre{static_cast<float>(x) + kPixelCentre,
                               static_cast<float>(y) + kPixelCentre};
            const float amount = coverage(distance(centre), ramp) * opacity;
            if (amount > 0.0f) {
                raster.blend(x, y, shade(centre), amount);
            }
        }
    }
}

auto flat(Colour colour) {
    return [colour](Point) { return colour; };
}

float roundedRectDistance(Point p, Rect rect, float radius) {
    const float r = std::min({radius, rect.width() * 0.5f, rect.height() * 0.5f});
    const float qx = std::abs(p.x - rect.centreX()) - (rect.width() * 0.5f - r);
    const float qy = std::abs(p.y - rect.centreY()) - (rect.height() * 0.5f - r);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    const float inside = std::min(std::max(qx, qy), 0.0f);
    return outside + inside - r;
}

float segmentDistance(Point p, Point a, Point b) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = 0.0f;
    if (lengthSquared > 0.0f) {
        t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0f, 1.0f);
    }
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

Rect boundsOf(std::span<const Point> points) {
    Rect bounds{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest()};
    for (const Point& p : points) {
        bounds = unite(bounds, Rect{p.x, p.y, p.x, p.y});
    }
    return bounds;
}

} // namespace

void fillRoundedRect(Raster& raster, Rect rect, float radius, Colour colour, float opacity) {
    paint(
        raster, rect, kEdgeRamp, opacity,
        [&](Point p) { return roundedRectDistance(p, rect, radius); }, flat(colour));
}

void fillRoundedRectGradient(Raster& raster, Rect rect, float radius, Colour top, Colour bottom) {
    paint(
        raster, rect, kEdgeRamp, 1.0f,
        [&](Point p) { return roundedRectDistance(p, rect, radius); },
        [&](Point p) {
            return mix(top, bottom, std::clamp((p.y - rect.top) / rect.height(), 0.0f, 1.0f));
        });
}

void strokeRoundedRect(Raster& raster, Rect rect, float radius, float width, Colour colour,
                       float opacity) {
    const float half = width * 0.5f;
    const Rect middle = rect.grown(-half);
    const float middleRadius = std::max(radius - half, 0.0f);
    paint(
        raster, rect, kEdgeRamp, opacity,
        [&](Point p) { return std::abs(roundedRectDistance(p, middle, middleRadius)) - half; },
        flat(colour));
}

void fillSoftRoundedRect(Raster& raster, Rect rect, float radius, float softness, Colour colour,
                         float opacity) {
    paint(
        raster, rect, softness, opacity,
        [&](Point p) { return roundedRectDistance(p, rect, radius); }, flat(colour));
}

void fillCircle(Raster& raster, Point centre, float radius, Colour colour, float opacity) {
    const Rect bounds{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
    paint(
        raster, bounds, kEdgeRamp, opacity,
        [&](Point p) { return std::hypot(p.x - centre.x, p.y - centre.y) - radius; }, flat(colour));
}

void fillPolygon(Raster& raster, std::span<const Point> corners, Colour colour, float opacity) {
    const std::size_t count = corners.size();
    auto distance = [&](Point p) {
        float nearest = std::numeric_limits<float>::max();
        bool inside = false;
        for (std::size_t i = 0, j = count - 1; i < count; j = i++) {
            const Point a = corners[j];
            const Point b = corners[i];
            nearest = std::min(nearest, segmentDistance(p, a, b));
            if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) {
                inside = !inside;
            }
        }
        return inside ? -nearest : nearest;
    };
    paint(raster, boundsOf(corners), kEdgeRamp, opacity, distance, flat(colour));
}

void strokePolyline(Raster& raster, std::span<const Point> points, float width, Colour colour,
                    float opacity) {
    auto distance = [&](Point p) {
        float nearest = std::numeric_limits<float>::max();
        for (std::size_t i = 1; i < points.size(); ++i) {
            nearest = std::min(nearest, segmentDistance(p, points[i - 1], points[i]));
        }
        return nearest - width * 0.5f;
    };
    paint(raster, boundsOf(points).grown(width), kEdgeRamp, opacity, distance, flat(colour));
}

std::vector<Point> starCorners(Point centre, float outer, float inner, int points, float rotation) {
    std::vector<Point> corners;
    const int count = points * 2;
    for (int i = 0; i < count; ++i) {
        const float angle = rotation + static_cast<float>(i) * std::numbers::pi_v<float> /
                                           static_cast<float>(points);
        const float radius = i % 2 == 0 ? outer : inner;
        corners.push_back(placed(centre, angle, {0.0f, -radius}));
    }
    return corners;
}

Point placed(Point origin, float angle, Point local) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    return {origin.x + local.x * c - local.y * s, origin.y + local.x * s + local.y * c};
}

} // namespace art
