// geometry.h: points and rectangles in image pixels, shared by every painter.
//
// Plain value types with no owner: the layout tables, the shape and text
// painters and the screen builders pass them around by value.
#pragma once

#include <algorithm>

namespace art {

// A point in image pixels: x to the right, y down, (0, 0) the top-left corner.
struct Point {
    float x = 0.0f;
    float y = 0.0f;
};

// An axis-aligned rectangle in image pixels; left < right and top < bottom.
struct Rect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;

    constexpr float width() const { return right - left; }
    constexpr float height() const { return bottom - top; }
    constexpr float centreX() const { return (left + right) * 0.5f; }
    constexpr float centreY() const { return (top + bottom) * 0.5f; }
    // The rectangle grown by `by` pixels on every side (shrunk when negative).
    constexpr Rect grown(float by) const { return {left - by, top - by, right + by, bottom + by}; }
    // The rectangle moved by (dx, dy) pixels.
    constexpr Rect moved(float dx, float dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
};

// The smallest rectangle holding both a and b.
constexpr Rect unite(Rect a, Rect b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

} // namespace art
