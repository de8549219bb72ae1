// stroke.cpp: segment geometry, stroke chains, the two drawings, and their
// immediate-mode rendering as filled bands with bevel joins.
#include "drawing/stroke.h"

#include <GL/gl.h>
#include <cmath>
#include <cstddef>
#include <utility>

namespace {
// The side offset of a segment: its direction turned a quarter turn clockwise,
// scaled to half the width, each term formed as component x width x 0.5.
struct SideOffset {
    float x;
    float y;
};

SideOffset sideOffset(const Segment& segment, float width) {
    return {segment.directionY() * width * 0.5f, -segment.directionX() * width * 0.5f};
}
} // namespace

Drawing player1Drawing;
Drawing player2Drawing;

double squaredDistance(double ax, double ay, double bx, double by) {
    return (ay - by) * (ay - by) + (ax - bx) * (ax - bx);
}

void Segment::computeDirection() {
    const float dx = endX_ - startX_;
    const float dy = endY_ - startY_;
    // In double: squares past the float range would make the length infinite.
    const double ddx = dx;
    const double ddy = dy;
    length_ = static_cast<float>(std::sqrt(ddx * ddx + ddy * ddy));
    if (endX_ != startX_) {
        // The reciprocal is taken in double: a float reciprocal of a length
        // near the smallest float would overflow to infinity.
        const double inverseLength = 1.0 / length_;
        directionX_ = static_cast<float>(dx * inverseLength);
        directionY_ = static_cast<float>(dy * inverseLength);
        return;
    }
    // Vertical or zero length: no division, so a point segment gets (0, -1).
    directionX_ = 0;
    directionY_ = endY_ > startY_ ? 1.0f : -1.0f;
}

void Segment::draw() const {
    glBegin(GL_LINES);
    glVertex2f(startX_, startY_);
    glVertex2f(endX_, endY_);
    glEnd();
}

void Stroke::appendSegment(const Segment& segment) {
    segments_.push_back(segment);
}

void Stroke::extendTo(float x, float y) {
    const Segment& last = segments_.back();
    Segment next;
    next.setStartX(last.endX());
    next.setStartY(last.endY());
    next.setEndX(x);
    next.setEndY(y);
    next.computeDirection();
    segments_.push_back(next);
}

void Stroke::draw() const {
    glColor4f(color_.red, color_.green, color_.blue, 1); // strokes are never blended
    const std::size_t count = segments_.size();
    if (count == 0) {
        return;
    }
    // Each segment's offset is computed once: the band uses it, then the join
    // after it uses it again beside the next segment's offset.
    SideOffset offset = sideOffset(segments_[0], width_);
    for (std::size_t i = 0;; ++i) {
        const Segment& segment = segments_[i];
        glBegin(GL_POLYGON);
        glVertex2f(segment.startX() + offset.x, segment.startY() + offset.y);
        glVertex2f(segment.endX() + offset.x, segment.endY() + offset.y);
        glVertex2f(segment.endX() - offset.x, segment.endY() - offset.y);
        glVertex2f(segment.startX() - offset.x, segment.startY() - offset.y);
        glEnd();
        if (i + 1 == count) {
            return;
        }
        // The bevel join: its corners lie on the circle of half the width
        // around the shared point, so it closes the notch outside the bend.
        const Segment& next = segments_[i + 1];
        const SideOffset nextOffset = sideOffset(next, width_);
        glBegin(GL_POLYGON);
        glVertex2f(segment.endX() + offset.x, segment.endY() + offset.y);
        glVertex2f(next.startX() + nextOffset.x, next.startY() + nextOffset.y);
        glVertex2f(segment.endX() - offset.x, segment.endY() - offset.y);
        glVertex2f(next.startX() - nextOffset.x, next.startY() - nextOffset.y);
        glEnd();
        offset = nextOffset;
    }
}

void Drawing::addStroke(std::unique_ptr<Stroke> stroke) {
    strokes_.push_back(std::move(stroke));
}

void Drawing::draw() const {
    for (const auto& stroke : strokes_) {
        stroke->draw();
    }
}
